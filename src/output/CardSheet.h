// What the database workspace hands to its print and preview windows: the card
// as its controls show it, saved or not, every text already trimmed.
#pragma once

#include <QImage>
#include <QString>
#include <array>

struct CardSheet {
    static constexpr int kFields = 14;
    static constexpr int kContacts = 8;

    // The card's own photo; null when the card has none (the workspace shows
    // its default picture), which prints as an empty frame.
    QImage photo;
    // The fourteen field titles and values; index 0 is field 1.
    std::array<QString, kFields> titles;
    std::array<QString, kFields> values;
    // The contact block in print order: name, street, town, province,
    // e-mail, preferred contact, fiscal code, VAT number.
    std::array<QString, kContacts> contacts;
};
