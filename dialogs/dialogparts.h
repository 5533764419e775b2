// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace varno {

// A label that shows its text as it stands (no rich text), with its name.
QLabel *PlainLabel(const QString &text, const QString &name, QWidget *parent);

// The "OK" (Command1, default button) and "Hilfe" (Command2) pair of the
// input windows; "Hilfe" already shows the help (ShowHelp).
struct OkHelpButtons
{
    QPushButton *ok = nullptr;
    QPushButton *help = nullptr;
};
OkHelpButtons CreateOkHelpButtons(QWidget *window);

} // namespace varno
