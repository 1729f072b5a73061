// The card print window and the card preview window, the same design run
// through both: opened from the database workspace's buttons, their choice,
// the card they put on the page, and what happens when the output is
// cancelled or fails.
#include "database/PhotoView.h"
#include "database/TfrmDatabase.h"
#include "kit/ProvinceBox.h"
#include "output/CardPrintWindow.h"
#include "report/Report.h"
#include "storage/IniFile.h"
#include "support/AppFixture.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using report::Placed;
using report::PreparedReport;

namespace {

enum class Output { Print, Preview };

struct WindowShape {
    const char *className;
    const char *caption;
    QSize clientSize;
    const char *withPhoto;
    const char *withoutPhoto;
    const char *action;
};

WindowShape shapeOf(Output output) {
    if (output == Output::Print)
        return {"TfrmStampaDatabase",    " Stampa scheda",          QSize(364, 372),
                "Stampa dati con foto.", "Stampa dati senza foto.", "Stampa"};
    return {"TfrmAnteprimaPrev",        " Anteprima di stampa",       QSize(364, 361),
            "Anteprima dati con foto.", "Anteprima dati senza foto.", "Mostra anteprima"};
}

const QString kFooter = QStringLiteral("Stampa eseguita in data 05/03/2024 alle ore 09:07:03");
const QColor kTeal(0x00, 0x80, 0x80);

// The item points into `prepared`: its first page is read in place, not copied.
const Placed *item(const PreparedReport &prepared, const QString &name) {
    if (prepared.pages.isEmpty())
        return nullptr;
    for (const Placed &placed : prepared.pages.first().items)
        if (placed.object.name == name)
            return &placed;
    return nullptr;
}

QString textOf(const PreparedReport &prepared, const QString &name) {
    const Placed *placed = item(prepared, name);
    return placed ? placed->object.text() : QStringLiteral("<none>");
}

QString pair(const char *prefix, int n) {
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// A photo wider than tall: red on the left, blue on the right.
QImage widePhoto() {
    QImage image(QSize(300, 200), QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 150; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    return image;
}

} // namespace

class TestCardPrint : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void withPhotoAtOnce_data();
    void withPhotoAtOnce();
    void withoutPhoto_data();
    void withoutPhoto();
    void photoOnTheCard_data();
    void photoOnTheCard();
    void nothingOutput_data();
    void nothingOutput();
    void engineErrorKeepsTheWindowOpen();

  private:
    TfrmDatabase *workspace() const { return m_app->windows->frmDatabase; }
    QList<PreparedReport> &outputs(Output output) {
        return output == Output::Print ? m_app->desktop.prints : m_app->desktop.previews;
    }
    QList<PreparedReport> &otherOutputs(Output output) {
        return outputs(output == Output::Print ? Output::Preview : Output::Print);
    }
    void fillCard();
    // Presses the workspace's button for `output` and runs `inside` in the
    // window it opens; true when the window had closed by the end.
    bool openWindow(Output output, const std::function<void(CardPrintWindow &)> &inside);

    AppFixture *m_app = nullptr;
};

void TestCardPrint::initTestCase() {
    report::setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)); });
}

void TestCardPrint::init() {
    m_app = new AppFixture;
    // Titles with blanks around them; field 2 has none.
    IniFile settings(m_app->path(QStringLiteral("Archivio.ini")));
    for (int n = 1; n <= 14; ++n)
        if (n != 2)
            settings.write(QStringLiteral("Nome Campi"),
                           QStringLiteral("Campo %1").arg(n, 2, 10, QChar(u'0')),
                           QStringLiteral("  Voce %1: ").arg(n));
    workspace()->present();
    QVERIFY(QTest::qWaitForWindowExposed(workspace()));
}

void TestCardPrint::cleanup() {
    delete m_app;
    m_app = nullptr;
}

