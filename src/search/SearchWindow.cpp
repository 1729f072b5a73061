#include "SearchWindow.h"

#include "kit/Shortcuts.h"

#include "kit/Desktop.h"
#include "kit/WindowKit.h"
#include "storage/StorageError.h"
#include "storage/TextRules.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNoHit = QStringLiteral("Nessuna scheda corrisponde ai criteri indicati.");
const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");

} // namespace

SearchWindow::SearchWindow(const QString &objectName, const QString &caption,
                           std::span<const Box> boxes, std::span<const int> fields, QWidget *parent)
    : ListWindow(objectName, caption, parent), m_fields(fields.begin(), fields.end()) {
    Q_ASSERT(fields.size() == boxes.size());
    panAvvio = new QFrame(this);
    panAvvio->setObjectName(QStringLiteral("panAvvio"));

    auto *band = new QFrame(panAvvio);
    band->setObjectName(QStringLiteral("shpAvvio"));
    lblRigo04 = instructionLabel(
        QStringLiteral("lblRigo04"),
        QStringLiteral("Immettere nei campi prescelti una o più parole consecutive presenti nelle "
                       "schede da trovare e premere il pulsante Cerca."),
        band);
    lblRigo05 = instructionLabel(QStringLiteral("lblRigo05"),
                                 QStringLiteral("Lasciare in bianco tutti gli altri campi."), band);
    lblRigo06 = instructionLabel(
        QStringLiteral("lblRigo06"),
        QStringLiteral(
            "Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente."),
        band);
    instructionBand(band, QStringLiteral("imgCerca"), {lblRigo04, lblRigo05, lblRigo06});

    // The boxes, two to a row unless one takes the whole row, each under its
    // title (which keeps its place when it is empty), the rows spread evenly
    // over the page.
    auto *filters = new QFrame(panAvvio);
    filters->setObjectName(QStringLiteral("shpFiltri"));
    auto *grid = new QGridLayout(filters);
    grid->setContentsMargins(16, 8, 16, 12);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(2);
    QFont titleFont(QStringLiteral("Arial"), 9, QFont::Bold);
    titleFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    const int titleHeight = QFontMetrics(titleFont).height();
    int row = 0;
    int column = 0;
    auto nextRow = [&] {
        grid->setRowStretch(row + 2, 1); // the space under the row
        row += 3;
        column = 0;
    };
    for (const Box &shape : boxes) {
        if (shape.wide && column != 0)
            nextRow();
        auto *title = new QLabel(QString::fromUtf8(shape.caption), filters);
        title->setObjectName(QString::fromLatin1(shape.title));
        title->setFont(titleFont);
        title->setStyleSheet(theme::boxTitleText());
        title->setMinimumHeight(titleHeight);
        auto *box = new QLineEdit(filters);
        box->setObjectName(QString::fromLatin1(shape.name));
        box->setFont(theme::boxFont());
        addFocusFrame(box, QStringLiteral("eff") + box->objectName().mid(3));
        const int span = shape.wide ? 2 : 1;
        grid->addWidget(title, row, column, 1, span);
        grid->addWidget(box, row + 1, column, 1, span);
        grid->setRowMinimumHeight(row + 1, 38);
        m_boxes << box;
        m_titles << title;
        column += span;
        if (column > 1)
            nextRow();
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    lblAttendere = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), panAvvio);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    // Its place is kept while it is hidden, so that it shows at once, in place.
    QSizePolicy keepPlace = lblAttendere->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lblAttendere->setSizePolicy(keepPlace);
    lblAttendere->hide();
    btnAnnulla = windowButton(QStringLiteral("btnAnnulla"), QStringLiteral("Chiudi"),
                              QStringLiteral("chiudi"), panAvvio);
    btnCerca = windowButton(QStringLiteral("btnCerca"), QStringLiteral("Cerca"),
                            QStringLiteral("trova"), panAvvio);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblAttendere);
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addSpacing(8);
    buttons->addWidget(btnCerca);

    auto *page = new QVBoxLayout(panAvvio);
    page->setContentsMargins(14, 12, 14, 12);
    page->setSpacing(10);
    page->addWidget(band);
    page->addWidget(filters, 1);
    page->addLayout(buttons);

    btnModifica = windowButton(QStringLiteral("btnModifica"), QStringLiteral("Modifica ricerca"),
                               QStringLiteral("trova"), panContainer);
    buttonRow()->insertWidget(0, btnModifica);

    lblConta = hiddenLabel(QStringLiteral("lblConta"), this);
    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);
    lblTrovate = new QLabel(panContainer);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    hintRow()->addWidget(lblTrovate);

    // The filter page lies on the result page and shows first.
    static_cast<QGridLayout *>(layout())->addWidget(panAvvio, 0, 0);
    panContainer->hide();

    QList<QWidget *> order(m_boxes.cbegin(), m_boxes.cend());
    order << btnCerca << btnAnnulla;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    chainEnter(QList<QWidget *>(m_boxes.cbegin(), m_boxes.cend()) << m_boxes.first());
    // Enter moves on to the next filter, as it does through every window's
    // boxes; Ctrl+Enter runs the search from any of them.
    btnCerca->setToolTip(QStringLiteral("Cerca le schede che corrispondono ai criteri indicati."));
    bindKeys(btnCerca, QKeySequence(Qt::CTRL | Qt::Key_Return));

    connect(btnCerca, &QPushButton::pressed, this, &SearchWindow::btnCercaMouseDown);
    connect(btnCerca, &QPushButton::clicked, this, &SearchWindow::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &SearchWindow::btnAnnullaClick);
    connect(btnModifica, &QPushButton::clicked, this, &SearchWindow::btnModificaClick);
}

