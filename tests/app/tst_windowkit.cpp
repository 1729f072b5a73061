#include "kit/ProgramLook.h"
#include "kit/ShellOpen.h"
#include "kit/WindowKit.h"
#include "support/FakeDesktop.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(Desktop::Kind)
Q_DECLARE_METATYPE(Desktop::Answer)

class TestWindowKit : public QObject {
    Q_OBJECT
  private slots:
    void statusLineFollowsTheMouse();
    void disabledControlsPromiseNothing();
    void focusFrameAndEnterChain();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void fixedWindowsDrawTheirOwnTitleBar_data();
    void fixedWindowsDrawTheirOwnTitleBar();
    void qtSpeaksItalian();
    void messageBoxes_data();
    void messageBoxes();
    void linkColours();
    void shellTargets_data();
    void shellTargets();
    void openGoesThroughDesktop();
    void pictures();
};

void TestWindowKit::statusLineFollowsTheMouse() {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *panel = new QFrame(&window); // a panel holding a button, with room around it
    panel->setMinimumHeight(120);
    auto *button =
        new PictureButton(QStringLiteral("cmdSalva"), QStringLiteral("salva"), 32, panel);
    button->setGeometry(10, 10, 40, 40);
    auto *spacer = new QWidget(&window);
    spacer->setMinimumHeight(80);
    auto *panInfo = new QLabel(&window);
    layout->addWidget(panel);
    layout->addWidget(spacer);
    layout->addWidget(panInfo);
    auto *hints = new StatusHints(panInfo);
    hints->describe(button, QStringLiteral("Salva la scheda."));
    hints->background({&window, panel, spacer});
    window.resize(300, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(button);
    QTRY_COMPARE(panInfo->text(), QStringLiteral("Salva la scheda."));
    QTest::mouseMove(spacer);
    QTRY_COMPARE(panInfo->text(), QString());
    // Back from the button to the panel that holds it.
    QTest::mouseMove(button);
    QTRY_COMPARE(panInfo->text(), QStringLiteral("Salva la scheda."));
    QTest::mouseMove(panel, QPoint(200, 90));
    QTRY_COMPARE(panInfo->text(), QString());
}

// A button waiting for a window that is not there yet says nothing about it;
// once enabled, it does.
void TestWindowKit::disabledControlsPromiseNothing() {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *panel = new QFrame(&window);
    panel->setMinimumHeight(80);
    auto *button =
        new PictureButton(QStringLiteral("cmdTrova"), QStringLiteral("trova"), 32, panel);
    button->setGeometry(10, 10, 40, 40);
    button->setEnabled(false);
    auto *panInfo = new QLabel(QStringLiteral("Pronto."), &window);
    layout->addWidget(panel);
    layout->addWidget(panInfo);
    auto *hints = new StatusHints(panInfo);
    hints->describe(button, QStringLiteral("Trova una scheda in archivio."));
    hints->background({&window, panel});
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(button);
    QTRY_COMPARE(panInfo->text(), QString());
    // Enabled and disabled again while the mouse stays on it.
    button->setEnabled(true);
    QCOMPARE(panInfo->text(), QStringLiteral("Trova una scheda in archivio."));
    button->setEnabled(false);
    QCOMPARE(panInfo->text(), QString());
    QTest::mouseMove(panel, QPoint(200, 60));
    button->setEnabled(true);
    QCOMPARE(panInfo->text(), QString()); // not under the mouse: nothing to say
    QTest::mouseMove(button);
    QTRY_COMPARE(panInfo->text(), QStringLiteral("Trova una scheda in archivio."));
}

void TestWindowKit::focusFrameAndEnterChain() {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *a = new QLineEdit(&window);
    auto *b = new QLineEdit(&window);
    auto *c = new QLineEdit(&window);
    layout->addWidget(a);
    layout->addWidget(b);
    layout->addWidget(c);
    QFrame *effA = addFocusFrame(a, QStringLiteral("effA"));
    QFrame *effB = addFocusFrame(b, QStringLiteral("effB"));
    chainEnter({a, b, c});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    a->setFocus();
    QTRY_VERIFY(effA->isVisible());
    QVERIFY(!effB->isVisible());
    QVERIFY(effA->geometry().contains(a->geometry()));
    QTest::keyClick(a, Qt::Key_Return);
    QTRY_VERIFY(b->hasFocus());
    QVERIFY(!effA->isVisible());
    QVERIFY(effB->isVisible());
    QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(c->hasFocus());
}

void TestWindowKit::enterPressesTheFocusedButton_data() {
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifier");
    QTest::newRow("command button, Return") << false << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("command button, keypad Enter")
        << false << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("picture button, Return") << true << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("picture button, keypad Enter")
        << true << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

// In a plain window (no dialog, no default button) Enter presses the button
// that has the focus, once, as Space does; Enter elsewhere does not.
void TestWindowKit::enterPressesTheFocusedButton() {
    QFETCH(bool, picture);
    QFETCH(int, key);
    QFETCH(int, modifier);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new QLineEdit(&window);
    QAbstractButton *button =
        picture
            ? static_cast<QAbstractButton *>(new PictureButton(
                  QStringLiteral("cmdSalva"), QStringLiteral("salva"), 32, &window))
            : new CommandButton(QStringLiteral("btnDatabase"), QStringLiteral("Database"), &window);
    button->setFocusPolicy(Qt::StrongFocus); // picture buttons take no focus unless given it
    layout->addWidget(box);
    layout->addWidget(button);
    int clicks = 0;
    connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    box->setFocus();
    QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifier));
    QCOMPARE(clicks, 0);
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifier));
    QCOMPARE(clicks, 1);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks, 2);
}

