// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/runfiles.h"

#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace varno::cli {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("\u201E%1\u201C").arg(ShownName(name));
}

QString inputName(const QString &path)
{
    return path == QLatin1String("-") ? QStringLiteral("die Standardeingabe")
                                      : QStringLiteral("die Eingabedatei %1").arg(quoted(path));
}

std::optional<FileIdentity> regularFile(const struct stat &info)
{
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

// Where a name leads: the real path of its longest existing part (links
// followed) with the rest of the name after it, so that two names of one
// place compare equal whether the place exists or not.
QByteArray placeOf(const QByteArray &path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved))
        return QByteArray(resolved);
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    if (slash < 0) {
        char here[PATH_MAX];
        return ::getcwd(here, sizeof here) ? QByteArray(here) + '/' + trimmed : trimmed;
    }
    const QByteArray name = trimmed.mid(slash + 1);
    const QByteArray above = placeOf(slash == 0 ? QByteArrayLiteral("/") : trimmed.left(slash));
    if (name == "." || name.isEmpty())
        return above;
    if (name == "..") {
        const qsizetype up = above.lastIndexOf('/');
        return up <= 0 ? QByteArrayLiteral("/") : above.left(up);
    }
    return above.endsWith('/') ? above + name : above + '/' + name;
}

} // namespace

void RunFiles::addInput(const QString &path)
{
    struct stat info;
    const bool found = path == QLatin1String("-") ? ::fstat(STDIN_FILENO, &info) == 0
                                                  : ::stat(NativeName(path).constData(), &info) == 0;
    if (!found)
        return;
    if (const std::optional<FileIdentity> identity = regularFile(info)) {
        m_inputs.push_back({*identity, path});
        m_kept.push_back(*identity);
    }
}

std::optional<QString> RunFiles::inputAt(const QString &path) const
{
    const std::optional<FileIdentity> identity = IdentityOf(path);
    if (!identity)
        return std::nullopt;
    for (const Input &input : m_inputs)
        if (input.identity == *identity)
            return input.name;
    return std::nullopt;
}

std::optional<QString> RunFiles::claimOutput(const QString &option, const QString &path, OutputKind kind)
{
    if (const std::optional<QString> input = inputAt(path))
        return QStringLiteral("%1 %2 w\u00FCrde %3 ersetzen; es wird nichts geschrieben")
            .arg(option, quoted(path), inputName(*input));
    // A device takes any number of outputs (/dev/null).
    struct stat info;
    if (::stat(NativeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode))
        return std::nullopt;
    const QByteArray place = placeOf(NativeName(path));
    for (const Output &output : m_outputs)
        if (output.place == place && (kind == OutputKind::File || output.kind == OutputKind::File))
            return QStringLiteral("%1 %2 und %3 %4 nennen dieselbe Stelle; es wird nichts geschrieben")
                .arg(output.option, quoted(output.name), option, quoted(path));
    m_outputs.push_back({place, option, path, kind});
    return std::nullopt;
}

std::optional<QString> RunFiles::checkStandardOutput() const
{
    struct stat info;
    if (::fstat(STDOUT_FILENO, &info) != 0)
        return std::nullopt;
    const std::optional<FileIdentity> identity = regularFile(info);
    if (!identity)
        return std::nullopt;
    for (const Input &input : m_inputs)
        if (input.identity == *identity)
            return QStringLiteral("die Standardausgabe f\u00FChrt in %1; es wird nichts geschrieben")
                .arg(inputName(input.name));
    return std::nullopt;
}

bool RunFiles::write(const QString &path, const QByteArray &bytes, QString *reason) const
{
    return WriteWholeFile(path, bytes, reason, m_kept);
}

} // namespace varno::cli
