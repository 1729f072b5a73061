#include "support/AppFixture.h"
#include "support/FullDisk.h"
#include "kit/StartPicture.h"
#include "app/TfrmAvvio.h"
#include "settings/TfrmImpostaAvvio.h"
#include "storage/TextRules.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>

class TestFrmImpostaAvvio : public QObject {
    Q_OBJECT
  private slots:
    void loads();
    void pictureChoices_data();
    void pictureChoices();
    void cancelLeavesTheFilesAlone();
    void chooserStartsInAFolderThatExists_data();
    void chooserStartsInAFolderThatExists();
    void nameRequired();
    void savesNameAndSubtitle_data();
    void savesNameAndSubtitle();
    void logoThatCannotBeWritten();
    void fullDiskKeepsTheOldLogo();
    void enterKeyAndStatusLine();
};

namespace {

struct StartSettings {
    AppFixture app;
    TfrmImpostaAvvio *w;
    explicit StartSettings(const QString &folder = AppFixture::defaultSubfolder())
        : app(folder), w(app.windows->frmImpostaAvvio) {}
    void open() {
        w->present();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The offscreen platform does not activate a window shown again after
        // a hide; a desktop does, and gives the focus back to its focus widget.
        if (QApplication::activeWindow() != w)
            QApplication::setActiveWindow(w);
    }
};

// Width and height written in a bitmap file's header.
QSize bitmapSize(const QByteArray &bmp) {
    return QSize(qFromLittleEndian<qint32>(bmp.constData() + 18),
                 qAbs(qFromLittleEndian<qint32>(bmp.constData() + 22)));
}

QImage stripes(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 60));
    for (int x = 0; x < size.width(); x += 8)
        for (int y = 0; y < size.height(); ++y)
            image.setPixelColor(x, y, QColor(240, 200, 10));
    return image;
}

} // namespace

void TestFrmImpostaAvvio::loads() {
    StartSettings s;
    s.open();
    QCOMPARE(s.w->txtNomeArchivio->text(), QString());
    QCOMPARE(s.w->txtSottotitolo->text(), QString());
    QCOMPARE(s.w->picture(), defaultStartPicture());
    QTRY_VERIFY(s.w->txtNomeArchivio->hasFocus());
    s.w->hide();

    QVERIFY(s.app.write(QStringLiteral("Archivio.ini"),
                "[database]\r\nnome archivio=Film\r\nSottotitolo Archivio=Visti al cinema\r\n"));
    QVERIFY(stripes(QSize(40, 30)).save(s.app.path(QStringLiteral("Logo.bmp")), "BMP"));
    s.open();
    QCOMPARE(s.w->txtNomeArchivio->text(), QStringLiteral("Film"));
    QCOMPARE(s.w->txtSottotitolo->text(), QStringLiteral("Visti al cinema"));
    QCOMPARE(s.w->picture().size(), QSize(40, 30));
    QCOMPARE(s.w->imgLogo->pixmap().size(), QSize(912, 409));
    // A Logo.bmp that loads puts the focus into the name box; one that does
    // not leaves the focus where it was.
    QTRY_VERIFY(s.w->txtNomeArchivio->hasFocus());
    s.w->txtSottotitolo->setFocus();
    s.w->hide();
    QVERIFY(QFile::remove(s.app.path(QStringLiteral("Logo.bmp"))));
    s.open();
    QCOMPARE(s.w->picture(), defaultStartPicture());
    // Whatever the showing posted has run: the window's focus is still there.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(s.w->focusWidget(), s.w->txtSottotitolo);
}

void TestFrmImpostaAvvio::pictureChoices_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QSize>("stored");
    QTest::newRow("delete: 2 x 2 white") << "cancella" << QSize(2, 2);
    QTest::newRow("restore: built-in") << "ripristina" << QSize(912, 409);
    QTest::newRow("JPEG chosen, stored as bitmap") << "jpeg" << QSize(320, 200);
    QTest::newRow("bitmap chosen") << "bmp" << QSize(64, 48);
    QTest::newRow("transparent parts stored white") << "transparent" << QSize(50, 20);
    QTest::newRow("not a picture: built-in") << "broken" << QSize(912, 409);
    QTest::newRow("dialog cancelled: as it was") << "cancelled" << QSize(40, 30);
}