void TestWindowKit::fixedWindowsDrawTheirOwnTitleBar_data() {
    QTest::addColumn<bool>("dialog");
    QTest::newRow("dialog") << true;
    QTest::newRow("window") << false;
}

// A fixed window asks the window manager for no frame at all (the only request
// every window manager honours with no buttons left) and shows its caption in
// the kit's bar, over a content area of exactly the size given.
void TestWindowKit::fixedWindowsDrawTheirOwnTitleBar() {
    QFETCH(bool, dialog);
    std::unique_ptr<QWidget> window(dialog ? new QDialog : new QWidget);
    window->setWindowTitle(QStringLiteral(" Cartavera - Accesso al programma"));
    makeFixedWindow(window.get(), QSize(388, 405));
    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto *content = new QLabel(window.get());
    content->setMinimumHeight(10);
    layout->addWidget(content, 1);

    const Qt::WindowFlags flags = window->windowFlags();
    QCOMPARE(window->windowType(), dialog ? Qt::Dialog : Qt::Window);
    QVERIFY(flags & Qt::FramelessWindowHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(window->contentsRect().size(), QSize(388, 405));

    auto *caption = window->findChild<QLabel *>(QStringLiteral("windowCaption"));
    QVERIFY(caption);
    QCOMPARE(caption->text(), QStringLiteral(" Cartavera - Accesso al programma"));
    window->setWindowTitle(QStringLiteral(" Cambia password"));
    QCOMPARE(caption->text(), QStringLiteral(" Cambia password"));

    window->move(100, 100);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(caption->geometry(), QRect(0, 0, window->width(), window->contentsRect().top()));
    QCOMPARE(content->geometry(), window->contentsRect());
    QVERIFY(caption->isVisible());

    // Dragging the bar moves the window.
    const QPoint before = window->pos();
    QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(caption, QPoint(80, 30));
    QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(80, 30));
    QTRY_COMPARE(window->pos(), before + QPoint(30, 20));
}

void TestWindowKit::qtSpeaksItalian() {
    QVERIFY(installQtTranslations());
    QVERIFY(installQtTranslations()); // a second call changes nothing
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annulla"));
    QCOMPARE(buttons.button(QDialogButtonBox::Open)->text(), QStringLiteral("Apri"));
}

void TestWindowKit::messageBoxes_data() {
    QTest::addColumn<Desktop::Kind>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<Desktop::Answer>("answer");
    QTest::addColumn<bool>("withIcon");
    using K = Desktop::Kind;
    using A = Desktop::Answer;
    const QStringList okCancel{"OK", "Annulla"};
    QTest::newRow("warning, cancelled") << K::Warning << okCancel << "Annulla" << A::Cancel << true;
    QTest::newRow("error") << K::Error << okCancel << "OK" << A::Ok << true;
    QTest::newRow("information") << K::Information << okCancel << "OK" << A::Ok << true;
    QTest::newRow("confirmation, yes")
        << K::Confirmation << QStringList{"Sì", "No"} << "Sì" << A::Yes << true;
    QTest::newRow("confirmation, no")
        << K::Confirmation << QStringList{"Sì", "No"} << "No" << A::No << true;
    // Enter takes the default button: Sì for a confirmation, No for a risky
    // question.
    QTest::newRow("confirmation, Enter")
        << K::Confirmation << QStringList{"Sì", "No"} << "Enter" << A::Yes << true;
    QTest::newRow("risky, Enter") << K::Risky << QStringList{"Sì", "No"} << "Enter" << A::No << true;
    QTest::newRow("risky, yes") << K::Risky << QStringList{"Sì", "No"} << "Sì" << A::Yes << true;
    QTest::newRow("plain") << K::Plain << QStringList{"OK"} << "OK" << A::Ok << false;
}

