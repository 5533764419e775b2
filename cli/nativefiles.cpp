// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/nativefiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varno::cli {

namespace {

constexpr char16_t KeptByte = 0xDC00;

// The length of the valid UTF-8 sequence at `p`, 0 when it is not one.
int sequenceLength(const uchar *p, const uchar *end)
{
    const uchar b = *p;
    if (b < 0x80)
        return 1;
    int length = 0;
    uchar low = 0x80, high = 0xBF;   // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0)
            low = 0xA0;
        if (b == 0xED)
            high = 0x9F;   // no UTF-16 surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0)
            low = 0x90;
        if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (p[k] < 0x80 || p[k] > 0xBF)
            return 0;
    return length;
}

bool isKeptByte(const QString &name, qsizetype i)
{
    const char16_t u = name[i].unicode();
    return u >= KeptByte + 0x80 && u <= KeptByte + 0xFF && !(i > 0 && name[i - 1].isHighSurrogate());
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// Set as errno when a name leads to a kept file, or to another kind of
// file than a moment before; named by WriteWholeFile.
constexpr int LeadsToKeptFile = -1;
constexpr int ChangedMeanwhile = -2;

bool isKept(const struct stat &info, const std::vector<FileIdentity> &kept)
{
    return std::find(kept.begin(), kept.end(), FileIdentity{info.st_dev, info.st_ino}) != kept.end();
}

bool writeDirectly(const QByteArray &path, const QByteArray &bytes, const std::vector<FileIdentity> &kept)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The name was a device or FIFO a moment ago; should it lead to a regular
    // file now, writing from its start would spoil that file.
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !(S_ISCHR(opened.st_mode) || S_ISFIFO(opened.st_mode))) {
        ::close(fd);
        errno = isKept(opened, kept) ? LeadsToKeptFile : ChangedMeanwhile;
        return false;
    }
    const bool written = WriteAll(fd, bytes);
    const int error = errno;
    if (::close(fd) != 0 && written)
        return false;
    errno = error;
    return written;
}

// A new file beside the old one, synced and renamed over it: a failure
// leaves the old file as it was.
bool replaceWhole(const QByteArray &path, const QByteArray &bytes, const struct stat *old,
                  const std::vector<FileIdentity> &kept)
{
    QByteArray target = path;
    if (old) {
        // A symbolic link stays a link; the file it leads to is replaced.
        char resolved[PATH_MAX];
        if (::realpath(path.constData(), resolved))
            target = QByteArray(resolved);
    }
    QByteArray temporary = folderOf(target) + "/.varno-calc-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    mode_t mode = 0;
    if (old) {
        mode = old->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    struct stat now;
    if (ok && ::stat(target.constData(), &now) == 0 && isKept(now, kept)) {
        ok = false;
        error = LeadsToKeptFile;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        errno = error;
    }
    return ok;
}

} // namespace

QString DecodedName(const QByteArray &bytes)
{
    QString out;
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const auto *const end = p + bytes.size();
    while (p < end) {
        const auto *run = p;
        int length = 0;
        while (p < end && (length = sequenceLength(p, end)) > 0)
            p += length;
        out += QString::fromUtf8(reinterpret_cast<const char *>(run), p - run);
        if (p < end)
            out += QChar(char16_t(KeptByte + *p++));
    }
    return out;
}

QStringList DecodedArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << DecodedName(QByteArray(argv[i]));
    return arguments;
}

QByteArray NativeName(const QString &name)
{
    QByteArray out;
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!isKeptByte(name, i))
            continue;
        out += QStringView(name).mid(run, i - run).toUtf8();
        out += char(name[i].unicode() - KeptByte);
        run = i + 1;
    }
    out += QStringView(name).mid(run).toUtf8();
    return out;
}

QString ShownName(const QString &name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (isKeptByte(name, i))
            out[i] = QChar::ReplacementCharacter;
    return out;
}

std::optional<FileIdentity> IdentityOf(const QString &name)
{
    struct stat info;
    if (::stat(NativeName(name).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

std::optional<FileIdentity> IdentityOfDescriptor(int descriptor)
{
    struct stat info;
    if (::fstat(descriptor, &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

QByteArray ReadAtMost(const QString &name, qint64 limit, int *error)
{
    *error = 0;
    const bool standardInput = name == QLatin1String("-");
    const int fd = standardInput ? STDIN_FILENO : ::open(NativeName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return {};
    }
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(fd, buffer, std::min<qint64>(sizeof buffer, limit + 1 - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = errno;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    if (!standardInput)
        ::close(fd);
    return bytes;
}

bool WriteAll(int descriptor, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, p, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

bool WriteWholeFile(const QString &name, const QByteArray &bytes, QString *reason,
                    const std::vector<FileIdentity> &kept)
{
    const QByteArray path = NativeName(name);
    struct stat info;
    bool ok = false;
    if (::stat(path.constData(), &info) != 0) {
        ok = errno == ENOENT && replaceWhole(path, bytes, nullptr, kept);
    } else if (isKept(info, kept)) {
        errno = LeadsToKeptFile;
    } else if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
        ok = writeDirectly(path, bytes, kept);
    } else if (!S_ISREG(info.st_mode)) {
        if (reason)
            *reason = S_ISDIR(info.st_mode) ? SystemErrorText(EISDIR)
                                            : QStringLiteral("keine gew\u00F6hnliche Datei");
        return false;
    } else {
        ok = replaceWhole(path, bytes, &info, kept);
    }
    if (!ok && reason)
        *reason = errno == LeadsToKeptFile    ? QStringLiteral("der Name f\u00FChrt jetzt zu einer Eingabedatei")
                  : errno == ChangedMeanwhile ? QStringLiteral("die Datei wurde w\u00E4hrend des Laufs ersetzt")
                                              : SystemErrorText(errno);
    return ok;
}

bool MakeFolders(const QString &name)
{
    const QByteArray path = NativeName(name);
    struct stat info;
    if (::stat(path.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        errno = ENOTDIR;
        return false;
    }
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1)) {
        const QByteArray above = path.left(slash);
        if (::mkdir(above.constData(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return ::mkdir(path.constData(), 0777) == 0 || errno == EEXIST;
}

} // namespace varno::cli
