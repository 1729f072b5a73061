#include "ExportWindow.h"

#include "ExportGridModel.h"
#include "kit/Desktop.h"
#include "kit/Shortcuts.h"
#include "kit/Shell.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "storage/AppFolder.h"
#include "storage/RecordLayout.h"
#include "storage/StorageError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString kReady = QStringLiteral("Esportazione archivio in Microsoft Excel.");
const QString kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kAskOpen = QStringLiteral("Le schede in archivio sono state esportate con "
                                        "successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailed = QStringLiteral("Attenzione: il sistema non permette di esportare i "
                                       "dati.\n\r\n\rAccertarsi che il file di Excel non sia già "
                                       "aperto.");

// Below this many rows the file is written before a progress window would
// be worth showing.
constexpr qint64 kProgressFrom = 5000;

// The wait cursor while the file is written.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The progress of a long export, over the export window: no buttons, since
// the file is either written whole or not at all. It appears only once the
// export has taken a moment, so a small archive shows no flash of it.
class ExportProgress : public QDialog {
  public:
    ExportProgress(QWidget *owner, qint64 rows) : QDialog(owner), m_rows(rows) {
        setObjectName(QStringLiteral("frmAvanzamento"));
        setWindowTitle(owner->windowTitle());
        makeFixedWindow(this, QSize(420, 96));
        setWindowModality(Qt::WindowModal);
        setStyleSheet(theme::plainWindow("QDialog"));
        auto *label = new QLabel(QStringLiteral("Esportazione delle schede in corso..."), this);
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("prgEsporta"));
        m_bar->setRange(0, 1000);
        m_bar->setValue(0);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(16, 12, 16, 14);
        layout->addWidget(label);
        layout->addWidget(m_bar);
        m_clock.start();
    }

    // The bar moves, and the screen is kept alive, a few times a second at
    // most: one repaint of the bar costs about as much as writing the rows
    // between two calls.
    void advance(qint64 done) {
        const qint64 now = m_clock.elapsed();
        if (now < kShowAfterMs || now - m_refreshedAt < kRefreshMs)
            return;
        m_refreshedAt = now;
        m_bar->setValue(int(done * 1000 / std::max<qint64>(m_rows, 1)));
        if (!isVisible()) {
            move(parentWidget()->frameGeometry().center() - rect().center());
            show();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

  private:
    static constexpr qint64 kShowAfterMs = 300;
    static constexpr qint64 kRefreshMs = 50;
    qint64 m_rows;
    qint64 m_refreshedAt = 0;
    QProgressBar *m_bar;
    QElapsedTimer m_clock;
};

} // namespace

void ExportGrid::commitEditing() {
    if (state() != EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

ExportWindow::ExportWindow(const QString &objectName, const QString &caption,
                           const spreadsheet::Sheet &sheet, GuideTopic (*guide)(), QWidget *parent)
    : QDialog(parent), m_sheet(sheet), m_guide(guide) {
    setObjectName(objectName);
    setWindowTitle(caption);
    makeFixedWindow(this, QSize(862, 560));
    setStyleSheet(theme::exportWindow());
    applyProcessFormats();

    // The heading band: the program's picture, the hand pointing at the
    // buttons, the buttons.
    auto *band = new QFrame(this);
    band->setObjectName(QStringLiteral("shpTitolo"));
    imgLogo = headingPicture(QStringLiteral("imgLogo"), QSize(300, 70), band);
    icoHand = new QLabel(band);
    icoHand->setObjectName(QStringLiteral("icoHand"));
    icoHand->setPixmap(icon(QStringLiteral("mano")).pixmap(40, 40));
    cmdEsporta = new PictureButton(QStringLiteral("cmdEsporta"), QStringLiteral("excel"), 48, band);
    cmdGuida = new PictureButton(QStringLiteral("cmdGuida"), QStringLiteral("guida"), 48, band);
    cmdEsci = new PictureButton(QStringLiteral("cmdEsci"), QStringLiteral("esci"), 48, band);
    auto *bandRow = new QHBoxLayout(band);
    bandRow->setContentsMargins(12, 6, 12, 6);
    bandRow->setSpacing(10);
    bandRow->addWidget(imgLogo);
    bandRow->addStretch(1);
    bandRow->addWidget(icoHand);
    bandRow->addSpacing(6);
    bandRow->addWidget(cmdEsporta);
    bandRow->addWidget(cmdGuida);
    bandRow->addWidget(cmdEsci);

    // The grid reads the archive a page at a time, as it is scrolled.
    grdRecords = new ExportGrid(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    m_model = new ExportGridModel(sheet, this);
    grdRecords->setModel(m_model);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->setWordWrap(false);
    grdRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdRecords->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    grdRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grdRecords->verticalHeader()->hide(); // column 0 numbers the rows
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setMinimumSectionSize(21);
    grdRecords->verticalHeader()->setDefaultSectionSize(21);
    grdRecords->horizontalHeader()->setHighlightSections(false);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdRecords->setColumnWidth(0, 60);
    for (size_t i = 0; i < sheet.columns.size(); ++i)
        grdRecords->setColumnWidth(int(i) + 1, sheet.columns[i].gridWidth);

    panInfo = new QLabel(kReady, this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedHeight(30);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addWidget(band);
    layout->addWidget(grdRecords, 1);
    layout->addWidget(panInfo);

    bindKeys(cmdGuida, QKeySequence(Qt::Key_F1));
    auto *hints = new StatusHints(panInfo);
    hints->describe({
        {cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel.")},
        {cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro.")},
    });
    hints->background({this, band, panInfo, grdRecords, grdRecords->viewport(), imgLogo, icoHand});

    connect(cmdEsporta, &QToolButton::clicked, this, &ExportWindow::cmdEsportaClick);
    connect(cmdGuida, &QToolButton::clicked, this, &ExportWindow::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &ExportWindow::cmdEsciClick);
}

QString ExportWindow::targetPath() const {
    return shell().appFolder().file(QString::fromLatin1(m_sheet.fileName));
}

void ExportWindow::run() {
    centerOnScreen(this);
    Desktop::current().runModal(*this);
}

void ExportWindow::FormShow() {
    panInfo->setText(kReady);
    m_model->load(shell().appFolder().file(QString::fromLatin1(m_sheet.layout->fileName)));
}

void ExportWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ExportWindow::done(int result) {
    grdRecords->commitEditing();
    m_model->clear();
    QDialog::done(result);
}

void ExportWindow::cmdEsportaClick() {
    // A cell still being typed in counts as typed.
    grdRecords->commitEditing();
    if (Desktop::current().message(this, Desktop::Kind::Confirmation, kAskExport) ==
        Desktop::Answer::No)
        return;

    const QString target = targetPath();
    try {
        const WaitCursor busy;
        const qint64 rows = m_model->rowCount();
        if (rows >= kProgressFrom) {
            ExportProgress progress(this, rows);
            m_model->write(target, [&](qint64 done) { progress.advance(done); });
        } else {
            m_model->write(target);
        }
    } catch (const StorageError &) {
        // The file that stood there, if any, is left as it was.
        Desktop::current().message(this, Desktop::Kind::Plain, kFailed);
        return;
    }

    if (Desktop::current().message(this, Desktop::Kind::Confirmation, kAskOpen) !=
        Desktop::Answer::No)
        openInShell(u'"' + target + u'"');
}

void ExportWindow::cmdGuidaClick() {
    shell().showGuide(this, m_guide());
}

void ExportWindow::cmdEsciClick() {
    close();
}
