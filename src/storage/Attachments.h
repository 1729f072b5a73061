// The three files attached to a card (database or client), each with its
// description. A file is named by its bare name inside Documenti_Allegati.
#pragma once

#include <QString>
#include <array>

struct Attachments {
    static constexpr int kSlots = 3;
    std::array<QString, kSlots> files;
    std::array<QString, kSlots> descriptions;

    bool operator==(const Attachments &) const = default;
};