void SearchWindow::FormShow() {
    ListWindow::FormShow();
    panAvvio->show();
    panContainer->hide();
    m_boxes.first()->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::FormClose() {
    ListWindow::FormClose();
    lblAttendere->hide();
}

void SearchWindow::btnCercaMouseDown() {
    // Painted now: the pass over the archive that follows keeps the event
    // loop busy until it ends.
    lblAttendere->show();
    lblAttendere->repaint();
}

void SearchWindow::btnCercaClick() {
    // "Cerca" pressed from the keyboard has had no mouse button down.
    btnCercaMouseDown();

    QList<search::Filter> filters;
    int filled = 0;
    for (qsizetype i = 0; i < m_boxes.size(); ++i) {
        const QString typed = m_boxes[i]->text();
        filters.append({m_fields[i], typed});
        if (!text::trimmed(typed).isEmpty())
            ++filled;
    }
    lblConta->setText(QString::number(filled));

    search::HitList found;
    try {
        const WaitCursor busy;
        find(filters, found);
    } catch (const StorageError &) {
        // The filter page stays, with the wait label, for another try.
        Desktop::current().message(this, Desktop::Kind::Plain, kAccessError);
        return;
    }
    if (found.isEmpty()) {
        // Nothing to list: the filters stay as typed, to be changed.
        lblAttendere->hide();
        Desktop::current().message(this, Desktop::Kind::Plain, kNoHit);
        m_boxes.first()->setFocus(Qt::OtherFocusReason);
        return;
    }
    showHits(std::move(found));
    lblTrovate->setText(QStringLiteral("Il presente riepilogo contiene ") +
                        QString::number(hits().size()) + QStringLiteral(" schede."));
    panContainer->show();
    panAvvio->hide();
    txtTrova->clear();
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::btnAnnullaClick() {
    close();
}

void SearchWindow::btnModificaClick() {
    lblAttendere->hide();
    panContainer->hide();
    panAvvio->show();
    m_boxes.first()->setFocus(Qt::OtherFocusReason);
}
