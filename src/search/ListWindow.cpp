#include "ListWindow.h"

#include "HitListModel.h"
#include "kit/Desktop.h"
#include "kit/WindowKit.h"
#include "storage/StorageError.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QListView>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kNotInList = QStringLiteral("Il testo cercato non si trova nell'elenco.");
const QString kEmptyList =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

// The narrowest a line is laid out, wide enough for a whole card line.
constexpr int kLineWidth = 1400;

} // namespace

// Lays every line out at one width, that of the longest line (at least
// kLineWidth): with uniform item sizes the list asks for one size only, and
// its sideways scroll then reaches the end of any line.
class LineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setWidth(int width) { m_width = width; }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return {m_width, QStyledItemDelegate::sizeHint(option, index).height()};
    }

  private:
    int m_width = kLineWidth;
};

QFont listLineFont() {
    QFont font(QStringLiteral("Courier New"), 11);
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QLabel *instructionLabel(const QString &objectName, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setStyleSheet(theme::instructionText());
    return label;
}

WaitCursor::WaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}

QGridLayout *instructionBand(QFrame *band, const QString &pictureName,
                             const QList<QLabel *> &lines) {
    auto *picture = new QLabel(band);
    picture->setObjectName(pictureName);
    picture->setPixmap(icon(QStringLiteral("trova")).pixmap(44, 44));
    picture->setFixedSize(52, 52);
    picture->setAlignment(Qt::AlignCenter);
    auto *grid = new QGridLayout(band);
    grid->setContentsMargins(12, 8, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(3);
    grid->addWidget(picture, 0, 0, int(lines.size()), 1, Qt::AlignTop);
    for (int row = 0; row < lines.size(); ++row)
        grid->addWidget(lines[row], row, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return grid;
}

QPushButton *windowButton(const QString &objectName, const QString &caption, const QString &icon,
                          QWidget *parent) {
    auto *button = new CommandButton(objectName, caption, parent, icon);
    button->setAutoDefault(false);
    button->setMinimumWidth(130);
    return button;
}

ListWindow::ListWindow(const QString &objectName, const QString &caption, QWidget *parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    makeFixedWindow(this, QSize(862, 560));
    setStyleSheet(theme::listWindow());
    applyProcessFormats();

    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));

    // Instructions and the find box.
    auto *band = new QFrame(panContainer);
    band->setObjectName(QStringLiteral("shpIstruzioni"));
    lblRigo01 = instructionLabel(
        QStringLiteral("lblRigo01"),
        QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in elenco da "
                       "cercare e premere il pulsante Trova."),
        band);
    lblRigo02 = instructionLabel(
        QStringLiteral("lblRigo02"),
        QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di "
                       "ricerca, fare di nuovo clic su Trova."),
        band);
    txtTrova = new QLineEdit(band);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setFont(theme::boxFont());
    btnTrova = windowButton(QStringLiteral("btnTrova"), QStringLiteral("Trova"),
                            QStringLiteral("trova"), band);
    QGridLayout *bandGrid =
        instructionBand(band, QStringLiteral("imgTrova"), {lblRigo01, lblRigo02});
    bandGrid->addWidget(txtTrova, 2, 1);
    bandGrid->addWidget(btnTrova, 2, 2);
    bandGrid->setRowMinimumHeight(2, 40);
    addFocusFrame(txtTrova, QStringLiteral("effTrova"));

    // The list: one uniform row per line, so that a million lines show and
    // scroll without a wait.
    lstRecords = new QListView(panContainer);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setUniformItemSizes(true);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setWordWrap(false);
    lstRecords->setTextElideMode(Qt::ElideNone);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstRecords->setFont(listLineFont());
    QPalette linePalette = lstRecords->palette();
    linePalette.setColor(QPalette::Text, Qt::black);
    linePalette.setColor(QPalette::Base, Qt::white);
    lstRecords->setPalette(linePalette);
    m_delegate = new LineDelegate(lstRecords);
    lstRecords->setItemDelegate(m_delegate);
    m_model = new HitListModel(this);
    lstRecords->setModel(m_model);
    lstRecords->viewport()->installEventFilter(this);
    lstRecords->installEventFilter(this);

    lblRigo03 = instructionLabel(
        QStringLiteral("lblRigo03"),
        QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
        panContainer);
    lblRigo03->setWordWrap(false);

    btnStampa = windowButton(QStringLiteral("btnStampa"), QStringLiteral("Stampa"),
                             QStringLiteral("stampa"), panContainer);
    btnChiudi = windowButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"),
                             QStringLiteral("chiudi"), panContainer);

    m_hintRow = new QHBoxLayout;
    m_hintRow->addWidget(lblRigo03);
    m_hintRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    m_buttonRow = buttons;
    buttons->addStretch(1);
    buttons->addWidget(btnStampa);
    buttons->addSpacing(8);
    buttons->addWidget(btnChiudi);

    auto *page = new QVBoxLayout(panContainer);
    page->setContentsMargins(14, 12, 14, 12);
    page->setSpacing(8);
    page->addWidget(band);
    page->addWidget(lstRecords, 1);
    page->addLayout(m_hintRow);
    page->addLayout(buttons);

    // The pages lie on top of each other, filling the window.
    auto *pages = new QGridLayout(this);
    pages->setContentsMargins(0, 0, 0, 0);
    pages->addWidget(panContainer, 0, 0);

    setTabOrder(txtTrova, btnTrova);
    setTabOrder(btnTrova, lstRecords);
    setTabOrder(lstRecords, btnChiudi);

    // Enter in the find box only moves to "Trova"; Enter on a button presses it.
    onEnter(txtTrova, [this] { btnTrova->setFocus(Qt::OtherFocusReason); });

    connect(btnTrova, &QPushButton::clicked, this, &ListWindow::btnTrovaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &ListWindow::btnChiudiClick);
    connect(btnStampa, &QPushButton::clicked, this, &ListWindow::btnStampaClick);
}

