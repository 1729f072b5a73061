#include "TfrmZoom.h"

#include "PhotoView.h"
#include "kit/Desktop.h"
#include "kit/Theme.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

TfrmZoom::TfrmZoom(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmZoom"));
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::zoomWindow());

    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setCursor(Qt::PointingHandCursor);
    panContainer->installEventFilter(this);

    imgFoto = new PhotoView(QStringLiteral("imgFoto"), panContainer);
    imgFoto->setCursor(Qt::PointingHandCursor);

    auto *inner = new QGridLayout(panContainer);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(imgFoto, 0, 0, Qt::AlignCenter);
    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panContainer, 0, 0, Qt::AlignCenter);

    connect(imgFoto, &PhotoView::clicked, this, &TfrmZoom::imgFotoClick);
}

void TfrmZoom::open(QWidget *owner, const QImage &picture) {
    TfrmZoom zoom(owner);
    zoom.imgFoto->setPicture(picture);
    // Placed over the whole screen even where nothing honours "maximized".
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        zoom.setGeometry(screen->availableGeometry());
    zoom.setWindowState(Qt::WindowMaximized);
    Desktop::current().runModal(zoom);
}

void TfrmZoom::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmZoom::FormShow() {
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize area = screen->size() - QSize(60, 90);
    panContainer->setFixedSize(area);
    imgFoto->setFixedSize(area);
}

bool TfrmZoom::eventFilter(QObject *watched, QEvent *event) {
    if (watched == panContainer && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        panContainerClick();
    return QDialog::eventFilter(watched, event);
}

void TfrmZoom::imgFotoClick() {
    close();
}

void TfrmZoom::panContainerClick() {
    close();
}
