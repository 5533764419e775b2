// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "design/design.h"
#include "design/series.h"

#include "model/projectmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace varno {

namespace {

constexpr int TimberFieldWidth = 6;
constexpr int TimberValueWidth = 5;   // the sixth character of a timber field is not read
constexpr int SteelStart = 84;        // character 85, counted from 0
constexpr int SteelFieldWidth = 6;
constexpr int SteelLineCount = 8;
constexpr qint64 MaxDataFileBytes = 16 * 1024 * 1024;   // as for a project file

} // namespace

QString DefaultDataDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QString MaterialTablePath(const QString &dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("wert2.txt"));
}

QString ProfileTablePath(const QString &dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("wert3.txt"));
}

QStringList ReadDataFileLines(const QString &path, bool *readable)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (readable)
        *readable = opened;
    if (!opened)
        return {};
    // The files are about 2 kB; a file beyond this limit (a device, a
    // foreign file) is not read at all, as if it could not be read.
    const QByteArray bytes = file.read(MaxDataFileBytes + 1);
    if (bytes.size() > MaxDataFileBytes || file.error() != QFileDevice::NoError) {
        if (readable)
            *readable = false;
        return {};
    }

    // The files are plain ASCII; a file saved by an older editor may carry
    // Latin-1 umlauts, which are not valid UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);

    // Lines end with CR LF, LF or CR alone, as in project files.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // A line end after the last line does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList ReadTimberValues(const QString &materialPath, int grade, bool *readable)
{
    const QStringList lines = ReadDataFileLines(materialPath, readable);
    QStringList values;
    values.reserve(lines.size());
    for (const QString &line : lines)
        values.append(grade >= 0 ? line.mid(TimberFieldWidth * grade, TimberValueWidth) : QString());
    return values;
}

QStringList ReadSteelValues(const QString &materialPath, int grade, bool *readable)
{
    const QStringList lines = ReadDataFileLines(materialPath, readable);
    QStringList values;
    // A file with fewer lines gives a shorter list; the design names the gap.
    for (int k = 0; k < SteelLineCount && k < lines.size(); ++k)
        values.append(grade >= 0 ? lines[k].mid(SteelStart + SteelFieldWidth * grade, SteelFieldWidth)
                                 : QString());
    return values;
}

QString TimberGradeCaption(int grade)
{
    const QString name = grade >= 0 && grade < TimberGradeCount ? texts::TimberGrades[grade] : QString();
    return QStringLiteral("Holz   ") + name;
}

QString SteelGradeCaption(int grade)
{
    const QString name = grade >= 0 && grade < SteelGradeCount ? texts::SteelGrades[grade] : QString();
    return QStringLiteral("Stahl   ") + name;
}

QString SeriesPrefix(int series)
{
    return QString::fromUtf16(SeriesAt(series).prefix);
}

std::optional<int> SeriesByName(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    for (const SteelSeries &series : SteelSeriesTable)
        if (trimmed.compare(series.key(), Qt::CaseInsensitive) == 0)
            return series.position;
    return std::nullopt;
}

} // namespace varno
