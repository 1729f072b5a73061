#include "CheckWindow.h"

#include "kit/WindowKit.h"
#include "storage/TextRules.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>

CheckWindow::CheckWindow(const Shape &shape, QWidget *parent)
    : QDialog(parent), m_maxLength(shape.maxLength), m_digitsOnly(shape.digitsOnly),
      m_tidyOnKeyRelease(shape.tidyOnKeyRelease) {
    setObjectName(shape.objectName);
    setWindowTitle(shape.caption);
    makeFixedWindow(this, shape.clientSize);
    setStyleSheet(theme::plainWindow("CheckWindow"));
    applyProcessFormats();

    imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(388, 90), this);

    lblTitolo = new QLabel(shape.prompt, this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setAlignment(Qt::AlignCenter);
    lblTitolo->setWordWrap(true);
    lblTitolo->setStyleSheet(theme::captionText());

    m_box = new QLineEdit(this);
    m_box->setObjectName(shape.boxName);
    // Typing stops at the limit; a longer text handed in by the caller stays
    // whole until the user shortens it.
    m_box->setMaxLength(m_maxLength);
    connect(m_box, &QLineEdit::textChanged, this, [this](const QString &text) {
        const int limit = std::max<int>(m_maxLength, text.size());
        if (m_box->maxLength() != limit) {
            // Setting the limit puts the caret at the end: keep it where it was.
            const int caret = m_box->cursorPosition();
            m_box->setMaxLength(limit);
            m_box->setCursorPosition(caret);
        }
    });
    QFont boxFont = m_box->font();
    boxFont.setPointSize(boxFont.pointSize() + 3);
    boxFont.setBold(true);
    m_box->setFont(boxFont);
    m_box->setMinimumHeight(34);
    addFocusFrame(m_box, QStringLiteral("eff") + shape.boxName.mid(3));
    if (m_digitsOnly) {
        // Only keys reach the box: no pasting from a menu, a drop or the mouse.
        m_box->setContextMenuPolicy(Qt::NoContextMenu);
        m_box->setAcceptDrops(false);
    }
    if (shape.tidyWhileTyping)
        connect(m_box, &QLineEdit::textEdited, this, &CheckWindow::tidy);
    m_box->installEventFilter(this);

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
    grid->addWidget(m_box, 0, 0);
    grid->addWidget(btnControlla, 0, 1);
    grid->addWidget(btnChiudi, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 12, 22, 14);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);
    layout->addWidget(lblTitolo);
    layout->addLayout(grid);
    layout->addStretch();

    setTabOrder(m_box, btnControlla);
    setTabOrder(btnControlla, btnChiudi);

    onEnter(m_box, [this] { btnControlla->setFocus(Qt::OtherFocusReason); });
    connect(btnControlla, &QPushButton::clicked, this, &CheckWindow::btnControllaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &CheckWindow::btnChiudiClick);
}

void CheckWindow::runWith(const QString &code) {
    const QString t = text::trimmed(code);
    m_box->setMaxLength(std::max<int>(m_maxLength, t.size()));
    m_box->setText(t);
    centerOnScreen(this);
    Desktop::current().runModal(*this);
}

void CheckWindow::conclude(Desktop::Kind kind, const QString &text) {
    Desktop::current().message(this, kind, text);
    close();
}

void CheckWindow::retry(const QString &warning) {
    Desktop::current().message(this, Desktop::Kind::Warning, warning);
    m_box->setFocus(Qt::OtherFocusReason);
}

void CheckWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    fitBoxFont();
    m_box->setFocus(Qt::OtherFocusReason);
}

void CheckWindow::fitBoxFont() {
    // The box's frame and the line edit's own margins, on both sides.
    constexpr int kPadding = 12;
    layout()->activate();
    const QString longest(m_maxLength, u'0');
    const int room = m_box->width() - kPadding;
    QFont boxFont = m_box->font();
    while (boxFont.pointSize() > std::max(font().pointSize(), 1) &&
           QFontMetrics(boxFont).horizontalAdvance(longest) > room)
        boxFont.setPointSize(boxFont.pointSize() - 1);
    m_box->setFont(boxFont);
}

bool CheckWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_box)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        // Enter is not refused: it moves the focus to "Controlla".
        return m_digitsOnly && digitsOnlyRefuses(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        if (m_tidyOnKeyRelease)
            tidy();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button would paste the selection.
        return m_digitsOnly && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void CheckWindow::tidy() {
    tidyBox(m_box, Tidy::Capitals);
}

void CheckWindow::btnChiudiClick() {
    close();
}