void TestFrmImpostaAvvio::pictureChoices() {
    QFETCH(QString, action);
    QFETCH(QSize, stored);
    StartSettings s;
    QVERIFY(s.app.write(QStringLiteral("Archivio.ini"), "[Database]\r\nNome Archivio=Film\r\n"));
    QVERIFY(stripes(QSize(40, 30)).save(s.app.path(QStringLiteral("Logo.bmp")), "BMP"));
    QTemporaryDir pictures;
    const QString jpeg = pictures.filePath(QStringLiteral("copertina.jpg"));
    const QString bmp = pictures.filePath(QStringLiteral("logo.bmp"));
    const QString broken = pictures.filePath(QStringLiteral("rotto.jpg"));
    QVERIFY(stripes(QSize(320, 200)).save(jpeg, "JPEG", 95));
    QVERIFY(stripes(QSize(64, 48)).save(bmp, "BMP"));
    // Chosen by name in the dialog: the picture is read by its content.
    const QString transparent = pictures.filePath(QStringLiteral("trasparente.png"));
    QImage clear(50, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixelColor(0, 0, QColor(200, 30, 30));
    QVERIFY(clear.save(transparent, "PNG"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("nothing") > 0);
    f.close();
    s.open();

    if (action == "cancella") {
        s.w->btnCancLogo->click();
    } else if (action == "ripristina") {
        s.w->btnRipristina->click();
    } else {
        if (action != "cancelled")
            s.app.desktop.fileNames.enqueue(action == "jpeg"          ? jpeg
                                            : action == "bmp"         ? bmp
                                            : action == "transparent" ? transparent
                                                                      : broken);
        s.w->btnSfoglia->click();
        QCOMPARE(s.app.desktop.fileRequests.size(), 1);
        QCOMPARE(s.app.desktop.fileRequests[0].title,
                 QStringLiteral("Selezionare il logo della Ditta in formato Jpeg o Bitmap."));
        QCOMPARE(s.app.desktop.fileRequests[0].filter,
                 QStringLiteral("Immagine JPEG (*.jpg *.jpeg);;Immagine Bitmap (*.bmp)"));
    }
    QCOMPARE(s.w->picture().size(), stored);
    s.w->btnApplica->click();
    QVERIFY(s.app.desktop.messages.isEmpty());
    QCOMPARE(s.app.visibleWindows(), QStringList{"frmAvvio"});

    const QByteArray file = s.app.read(QStringLiteral("Logo.bmp"));
    QVERIFY(file.startsWith("BM"));
    QCOMPARE(bitmapSize(file), stored);
    const QImage back = QImage::fromData(file, "BMP");
    QCOMPARE(back.size(), stored);
    if (action == "cancella") {
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < 2; ++y)
                QCOMPARE(back.pixelColor(x, y), QColor(Qt::white));
    } else if (action == "ripristina" || action == "broken") {
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32),
                 defaultStartPicture().convertToFormat(QImage::Format_RGB32));
    } else if (action == "transparent") {
        // As the window shows it: white where the picture is transparent.
        QCOMPARE(back.pixelColor(0, 0), QColor(200, 30, 30));
        QCOMPARE(back.pixelColor(30, 10), QColor(Qt::white));
    } else if (action == "jpeg") {
        // Colours survive the JPEG round trip closely.
        const QColor c = back.pixelColor(4, 100);
        QVERIFY(qAbs(c.green() - 120) < 25 && c.red() < 60);
    }
}

void TestFrmImpostaAvvio::chooserStartsInAFolderThatExists_data() {
    QTest::addColumn<bool>("hasPictures");
    QTest::newRow("fresh system, no Pictures folder") << false;
    QTest::newRow("Pictures folder") << true;
}

// A chooser opened on a missing folder would show its name in the file name
// box: the logo chooser starts in Pictures only when there is one, else home.
void TestFrmImpostaAvvio::chooserStartsInAFolderThatExists() {
    QFETCH(bool, hasPictures);
    struct Home {
        QTemporaryDir dir;
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        Home() {
            qputenv("HOME", dir.path().toLocal8Bit());
            qunsetenv("XDG_CONFIG_HOME");
        }
        ~Home() {
            qputenv("HOME", home);
            if (!config.isNull())
                qputenv("XDG_CONFIG_HOME", config);
        }
    } home;
    const QString pictures = home.dir.filePath(QStringLiteral("Pictures"));
    if (hasPictures)
        QVERIFY(QDir().mkdir(pictures));

    StartSettings s;
    s.open();
    s.w->btnSfoglia->click();
    QCOMPARE(s.app.desktop.fileRequests.size(), 1);
    QCOMPARE(s.app.desktop.fileRequests[0].folder, hasPictures ? pictures : home.dir.path());
    QCOMPARE(existingFolderOrHome(pictures), hasPictures ? pictures : home.dir.path());
}

