#include "database/PhotoView.h"
#include "database/TfrmZoom.h"
#include "support/FakeDesktop.h"

#include <QScreen>
#include <QtTest>

class TestFrmZoom : public QObject {
    Q_OBJECT
  private slots:
    void fillsTheScreenAndShowsThePicture();
    void aClickCloses_data();
    void aClickCloses();
};

namespace {
QImage picture(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

void TestFrmZoom::fillsTheScreenAndShowsThePicture() {
    FakeDesktop desktop;
    QWidget owner;
    const QImage shown = picture(QSize(800, 600), Qt::darkGreen);
    bool ran = false;
    desktop.onModal = [&](QDialog &dialog) {
        auto &zoom = dynamic_cast<TfrmZoom &>(dialog);
        ran = true;
        QCOMPARE(zoom.parentWidget(), &owner);
        QCOMPARE(zoom.windowTitle(),
                 QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
        QVERIFY(zoom.windowState() & Qt::WindowMaximized);
        const QSize expected = zoom.screen()->size() - QSize(60, 90);
        QCOMPARE(zoom.panContainer->size(), expected);
        QCOMPARE(zoom.imgFoto->size(), expected);
        // The picture itself, not a copy scaled to the workspace's frame.
        QCOMPARE(zoom.imgFoto->picture(), shown);
        // Drawn as large as the area allows, proportions kept, centred.
        const QImage drawn = zoom.imgFoto->grab().toImage();
        const QSize fitted = shown.size().scaled(expected, Qt::KeepAspectRatio);
        const QRgb green = QColor(Qt::darkGreen).rgb();
        int across = 0, down = 0;
        for (int x = 0; x < drawn.width(); ++x)
            across += drawn.pixel(x, drawn.height() / 2) == green;
        for (int y = 0; y < drawn.height(); ++y)
            down += drawn.pixel(drawn.width() / 2, y) == green;
        QVERIFY(qAbs(across - fitted.width()) <= 1);
        QVERIFY(qAbs(down - fitted.height()) <= 1);
        QCOMPARE(drawn.pixel(drawn.width() / 2, (drawn.height() - fitted.height()) / 2 + 2), green);
    };
    TfrmZoom::open(&owner, shown);
    QVERIFY(ran);
    QCOMPARE(desktop.modalDialogs, QStringList{QStringLiteral("TfrmZoom")});
}

void TestFrmZoom::aClickCloses_data() {
    QTest::addColumn<bool>("onPicture");
    QTest::newRow("picture") << true;
    QTest::newRow("panel") << false;
}

void TestFrmZoom::aClickCloses() {
    QFETCH(bool, onPicture);
    TfrmZoom zoom;
    zoom.imgFoto->setPicture(picture(QSize(40, 40), Qt::red));
    zoom.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zoom));
    QWidget *target = onPicture ? static_cast<QWidget *>(zoom.imgFoto) : zoom.panContainer;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(2, 2));
    QTRY_VERIFY(!zoom.isVisible());
}

QTEST_MAIN(TestFrmZoom)
#include "tst_frmzoom.moc"
