// Records written with the storage types, and the search and list windows
// driven as a user drives them, for the per-window tests.
#pragma once

#include "report/Templates.h"
#include "search/HitListModel.h"
#include "search/ListWindow.h"
#include "search/SearchWindow.h"
#include "storage/RecordFile.h"
#include "support/FakeDesktop.h"
#include "support/Typing.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <functional>
#include <utility>

inline const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
inline const QString kEmptyList =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

// The one message shown: a plain box with `text`.
inline void verifyOnePlainMessage(const FakeDesktop &desktop, const QString &text) {
    QCOMPARE(desktop.messages.size(), 1);
    QCOMPARE(desktop.messages[0].kind, Desktop::Kind::Plain);
    QCOMPARE(desktop.messages[0].text, text);
}

// A record with the given fields set, every other field empty.
template <class R> R recordWith(std::initializer_list<std::pair<int, QString>> fields) {
    R record;
    for (const auto &[field, text] : fields)
        record.setText(field, text);
    return record;
}

// Appends `records` to the archive of R in `folder`, as "Salva" does.
template <class R> void appendRecords(const AppFolder &folder, const QList<R> &records) {
    TypedRecordFile<R> archive;
    archive.openOrCreate(folder);
    archive.seek(archive.size());
    for (const R &record : records)
        archive.write(record);
    archive.close();
}

// The lines the list shows, top to bottom, and the record position behind each.
inline QStringList shownLines(const ListWindow &w) {
    QStringList lines;
    const QAbstractItemModel *model = w.lstRecords->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data().toString();
    return lines;
}
inline QList<qint64> shownPositions(const ListWindow &w) {
    QList<qint64> positions;
    for (const search::Hit &hit : w.hits())
        positions << hit.position;
    return positions;
}

// Double-clicks line `row` of the list, or, for -1, the empty space under the
// lines (the list must have room under them).
inline void doubleClickLine(ListWindow &w, int row) {
    QListView *list = w.lstRecords;
    QPoint at;
    if (row >= 0) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        at = list->visualRect(index).center();
        at.setX(20);
    } else {
        at = QPoint(20, list->viewport()->height() - 4);
    }
    // As the mouse makes it: press, release, then the second press as a
    // double-click, and its release.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

// Types each text into the box of that name and presses "Cerca" with the mouse.
inline void searchFor(SearchWindow &w, const QList<std::pair<QString, QString>> &typed) {
    for (const auto &[box, text] : typed) {
        auto *edit = w.findChild<QLineEdit *>(box);
        QVERIFY2(edit, qPrintable(box));
        typeText(edit, text);
    }
    QTest::mouseClick(w.btnCerca, Qt::LeftButton);
}

// Clicks `button` (of a workspace) and runs `steps` in the window of class W
// it opens, shown and active.
template <class W>
void runFrom(FakeDesktop &desktop, QAbstractButton *button, const std::function<void(W &)> &steps) {
    bool ran = false;
    desktop.onModal = [&](QDialog &dialog) {
        auto *window = qobject_cast<W *>(&dialog);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        // The window system's activation reaches the widgets a turn later.
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(window));
        ran = true;
        steps(*window);
    };
    QTest::mouseClick(button, Qt::LeftButton);
    desktop.onModal = nullptr;
    QVERIFY2(ran, "no window opened");
}

// Clicks "Trova" with `text` in the find box (typed anew) and returns the
// selected row.
inline int findInList(ListWindow &w, const QString &text) {
    w.txtTrova->clear();
    QTest::keyClicks(w.txtTrova, text);
    QTest::mouseClick(w.btnTrova, Qt::LeftButton);
    return w.selectedRow();
}

// True when the list scrolls sideways to the end of its longest line.
inline bool scrollsOverWholeLines(const ListWindow &w) {
    const QFontMetrics metrics(w.lstRecords->font());
    int widest = 0;
    for (const QString &line : shownLines(w))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScrollBar *bar = w.lstRecords->horizontalScrollBar();
    return bar->maximum() + w.lstRecords->viewport()->width() >= widest;
}

// A list window opened from `button` over a missing archive at `archive`: the
// archive is created empty, the list is empty and "Trova" says so.
template <class W>
void verifyMissingArchiveListsNothing(FakeDesktop &desktop, QAbstractButton *button,
                                      const QString &archive) {
    QVERIFY(!QFile::exists(archive));
    runFrom<W>(desktop, button, [&](W &w) {
        QVERIFY(QFileInfo(archive).isFile());
        QCOMPARE(QFileInfo(archive).size(), 0);
        QVERIFY(w.hits().isEmpty());
        QTest::mouseClick(w.btnTrova, Qt::LeftButton);
        w.close();
    });
    verifyOnePlainMessage(desktop, kEmptyList);
}

