#include "CardPrintWindow.h"

#include "kit/Desktop.h"
#include "kit/WindowKit.h"
#include "report/Templates.h"
#include "storage/TextRules.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kWithPhoto = QStringLiteral("con");
const QString kWithoutPhoto = QStringLiteral("senza");

// The titles of pairs 15 to 22, the contact block's.
const std::array<QString, CardSheet::kContacts> kContactTitles = {
    QStringLiteral("Cognome e nome:"),
    QStringLiteral("Via e numero civico:"),
    QStringLiteral("Comune di residenza:"),
    QStringLiteral("Provincia:"),
    QStringLiteral("E-mail:"),
    QStringLiteral("Recapito preferenziale:"),
    QStringLiteral("Codice fiscale:"),
    QStringLiteral("Partita IVA:")};

// A white picture in the photo frame's proportions: an empty frame on paper.
QImage blankPicture() {
    QImage blank(QSize(59, 79), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

} // namespace

HeldPicture::HeldPicture(const QString &objectName, QWidget *parent) : QWidget(parent) {
    setObjectName(objectName);
    hide();
}

CardPrintWindow::CardPrintWindow(const Shape &shape, const CardSheet &sheet, QWidget *owner)
    : QDialog(owner), repFoto(report::cardWithPhotoTemplate()), repScheda(report::cardTemplate()),
      m_sheet(sheet), m_output(shape.output) {
    setObjectName(shape.objectName);
    setWindowTitle(shape.caption);
    makeFixedWindow(this, shape.clientSize);
    setStyleSheet(theme::cardPrintWindow());
    applyProcessFormats();

    imgDecoro = new QLabel(this);
    imgDecoro->setObjectName(QStringLiteral("imgDecoro"));
    imgDecoro->setPixmap(icon(shape.icon).pixmap(112, 112));
    imgDecoro->setAlignment(Qt::AlignCenter);

    panScelta = new QFrame(this);
    panScelta->setObjectName(QStringLiteral("panScelta"));
    optUno = new QRadioButton(shape.withPhoto, panScelta);
    optUno->setObjectName(QStringLiteral("optUno"));
    optDue = new QRadioButton(shape.withoutPhoto, panScelta);
    optDue->setObjectName(QStringLiteral("optDue"));
    optUno->setChecked(true);
    auto *choices = new QVBoxLayout(panScelta);
    choices->setContentsMargins(18, 12, 18, 12);
    choices->setSpacing(8);
    choices->addWidget(optUno);
    choices->addWidget(optDue);

    btnStampa = new CommandButton(QStringLiteral("btnStampa"), shape.action, this, shape.icon);
    btnAnnulla = new CommandButton(QStringLiteral("btnAnnulla"), QStringLiteral("Annulla"), this,
                                   QStringLiteral("annulla"));
    // "Mostra anteprima" is the longest caption: each button as wide as its own.
    for (QPushButton *b : {btnStampa, btnAnnulla})
        b->setMinimumWidth(std::max(b->sizeHint().width(), 130));

    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);
    lblMemory->setText(kWithPhoto);
    imgLogo = new HeldPicture(QStringLiteral("imgLogo"), this);
    imgBianco = new HeldPicture(QStringLiteral("imgBianco"), this);
    imgBianco->setPicture(blankPicture());
    // A card without a photo of its own prints an empty frame.
    imgLogo->setPicture(m_sheet.photo.isNull() ? imgBianco->picture() : m_sheet.photo);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addWidget(btnStampa);
    buttons->addWidget(btnAnnulla);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 12, 18, 16);
    layout->setSpacing(0);
    layout->addStretch(1);
    layout->addWidget(imgDecoro);
    layout->addStretch(1);
    layout->addWidget(panScelta);
    layout->addStretch(2);
    layout->addLayout(buttons);

    setTabOrder(optUno, optDue);
    setTabOrder(optDue, btnStampa);
    setTabOrder(btnStampa, btnAnnulla);
    btnStampa->setFocus(Qt::OtherFocusReason);
    // Enter on a choice goes ahead with it.
    for (QRadioButton *choice : {optUno, optDue})
        onEnter(choice, [this] { btnStampa->click(); });

    // Arrow keys move the choice without a click: follow the state itself.
    connect(optUno, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optUnoClick();
    });
    connect(optDue, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optDueClick();
    });
    connect(btnStampa, &QPushButton::clicked, this, &CardPrintWindow::btnStampaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &CardPrintWindow::btnAnnullaClick);
}

void CardPrintWindow::run() {
    if (QWidget *owner = parentWidget(); owner && owner->isVisible())
        move(owner->frameGeometry().center() - rect().center());
    else
        centerOnScreen(this);
    Desktop::current().runModal(*this);
}

void CardPrintWindow::optUnoClick() {
    m_withPhoto = true;
    lblMemory->setText(kWithPhoto);
}

void CardPrintWindow::optDueClick() {
    m_withPhoto = false;
    lblMemory->setText(kWithoutPhoto);
}

void CardPrintWindow::fill(report::Template &card, int pairs) const {
    auto pair = [&card](int n, const QString &title, const QString &value) {
        card.memo(report::pairName("titCampo", n)).setText(title);
        card.memo(report::pairName("txtCampo", n)).setText(value);
    };
    card.memo(QStringLiteral("txtTitolo")).setText(QStringLiteral("SCHEDA INFORMATIVA"));
    int n = 0;
    for (int i = 0; i < CardSheet::kFields; ++i)
        pair(++n, m_sheet.titles[i], m_sheet.values[i]);
    for (int i = 0; i < CardSheet::kContacts; ++i)
        pair(++n, kContactTitles[i], m_sheet.contacts[i]);
    // The card without the photo has two pairs more, printed empty.
    while (n < pairs)
        pair(++n, QStringLiteral(" "), QString());
    card.memo(QStringLiteral("txtCalce")).setText(report::printedAt(report::now()));
}

void CardPrintWindow::btnStampaClick() {
    try {
        const bool withPhoto = m_withPhoto;
        report::Template &card = withPhoto ? repFoto : repScheda;
        card.setPortrait();
        if (withPhoto)
            card.picture(QStringLiteral("imgFoto")).setPicture(imgLogo->picture());
        fill(card, withPhoto ? 22 : 24);
        const report::PreparedReport prepared = card.prepare();
        if (m_output == Output::Print)
            Desktop::current().print(this, prepared);
        else
            Desktop::current().preview(this, prepared);
    } catch (const report::ReportError &error) {
        Desktop::current().message(this, Desktop::Kind::Error, error.message());
        return;
    }
    close();
}

void CardPrintWindow::btnAnnullaClick() {
    close();
}
