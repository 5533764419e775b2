// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The reason of a failed file operation in German, for every message that
// names one ("Die Datei „…“ kann nicht gelesen werden (Zugriff verweigert).").

#include <QString>

class QFileDevice;

namespace varno {

// The German text of an errno value a file operation can meet; any other
// value as "Systemfehler N".
QString SystemErrorText(int error);

// Why a QFile or QSaveFile failed, in German. Qt words the reason in the
// language of the C library; it is that library's text of an errno value,
// which is found again by comparing, so the German text can be given. A
// reason of Qt's own is named by the kind of failure.
QString SystemErrorText(const QFileDevice &file);

} // namespace varno
