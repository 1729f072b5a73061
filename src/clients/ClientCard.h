// The client card as it is printed, previewed and saved as PDF: the card
// template filled with the texts of the workspace's boxes, row by row.
#pragma once

#include "report/Report.h"
#include "storage/ClientRecord.h"

#include <array>

namespace clientcard {

// The texts of the card's boxes as typed, by field: Cliente … Note.
using Boxes = std::array<QString, ClientField::Ricontatta>;

// Fills a card template (report::cardTemplate) for `boxes`: portrait, the
// title, the 24 rows (titles on the left, values made of the boxes' texts on
// the right) and the footer with the moment of printing `at`.
void fill(report::Template &card, const Boxes &boxes, const QDateTime &at);

} // namespace clientcard
