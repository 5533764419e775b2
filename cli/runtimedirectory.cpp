// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/runtimedirectory.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace varno::cli {

bool IsPrivateRuntimeDirectory(const QByteArray &path)
{
    if (path.isEmpty())
        return false;
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

std::unique_ptr<QTemporaryDir> ProvideRuntimeDirectory()
{
    if (IsPrivateRuntimeDirectory(qgetenv("XDG_RUNTIME_DIR")))
        return nullptr;
    // QTemporaryDir creates its folder with mode 0700.
    auto directory = std::make_unique<QTemporaryDir>();
    if (!directory->isValid())
        return nullptr;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory->path()));
    return directory;
}

} // namespace varno::cli
