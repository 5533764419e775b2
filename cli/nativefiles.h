// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The files varno-calc reads and writes, named by the bytes the system hands
// over. A name that is not valid UTF-8 (a Latin-1 "ä" is the byte 0xE4)
// would lose its bytes in a QString and name another file; so every byte
// that is not part of valid UTF-8 is kept in the text as the lone surrogate
// U+DC00 + byte, and turned back into that byte when the file is opened.
// Messages and the JSON show such a byte as U+FFFD.

#include "model/systemerror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace varno::cli {

// The command-line arguments after the program name.
QStringList DecodedArguments(int argc, char *argv[]);

QString DecodedName(const QByteArray &bytes);
QByteArray NativeName(const QString &name);
// The name for messages: valid Unicode.
QString ShownName(const QString &name);

// The file a name leads to (symbolic links followed), if it exists.
struct FileIdentity
{
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity &) const = default;
};
std::optional<FileIdentity> IdentityOf(const QString &name);
std::optional<FileIdentity> IdentityOfDescriptor(int descriptor);

// Reads at most `limit` + 1 bytes of a file ("-" is standard input); `error`
// is the errno of a failure, 0 otherwise.
QByteArray ReadAtMost(const QString &name, qint64 limit, int *error);

// Writes the whole file. A character device or a FIFO (a terminal,
// /dev/null, a pipe) is written into; any other existing file that is not a
// regular file is refused; a regular file is replaced only by a complete new
// one (written beside it, synced, renamed over it), keeping its permissions.
// No file of `kept` is replaced: the name is looked at again right before
// the new file takes its place, so a link made since the run began does not
// lead the output onto one of them.
bool WriteWholeFile(const QString &name, const QByteArray &bytes, QString *reason,
                    const std::vector<FileIdentity> &kept = {});

// Writes all bytes to an open descriptor; false with errno set otherwise.
bool WriteAll(int descriptor, const QByteArray &bytes);

// Makes the folder and the missing folders above it; false with errno set.
bool MakeFolders(const QString &name);

} // namespace varno::cli