// A new card, never saved, as the user typed it.
void TestCardPrint::fillCard() {
    TfrmDatabase *w = workspace();
    QTest::keyClicks(w->txtCampo[0], QStringLiteral("  Il nome della rosa  "));
    QTest::keyClicks(w->txtCampo[2], QStringLiteral("[Autore] & [DATE]"));
    for (int i = 3; i < TfrmDatabase::kFields; ++i)
        w->txtCampo[i]->setText(QStringLiteral("Valore %1").arg(i + 1));
    QTest::keyClicks(w->txtCliente, QStringLiteral(" Anna Rossi "));
    w->txtIndirizzoRes->setText(QStringLiteral("Via Roma 1"));
    w->txtComuneRes->setText(QStringLiteral("Milano"));
    w->txtProvRes->setEditText(QStringLiteral("MI"));
    w->txtEmail->setText(QStringLiteral("anna@esempio.it"));
    w->txtRecapito->setText(QStringLiteral("02 123456"));
    w->txtCodFisc->setText(QStringLiteral("RSSNNA80A41F205X"));
    w->txtPartitaIva->setText(QStringLiteral("12345678903"));
}

bool TestCardPrint::openWindow(Output output,
                               const std::function<void(CardPrintWindow &)> &inside) {
    bool closed = false;
    m_app->desktop.onModal = [&](QDialog &dialog) {
        auto *window = qobject_cast<CardPrintWindow *>(&dialog);
        QVERIFY(window);
        inside(*window);
        closed = !window->isVisible();
    };
    QTest::mouseClick(output == Output::Print ? workspace()->cmdStampa : workspace()->cmdAnteprima,
                      Qt::LeftButton);
    m_app->desktop.onModal = nullptr;
    return closed;
}

void TestCardPrint::withPhotoAtOnce_data() {
    QTest::addColumn<Output>("output");
    QTest::newRow("print") << Output::Print;
    QTest::newRow("preview") << Output::Preview;
}

void TestCardPrint::withPhotoAtOnce() {
    QFETCH(Output, output);
    const WindowShape shape = shapeOf(output);
    fillCard();
    const bool closed = openWindow(output, [&](CardPrintWindow &w) {
        QCOMPARE(w.metaObject()->className(), shape.className);
        QCOMPARE(w.windowTitle(), QString::fromUtf8(shape.caption));
        QCOMPARE(w.contentsRect().size(), shape.clientSize);
        QCOMPARE(w.optUno->text(), QString::fromUtf8(shape.withPhoto));
        QCOMPARE(w.optDue->text(), QString::fromUtf8(shape.withoutPhoto));
        QCOMPARE(w.btnStampa->text(), QString::fromUtf8(shape.action));
        QCOMPARE(w.btnAnnulla->text(), QStringLiteral("Annulla"));
        QVERIFY(w.optUno->isChecked());
        QCOMPARE(w.optUno->parentWidget(), w.panScelta);
        QCOMPARE(w.lblMemory->text(), QStringLiteral("con"));
        for (QWidget *hidden :
             {static_cast<QWidget *>(w.lblMemory), static_cast<QWidget *>(w.imgLogo),
              static_cast<QWidget *>(w.imgBianco)})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    });

    QVERIFY(closed);
    QVERIFY(m_app->desktop.messages.isEmpty());
    QVERIFY(otherOutputs(output).isEmpty());
    QCOMPARE(outputs(output).size(), 1);
    const PreparedReport &card = outputs(output).first();
    QCOMPARE(card.pages.size(), 1);
    QCOMPARE(card.layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(textOf(card, QStringLiteral("txtTitolo")), QStringLiteral("SCHEDA INFORMATIVA"));
    QCOMPARE(textOf(card, QStringLiteral("txtCalce")), kFooter);
    QVERIFY(item(card, QStringLiteral("imgFoto")));
    QVERIFY(item(card, pair("titCampo", 22)));
    QVERIFY(!item(card, pair("titCampo", 23)));

    // Trimmed texts; square brackets as typed; the empty title an empty teal box.
    QCOMPARE(textOf(card, pair("titCampo", 1)), QStringLiteral("Voce 1:"));
    QCOMPARE(textOf(card, pair("txtCampo", 1)), QStringLiteral("Il nome della rosa"));
    QCOMPARE(textOf(card, pair("titCampo", 2)), QString());
    QCOMPARE(item(card, pair("titCampo", 2))->object.fill, kTeal);
    QCOMPARE(textOf(card, pair("txtCampo", 2)), QString());
    QCOMPARE(textOf(card, pair("txtCampo", 3)), QStringLiteral("[Autore] & [DATE]"));
    QCOMPARE(textOf(card, pair("titCampo", 14)), QStringLiteral("Voce 14:"));
    QCOMPARE(textOf(card, pair("txtCampo", 14)), QStringLiteral("Valore 14"));
    const QStringList contactTitles = {
        "Cognome e nome:", "Via e numero civico:",    "Comune di residenza:", "Provincia:",
        "E-mail:",         "Recapito preferenziale:", "Codice fiscale:",      "Partita IVA:"};
    const QStringList contacts = {
        "Anna Rossi",      "Via Roma 1", "Milano",           "MI",
        "anna@esempio.it", "02 123456",  "RSSNNA80A41F205X", "12345678903"};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(textOf(card, pair("titCampo", 15 + i)), contactTitles[i]);
        QCOMPARE(textOf(card, pair("txtCampo", 15 + i)), contacts[i]);
    }
}