void TestFrmImpostaAvvio::cancelLeavesTheFilesAlone() {
    StartSettings s;
    QVERIFY(stripes(QSize(40, 30)).save(s.app.path(QStringLiteral("Logo.bmp")), "BMP"));
    const QByteArray logo = s.app.read(QStringLiteral("Logo.bmp"));
    s.open();
    s.w->txtNomeArchivio->setText(QStringLiteral("Nuovo nome"));
    s.w->btnCancLogo->click();
    s.w->btnAnnulla->click();
    QCOMPARE(s.app.read(QStringLiteral("Logo.bmp")), logo);
    QVERIFY(!s.app.exists(QStringLiteral("Archivio.ini")));
    QCOMPARE(s.app.visibleWindows(), QStringList{"frmAvvio"});
}

void TestFrmImpostaAvvio::nameRequired() {
    StartSettings s;
    s.open();
    s.w->txtNomeArchivio->setText(QStringLiteral("  \t "));
    s.w->txtSottotitolo->setText(QStringLiteral("Sottotitolo"));
    s.w->txtSottotitolo->setFocus();
    s.app.desktop.answers.enqueue(Desktop::Answer::Cancel);
    s.w->btnApplica->click();
    QCOMPARE(s.app.desktop.messages.size(), 1);
    QCOMPARE(s.app.desktop.messages[0].kind, Desktop::Kind::Warning);
    QCOMPARE(s.app.desktop.lastMessage(),
             QStringLiteral("Attenzione: per salvare le impostazioni è necessario indicare il "
                            "nome del database."));
    QVERIFY(!s.app.exists(QStringLiteral("Archivio.ini")));
    QVERIFY(!s.app.exists(QStringLiteral("Logo.bmp")));
    QCOMPARE(s.app.visibleWindows(), QStringList{"frmImpostaAvvio"});
    QTRY_VERIFY(s.w->txtNomeArchivio->hasFocus());
}

void TestFrmImpostaAvvio::savesNameAndSubtitle_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subtitle");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new file, blank subtitle stored empty")
        << QByteArray() << "  Libri di casa "
        << "    "
        << QByteArray("[Database]\r\nNome Archivio=Libri di casa\r\nSottotitolo Archivio=\r\n");
    QTest::newRow("case kept as typed, accents in Windows-1252")
        << QByteArray() << "città d'arte"
        << "Più di 100 schede"
        << QByteArray("[Database]\r\nNome Archivio=citt\xe0 d'arte\r\n"
                      "Sottotitolo Archivio=Pi\xf9 di 100 schede\r\n");
    QTest::newRow("existing section and titles kept")
        << QByteArray("[DATABASE]\r\nnome archivio=Vecchio\r\n[Nome campi]\r\nCampo 01=Titolo\r\n")
        << "Nuovo"
        << "Sotto"
        << QByteArray("[DATABASE]\r\nnome archivio=Nuovo\r\nSottotitolo Archivio=Sotto\r\n"
                      "[Nome campi]\r\nCampo 01=Titolo\r\n");
}

void TestFrmImpostaAvvio::savesNameAndSubtitle() {
    QFETCH(QByteArray, before);
    QFETCH(QString, name);
    QFETCH(QString, subtitle);
    QFETCH(QByteArray, after);
    StartSettings s;
    if (!before.isEmpty())
        QVERIFY(s.app.write(QStringLiteral("Archivio.ini"), before));
    s.open();
    s.w->txtNomeArchivio->setText(name);
    s.w->txtSottotitolo->setText(subtitle);
    FlowRecorder flow;
    s.w->btnApplica->click();
    QCOMPARE(s.app.read(QStringLiteral("Archivio.ini")), after);
    QCOMPARE(flow.events, (QStringList{"show frmAvvio", "hide frmImpostaAvvio"}));
    // The start screen shows what was stored.
    QCOMPARE(s.app.windows->frmAvvio->titNomeArchivio->text(), text::trimmed(name));
    QCOMPARE(s.app.windows->frmAvvio->titSottotitolo->text(), text::trimmed(subtitle));
    QCOMPARE(bitmapSize(s.app.read(QStringLiteral("Logo.bmp"))), QSize(912, 409));
}

