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

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
};
