// Faults under "Applica" of both settings windows: Archivio.ini on a full or
// read-only disk, taken by a folder, or a link into a place whose parent is a
// file.
// Each is told with the settings file's own error, the old files stay byte
// for byte, nothing is left beside them, and the window stays open for
// another try.
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "support/AppFixture.h"
#include "support/FullDisk.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestSettingsFaults : public QObject {
    Q_OBJECT
  private slots:
    void applyFails_data();
    void applyFails();
};

void TestSettingsFaults::applyFails_data() {
    QTest::addColumn<QString>("window"); // "campi": field titles; "avvio": start screen
    QTest::addColumn<QString>("fault");  // "full", "read-only", "folder", "link"
    for (const char *window : {"campi", "avvio"})
        for (const char *fault : {"full", "read-only", "folder", "link"})
            QTest::addRow("%s, %s", window, fault) << window << fault;
}

void TestSettingsFaults::applyFails() {
    QFETCH(QString, window);
    QFETCH(QString, fault);
    FullDisk disk;
    const bool onDisk = fault == QLatin1String("full") || fault == QLatin1String("read-only");
    if (onDisk)
        REQUIRE_MOUNTED(disk);
    AppFixture app(disk.mounted() ? disk.filePath(QStringLiteral("Schede Città"))
                                  : AppFixture::defaultSubfolder());
    const QByteArray ini =
        "[Database]\r\nNome Archivio=Film\r\n[Nome campi]\r\nCampo 01=Titolo\r\n";
    const QByteArray logo = "BM non proprio una bitmap";
    QVERIFY(app.write(QStringLiteral("Logo.bmp"), logo));
    const QString target = app.path(QStringLiteral("Archivio.ini"));
    if (fault == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(target));
    else if (fault == QLatin1String("link"))
        QVERIFY(QFile::link(app.path(QStringLiteral("Logo.bmp/Archivio.ini")), target));
    else
        QVERIFY(app.write(QStringLiteral("Archivio.ini"), ini));
    const QStringList files =
        QDir(app.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    QWidget *w = nullptr;
    QPushButton *apply = nullptr;
    if (window == QLatin1String("campi")) {
        auto *titles = app.windows->frmImpostaCampi;
        titles->present();
        titles->txtCampo[0]->setText(QStringLiteral("Nuovo titolo"));
        w = titles;
        apply = titles->btnApplica;
    } else {
        auto *start = app.windows->frmImpostaAvvio;
        start->present();
        start->txtNomeArchivio->setText(QStringLiteral("Nuovo nome"));
        start->btnCancLogo->click();
        w = start;
        apply = start->btnApplica;
    }
    QVERIFY(QTest::qWaitForWindowExposed(w));
    if (fault == QLatin1String("full"))
        QVERIFY(disk.fill());
    if (fault == QLatin1String("read-only"))
        QVERIFY(disk.makeReadOnly());

    QTest::mouseClick(apply, Qt::LeftButton);

    QCOMPARE(app.desktop.messages.size(), 1);
    QCOMPARE(app.desktop.messages[0].kind, Desktop::Kind::Error);
    QCOMPARE(app.desktop.messages[0].text,
             QStringLiteral("impossibile scrivere %1").arg(QDir::toNativeSeparators(target)));
    QVERIFY(w->isVisible());
    if (onDisk)
        QCOMPARE(app.read(QStringLiteral("Archivio.ini")), ini);
    QCOMPARE(app.read(QStringLiteral("Logo.bmp")), logo); // the picture is not tried after it
    QCOMPARE(QDir(app.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             files);
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