// The real message boxes: the text, buttons and answers of each kind, our
// icon, a pale background and command buttons.
void TestWindowKit::messageBoxes() {
    QFETCH(Desktop::Kind, kind);
    QFETCH(QStringList, buttons);
    QFETCH(QString, press);
    QFETCH(Desktop::Answer, answer);
    QFETCH(bool, withIcon);
    const QString text = QStringLiteral("Attenzione: prova.\r\n\r\nSeconda riga.");
    QString shownText;
    QStringList shownButtons;
    bool iconShown = false;
    QColor background;
    QList<QColor> buttonFaces;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        QVERIFY(QTest::qWaitForWindowExposed(box));
        shownText = box->text();
        iconShown = !box->iconPixmap().isNull();
        background = box->grab().toImage().pixelColor(3, 3);
        QList<QAbstractButton *> row = box->buttons();
        std::sort(row.begin(), row.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
        QAbstractButton *target = nullptr;
        for (QAbstractButton *b : row) {
            shownButtons << QString(b->text()).remove(u'&'); // as shown, without the mnemonic
            buttonFaces << b->grab().toImage().pixelColor(4, b->height() / 2);
            if (shownButtons.last() == press)
                target = b;
        }
        if (press == u"Enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (target)
            target->click();
        else
            box->reject();
    });
    RealDesktop desktop;
    QCOMPARE(desktop.message(nullptr, kind, text), answer);
    QCOMPARE(shownText, text);
    QCOMPARE(shownButtons, buttons);
    QCOMPARE(iconShown, withIcon);
    QVERIFY2(background.lightness() > 245, qPrintable(background.name()));
    for (const QColor &face : buttonFaces) // the blue of the command buttons
        QVERIFY2(face.blue() > face.red() + 60, qPrintable(face.name()));
}

void TestWindowKit::linkColours() {
    QWidget window;
    auto *link = new LinkLabel(QStringLiteral("lnkWeb"), QStringLiteral("sito"), &window);
    auto *picture = new PictureLabel(QStringLiteral("imgWeb"), &window);
    picture->setGeometry(0, 30, 20, 20);
    link->setGeometry(0, 0, 100, 20);
    link->tie(picture);
    int followed = 0;
    connect(link, &PictureLabel::clicked, [&] { ++followed; });
    window.show();
    QCOMPARE(link->color(), QColor(0, 0, 139));
    QTest::mousePress(link, Qt::LeftButton);
    QCOMPARE(link->color(), QColor(255, 165, 0));
    QTest::mouseRelease(link, Qt::LeftButton);
    QCOMPARE(link->color(), QColor(0, 0, 139));
    QCOMPARE(followed, 1);
    QTest::mousePress(picture, Qt::LeftButton);
    QCOMPARE(link->color(), QColor(255, 165, 0));
    QTest::mouseRelease(picture, Qt::LeftButton);
    QCOMPARE(link->color(), QColor(0, 0, 139));
    QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
}

void TestWindowKit::shellTargets_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("url");
    QTest::newRow("quoted path with blanks") << "\"/home/anna/I miei archivi/Guida.pdf\""
                                             << "file:///home/anna/I%20miei%20archivi/Guida.pdf";
    QTest::newRow("folder") << "/tmp/app/Scheda_3"
                            << "file:///tmp/app/Scheda_3";
    QTest::newRow("web") << "https://www.cartavera.it"
                         << "https://www.cartavera.it";
    QTest::newRow("plain mail") << "mailto:anna@esempio.it"
                                << "mailto:anna@esempio.it";
    QTest::newRow("mail with subject and body")
        << "\"mailto:info@cartavera.it?subject=Software Cartavera&body=Salve, vorrei: prezzi & "
           "sconti?\""
        << "mailto:info@cartavera.it?subject=Software%20Cartavera"
           "&body=Salve%2C%20vorrei%3A%20prezzi%20%26%20sconti%3F";
}

void TestWindowKit::shellTargets() {
    QFETCH(QString, command);
    QFETCH(QString, url);
    const QUrl target = shellTarget(command);
    QCOMPARE(QString::fromUtf8(target.toEncoded()), url);
    QCOMPARE(target, QUrl::fromEncoded(url.toUtf8()));
}

void TestWindowKit::openGoesThroughDesktop() {
    FakeDesktop desktop;
    openInShell(mailLink(QStringLiteral("a@b.it"), QStringLiteral("Oggetto è"),
                         QStringLiteral("Testo #1")));
    QCOMPARE(desktop.opened.size(), 1);
    const QUrlQuery query(desktop.opened[0]);
    QCOMPARE(desktop.opened[0].path(), QStringLiteral("a@b.it"));
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Oggetto è"));
    QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
             QStringLiteral("Testo #1"));
}

// Our own pictures are drawn, not blank.
void TestWindowKit::pictures() {
    auto colours = [](const QImage &image) {
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                seen.insert(image.pixel(x, y));
        return seen.size();
    };
    QCOMPARE(builtInStartPicture().size(), QSize(912, 409));
    QVERIFY(colours(builtInStartPicture()) > 20);
    QCOMPARE(defaultPhoto().size(), QSize(230, 307));
    QVERIFY(colours(defaultPhoto()) > 5);
    QVERIFY(!icon(QStringLiteral("salva")).isNull());
}

QTEST_MAIN(TestWindowKit)
#include "tst_windowkit.moc"