void TestCardPrint::withoutPhoto_data() {
    withPhotoAtOnce_data();
}

void TestCardPrint::withoutPhoto() {
    QFETCH(Output, output);
    fillCard();
    // A stored card edited and not saved again prints as it is shown.
    QTest::mouseClick(workspace()->cmdSalva, Qt::LeftButton);
    QCOMPARE(workspace()->lblPosizione->text(), QStringLiteral("1"));
    workspace()->txtCampo[1]->clear();
    QTest::keyClicks(workspace()->txtCampo[1], QStringLiteral("modificato"));
    m_app->desktop.messages.clear();

    // Chosen with the keyboard: the arrow moves the choice, Enter goes ahead.
    const bool closed = openWindow(output, [&](CardPrintWindow &w) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.optUno->setFocus();
        QTRY_VERIFY(w.optUno->hasFocus());
        QTest::keyClick(w.optUno, Qt::Key_Down);
        QVERIFY(w.optDue->isChecked());
        QCOMPARE(w.lblMemory->text(), QStringLiteral("senza"));
        QTest::keyClick(w.optDue, Qt::Key_Up);
        QCOMPARE(w.lblMemory->text(), QStringLiteral("con"));
        QTest::keyClick(w.optUno, Qt::Key_Down);
        QTest::keyClick(w.optDue, Qt::Key_Return);
    });

    QVERIFY(closed);
    QVERIFY(m_app->desktop.messages.isEmpty());
    QCOMPARE(outputs(output).size(), 1);
    const PreparedReport &card = outputs(output).first();
    QCOMPARE(card.pages.size(), 1);
    QCOMPARE(card.layout.orientation(), QPageLayout::Portrait);
    QVERIFY(!item(card, QStringLiteral("imgFoto")));
    QVERIFY(!item(card, QStringLiteral("Shape1")));
    QCOMPARE(textOf(card, QStringLiteral("txtTitolo")), QStringLiteral("SCHEDA INFORMATIVA"));
    QCOMPARE(textOf(card, QStringLiteral("txtCalce")), kFooter);
    QCOMPARE(textOf(card, pair("txtCampo", 1)), QStringLiteral("Il nome della rosa"));
    QCOMPARE(textOf(card, pair("txtCampo", 2)), QStringLiteral("modificato"));
    QCOMPARE(textOf(card, pair("titCampo", 14)), QStringLiteral("Voce 14:"));
    QCOMPARE(textOf(card, pair("titCampo", 15)), QStringLiteral("Cognome e nome:"));
    QCOMPARE(textOf(card, pair("txtCampo", 15)), QStringLiteral("Anna Rossi"));
    QCOMPARE(textOf(card, pair("titCampo", 22)), QStringLiteral("Partita IVA:"));
    QCOMPARE(textOf(card, pair("txtCampo", 22)), QStringLiteral("12345678903"));
    for (int n : {23, 24}) {
        QCOMPARE(textOf(card, pair("titCampo", n)), QStringLiteral(" "));
        QCOMPARE(item(card, pair("titCampo", n))->object.fill, kTeal);
        QCOMPARE(textOf(card, pair("txtCampo", n)), QString());
    }
}

