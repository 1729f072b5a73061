#include "support/AppFixture.h"
#include "app/TfrmInfo.h"

#include <QUrlQuery>
#include <QtTest>

class TestFrmInfo : public QObject {
    Q_OBJECT
  private slots:
    void mailLink_data();
    void mailLink();
    void closes();
};

void TestFrmInfo::mailLink_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("link text") << "lnkWeb";
    QTest::newRow("mail picture") << "imgEmail";
}

void TestFrmInfo::mailLink() {
    QFETCH(QString, control);
    AppFixture app;
    TfrmInfo info;
    QCOMPARE(info.windowTitle(), QStringLiteral(" Informazioni su Cartavera"));
    QCOMPARE(info.contentsRect().size(), QSize(473, 579));
    QCOMPARE(info.lnkWeb->text(), QStringLiteral("info@cartavera.it"));
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    auto *target = info.findChild<PictureLabel *>(control);
    QVERIFY(target);
    QCOMPARE(target->cursor().shape(), Qt::PointingHandCursor);

    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(info.lnkWeb->color(), LinkLabel::pressedColor());
    QVERIFY(app.desktop.opened.isEmpty());
    QTest::mouseRelease(target, Qt::LeftButton);
    QCOMPARE(info.lnkWeb->color(), LinkLabel::followedColor());

    QCOMPARE(app.desktop.opened.size(), 1);
    const QUrl url = app.desktop.opened[0];
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), QStringLiteral("info@cartavera.it"));
    // Subject and body reach the mail program as written.
    const QUrlQuery query(url);
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Software Cartavera"));
    QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
             QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in "
                            "oggetto:"));
    QVERIFY(!url.toEncoded().contains(' '));
}

void TestFrmInfo::closes() {
    AppFixture app;
    TfrmInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    info.btnChiudi->click();
    QVERIFY(!info.isVisible());
}

QTEST_MAIN(TestFrmInfo)
#include "tst_frminfo.moc"
