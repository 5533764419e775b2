// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/systemerror.h"

#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

namespace varno {

namespace {

// The errno values of Linux run from 1 to 133.
constexpr int LargestErrorNumber = 133;

} // namespace

QString SystemErrorText(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("Datei oder Ordner nicht vorhanden");
    case EACCES: return QStringLiteral("Zugriff verweigert");
    case EPERM: return QStringLiteral("Vorgang nicht erlaubt");
    case EISDIR: return QStringLiteral("ist ein Ordner");
    case ENOTDIR: return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case ENOTEMPTY: return QStringLiteral("der Ordner ist nicht leer");
    case EEXIST: return QStringLiteral("Datei schon vorhanden");
    case ENOSPC: return QStringLiteral("kein Platz mehr auf dem Datentr\u00E4ger");
    case EDQUOT: return QStringLiteral("Speicherkontingent ersch\u00F6pft");
    case EFBIG: return QStringLiteral("Datei zu gro\u00DF");
    case EROFS: return QStringLiteral("Dateisystem nur lesbar");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler");
    case ENAMETOOLONG: return QStringLiteral("Name zu lang");
    case ELOOP: return QStringLiteral("zu viele symbolische Verkn\u00FCpfungen");
    case EMLINK: return QStringLiteral("zu viele Verkn\u00FCpfungen");
    case EXDEV: return QStringLiteral("nicht \u00FCber die Grenze eines Dateisystems hinweg m\u00F6glich");
    case EBUSY: return QStringLiteral("Ger\u00E4t oder Datei belegt");
    case ETXTBSY: return QStringLiteral("Programmdatei in Gebrauch");
    case EPIPE: return QStringLiteral("der Empf\u00E4nger hat die Leitung geschlossen");
    case ENXIO: return QStringLiteral("kein Empf\u00E4nger");
    case ENODEV: return QStringLiteral("kein solches Ger\u00E4t");
    case EMFILE:
    case ENFILE: return QStringLiteral("zu viele offene Dateien");
    case ENOMEM: return QStringLiteral("zu wenig Speicher");
    case EAGAIN: return QStringLiteral("vor\u00FCbergehend nicht verf\u00FCgbar");
    case EINTR: return QStringLiteral("unterbrochen");
    case EINVAL: return QStringLiteral("ung\u00FCltiger Aufruf");
    case EBADF: return QStringLiteral("ung\u00FCltiger Dateideskriptor");
    case EOPNOTSUPP: return QStringLiteral("nicht unterst\u00FCtzt");
    case ESTALE: return QStringLiteral("Netzwerkdatei nicht mehr g\u00FCltig");
    case ETIMEDOUT: return QStringLiteral("Zeit\u00FCberschreitung");
    default: return QStringLiteral("Systemfehler %1").arg(error);
    }
}

QString SystemErrorText(const QFileDevice &file)
{
    const QString reason = file.errorString();
    for (int error = 1; error <= LargestErrorNumber; ++error)
        if (reason == qt_error_string(error))
            return SystemErrorText(error);
    // Qt refuses to open a folder with a text of its own.
    if (file.error() == QFileDevice::OpenError && QFileInfo(file.fileName()).isDir())
        return SystemErrorText(EISDIR);
    switch (file.error()) {
    case QFileDevice::ReadError: return QStringLiteral("Lesefehler");
    case QFileDevice::WriteError: return QStringLiteral("Schreibfehler");
    case QFileDevice::OpenError: return QStringLiteral("kann nicht ge\u00F6ffnet werden");
    case QFileDevice::ResourceError: return QStringLiteral("zu wenig Systemmittel");
    case QFileDevice::AbortError: return QStringLiteral("abgebrochen");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError: return QStringLiteral("kann nicht an ihren Platz gebracht werden");
    case QFileDevice::PermissionsError: return SystemErrorText(EACCES);
    default: return QStringLiteral("Dateifehler");
    }
}

} // namespace varno
