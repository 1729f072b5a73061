// Qt's own dialogs in Italian on a system that is not: the print dialog, the
// page setup and the file chooser's columns, read back through their widgets.
#include "kit/ProgramLook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every text a dialog shows: labels, buttons, group titles, tabs, list items
// and tooltips.
QStringList textsOf(const QWidget &dialog) {
    QStringList texts;
    for (const QWidget *c : dialog.findChildren<QWidget *>()) {
        if (auto *l = qobject_cast<const QLabel *>(c))
            texts << l->text();
        if (auto *b = qobject_cast<const QAbstractButton *>(c))
            texts << b->text();
        if (auto *g = qobject_cast<const QGroupBox *>(c))
            texts << g->title();
        if (auto *t = qobject_cast<const QTabWidget *>(c))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
        if (auto *box = qobject_cast<const QComboBox *>(c))
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        texts << c->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestItalianDialogs : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(installQtTranslations()); }
    void theEnvironmentIsTheUsers();
    void printDialogs();
    void fileChooserColumns();
};

void TestItalianDialogs::theEnvironmentIsTheUsers() {
    QCOMPARE(QLocale::system().language(), QLocale::Italian);
    QCOMPARE(qgetenv("LANG"), QByteArray("en_US.UTF-8"));
    QVERIFY(!qEnvironmentVariableIsSet("LC_ALL"));
}

void TestItalianDialogs::printDialogs() {
    QPrinter printer;
    QPrintDialog print(&printer);
    print.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange);
    QPageSetupDialog setup(&printer);
    const QStringList texts = textsOf(print) + textsOf(setup);
    for (const char *italian :
         {"Pagine", "Stampa fronte e retro", "Rilegatura sul lato lungo",
          "Rilegatura sul lato corto", "Copie:", "Orientamento", "Margini"})
        QVERIFY2(texts.contains(QString::fromUtf8(italian)), italian);
    for (const char *english : {"Pages", "Double Sided Printing", "Off", "Long side binding",
                                "Short side binding", "Copies:", "Orientation", "Margins"})
        QVERIFY2(!texts.contains(QString::fromLatin1(english)), english);
    for (const QString &text : texts)
        QVERIFY2(!text.startsWith(u"Specify pages"), qPrintable(text));
}

void TestItalianDialogs::fileChooserColumns() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Fatture")));
    QFile file(dir.filePath(QStringLiteral("nota.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("123456") == 6 && file.flush());
    QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(9, 30)),
                             QFileDevice::FileModificationTime));
    file.close();

    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(dir.path());
    QTRY_COMPARE(model.rowCount(root), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Dimensione"));
    const QModelIndex folder = model.index(dir.filePath(QStringLiteral("Fatture")));
    const QModelIndex note = model.index(file.fileName());
    QCOMPARE(model.index(folder.row(), 2, root).data().toString(), QStringLiteral("Cartella"));
    QCOMPARE(model.index(note.row(), 1, root).data().toString(), QStringLiteral("6 byte"));
    QCOMPARE(model.index(note.row(), 3, root).data().toString(), QStringLiteral("10/12/26 09:30"));
}

// A user whose system speaks English: the program's start, as main() makes it.
int main(int argc, char **argv) {
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_TIME");
    qunsetenv("LC_NUMERIC");
    qunsetenv("LANGUAGE");
    ItalianSystemLocale italian;
    QApplication app(argc, argv);
    italian.settle();
    TestItalianDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_italiandialogs.moc"
