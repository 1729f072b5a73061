// The program's three report templates, each window taking its own copy:
// the list summary, the card and the card with photo.
#pragma once

#include "report/Report.h"

namespace report {

// "Riepilogo dati": A4 landscape; the title band (`txtTitolo`), the master
// data band `MasterData` holding the memo `txtRiepilogo` (Courier New 8, one
// memo line every 12.822 units) and the footer (`txtPagina`, "Stampa eseguita
// in data [DATE]").
Template summaryTemplate();

// The height of a summary memo of `lines` lines, in units of 1/96 inch.
constexpr double kSummaryLinePitch = 12.822;

// "Scheda informativa": A4 portrait, the emblem, `txtTitolo`, 24 pairs
// `titCampo01`/`txtCampo01` … `titCampo24`/`txtCampo24`, `txtCalce`.
// `emblemName` names the emblem picture.
Template cardTemplate(const QString &emblemName = QStringLiteral("frxPictureView1"));

// "Scheda informativa" with the photo `imgFoto` in its frame `Shape1`, six
// pairs beside it (title above value) and pairs 7 to 22 below it.
Template cardWithPhotoTemplate();

// The emblem stored in the card templates: a yellow folder, 82 × 68 pixels.
QImage emblem();

// The name of pair n's title or value box: "titCampo07", "txtCampo07".
QString pairName(const char *prefix, int n);

} // namespace report
