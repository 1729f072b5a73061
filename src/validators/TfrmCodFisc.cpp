#include "TfrmCodFisc.h"

#include "app/Desktop.h"
#include "app/WindowKit.h"
#include "storage/TextRules.h"
#include "validators/FiscalCode.h"
#include "validators/TfrmPartitaIva.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kCodeLength = 16;

bool allDigits(const QString &s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

TfrmCodFisc::TfrmCodFisc(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCodFisc"));
    setWindowTitle(QStringLiteral(" Controllo codice fiscale"));
    makeFixedWindow(this, QSize(478, 254));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setStyleSheet(QStringLiteral("TfrmCodFisc { background: #f4f7fb; }"));
    applyProcessFormats();

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/logo.svg"), QSize(388, 90))));
    imgLogo->setAlignment(Qt::AlignCenter);

    lblTitolo = new QLabel(
        QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setAlignment(Qt::AlignCenter);
    lblTitolo->setWordWrap(true);
    lblTitolo->setStyleSheet(QStringLiteral("color: #1f3b5c;"));

    txtCodFisc = new QLineEdit(this);
    txtCodFisc->setObjectName(QStringLiteral("txtCodFisc"));
    // Typing stops at 16 characters; a longer code handed in by the caller
    // stays whole, so that it is reported as too long rather than cut.
    txtCodFisc->setMaxLength(kCodeLength);
    connect(txtCodFisc, &QLineEdit::textChanged, this, [this](const QString &text) {
        const int limit = std::max<int>(kCodeLength, text.size());
        if (txtCodFisc->maxLength() != limit) {
            // Setting the limit puts the caret at the end: keep it where it was.
            const int caret = txtCodFisc->cursorPosition();
            txtCodFisc->setMaxLength(limit);
            txtCodFisc->setCursorPosition(caret);
        }
    });
    QFont boxFont = txtCodFisc->font();
    boxFont.setPointSize(boxFont.pointSize() + 3);
    boxFont.setBold(true);
    txtCodFisc->setFont(boxFont);
    txtCodFisc->setMinimumHeight(34);
    addFocusFrame(txtCodFisc, QStringLiteral("effCodFisc"));

    btnControlla = new CommandButton(QStringLiteral("btnControlla"), QStringLiteral("Controlla"),
                                     this, QStringLiteral("controlla"));
    btnChiudi = new CommandButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this,
                                  QStringLiteral("chiudi"));
    for (QPushButton *b : {btnControlla, btnChiudi}) {
        b->setAutoDefault(true);
        b->setMinimumWidth(130);
    }

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->addWidget(txtCodFisc, 0, 0);
    grid->addWidget(btnControlla, 0, 1);
    grid->addWidget(btnChiudi, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 12, 22, 14);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);
    layout->addWidget(lblTitolo);
    layout->addLayout(grid);
    layout->addStretch();

    setTabOrder(txtCodFisc, btnControlla);
    setTabOrder(btnControlla, btnChiudi);

    txtCodFisc->installEventFilter(this);
    // Whatever the user types shows at once trimmed and in capitals.
    connect(txtCodFisc, &QLineEdit::textEdited, this, &TfrmCodFisc::normalizeBox);
    onEnter(txtCodFisc, [this] { btnControlla->setFocus(Qt::OtherFocusReason); });
    connect(btnControlla, &QPushButton::clicked, this, &TfrmCodFisc::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmCodFisc::btnChiudiClick);
}

void TfrmCodFisc::open(QWidget *owner, const QString &code) {
    const QString t = text::trimmed(code);
    if (!t.isEmpty() && allDigits(t)) {
        TfrmPartitaIva::open(owner, t);
        return;
    }
    TfrmCodFisc dialog(owner);
    dialog.txtCodFisc->setMaxLength(std::max<int>(kCodeLength, t.size()));
    dialog.txtCodFisc->setText(t);
    centerOnScreen(&dialog);
    Desktop::current().runModal(dialog);
}

void TfrmCodFisc::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    txtCodFisc->setFocus(Qt::OtherFocusReason);
}

bool TfrmCodFisc::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtCodFisc && event->type() == QEvent::KeyRelease)
        normalizeBox();
    return QDialog::eventFilter(watched, event);
}

void TfrmCodFisc::normalizeBox() {
    const QString shown = txtCodFisc->text();
    const QString wanted = text::toUpperAscii(text::trimmed(shown));
    if (wanted == shown)
        return;
    // Keep the caret on the same character: only blanks at the start shift it.
    qsizetype lead = 0;
    while (lead < shown.size() && shown.at(lead).unicode() <= 0x20)
        ++lead;
    const qsizetype caret =
        std::clamp<qsizetype>(txtCodFisc->cursorPosition() - lead, 0, wanted.size());
    txtCodFisc->setText(wanted);
    txtCodFisc->setCursorPosition(int(caret));
}

void TfrmCodFisc::btnControllaClick() {
    switch (validators::checkFiscalCode(txtCodFisc->text())) {
    case validators::Verdict::WrongLength:
        Desktop::current().message(this, Desktop::Kind::Warning,
                                   QStringLiteral("Attenzione: il codice fiscale deve essere "
                                                  "composto da 16 caratteri alfanumerici."));
        txtCodFisc->setFocus(Qt::OtherFocusReason);
        return;
    case validators::Verdict::Valid:
        Desktop::current().message(this, Desktop::Kind::Information,
                                   QStringLiteral("Il codice fiscale digitato è VALIDO."));
        break;
    default:
        Desktop::current().message(
            this, Desktop::Kind::Warning,
            QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."));
        break;
    }
    close();
}

void TfrmCodFisc::btnChiudiClick() {
    close();
}