void TestCardPrint::photoOnTheCard_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("blank"); // the frame prints empty
    QTest::newRow("photo loaded") << "wide" << false;
    QTest::newRow("photo of a stored card") << "wide stored" << false;
    QTest::newRow("new card, default photo") << "default" << true;
    QTest::newRow("photo erased") << "erased" << true;
    // Saving a card without a photo writes the default photo into its file.
    QTest::newRow("default photo stored") << "default stored" << true;
}

void TestCardPrint::photoOnTheCard() {
    QFETCH(QString, shown);
    QFETCH(bool, blank);
    TfrmDatabase *w = workspace();
    fillCard();
    const QString photoFile = m_app->path(QStringLiteral("scelta.png"));
    QVERIFY(widePhoto().save(photoFile));
    if (shown.startsWith(QStringLiteral("wide")) || shown == QStringLiteral("erased")) {
        m_app->desktop.fileNames.enqueue(photoFile);
        QTest::mouseClick(w->btnSfoglia, Qt::LeftButton);
        QCOMPARE(w->imgFoto->picture().size(), QSize(300, 200));
    }
    if (shown == QStringLiteral("erased"))
        QTest::mouseClick(w->btnCancFoto, Qt::LeftButton);
    if (shown.endsWith(QStringLiteral("stored"))) {
        QTest::mouseClick(w->cmdSalva, Qt::LeftButton);
        QVERIFY(m_app->exists(QStringLiteral("1.jpg")));
        QTest::mouseClick(w->cmdNuovo, Qt::LeftButton);
        QTest::mouseClick(w->cmdPrimo, Qt::LeftButton);
        QCOMPARE(w->lblPosizione->text(), QStringLiteral("1"));
    }
    const QImage onScreen = w->imgFoto->picture();

    openWindow(Output::Print, [](CardPrintWindow &window) {
        QTest::mouseClick(window.btnStampa, Qt::LeftButton);
    });
    QCOMPARE(m_app->desktop.prints.size(), 1);
    const Placed *photo = item(m_app->desktop.prints.first(), QStringLiteral("imgFoto"));
    QVERIFY(photo);
    QVERIFY(item(m_app->desktop.prints.first(), QStringLiteral("Shape1")));
    const QImage printed = photo->object.picture;
    if (!blank) {
        QCOMPARE(printed, onScreen);
        return;
    }
    QVERIFY(!printed.isNull());
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            QCOMPARE(printed.pixel(x, y), qRgb(255, 255, 255));
}

void TestCardPrint::nothingOutput_data() {
    QTest::addColumn<Output>("output");
    QTest::addColumn<bool>("annulla"); // else the print dialog is cancelled
    QTest::newRow("print dialog cancelled") << Output::Print << false;
    QTest::newRow("print window, Annulla") << Output::Print << true;
    QTest::newRow("preview window, Annulla") << Output::Preview << true;
}

void TestCardPrint::nothingOutput() {
    QFETCH(Output, output);
    QFETCH(bool, annulla);
    fillCard();
    m_app->desktop.printAnswer = false;
    const bool closed = openWindow(output, [&](CardPrintWindow &w) {
        QTest::mouseClick(annulla ? w.btnAnnulla : w.btnStampa, Qt::LeftButton);
    });
    QVERIFY(closed);
    QVERIFY(m_app->desktop.prints.isEmpty());
    QVERIFY(m_app->desktop.previews.isEmpty());
    QVERIFY(m_app->desktop.messages.isEmpty());
}

void TestCardPrint::engineErrorKeepsTheWindowOpen() {
    fillCard();
    const QString failure = QStringLiteral("La stampante non è disponibile.");
    m_app->desktop.printError = failure;
    bool openAfterError = false;
    const bool closed = openWindow(Output::Print, [&](CardPrintWindow &w) {
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
        openAfterError = w.isVisible();
        // The user can try again once the printer is back.
        m_app->desktop.printError.clear();
        QTest::mouseClick(w.btnStampa, Qt::LeftButton);
    });
    QVERIFY(openAfterError);
    QCOMPARE(m_app->desktop.messages.size(), 1);
    QCOMPARE(m_app->desktop.messages.first().kind, Desktop::Kind::Error);
    QCOMPARE(m_app->desktop.lastMessage(), failure);
    QVERIFY(closed);
    QCOMPARE(m_app->desktop.prints.size(), 1);
}

QTEST_MAIN(TestCardPrint)
#include "tst_cardprint.moc"
