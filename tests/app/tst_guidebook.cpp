#include "app/GuideBook.h"
#include "app/TfrmAvvio.h"
#include "settings/TfrmMenuImpostazioni.h"

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
};

void TestGuideBook::holdsTheWindowsTopics() {
    const QList<GuideTopic> topics = guideBookTopics();
    QCOMPARE(topics.first().title, TfrmAvvio::guideTopic().title);
    QCOMPARE(topics.first().paragraphs, TfrmAvvio::guideTopic().paragraphs);
    QCOMPARE(topics.last().title, TfrmMenuImpostazioni::guideTopic().title);
    for (const GuideTopic &t : topics)
        QVERIFY(!t.title.isEmpty() && !t.paragraphs.isEmpty());
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

QTEST_MAIN(TestGuideBook)
#include "tst_guidebook.moc"
