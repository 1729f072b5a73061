// The program's windows on a temporary application folder, with the fake
// Desktop installed, for window tests.
#pragma once

#include "app/Forms.h"
#include "kit/LargeWindow.h"
#include "kit/WindowKit.h"
#include "support/FakeDesktop.h"
#include "support/Files.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

struct AppFixture {
    QTemporaryDir dir;
    QString folder;
    FakeDesktop desktop;
    std::unique_ptr<Forms> windows;

    // The application folder lies below the temporary one, under a name with a
    // blank and a letter outside ASCII, as a user's copy of the folder may be
    // named; `subfolder` chooses another, an absolute path a folder elsewhere
    // (on a small full filesystem, for instance).
    static QString defaultSubfolder() { return QStringLiteral("Schede Città"); }
    explicit AppFixture(const QString &subfolder = defaultSubfolder()) {
        folder = QDir::isAbsolutePath(subfolder) ? subfolder : dir.filePath(subfolder);
        QDir().mkpath(folder);
        windows = std::make_unique<Forms>(AppFolder(folder));
    }
    ~AppFixture() { windows.reset(); }

    QString path(const QString &name) const { return folder + u'/' + name; }
    bool exists(const QString &name) const { return QFile::exists(path(name)); }
    QByteArray read(const QString &name) const { return readFile(path(name)); }
    [[nodiscard]] bool write(const QString &name, const QByteArray &bytes) const {
        return writeFile(path(name), bytes);
    }
    // Object names of the large windows now visible, in creation order.
    QStringList visibleWindows() const {
        QStringList names;
        for (QWidget *w : windows->created())
            if (w->isVisible())
                names << w->objectName();
        return names;
    }
};

// Records the showing and hiding of the large windows, in order
// ("show frmAvvio", "hide frmPassword").
class FlowRecorder : public QObject {
  public:
    FlowRecorder() { qApp->installEventFilter(this); }
    ~FlowRecorder() override { qApp->removeEventFilter(this); }
    QStringList events;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
            qobject_cast<LargeWindow *>(watched))
            events << (event->type() == QEvent::Show ? QStringLiteral("show ")
                                                     : QStringLiteral("hide ")) +
                          watched->objectName();
        return false;
    }
};
