#include "support/AppFixture.h"
#include "app/TfrmAvvio.h"
#include "settings/TfrmImpostaCampi.h"

#include <QLineEdit>
#include <QtTest>

class TestFrmImpostaCampi : public QObject {
    Q_OBJECT
  private slots:
    void loadsFromTheFile_data();
    void loadsFromTheFile();
    void labelFollowsTheBox();
    void enterWalksAllBoxes();
    void firstTitleRequired_data();
    void firstTitleRequired();
    void savesEveryKey_data();
    void savesEveryKey();
    void cancelKeepsTheFile();
    void writeFailure();
    void statusLine();
};

namespace {

struct Titles {
    AppFixture app;
    TfrmImpostaCampi *w;
    Titles() : w(app.windows->frmImpostaCampi) {}
    void open() {
        w->present();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
};

// The lines "Campo 01=…" … "Campo 14=…" for the given titles.
QByteArray keys(const QList<QByteArray> &titles) {
    QByteArray out;
    for (int i = 0; i < 14; ++i)
        out += "Campo " + QByteArray::number(i + 1).rightJustified(2, '0') + '=' + titles.value(i) +
               "\r\n";
    return out;
}

} // namespace

void TestFrmImpostaCampi::loadsFromTheFile_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fourteenth");
    QTest::addColumn<QString>("name");
    QTest::newRow("no file") << QByteArray() << ""
                             << ""
                             << "";
    QTest::newRow("header in capitals")
        << QByteArray("[Database]\r\nNome Archivio=Libri\r\n[NOME CAMPI]\r\nCampo 01=Titolo\r\n"
                      "CAMPO 14=Note finali\r\n")
        << "Titolo"
        << "Note finali"
        << "Libri";
    QTest::newRow("Windows-1252 accents")
        << QByteArray("[Nome campi]\r\nCampo 01=Citt\xe0\r\n") << "Città"
        << ""
        << "";
}

void TestFrmImpostaCampi::loadsFromTheFile() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, first);
    QFETCH(QString, fourteenth);
    QFETCH(QString, name);
    Titles t;
    if (!ini.isEmpty())
        QVERIFY(t.app.write(QStringLiteral("Archivio.ini"), ini));
    t.open();
    QCOMPARE(t.w->titNomeArchivio->text(), name);
    QCOMPARE(t.w->txtCampo[0]->text(), first);
    QCOMPARE(t.w->titCampo[0]->text(), first);
    QCOMPARE(t.w->txtCampo[13]->text(), fourteenth);
    QCOMPARE(t.w->titCampo[13]->text(), fourteenth);
    QCOMPARE(t.w->txtCampo[0]->objectName(), QStringLiteral("txtCampo01"));
    QCOMPARE(t.w->titCampo[13]->objectName(), QStringLiteral("titCampo14"));
    QCOMPARE(t.w->effCampo[6]->objectName(), QStringLiteral("effCampo07"));
    QTRY_VERIFY(t.w->txtCampo[0]->hasFocus());
    QVERIFY(t.w->effCampo[0]->isVisible());
    QVERIFY(!t.app.exists(QStringLiteral("Archivio.ini")) || !ini.isEmpty());
}

void TestFrmImpostaCampi::labelFollowsTheBox() {
    Titles t;
    t.open();
    QTest::keyClicks(t.w->txtCampo[2], QStringLiteral("   Editore"));
    QCOMPARE(t.w->titCampo[2]->text(), QStringLiteral("Editore"));
    QTest::keyClicks(t.w->txtCampo[2], QStringLiteral("  "));
    QCOMPARE(t.w->titCampo[2]->text(), QStringLiteral("Editore"));
    // A long title shows only its beginning: the label keeps the box's width.
    const QString longTitle(300, u'W');
    t.w->txtCampo[3]->setText(longTitle);
    QCOMPARE(t.w->titCampo[3]->text(), longTitle);
    QCOMPARE(t.w->titCampo[3]->width(), t.w->txtCampo[3]->width());
}

void TestFrmImpostaCampi::enterWalksAllBoxes() {
    Titles t;
    t.open();
    QTRY_VERIFY(t.w->txtCampo[0]->hasFocus());
    for (int step = 1; step <= 14; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY2(t.w->txtCampo[step % 14]->hasFocus(), qPrintable(QString::number(step)));
        QVERIFY(t.w->effCampo[step % 14]->isVisible());
        QVERIFY(!t.w->effCampo[(step + 13) % 14]->isVisible());
    }
    QVERIFY(t.app.desktop.messages.isEmpty());
}

void TestFrmImpostaCampi::firstTitleRequired_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("answer");
    QTest::newRow("empty, OK") << "" << int(Desktop::Answer::Ok);
    QTest::newRow("blanks, Cancel") << "   " << int(Desktop::Answer::Cancel);
}

