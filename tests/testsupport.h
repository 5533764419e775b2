#pragma once

// What the window tests share: the recorders that stand in for message boxes
// and file dialogs.

#include "app/messages.h"
#include "io/widgets/filedialogs.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace varno::test {

// Records every message box and answers it: with the queued answers first,
// then with OK.
class MessageRecorder
{
public:
    MessageRecorder()
    {
        SetMessageHandler([this](const ShownMessage &message) {
            shown.append(message);
            return answers.isEmpty() ? MsgResult::Ok : answers.takeFirst();
        });
    }
    ~MessageRecorder() { SetMessageHandler({}); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QStringList titles() const
    {
        QStringList out;
        for (const ShownMessage &m : shown)
            out << m.title;
        return out;
    }
    int count(const QString &title) const
    {
        return int(std::count_if(shown.begin(), shown.end(), [&](const ShownMessage &m) { return m.title == title; }));
    }

    QList<ShownMessage> shown;
    QList<MsgResult> answers;
};

// Answers the file dialogs with the queued paths (empty = cancelled) and
// keeps what was asked.
class FileDialogRecorder
{
public:
    FileDialogRecorder()
    {
        SetFileNameHandler([this](const FileRequest &request) {
            asked.append(request);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    ~FileDialogRecorder() { SetFileNameHandler({}); }
    FileDialogRecorder(const FileDialogRecorder &) = delete;
    FileDialogRecorder &operator=(const FileDialogRecorder &) = delete;

    QList<FileRequest> asked;
    QStringList answers;
};

} // namespace varno::test
