#include "Desktop.h"

#include "WindowKit.h"
#include "report/ReportPreview.h"
#include "report/ReportPrinter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>

namespace {
Desktop *installed = nullptr;

// Our icon for a kind of message; none for a plain message.
QString iconName(Desktop::Kind kind) {
    switch (kind) {
    case Desktop::Kind::Warning:
        return QStringLiteral("avviso");
    case Desktop::Kind::Error:
        return QStringLiteral("errore");
    case Desktop::Kind::Information:
        return QStringLiteral("info");
    case Desktop::Kind::Confirmation:
    case Desktop::Kind::Risky:
    case Desktop::Kind::SaveChanges:
        return QStringLiteral("domanda");
    case Desktop::Kind::Plain:
        break;
    }
    return {};
}
// A button of a message box or a progress window in the program's look: a
// command button with the tick of agreement or the cross of refusal.
void asAnswerButton(QAbstractButton *button, bool agrees) {
    button->setIcon(icon(agrees ? QStringLiteral("applica") : QStringLiteral("annulla")));
    button->setIconSize(QSize(20, 20));
    button->setStyleSheet(theme::commandButton());
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumWidth(100);
}
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
    box.setStyleSheet(theme::messageBox());
    if (const QString name = iconName(kind); !name.isEmpty())
        box.setIconPixmap(icon(name).pixmap(48, 48));
    if (kind == Kind::Confirmation || kind == Kind::Risky) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(kind == Kind::Risky ? QMessageBox::No : QMessageBox::Yes);
    } else if (kind == Kind::SaveChanges) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (kind == Kind::Plain) {
        box.setStandardButtons(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    }
    if (QAbstractButton *yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("Sì"));
    if (QAbstractButton *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("Annulla"));
    for (QAbstractButton *button : box.buttons()) {
        const QMessageBox::StandardButton which = box.standardButton(button);
        asAnswerButton(button, which == QMessageBox::Ok || which == QMessageBox::Yes);
    }
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

QString RealDesktop::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                  const QString &suggested) {
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

QString RealDesktop::folderName(QWidget *parent, const QString &title, const QString &folder) {
    return QFileDialog::getExistingDirectory(parent, title, existingFolderOrHome(folder));
}

int RealDesktop::runModal(QDialog &dialog) {
    return dialog.exec();
}

void RealDesktop::openUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

void RealDesktop::preview(QWidget *parent, const report::PreparedReport &report) {
    report::ReportPreview *window = nullptr;
    report::ReportPreview dialog(
        report,
        [&] {
            try {
                print(window, report);
            } catch (const report::ReportError &error) {
                message(window, Kind::Error, error.message());
            }
        },
        parent);
    window = &dialog;
    dialog.exec();
}

bool RealDesktop::print(QWidget *parent, const report::PreparedReport &report) {
    // The progress window comes once the print dialog has been answered.
    std::unique_ptr<ProgressWindow> window;
    return report::printReport(parent, report, [&](int done, int total) {
        if (!window)
            window = progress(parent, QStringLiteral("Stampa"), QStringLiteral("Stampa in corso..."));
        return window->advance(done, total);
    });
}

namespace {

class RealProgressWindow : public ProgressWindow {
  public:
    RealProgressWindow(QWidget *parent, const QString &title, const QString &label)
        : m_dialog(parent) {
        // A fixed window: a title and a close button (which cancels), no
        // minimising or maximising.
        m_dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        m_dialog.setWindowTitle(title);
        m_dialog.setLabelText(label);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setStyleSheet(theme::progressWindow());
        auto *cancel = new QPushButton(QStringLiteral("Annulla"));
        asAnswerButton(cancel, false);
        m_dialog.setCancelButton(cancel);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setRange(0, kSteps);
        m_dialog.setMinimumWidth(420);
        m_dialog.setValue(0);
    }
    ~RealProgressWindow() override {
        m_dialog.reset();
        m_dialog.close();
    }
    void setLabel(const QString &label) override {
        if (m_dialog.labelText() != label)
            m_dialog.setLabelText(label);
    }
    bool advance(qint64 done, qint64 total) override {
        m_dialog.setValue(total > 0 ? int(std::clamp<qint64>(done, 0, total) * kSteps / total) : 0);
        QApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

  private:
    static constexpr int kSteps = 1000;
    QProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<ProgressWindow> RealDesktop::progress(QWidget *parent, const QString &title,
                                                      const QString &label) {
    return std::make_unique<RealProgressWindow>(parent, title, label);
}
