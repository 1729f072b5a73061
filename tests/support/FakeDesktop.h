// A Desktop for tests: records every call and answers from a script.
#pragma once

#include "kit/Desktop.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <functional>

class FakeDesktop : public Desktop {
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
    // (Yes for a confirmation) and a file dialog is cancelled.
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

    Answer message(QWidget *, Kind kind, const QString &text) override {
        messages.append({kind, text});
        if (!answers.isEmpty())
            return answers.dequeue();
        return kind == Kind::Confirmation ? Answer::Yes : Answer::Ok;
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

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
};
