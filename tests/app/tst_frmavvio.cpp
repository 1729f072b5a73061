#include "app/StartGuide.h"
#include "support/AppFixture.h"
#include "app/TfrmAvvio.h"
#include "app/TfrmGuida.h"
#include "kit/WindowKit.h"

#include <QPlainTextEdit>
#include <QtTest>

class TestFrmAvvio : public QObject {
    Q_OBJECT
  private slots:
    void nameAndSubtitle_data();
    void nameAndSubtitle();
    void picture();
    void buttonsFollowTheWorkspaces();
    void smallWindows_data();
    void smallWindows();
    void guide();
    void webSite();
    void statusLine();
};

namespace {
QImage shown(const QLabel *label) {
    return label->pixmap().toImage();
}
} // namespace

void TestFrmAvvio::nameAndSubtitle_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subtitle");
    QTest::newRow("no settings file") << QByteArray() << ""
                                      << "";
    QTest::newRow("both") << QByteArray("[Database]\r\nNome Archivio=Libri di casa\r\n"
                                        "Sottotitolo Archivio=La mia biblioteca\r\n")
                          << "Libri di casa"
                          << "La mia biblioteca";
    QTest::newRow("name only, other case")
        << QByteArray("[DATABASE]\nnome archivio=Città\n") << "Città"
        << "";
    const QString longName =
        QStringLiteral("ARCHIVIO GENERALE DEI DOCUMENTI AMMINISTRATIVI E CONTABILI");
    const QString longSubtitle = QStringLiteral(
        "Fatture, ricevute, contratti, preventivi e corrispondenza dello studio associato");
    QTest::newRow("long texts") << ("[Database]\nNome Archivio=" + longName.toUtf8() +
                                    "\nSottotitolo Archivio=" + longSubtitle.toUtf8() + "\n")
                                << longName << longSubtitle;
    const QString veryLong = QStringLiteral("Archivio molto lungo ").repeated(11).trimmed();
    QTest::newRow("very long texts") << ("[Database]\nNome Archivio=" + veryLong.toUtf8() +
                                         "\nSottotitolo Archivio=" + veryLong.toUtf8() + "\n")
                                     << veryLong << veryLong;
}

void TestFrmAvvio::nameAndSubtitle() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, name);
    QFETCH(QString, subtitle);
    AppFixture app;
    if (!ini.isEmpty())
        QVERIFY(app.write(QStringLiteral("Archivio.ini"), ini));
    TfrmAvvio *w = app.windows->frmAvvio;
    w->present();
    QCOMPARE(w->titNomeArchivio->text(), name);
    QCOMPARE(w->titSottotitolo->text(), subtitle);

    // Whatever their length, the texts are shown whole, and the name stays
    // clear of the two corner icons.
    QVERIFY(QTest::qWaitForWindowExposed(w));
    for (QLabel *title : {w->titNomeArchivio, w->titSottotitolo}) {
        if (title->wordWrap())
            QVERIFY2(title->heightForWidth(title->width()) <= title->height(),
                     qPrintable(title->objectName()));
        else
            QVERIFY2(QFontMetrics(title->font()).horizontalAdvance(title->text()) <=
                         title->contentsRect().width(),
                     qPrintable(title->objectName()));
    }
    QVERIFY(!w->titNomeArchivio->geometry().intersects(w->imgInfo->geometry()));
    QVERIFY(!w->titNomeArchivio->geometry().intersects(w->imgGuida->geometry()));
}

void TestFrmAvvio::picture() {
    AppFixture app;
    TfrmAvvio *w = app.windows->frmAvvio;
    QCOMPARE(w->imgTemp->pixmap().size(), QSize(912, 409));
    QVERIFY(w->imgTemp->isHidden());
    const QImage builtIn = shown(w->imgTemp);

    w->present();
    QCOMPARE(shown(w->imgLogo), builtIn);

    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(app.path(QStringLiteral("Logo.bmp")), "BMP"));
    w->hide();
    w->present();
    QCOMPARE(shown(w->imgLogo).pixelColor(456, 204), QColor(Qt::red));

    // Removed between two visits, or not a picture: the built-in one, silently.
    QFile::remove(app.path(QStringLiteral("Logo.bmp")));
    w->hide();
    w->present();
    QCOMPARE(shown(w->imgLogo), builtIn);
    QVERIFY(app.write(QStringLiteral("Logo.bmp"), "not a picture"));
    w->hide();
    w->present();
    QCOMPARE(shown(w->imgLogo), builtIn);
    QVERIFY(app.desktop.messages.isEmpty());
}