void TestFrmImpostaCampi::firstTitleRequired() {
    QFETCH(QString, first);
    QFETCH(int, answer);
    Titles t;
    t.open();
    t.w->txtCampo[0]->setText(first);
    t.w->txtCampo[1]->setText(QStringLiteral("Autore"));
    t.w->txtCampo[1]->setFocus();
    t.app.desktop.answers.enqueue(Desktop::Answer(answer));
    t.w->btnApplica->click();
    QCOMPARE(t.app.desktop.messages.size(), 1);
    QCOMPARE(t.app.desktop.messages[0].kind, Desktop::Kind::Warning);
    QCOMPARE(t.app.desktop.lastMessage(),
             QStringLiteral("Attenzione: per salvare le impostazioni è necessario compilare il "
                            "primo campo del database."));
    QVERIFY(!t.app.exists(QStringLiteral("Archivio.ini")));
    QCOMPARE(t.app.visibleWindows(), QStringList{"frmImpostaCampi"});
    QTRY_VERIFY(t.w->txtCampo[0]->hasFocus());
}

void TestFrmImpostaCampi::savesEveryKey_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QList<QByteArray> titles = {"Titolo", "Autore", "", "Citt\xe0", "", "", "",
                                      "",       "",       "", "",         "", "", "Note"};
    QTest::newRow("new file: the writer's spelling")
        << QByteArray() << "[Nome campi]\r\n" + keys(titles);
    QTest::newRow("existing header kept, other keys untouched")
        << QByteArray(
               "[Database]\r\nNome Archivio=Libri\r\n\r\n[NOME CAMPI]\r\ncampo 01=Vecchio\r\n"
               "Altro=resta\r\n")
        << "[Database]\r\nNome Archivio=Libri\r\n\r\n[NOME CAMPI]\r\ncampo "
           "01=Titolo\r\nAltro=resta\r\n" +
               keys(titles).mid(keys(titles).indexOf("Campo 02"));
}

void TestFrmImpostaCampi::savesEveryKey() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    Titles t;
    if (!before.isEmpty())
        QVERIFY(t.app.write(QStringLiteral("Archivio.ini"), before));
    t.open();
    // Typed as the user would: blanks around, letter case as typed, accents.
    const QStringList typed = {"  Titolo ", "Autore", "   ", "Città", "", "", "",
                               "",          "",       "",    "",      "", "", "\tNote"};
    for (int i = 0; i < 14; ++i)
        t.w->txtCampo[i]->setText(typed[i]);
    FlowRecorder flow;
    t.w->btnApplica->click();
    QVERIFY(t.app.desktop.messages.isEmpty());
    QCOMPARE(t.app.read(QStringLiteral("Archivio.ini")), after);
    QCOMPARE(flow.events, (QStringList{"show frmAvvio", "hide frmImpostaCampi"}));
}

void TestFrmImpostaCampi::cancelKeepsTheFile() {
    Titles t;
    const QByteArray stored = "[Nome campi]\r\nCampo 01=Titolo\r\n";
    QVERIFY(t.app.write(QStringLiteral("Archivio.ini"), stored));
    t.open();
    t.w->txtCampo[0]->setText(QStringLiteral("Abbandonato"));
    t.w->txtCampo[5]->setText(QStringLiteral("Anche questo"));
    t.w->btnAnnulla->click();
    QCOMPARE(t.app.read(QStringLiteral("Archivio.ini")), stored);
    QCOMPARE(t.app.visibleWindows(), QStringList{"frmAvvio"});
    // The next visit shows the stored titles, not the abandoned edits.
    t.app.windows->frmAvvio->hide();
    t.open();
    QCOMPARE(t.w->txtCampo[0]->text(), QStringLiteral("Titolo"));
    QCOMPARE(t.w->txtCampo[5]->text(), QString());
}

void TestFrmImpostaCampi::writeFailure() {
    Titles t;
    QVERIFY(QDir(t.app.folder).mkdir(QStringLiteral("Archivio.ini")));
    t.open();
    t.w->txtCampo[0]->setText(QStringLiteral("Titolo"));
    t.w->btnApplica->click();
    QCOMPARE(t.app.desktop.messages.size(), 1);
    QCOMPARE(t.app.desktop.messages[0].kind, Desktop::Kind::Error);
    QVERIFY(t.app.desktop.lastMessage().startsWith(QStringLiteral("impossibile scrivere ")));
    QCOMPARE(t.app.visibleWindows(), QStringList{"frmImpostaCampi"});
}

void TestFrmImpostaCampi::statusLine() {
    Titles t;
    t.open();
    t.w->showNormal();
    t.w->resize(1100, 800);
    QVERIFY(QTest::qWaitForWindowExposed(t.w));
    const QList<std::pair<QWidget *, QString>> hints = {
        {t.w->btnApplica, "Applica le impostazioni e chiudi questa schermata."},
        {t.w->btnAnnulla, "Esci senza salvare le impostazioni."},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(t.w->panInfo->text(), text);
        QTest::mouseMove(t.w->imgFoto);
        QTRY_COMPARE(t.w->panInfo->text(), QString());
    }
}

QTEST_MAIN(TestFrmImpostaCampi)
#include "tst_frmimpostacampi.moc"
