#include "TfrmPartitaIva.h"

#include "app/Desktop.h"
#include "app/WindowKit.h"
#include "storage/TextRules.h"
#include "validators/VatNumber.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kNumberLength = 11;

bool isDigitKey(const QKeyEvent *event) {
    const QString typed = event->text();
    return typed.size() == 1 && typed.at(0) >= u'0' && typed.at(0) <= u'9';
}

} // namespace

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPartitaIva"));
    setWindowTitle(QStringLiteral(" Controllo partita IVA"));
    makeFixedWindow(this, QSize(480, 254));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setStyleSheet(QStringLiteral("TfrmPartitaIva { background: #f4f7fb; }"));
    applyProcessFormats();

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(
        QPixmap::fromImage(renderPicture(QStringLiteral(":/pictures/logo.svg"), QSize(388, 90))));
    imgLogo->setAlignment(Qt::AlignCenter);

    lblTitolo = new QLabel(
        QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
        this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setAlignment(Qt::AlignCenter);
    lblTitolo->setWordWrap(true);
    lblTitolo->setStyleSheet(QStringLiteral("color: #1f3b5c;"));

    txtPartitaIva = new QLineEdit(this);
    txtPartitaIva->setObjectName(QStringLiteral("txtPartitaIva"));
    // Typing stops at 11 digits; a longer text handed in by the caller stays
    // whole, so that it is reported as too long rather than cut.
    txtPartitaIva->setMaxLength(kNumberLength);
    connect(txtPartitaIva, &QLineEdit::textChanged, this, [this](const QString &text) {
        const int limit = std::max<int>(kNumberLength, text.size());
        if (txtPartitaIva->maxLength() != limit) {
            // Setting the limit puts the caret at the end: keep it where it was.
            const int caret = txtPartitaIva->cursorPosition();
            txtPartitaIva->setMaxLength(limit);
            txtPartitaIva->setCursorPosition(caret);
        }
    });
    // Only keys reach the box: no pasting from a menu, a drop or the mouse.
    txtPartitaIva->setContextMenuPolicy(Qt::NoContextMenu);
    txtPartitaIva->setAcceptDrops(false);
    QFont boxFont = txtPartitaIva->font();
    boxFont.setPointSize(boxFont.pointSize() + 3);
    boxFont.setBold(true);
    txtPartitaIva->setFont(boxFont);
    txtPartitaIva->setMinimumHeight(34);
    addFocusFrame(txtPartitaIva, QStringLiteral("effPartitaIva"));

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
    grid->addWidget(txtPartitaIva, 0, 0);
    grid->addWidget(btnControlla, 0, 1);
    grid->addWidget(btnChiudi, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 12, 22, 14);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);
    layout->addWidget(lblTitolo);
    layout->addLayout(grid);
    layout->addStretch();

    setTabOrder(txtPartitaIva, btnControlla);
    setTabOrder(btnControlla, btnChiudi);

    txtPartitaIva->installEventFilter(this);
    connect(btnControlla, &QPushButton::clicked, this, &TfrmPartitaIva::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &TfrmPartitaIva::btnChiudiClick);
}

void TfrmPartitaIva::open(QWidget *owner, const QString &number) {
    const QString t = text::trimmed(number);
    TfrmPartitaIva dialog(owner);
    dialog.txtPartitaIva->setMaxLength(std::max<int>(kNumberLength, t.size()));
    dialog.txtPartitaIva->setText(t);
    centerOnScreen(&dialog);
    Desktop::current().runModal(dialog);
}

void TfrmPartitaIva::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    txtPartitaIva->setFocus(Qt::OtherFocusReason);
}

bool TfrmPartitaIva::eventFilter(QObject *watched, QEvent *event) {
    if (watched != txtPartitaIva)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            btnControlla->setFocus(Qt::OtherFocusReason);
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            // Digits only; a key that types no character is swallowed too.
            return !isDigitKey(key);
        }
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button would paste the selection.
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void TfrmPartitaIva::btnControllaClick() {
    const validators::VatCheck check = validators::checkVatNumber(txtPartitaIva->text());
    switch (check.verdict) {
    case validators::Verdict::WrongLength:
        Desktop::current().message(
            this, Desktop::Kind::Warning,
            QStringLiteral(
                "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        txtPartitaIva->setFocus(Qt::OtherFocusReason);
        return;
    case validators::Verdict::Valid: {
        QString text = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n");
        if (!check.officeName.isEmpty())
            text += QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ") +
                    check.officeName + u'.';
        else
            text += QStringLiteral("Il codice d'ufficio %1 non corrisponde ad alcun Ufficio IVA "
                                   "provinciale conosciuto.")
                        .arg(txtPartitaIva->text().mid(7, 3));
        Desktop::current().message(this, Desktop::Kind::Information, text);
        break;
    }
    default:
        Desktop::current().message(
            this, Desktop::Kind::Warning,
            QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
                           "Non è quindi possibile fornire informazioni relative all'Ufficio IVA "
                           "che lo ha rilasciato."));
        break;
    }
    close();
}

void TfrmPartitaIva::btnChiudiClick() {
    close();
}