const search::HitList &ListWindow::hits() const {
    return m_model->hits();
}

int ListWindow::selectedRow() const {
    const QModelIndexList rows = lstRecords->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListWindow::btnStampaClick() {
    try {
        frxReport.memo(QStringLiteral("txtTitolo")).setText(summaryTitle());
        report::Object &memo = frxReport.memo(QStringLiteral("txtRiepilogo"));
        memo.clearLines();
        memo.lines.reserve(hits().size());
        for (qsizetype row = 0; row < hits().size(); ++row)
            memo.addLine(hits().line(row));
        const double height = double(memo.lineCount()) * report::kSummaryLinePitch;
        memo.setHeight(report::fromUnits(height));
        frxReport.band(QStringLiteral("MasterData")).setHeight(report::fromUnits(height + 10));
        Desktop::current().print(this, frxReport.prepare());
    } catch (const report::ReportError &error) {
        Desktop::current().message(this, Desktop::Kind::Error, error.message());
    }
}

void ListWindow::setLoader(std::function<void(qint64)> loader) {
    m_loader = std::move(loader);
}

void ListWindow::run() {
    centerOnScreen(this);
    Desktop::current().runModal(*this);
}

void ListWindow::showHits(search::HitList found) {
    const qsizetype longest = found.longestRow();
    int width = kLineWidth;
    if (longest >= 0) {
        // The item's own margins, on both sides.
        constexpr int kMargins = 16;
        width = std::max(width, QFontMetrics(lstRecords->font()).horizontalAdvance(
                                    found.line(longest)) +
                                    kMargins);
    }
    m_delegate->setWidth(width);
    m_model->setHits(std::move(found));
}

void ListWindow::showFound(const std::function<void(search::HitList &)> &scan) {
    search::HitList found;
    try {
        const WaitCursor busy;
        scan(found);
    } catch (const StorageError &) {
        // Silent: what was read before the failure stays listed.
    }
    showHits(std::move(found));
}

void ListWindow::resetFind() {
    m_find.reset();
    txtTrova->clear();
}

void ListWindow::FormShow() {
    resetFind();
}

void ListWindow::FormClose() {
    m_model->clear();
}

void ListWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ListWindow::done(int result) {
    FormClose();
    QDialog::done(result);
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event) {
    // A double-click anywhere in the list acts on the selected line, as the
    // list's own double-click does.
    if (watched == lstRecords->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        lstRecordsDblClick();
        return true;
    }
    // Enter on a selected line does what a double-click does.
    if (watched == lstRecords && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selectedRow() >= 0) {
            lstRecordsDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ListWindow::btnTrovaClick() {
    if (hits().isEmpty()) {
        Desktop::current().message(this, Desktop::Kind::Plain, kEmptyList);
        return;
    }
    const int row = m_find.next(hits(), selectedRow(), txtTrova->text());
    if (!m_find.lastFound() && !txtTrova->text().isEmpty()) {
        // No line holds the text: the selection stays where it was.
        Desktop::current().message(this, Desktop::Kind::Plain, kNotInList);
        return;
    }
    if (row < 0 || row >= hits().size())
        return;
    const QModelIndex index = m_model->index(row);
    lstRecords->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lstRecords->scrollTo(index);
}

void ListWindow::lstRecordsDblClick() {
    const int row = selectedRow();
    if (row >= 0 && m_loader) {
        try {
            m_loader(hits().position(row));
        } catch (const StorageError &) {
            // The window closes without a message.
        }
    }
    close();
}

void ListWindow::btnChiudiClick() {
    close();
}
