#include "support/AppFixture.h"
#include "import/TfrmImporta.h"
#include "app/GuideBook.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "clients/TfrmClienti.h"
#include "database/TfrmDatabase.h"
#include "output/TfrmExpClienti.h"
#include "output/TfrmExpDatabase.h"
#include "settings/TfrmMenuImpostazioni.h"

#include "support/Files.h"
#include "support/FullDisk.h"

#include <QPlainTextEdit>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestGuideBook : public QObject {
    Q_OBJECT
  private slots:
    void holdsTheWindowsTopics();
    void writesAPage_perChapter();
    void unwritablePath();
    void fullDiskKeepsTheOldGuide();
};

void TestGuideBook::holdsTheWindowsTopics() {
    // Each chapter is what a window's guide button shows, in the guide's order.
    AppFixture app;
    QStringList titles;
    QStringList texts;
    app.desktop.onModal = [&](QDialog &dialog) {
        auto *guide = qobject_cast<TfrmGuida *>(&dialog);
        QVERIFY(guide);
        titles << guide->lblTitolo->text();
        texts << guide->txtGuida->toPlainText();
    };
    app.windows->frmAvvio->imgGuidaClick();
    QTest::mouseClick(app.windows->frmDatabase->cmdGuida, Qt::LeftButton);
    QTest::mouseClick(app.windows->frmClienti->cmdGuida, Qt::LeftButton);
    QTest::mouseClick(app.windows->frmExpDatabase->cmdGuida, Qt::LeftButton);
    QTest::mouseClick(app.windows->frmExpClienti->cmdGuida, Qt::LeftButton);
    app.windows->frmMenuImpostazioni->imgGuidaClick();
    QVERIFY(app.write(QStringLiteral("t.csv"), "Campo 1\nuno\n"));
    TfrmImporta import(nullptr, app.windows->folder, spreadsheet::databaseSheet,
                       app.path(QStringLiteral("t.csv")));
    QTest::mouseClick(import.cmdGuida, Qt::LeftButton);

    QCOMPARE(titles, (QStringList{QStringLiteral("Uno sguardo ad Cartavera."),
                                  QStringLiteral("Gestione Database."),
                                  QStringLiteral("Anagrafica Clienti."),
                                  QStringLiteral("Esportazione database in Microsoft Excel."),
                                  QStringLiteral("Esportazione archivio Clienti in Microsoft "
                                                 "Excel."),
                                  QStringLiteral("Impostazioni schermata di avvio e campi di "
                                                 "testo."),
                                  QStringLiteral("Importazione da file CSV o foglio di "
                                                 "calcolo.")}));
    // Then the chapters of what has no window of its own.
    const QList<GuideTopic> topics = guideBookTopics();
    QStringList rest;
    for (qsizetype i = titles.size(); i < topics.size(); ++i)
        rest << topics[i].title;
    QCOMPARE(rest, (QStringList{QStringLiteral("Clienti in formato vCard."),
                                QStringLiteral("Eliminare una scheda e il cestino."),
                                QStringLiteral("Copia di sicurezza e ripristino."),
                                QStringLiteral("Uso della tastiera e modifiche non salvate.")}));
    for (qsizetype i = 0; i < titles.size(); ++i) {
        QCOMPARE(topics[i].title, titles[i]);
        // The window shows the paragraphs with an empty line between two.
        QCOMPARE(topics[i].paragraphs.join(QStringLiteral("\n\n")), texts[i]);
    }
}

void TestGuideBook::writesAPage_perChapter() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Guida.pdf"));
    const QList<GuideTopic> topics = {
        {QStringLiteral("Primo."), {QStringLiteral("Uno."), QStringLiteral("Due.")}},
        {QStringLiteral("Secondo."), {QStringLiteral("Tre.")}},
    };
    QVERIFY(writeGuideBook(path, topics));
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    // A title page, then each chapter on its own page.
    const auto pages = QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))
                           .globalMatch(QString::fromLatin1(bytes));
    int count = 0;
    for (auto it = pages; it.hasNext(); it.next())
        ++count;
    QCOMPARE(count, 3);
}

void TestGuideBook::unwritablePath() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!writeGuideBook(dir.filePath(QStringLiteral("file/Guida.pdf")), guideBookTopics()));
}

void TestGuideBook::fullDiskKeepsTheOldGuide() {
    FullDisk disk("1m");
    REQUIRE_MOUNTED(disk);
    const QString path = disk.filePath(QStringLiteral("Guida.pdf"));
    const QList<GuideTopic> small = {{QStringLiteral("Primo."), {QStringLiteral("Uno.")}}};
    QVERIFY(writeGuideBook(path, small));
    const QByteArray before = readFile(path);
    QVERIFY(disk.fill());
    QVERIFY(!writeGuideBook(path, guideBookTopics()));
    QCOMPARE(readFile(path), before);
}

QTEST_MAIN(TestGuideBook)
#include "tst_guidebook.moc"
