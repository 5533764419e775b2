// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QLineEdit;
class QWidget;

namespace varno {

// The numeric test every input field runs on each change: a text that does
// not read whole as a number brings up the "Eingabefehler" box, then the
// whole text is selected and the field takes the focus so the next keystroke
// replaces it. Returns whether the text was numeric.
bool CheckNumericField(QLineEdit *field, QWidget *window);

} // namespace varno
