#include "WorkspaceParts.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

QFrame *shape(const QString &name, QWidget *parent, const QRect &geometry) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    if (!geometry.isNull())
        frame->setGeometry(geometry);
    return frame;
}

QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    return box;
}

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel *decoration(const QString &name, const QPixmap &pixmap, QWidget *parent,
                   const QRect &geometry) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
