#include "support/AppFixture.h"
#include "app/TfrmSplash.h"

#include <QtTest>

class TestFrmSplash : public QObject {
    Q_OBJECT
  private slots:
    void webSite_data();
    void webSite();
    void centredOnItsOwner();
};

void TestFrmSplash::webSite_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("link text") << "lnkWeb";
    QTest::newRow("web picture") << "imgWeb";
}

void TestFrmSplash::webSite() {
    QFETCH(QString, control);
    AppFixture app;
    TfrmSplash splash;
    QCOMPARE(splash.contentsRect().size(), QSize(661, 467));
    QCOMPARE(splash.lnkWeb->text(), QStringLiteral("www.cartavera.it"));
    QVERIFY(splash.windowTitle().contains(QStringLiteral("Cartavera")));
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    auto *target = splash.findChild<PictureLabel *>(control);
    QVERIFY(target);
    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(splash.lnkWeb->color(), LinkLabel::pressedColor());
    QTest::mouseRelease(target, Qt::LeftButton);
    QCOMPARE(splash.lnkWeb->color(), LinkLabel::followedColor());
    QCOMPARE(app.desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.cartavera.it"))});
    splash.btnChiudi->click();
    QVERIFY(!splash.isVisible());
}

void TestFrmSplash::centredOnItsOwner() {
    AppFixture app;
    QWidget owner;
    owner.setGeometry(100, 80, 900, 700);
    owner.show();
    TfrmSplash splash(&owner);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    // Within the few pixels of the window frame.
    QVERIFY((splash.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <=
            8);
}

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