void TestFrmAvvio::buttonsFollowTheWorkspaces() {
    AppFixture app;
    TfrmAvvio *w = app.windows->frmAvvio;
    w->present();
    QCOMPARE(w->cmdDatabase->isEnabled(), app.windows->frmDatabase != nullptr);
    QCOMPARE(w->cmdClienti->isEnabled(), app.windows->frmClienti != nullptr);
    QVERIFY(w->cmdImpostazioni->isEnabled());
    for (auto [button, caption] :
         {std::pair{w->cmdImpostazioni, "Impostazioni"}, std::pair{w->cmdDatabase, "Database"},
          std::pair{w->cmdClienti, "Clienti"}}) {
        QCOMPARE(button->text(), QLatin1String(caption));
        QCOMPARE(button->size(), QSize(229, 38));
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    }
    if (app.windows->frmDatabase) {
        FlowRecorder flow;
        w->cmdDatabase->click();
        QCOMPARE(flow.events.value(0), QStringLiteral("show frmDatabase"));
        QCOMPARE(flow.events.value(1), QStringLiteral("hide frmAvvio"));
    }
}

void TestFrmAvvio::smallWindows_data() {
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("information") << "imgInfo"
                                 << "TfrmInfo";
    QTest::newRow("splash") << "imgCopyright"
                            << "TfrmSplash";
    QTest::newRow("guide") << "imgGuida"
                           << "TfrmGuida";
}

void TestFrmAvvio::smallWindows() {
    QFETCH(QString, icon);
    QFETCH(QString, dialog);
    AppFixture app;
    TfrmAvvio *w = app.windows->frmAvvio;
    w->present();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QWidget *owner = nullptr;
    app.desktop.onModal = [&](QDialog &d) { owner = d.parentWidget(); };
    auto *picture = w->findChild<PictureLabel *>(icon);
    QVERIFY(picture);
    QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(picture, Qt::LeftButton);
    QCOMPARE(app.desktop.modalDialogs, QStringList{dialog});
    QCOMPARE(owner, w);
    // Created for the use and gone after it.
    QVERIFY(w->findChildren<QDialog *>().isEmpty());
    QCOMPARE(app.visibleWindows(), QStringList{"frmAvvio"});
}

void TestFrmAvvio::guide() {
    const GuideTopic topic = startGuide();
    QCOMPARE(topic.title, QStringLiteral("Uno sguardo ad Cartavera."));
    QCOMPARE(topic.paragraphs.size(), 29);
    for (const QString &p : topic.paragraphs)
        QVERIFY(!p.isEmpty() && !p.contains(u'\n'));
    QVERIFY(topic.paragraphs[27].contains(QStringLiteral("«amministratore»")));
    QVERIFY(topic.paragraphs[27].contains(QStringLiteral("otto caratteri")));

    AppFixture app;
    app.windows->frmAvvio->present();
    QString title, text;
    app.desktop.onModal = [&](QDialog &d) {
        auto &guide = static_cast<TfrmGuida &>(d);
        title = guide.lblTitolo->text();
        text = guide.txtGuida->toPlainText();
    };
    app.windows->frmAvvio->imgGuidaClick();
    QCOMPARE(title, topic.title);
    // One empty line between two paragraphs.
    QCOMPARE(text.split(QStringLiteral("\n\n")), topic.paragraphs);
}

void TestFrmAvvio::webSite() {
    AppFixture app;
    app.windows->frmAvvio->present();
    QTest::mouseClick(app.windows->frmAvvio->imgSitoWeb, Qt::LeftButton);
    QCOMPARE(app.desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.cartavera.it"))});
}

void TestFrmAvvio::statusLine() {
    AppFixture app;
    TfrmAvvio *w = app.windows->frmAvvio;
    w->present();
    // The offscreen screen is smaller than the start screen's panel.
    w->showNormal();
    w->resize(1100, 800);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QList<std::pair<QWidget *, QString>> hints = {
        {w->cmdImpostazioni, "Imposta il nome dell'archivio, la schermata di avvio e i titoli "
                             "dei campi di testo."},
        {w->imgInfo, "Informazioni sul programma e sui contatti dell'autore."},
        {w->imgGuida, "Guida all'utilizzo del software."},
        {w->imgCopyright, "Mostra la schermata di presentazione del programma."},
        {w->imgSitoWeb, "Visita il sito web www.cartavera.it."},
        {w->imgEsci, "Esci dal programma."},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(w->panInfo->text(), text);
        QTest::mouseMove(w->imgLogo);
        QTRY_COMPARE(w->panInfo->text(), QString());
    }
}

QTEST_MAIN(TestFrmAvvio)
#include "tst_frmavvio.moc"
