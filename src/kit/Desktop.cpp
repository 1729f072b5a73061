#include "Desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
Desktop *installed = nullptr;
} // namespace

Desktop &Desktop::current() {
    static RealDesktop real;
    return installed ? *installed : real;
}

void Desktop::install(Desktop *desktop) {
    installed = desktop;
}

Desktop::Answer RealDesktop::message(QWidget *parent, Kind kind, const QString &text) {
    QMessageBox box(parent);
    box.setText(text);
    box.setWindowTitle(QApplication::applicationDisplayName());
    switch (kind) {
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case Kind::Plain:
        break;
    }
    if (kind == Kind::Confirmation) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else if (kind == Kind::Plain) {
        box.setStandardButtons(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    }
    if (QAbstractButton *yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("Sì"));
    if (QAbstractButton *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("Annulla"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

QString existingFolderOrHome(const QString &folder) {
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString RealDesktop::openFileName(QWidget *parent, const QString &title, const QString &filter,
                                  const QString &folder) {
    // No folder: the chooser's own choice; a folder that is not there: home.
    const QString start = folder.isEmpty() ? folder : existingFolderOrHome(folder);
#ifdef Q_OS_WIN
    return QFileDialog::getOpenFileName(parent, title, start, filter);
#else
    // "*.*" means every file on Windows; elsewhere it would hide the files
    // whose name has no dot.
    QString patterns = filter;
    patterns.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    return QFileDialog::getOpenFileName(parent, title, start, patterns);
#endif
}

int RealDesktop::runModal(QDialog &dialog) {
    return dialog.exec();
}

void RealDesktop::openUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}
