#include "settings/SettingsGuide.h"
#include "support/AppFixture.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "settings/TfrmImpostaAvvio.h"
#include "settings/TfrmImpostaCampi.h"
#include "settings/TfrmMenuImpostazioni.h"

#include <QPlainTextEdit>
#include <QtTest>

class TestFrmMenuImpostazioni : public QObject {
    Q_OBJECT
  private slots:
    void choiceDecidesTheNextWindow_data();
    void choiceDecidesTheNextWindow();
    void choiceIsForgottenAfterClosing();
    void guide();
    void statusLine();
};

void TestFrmMenuImpostazioni::choiceDecidesTheNextWindow_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("next");
    QTest::newRow("start-screen settings") << "btnImpostaAvvio"
                                           << "frmImpostaAvvio";
    QTest::newRow("field titles") << "btnImpostaCampi"
                                  << "frmImpostaCampi";
    QTest::newRow("exit icon") << "imgEsci"
                               << "frmAvvio";
    QTest::newRow("close box") << "close"
                               << "frmAvvio";
    QTest::newRow("word with blanks around") << "blanks"
                                             << "frmImpostaCampi";
}

void TestFrmMenuImpostazioni::choiceDecidesTheNextWindow() {
    QFETCH(QString, way);
    QFETCH(QString, next);
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    app.windows->frmAvvio->present();
    app.windows->frmAvvio->cmdImpostazioni->click();
    QCOMPARE(app.visibleWindows(), QStringList{"frmMenuImpostazioni"});
    QCOMPARE(menu->lblMemory->text(), QStringLiteral("avvio"));
    QVERIFY(menu->lblMemory->isHidden());

    FlowRecorder flow;
    if (way == "btnImpostaAvvio")
        menu->btnImpostaAvvio->click();
    else if (way == "btnImpostaCampi")
        menu->btnImpostaCampi->click();
    else if (way == "imgEsci")
        QTest::mouseClick(menu->imgEsci, Qt::LeftButton);
    else if (way == "close")
        menu->close();
    else {
        menu->lblMemory->setText(QStringLiteral("  campi "));
        menu->close();
    }
    QCOMPARE(app.visibleWindows(), QStringList{next});
    QCOMPARE(flow.events, (QStringList{"show " + next, "hide frmMenuImpostazioni"}));
    QCOMPARE(menu->lblMemory->text(), QStringLiteral("avvio"));
    QVERIFY(!app.windows->terminated);
}

void TestFrmMenuImpostazioni::choiceIsForgottenAfterClosing() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    app.windows->frmAvvio->present();
    app.windows->frmAvvio->cmdImpostazioni->click();
    menu->btnImpostaCampi->click();
    // The settings windows go back to the start screen, not to the menu.
    app.windows->frmImpostaCampi->btnAnnulla->click();
    QCOMPARE(app.visibleWindows(), QStringList{"frmAvvio"});
    app.windows->frmAvvio->cmdImpostazioni->click();
    menu->imgEsciClick();
    QCOMPARE(app.visibleWindows(), QStringList{"frmAvvio"});
}

void TestFrmMenuImpostazioni::guide() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    menu->present();
    QString title, text;
    QWidget *owner = nullptr;
    app.desktop.onModal = [&](QDialog &d) {
        auto &guide = static_cast<TfrmGuida &>(d);
        owner = guide.parentWidget();
        title = guide.lblTitolo->text();
        text = guide.txtGuida->toPlainText();
    };
    QTest::mouseClick(menu->imgGuida, Qt::LeftButton);
    QCOMPARE(app.desktop.modalDialogs, QStringList{"TfrmGuida"});
    QCOMPARE(owner, menu);
    const GuideTopic topic = settingsGuide();
    QCOMPARE(title, QStringLiteral("Impostazioni schermata di avvio e campi di testo."));
    QCOMPARE(topic.paragraphs.size(), 5);
    QCOMPARE(text.split(QStringLiteral("\n\n")), topic.paragraphs);
    QCOMPARE(app.visibleWindows(), QStringList{"frmMenuImpostazioni"});
}

void TestFrmMenuImpostazioni::statusLine() {
    AppFixture app;
    TfrmMenuImpostazioni *menu = app.windows->frmMenuImpostazioni;
    menu->present();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QCOMPARE(menu->lblIstruzioni->text(),
             QStringLiteral("Premere il pulsante relativo al tipo di impostazioni da effettuare."));
    const QList<std::pair<QWidget *, QString>> hints = {
        {menu->btnImpostaAvvio,
         "Imposta il nome dell'archivio, il sottotitolo e l'immagine della schermata di avvio."},
        {menu->btnImpostaCampi, "Imposta i titoli dei quattordici campi di testo delle schede."},
        {menu->imgEsci, "Torna alla schermata di avvio."},
        {menu->imgGuida, "Guida alle impostazioni dell'archivio."},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(menu->panInfo->text(), text);
        QTest::mouseMove(menu->lblIstruzioni);
        QTRY_COMPARE(menu->panInfo->text(), QString());
    }
}

QTEST_MAIN(TestFrmMenuImpostazioni)
#include "tst_frmmenuimpostazioni.moc"
