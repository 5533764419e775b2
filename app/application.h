// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace varno {

// What every start of the program does before its first window: names and
// version, Qt's German translations (standard buttons and dialogs speak
// German whatever the system language), the compiled-in pictures and the
// window icon. Needs the QApplication to exist.
void PrepareApplication();

} // namespace varno
