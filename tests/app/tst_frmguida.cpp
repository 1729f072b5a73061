#include "support/AppFixture.h"
#include "app/TfrmGuida.h"
#include "kit/ProgramLook.h"
#include "support/Contrast.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QtTest>

class TestFrmGuida : public QObject {
    Q_OBJECT
  private slots:
    void showsTheTopic();
    void scrollBarThumbStandsOut();
    void opensTheUserGuide_data();
    void opensTheUserGuide();
};

void TestFrmGuida::showsTheTopic() {
    AppFixture app;
    QWidget owner;
    GuideTopic topic{QStringLiteral("Argomento di prova."), {}};
    for (int i = 0; i < 12; ++i)
        topic.paragraphs
            << QStringLiteral("Paragrafo %1: ").arg(i + 1) +
                   QStringLiteral("una frase abbastanza lunga da andare a capo. ").repeated(4);
    bool checked = false;
    app.desktop.onModal = [&](QDialog &d) {
        auto &guide = static_cast<TfrmGuida &>(d);
        QCOMPARE(guide.parentWidget(), &owner);
        QCOMPARE(guide.contentsRect().size(), QSize(670, 572));
        QCOMPARE(guide.lblTitolo->text(), topic.title);
        // Paragraphs one empty line apart, wrapped, read-only and scrollable.
        QCOMPARE(guide.txtGuida->toPlainText().split(QStringLiteral("\n\n")), topic.paragraphs);
        QVERIFY(guide.txtGuida->isReadOnly());
        QCOMPARE(guide.txtGuida->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(guide.txtGuida->verticalScrollBar()->maximum() > 0);
        checked = true;
    };
    TfrmGuida::showTopic(&owner, topic);
    QVERIFY(checked);
    QCOMPARE(app.desktop.modalDialogs, QStringList{"TfrmGuida"});
    QVERIFY(owner.findChildren<QDialog *>().isEmpty());
}

// With the program's look the thumb of the guide's scroll bar stands out from
// its track.
void TestFrmGuida::scrollBarThumbStandsOut() {
    AppFixture app;
    applyProgramLook();
    GuideTopic topic{QStringLiteral("Argomento di prova."), {}};
    for (int i = 0; i < 30; ++i)
        topic.paragraphs << QStringLiteral("Paragrafo %1.").arg(i + 1);
    QColor thumb, track;
    app.desktop.onModal = [&](QDialog &d) {
        QScrollBar *bar = static_cast<TfrmGuida &>(d).txtGuida->verticalScrollBar();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(bar->isVisible() && bar->maximum() > 0);
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.subControls = QStyle::SC_All;
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        const QRect slider = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                          QStyle::SC_ScrollBarSlider, bar);
        QVERIFY(slider.bottom() < bar->height() - 20); // at the top, the track below
        const QImage shown = onScreen(bar);
        thumb = shown.pixelColor(slider.center());
        track = shown.pixelColor(bar->width() / 2, bar->height() - 10);
    };
    TfrmGuida::showTopic(nullptr, topic);
    qApp->setStyleSheet(QString());
    QVERIFY2(contrast(thumb, track) >= 3, qPrintable(thumb.name() + " on " + track.name()));
}

void TestFrmGuida::opensTheUserGuide_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("control");
    QTest::newRow("plain folder, link") << ""
                                        << "lnkWeb";
    QTest::newRow("folder with blanks, picture") << "Archivio di prova"
                                                 << "imgPDF";
}

void TestFrmGuida::opensTheUserGuide() {
    QFETCH(QString, folder);
    QFETCH(QString, control);
    AppFixture app(folder);
    TfrmGuida guide;
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    auto *target = guide.findChild<PictureLabel *>(control);
    QVERIFY(target);
    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(guide.lnkWeb->color(), LinkLabel::pressedColor());
    QTest::mouseRelease(target, Qt::LeftButton);
    QCOMPARE(guide.lnkWeb->color(), LinkLabel::followedColor());
    QCOMPARE(app.desktop.opened.size(), 1);
    QCOMPARE(app.desktop.opened[0],
             QUrl::fromLocalFile(QDir(app.folder).absoluteFilePath(QStringLiteral("Guida.pdf"))));
    guide.btnChiudi->click();
    QVERIFY(!guide.isVisible());
}

QTEST_MAIN(TestFrmGuida)
#include "tst_frmguida.moc"
