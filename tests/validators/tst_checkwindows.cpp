// What every code check window shares: caption, size, texts, the focus in
// the box with its frame, the longest code the box takes shown whole, Enter
// from the box to "Controlla" without checking, Enter on "Controlla"
// checking, the tab order and "Chiudi". One row per window of the family;
// each has its one instance in the registry.
#include "app/Forms.h"
#include "support/FakeDesktop.h"
#include "validators/TfrmCarta.h"
#include "validators/TfrmCodFisc.h"
#include "validators/TfrmIban.h"
#include "validators/TfrmPartitaIva.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

using Opener = std::function<void(const QString &code)>;
Q_DECLARE_METATYPE(Opener)

class TestCheckWindows : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void sharedShape_data();
    void sharedShape();
    void enterGoesToTheButton_data() { sharedShape_data(); }
    void enterGoesToTheButton();

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<FakeDesktop> m_desktop;
};

void TestCheckWindows::init() {
    m_forms = std::make_unique<Forms>(AppFolder(m_dir.path()));
    m_desktop = std::make_unique<FakeDesktop>();
}

void TestCheckWindows::cleanup() {
    m_desktop.reset();
    m_forms.reset();
}

void TestCheckWindows::sharedShape_data() {
    QTest::addColumn<Opener>("open");
    QTest::addColumn<QString>("validCode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("validMessage");

    QTest::newRow("fiscal code")
        << Opener([](const QString &code) { TfrmCodFisc::open(nullptr, code); })
        << "RSSMRA85T10A562S" << " Controllo codice fiscale" << QSize(478, 254)
        << "Immettere il codice fiscale e premere il pulsante di controllo."
        << "txtCodFisc"
        << "Il codice fiscale digitato è VALIDO.";
    QTest::newRow("VAT number")
        << Opener([](const QString &code) { TfrmPartitaIva::open(nullptr, code); })
        << "12345670637" << " Controllo partita IVA" << QSize(480, 254)
        << "Immettere il numero di partita IVA e premere il pulsante di controllo."
        << "txtPartitaIva"
        << "Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nE' stato rilasciato "
           "dall'Ufficio IVA del Comune di Napoli 1.";
    QTest::newRow("credit card")
        << Opener([](const QString &code) { TfrmCarta::open(nullptr, code); })
        << "4111111111111111" << " Controllo carta di credito" << QSize(519, 254)
        << "Immettere il numero di carta di credito e premere il pulsante di controllo."
        << "txtNumero"
        << "Il numero di carta di credito 4111111111111111 risulta valido.\r\n\r\nLa carta di "
           "credito è del tipo Visa.";
    QTest::newRow("IBAN")
        << Opener([](const QString &code) { TfrmIban::open(nullptr, code); })
        << "IT60X0542811101000000123456" << " Controllo IBAN" << QSize(608, 270)
        << "Immettere l'IBAN e premere il pulsante di controllo."
        << "txtIban"
        << "L'IBAN digitato è VALIDO.";
}

void TestCheckWindows::sharedShape() {
    QFETCH(Opener, open);
    QFETCH(QString, validCode);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QString, prompt);
    QFETCH(QString, box);
    QString title;
    QSize shownSize;
    bool fixed = false;
    bool frameShown = false;
    bool longestFits = false;
    QStringList texts;
    QStringList focusChain;
    bool closed = false;
    m_desktop->onModal = [&](QDialog &dialog) {
        auto &w = static_cast<CheckWindow &>(dialog);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        title = w.windowTitle();
        shownSize = w.contentsRect().size(); // within the kit's title bar and edge
        fixed = w.minimumSize() == w.maximumSize();
        frameShown = w.findChild<QFrame *>(QStringLiteral("eff") + box.mid(3))->isVisible();
        // As many digits as the box takes show whole, none scrolled out.
        const auto *codeBox = w.findChild<QLineEdit *>(box);
        longestFits = codeBox->fontMetrics().horizontalAdvance(
                          QString(codeBox->maxLength(), u'0')) < codeBox->width() - 8;
        texts = {w.lblTitolo->text(), w.btnControlla->text(), w.btnChiudi->text()};
        for (int i = 0; i < 3; ++i) {
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            focusChain << focused->objectName();
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QTest::mouseClick(w.btnChiudi, Qt::LeftButton);
        closed = !w.isVisible();
    };
    open(validCode);

    QCOMPARE(title, caption);
    QCOMPARE(shownSize, size);
    QVERIFY(fixed);
    QVERIFY(frameShown);
    QVERIFY(longestFits);
    QCOMPARE(texts, (QStringList{prompt, QStringLiteral("Controlla"), QStringLiteral("Chiudi")}));
    QCOMPARE(focusChain, (QStringList{box, QStringLiteral("btnControlla"),
                                      QStringLiteral("btnChiudi")}));
    QVERIFY(closed);
    QVERIFY(m_desktop->messages.isEmpty()); // closing checks nothing
}

void TestCheckWindows::enterGoesToTheButton() {
    QFETCH(Opener, open);
    QFETCH(QString, validCode);
    QFETCH(QString, box);
    QFETCH(QString, validMessage);
    bool buttonFocused = false;
    qsizetype messagesAfterFirstEnter = -1;
    m_desktop->onModal = [&](QDialog &dialog) {
        auto &w = static_cast<CheckWindow &>(dialog);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.findChild<QLineEdit *>(box), Qt::Key_Return);
        buttonFocused = w.btnControlla->hasFocus();
        messagesAfterFirstEnter = m_desktop->messages.size();
        QTest::keyClick(w.btnControlla, Qt::Key_Return);
    };
    open(validCode);

    QVERIFY(buttonFocused);
    QCOMPARE(messagesAfterFirstEnter, 0);
    QCOMPARE(m_desktop->lastMessage(), validMessage);
}

QTEST_MAIN(TestCheckWindows)
#include "tst_checkwindows.moc"