// A list window opened from `button` when its archive cannot be read (a
// folder stands at `archive`): an empty list, no message.
template <class W>
void verifyFillingFailureIsSilent(FakeDesktop &desktop, QAbstractButton *button,
                                  const QString &archive) {
    QVERIFY(QDir().mkdir(archive));
    runFrom<W>(desktop, button, [&](W &w) {
        QVERIFY(w.isVisible());
        QVERIFY(w.hits().isEmpty());
        w.close();
    });
    QVERIFY(desktop.messages.isEmpty());
}

// The filter boxes of a search window, each with the record field it is
// compared with, in the window's order.
using BoxFields = QList<std::pair<QString, int>>;

// A row per box (column "box") for a _data function.
inline void addBoxRows(const BoxFields &boxes) {
    QTest::addColumn<QString>("box");
    for (const auto &[box, field] : boxes)
        QTest::newRow(qPrintable(box)) << box;
}

// Record n of the archive holds a word in the field of box n only: the word
// typed in capitals into `box` (opened from `button`) lists that record alone,
// as the line `lineOf` builds.
template <class W, class R>
void verifyBoxSearchesItsField(FakeDesktop &desktop, QAbstractButton *button,
                               const AppFolder &folder, const BoxFields &boxes, const QString &box,
                               QString (*lineOf)(const R &)) {
    QList<R> records;
    qint64 expected = 0;
    for (const auto &[name, field] : boxes) {
        records << recordWith<R>({{field, QStringLiteral("prima zqx dopo")}});
        if (name == box)
            expected = records.size();
    }
    appendRecords(folder, records);
    runFrom<W>(desktop, button, [&](W &w) {
        searchFor(w, {{box, QStringLiteral("ZqX")}});
        QCOMPARE(shownPositions(w), QList<qint64>{expected});
        QCOMPARE(shownLines(w), QStringList{lineOf(records[expected - 1])});
        QCOMPARE(w.lblConta->text(), QStringLiteral("1"));
        QCOMPARE(w.lblTrovate->text(), QStringLiteral("Il presente riepilogo contiene 1 schede."));
        w.close();
    });
    QVERIFY(desktop.messages.isEmpty());
}

// The lines of a printed summary over all its pages, in print order.
inline QStringList summaryLines(const report::PreparedReport &printed) {
    QStringList lines;
    for (const report::Page &page : printed.pages)
        for (const report::Placed &item : page.items)
            if (item.object.name == QLatin1String("txtRiepilogo"))
                lines << item.object.lines.mid(item.firstLine, item.lineCount);
    return lines;
}

// The text of the summary's title bar.
inline QString summaryTitle(const report::PreparedReport &printed) {
    for (const report::Placed &item : printed.pages.first().items)
        if (item.object.name == QLatin1String("txtTitolo"))
            return item.object.text();
    return {};
}

// "Stampa" prints the list's lines as shown under `title`, landscape, and
// leaves the window open; a second print prints the same again; a cancelled
// print dialog prints nothing; an engine failure is told with its own text.
inline void verifySummaryPrint(FakeDesktop &desktop, ListWindow &w, const QString &title) {
    QVERIFY(w.btnStampa->isEnabled());
    const qsizetype before = desktop.prints.size();
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    QCOMPARE(desktop.prints.size(), before + 2);
    for (const report::PreparedReport &printed : desktop.prints.mid(before)) {
        QCOMPARE(printed.layout.orientation(), QPageLayout::Landscape);
        QCOMPARE(summaryTitle(printed), title);
        QCOMPARE(summaryLines(printed), shownLines(w));
    }
    QVERIFY(w.isVisible());

    desktop.printAnswer = false;
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    desktop.printAnswer = true;
    QCOMPARE(desktop.prints.size(), before + 2);

    const qsizetype messages = desktop.messages.size();
    desktop.printError = QStringLiteral("Nessuna stampante disponibile.");
    QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    desktop.printError.clear();
    QCOMPARE(desktop.messages.size(), messages + 1);
    QCOMPARE(desktop.messages.last().kind, Desktop::Kind::Error);
    QCOMPARE(desktop.messages.last().text, QStringLiteral("Nessuna stampante disponibile."));
    desktop.messages.removeLast();
    QVERIFY(w.isVisible());
}