void TestFrmImpostaAvvio::logoThatCannotBeWritten() {
    StartSettings s;
    QVERIFY(QDir(s.app.folder).mkdir(QStringLiteral("Logo.bmp")));
    s.open();
    s.w->txtNomeArchivio->setText(QStringLiteral("Film"));
    s.w->btnCancLogo->click();
    s.w->btnApplica->click();
    QCOMPARE(s.app.desktop.messages.size(), 1);
    QCOMPARE(s.app.desktop.messages[0].kind, Desktop::Kind::Warning);
    QVERIFY(s.app.desktop.lastMessage().contains(QStringLiteral("Logo.bmp")));
    // Name and subtitle stay written; the window keeps the picture for another try.
    QCOMPARE(s.app.read(QStringLiteral("Archivio.ini")),
             QByteArray("[Database]\r\nNome Archivio=Film\r\nSottotitolo Archivio=\r\n"));
    QCOMPARE(s.w->picture().size(), QSize(2, 2));
    QCOMPARE(s.app.visibleWindows(), QStringList{"frmImpostaAvvio"});
}

void TestFrmImpostaAvvio::fullDiskKeepsTheOldLogo() {
    // Room for the settings file but not for the new picture: the old
    // Logo.bmp stays whole and the user is told.
    FullDisk disk;
    REQUIRE_MOUNTED(disk);
    StartSettings s(disk.filePath(QStringLiteral("Cartavera")));
    QVERIFY(stripes(QSize(40, 30)).save(s.app.path(QStringLiteral("Logo.bmp")), "BMP"));
    const QByteArray before = s.app.read(QStringLiteral("Logo.bmp"));
    s.open();
    s.w->txtNomeArchivio->setText(QStringLiteral("Film"));
    s.w->btnRipristina->click(); // the built-in picture: over a megabyte as a bitmap
    QVERIFY(disk.fill());
    QVERIFY(disk.release(16 * 1024));
    s.w->btnApplica->click();

    QCOMPARE(s.app.desktop.messages.size(), 1);
    QCOMPARE(s.app.desktop.messages[0].kind, Desktop::Kind::Warning);
    QVERIFY(s.app.desktop.lastMessage().contains(QStringLiteral("Logo.bmp")));
    QCOMPARE(s.app.read(QStringLiteral("Logo.bmp")), before);
    QCOMPARE(s.app.read(QStringLiteral("Archivio.ini")),
             QByteArray("[Database]\r\nNome Archivio=Film\r\nSottotitolo Archivio=\r\n"));
    QCOMPARE(QDir(s.app.folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("Archivio.ini"), QStringLiteral("Logo.bmp")}));
}

void TestFrmImpostaAvvio::enterKeyAndStatusLine() {
    StartSettings s;
    s.open();
    s.w->showNormal();
    s.w->resize(1150, 800);
    QVERIFY(QTest::qWaitForWindowExposed(s.w));
    QTRY_VERIFY(s.w->txtNomeArchivio->hasFocus());
    // This window has no Enter chain: Enter leaves the focus where it is.
    // (An Enter handler moves the focus at once; posted work is run before looking.)
    QTest::keyClick(s.w->txtNomeArchivio, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(s.w->focusWidget(), s.w->txtNomeArchivio);
    s.w->txtSottotitolo->setFocus();
    QTest::keyClick(s.w->txtSottotitolo, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(s.w->focusWidget(), s.w->txtSottotitolo);
    QVERIFY(s.app.desktop.messages.isEmpty());

    const QList<std::pair<QWidget *, QString>> hints = {
        {s.w->btnSfoglia, "Carica l'immagine da mostrare nella schermata di avvio."},
        {s.w->btnCancLogo, "Cancella immagine."},
        {s.w->btnRipristina, "Ripristina immagine di default."},
        {s.w->btnAnnulla, "Esci senza salvare le impostazioni."},
        {s.w->btnApplica, "Applica le impostazioni e chiudi questa schermata."},
    };
    for (const auto &[control, text] : hints) {
        QTest::mouseMove(control);
        QTRY_COMPARE(s.w->panInfo->text(), text);
        QTest::mouseMove(s.w->imgLogo);
        QTRY_COMPARE(s.w->panInfo->text(), QString());
    }
}

QTEST_MAIN(TestFrmImpostaAvvio)
#include "tst_frmimpostaavvio.moc"
