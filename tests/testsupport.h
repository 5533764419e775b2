// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the window tests share: the recorders that stand in for message boxes
// and file dialogs.

#include "widgets/messages.h"
#include "app/filedialogs.h"

#include <QApplication>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QtTest>

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

// The rows of the "no caption clipped" tests: the normal font and twice its
// size, as at 200 % scaling.
inline void AddFontScaleRows()
{
    QTest::addColumn<qreal>("fontScale");
    QTest::newRow("normal font") << 1.0;
    QTest::newRow("double font") << 2.0;
}

// Scales the application font while it lives.
class ScaledApplicationFont
{
public:
    explicit ScaledApplicationFont(qreal scale)
        : m_original(QApplication::font())
    {
        QFont font = m_original;
        font.setPointSizeF(m_original.pointSizeF() * scale);
        QApplication::setFont(font);
    }
    ~ScaledApplicationFont() { QApplication::setFont(m_original); }
    ScaledApplicationFont(const ScaledApplicationFont &) = delete;
    ScaledApplicationFont &operator=(const ScaledApplicationFont &) = delete;

private:
    QFont m_original;
};

} // namespace varno::test
