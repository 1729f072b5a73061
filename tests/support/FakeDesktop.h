// A Desktop for tests: records every call and answers from a script.
#pragma once

#include "kit/Desktop.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <functional>
#include <memory>

class FakeDesktop : public Desktop {
    class FakeProgress;

  public:
    struct Message {
        Kind kind;
        QString text;
    };
    struct FileRequest {
        QString title;
        QString filter;
        QString folder;
    };

    FakeDesktop() { Desktop::install(this); }
    ~FakeDesktop() override { Desktop::install(nullptr); }

    // Scripted answers, used in order; without one a message box answers OK
    // (Yes for a question, risky or not; No, discarding, for the question
    // before unsaved changes are left) and a file dialog is cancelled.
    QQueue<Answer> answers;
    QQueue<QString> fileNames;
    // Called with each modal dialog instead of running it; the dialog is
    // shown (not modally) while the handler runs.
    std::function<void(QDialog &)> onModal;

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<QUrl> opened;
    // Reports shown in the preview and reports printed; a print is
    // cancelled when `printAnswer` is false, and fails with `printError`
    // when that is set.
    QList<report::PreparedReport> previews;
    QList<report::PreparedReport> prints;
    bool printAnswer = true;
    QString printError;
    QStringList modalDialogs; // class names of the dialogs run
    // Every progress window opened: its title, the labels it showed, its
    // last position. The run of a window titled `cancelIn` is stopped, as by
    // its "Annulla", at its first step.
    struct Progress {
        QString title;
        QStringList labels;
        qint64 done = -1;
        qint64 total = -1;
        bool open = true;
    };
    QList<Progress> progressWindows;
    QString cancelIn;

    Answer message(QWidget *, Kind kind, const QString &text) override {
        messages.append({kind, text});
        if (!answers.isEmpty())
            return answers.dequeue();
        if (kind == Kind::SaveChanges)
            return Answer::No;
        return kind == Kind::Confirmation || kind == Kind::Risky ? Answer::Yes : Answer::Ok;
    }
    QString openFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &folder) override {
        fileRequests.append({title, filter, folder});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    // Save choosers answer from `fileNames` too and are recorded in
    // `fileRequests` with the suggested path as the folder.
    QString saveFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &suggested) override {
        fileRequests.append({title, filter, suggested});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    // Folder choosers answer from `fileNames` too and are recorded in
    // `fileRequests` with the filter "<cartella>".
    QString folderName(QWidget *, const QString &title, const QString &folder) override {
        fileRequests.append({title, QStringLiteral("<cartella>"), folder});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    int runModal(QDialog &dialog) override {
        modalDialogs << QString::fromLatin1(dialog.metaObject()->className());
        if (!onModal)
            return QDialog::Rejected;
        dialog.show();
        onModal(dialog);
        const int result = dialog.result();
        dialog.hide();
        return result;
    }
    void openUrl(const QUrl &url) override { opened << url; }
    void preview(QWidget *, const report::PreparedReport &report) override { previews << report; }
    bool print(QWidget *, const report::PreparedReport &report) override {
        if (!printError.isEmpty())
            throw report::ReportError(printError);
        if (printAnswer)
            prints << report;
        return printAnswer;
    }

    std::unique_ptr<ProgressWindow> progress(QWidget *, const QString &title,
                                             const QString &label) override;

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

class FakeDesktop::FakeProgress : public ProgressWindow {
  public:
    FakeProgress(FakeDesktop &desktop, qsizetype index) : m_desktop(desktop), m_index(index) {}
    ~FakeProgress() override { record().open = false; }
    void setLabel(const QString &label) override {
        if (record().labels.last() != label)
            record().labels << label;
    }
    bool advance(qint64 done, qint64 total) override {
        record().done = done;
        record().total = total;
        return record().title != m_desktop.cancelIn;
    }

  private:
    Progress &record() { return m_desktop.progressWindows[m_index]; }
    FakeDesktop &m_desktop;
    qsizetype m_index;
};

inline std::unique_ptr<ProgressWindow> FakeDesktop::progress(QWidget *, const QString &title,
                                                             const QString &label) {
    progressWindows.append({title, {label}});
    return std::make_unique<FakeProgress>(*this, progressWindows.size() - 1);
}
