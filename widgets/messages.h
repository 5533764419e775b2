// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace varno {

// Every message box of the program goes through here, so tests can read
// what was shown and answer it. The program shows real QMessageBoxes.
enum class MsgIcon { None, Information, Question, Warning };
enum class MsgButtons { Ok, OkCancel, SaveDiscardCancel };
// A box with "Speichern", "Verwerfen" and "Abbrechen" answers Save, Discard
// or Cancel; any other answer counts as "Abbrechen".
enum class MsgResult { Ok, Cancel, Save, Discard };

struct ShownMessage
{
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

MsgResult ShowMessage(QWidget *parent, const QString &title, const QString &text, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok);

// The information box of "Hilfe" where no user guide is installed
// (widgets/help.h).
void ShowHelpMessage(QWidget *parent);
// "Eingabefehler" / "Geben Sie bitte eine Zahl ein!", no icon, OK.
void ShowInputError(QWidget *parent);

// Test hook: while set, messages go to the handler instead of a real box.
using MessageHandler = std::function<MsgResult(const ShownMessage &)>;
void SetMessageHandler(MessageHandler handler);

} // namespace varno
