// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/pictures.h"

#include "cli/nativefiles.h"
#include "io/picturefiles.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <map>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace varno::cli {

namespace {

const QString NoScale = QStringLiteral("keine Bilder: die L\u00E4ngen ergeben kein System (ihre Summe ist 0)");

QString quoted(const QString &path)
{
    return QStringLiteral("\u201E%1\u201C").arg(ShownName(path));
}

ResultPictures picturesOf(const FileResult &result, const QLocale &locale)
{
    return MakeResultPictures(result.beam, result.results, result.design, locale);
}

} // namespace

std::optional<QSize> ParsePictureSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,9})\\s*[xX\u00D7]\\s*(\\d{1,9})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width <= 0 || height <= 0 || width > MaximumPictureSide || height > MaximumPictureSide)
        return std::nullopt;
    return QSize(width, height);
}

QString PictureBaseName(const QString &path)
{
    if (path == QLatin1String("-"))
        return QStringLiteral("stdin");
    return QFileInfo(path).completeBaseName();
}

std::optional<QString> PictureWriter::claim(const QStringList &projectFiles, RunFiles &files) const
{
    if (!active())
        return std::nullopt;
    std::map<QString, QString> firstOfName;
    for (const QString &file : projectFiles) {
        const auto [at, isNew] = firstOfName.try_emplace(PictureBaseName(file), file);
        if (!isNew)
            return QStringLiteral("%1 und %2 erg\u00E4ben dieselben Bilder %3-system, -moment und -shear; es wird "
                                  "nichts geschrieben")
                .arg(quoted(at->second), quoted(file), ShownName(at->first));
    }
    const std::tuple<QString, const QString &, PictureFormat> targets[] = {
        {QStringLiteral("--svg"), m_options.svgFolder, PictureFormat::Svg},
        {QStringLiteral("--png"), m_options.pngFolder, PictureFormat::Png}};
    for (const auto &[option, folder, format] : targets) {
        if (folder.isEmpty())
            continue;
        struct stat info;
        if (::stat(NativeName(folder).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
            return QStringLiteral("%1 %2 ist kein Ordner").arg(option, quoted(folder));
        if (const std::optional<QString> refused = files.claimOutput(option, folder, OutputKind::Folder))
            return refused;
        for (const auto &[name, file] : firstOfName)
            for (int k = 0; k < PictureKindCount; ++k)
                if (const std::optional<QString> refused = files.claimOutput(
                        option, folder + u'/' + PictureFileName(name, PictureKind(k), format), OutputKind::File))
                    return refused;
    }
    return std::nullopt;
}

PictureOutcome PictureWriter::write(const FileResult &result, const QLocale &locale)
{
    PictureOutcome outcome;
    if (!active())
        return outcome;
    // The reason (refusal, unreadable file) is reported with the results.
    if (!result.analysed) {
        outcome.status = result.status;
        outcome.errors << QStringLiteral("keine Bilder geschrieben, die Datei wurde nicht berechnet");
        return outcome;
    }
    const ResultPictures pictures = picturesOf(result, locale);
    if (!pictures.drawable) {
        outcome.status = Refused;
        outcome.errors << NoScale;
        return outcome;
    }
    const QString name = PictureBaseName(result.path);
    const QString projectTitle = result.path == QLatin1String("-") ? QStringLiteral("stdin")
                                                                   : QFileInfo(result.file).fileName();
    const std::pair<const QString &, PictureFormat> targets[] = {{m_options.svgFolder, PictureFormat::Svg},
                                                                  {m_options.pngFolder, PictureFormat::Png}};
    for (const auto &[folder, format] : targets) {
        if (folder.isEmpty() || m_failedFolders.count(folder))
            continue;
        auto fails = [&](const QString &error, bool folderFailed) {
            outcome.status = UsageOrFileError;
            outcome.errors << error;
            if (folderFailed)
                m_failedFolders.insert(folder);
        };
        if (!MakeFolders(folder)) {
            fails(QStringLiteral("Der Ordner %1 kann nicht angelegt werden (%2).")
                      .arg(quoted(folder), SystemErrorText(errno)),
                  true);
            continue;
        }
        for (int k = 0; k < PictureKindCount; ++k) {
            const auto kind = PictureKind(k);
            const QString path = folder + u'/' + PictureFileName(name, kind, format);
            const QString title = projectTitle + QStringLiteral(" \u2013 ") + PictureCaption(kind);
            const QByteArray bytes = PictureFileBytes(pictures.get(kind), format, m_options.size, title);
            if (bytes.isEmpty()) {
                fails(QStringLiteral("Das Bild %1 kann nicht erzeugt werden.").arg(quoted(path)), false);
                break;
            }
            QString reason;
            if (!m_files.write(path, bytes, &reason)) {
                const bool folderFailed = ::access(NativeName(folder).constData(), W_OK) != 0;
                fails(folderFailed ? QStringLiteral("Der Ordner %1 ist nicht beschreibbar.").arg(quoted(folder))
                                   : QStringLiteral("Das Bild %1 kann nicht geschrieben werden (%2).")
                                         .arg(quoted(path), reason),
                      folderFailed);
                break;
            }
        }
    }
    return outcome;
}

std::vector<ReportPicture> ReportPicturesFor(const FileResult &result, const QLocale &locale, QString *error)
{
    std::vector<ReportPicture> page;
    const ResultPictures pictures = picturesOf(result, locale);
    if (!pictures.drawable) {
        if (error)
            *error = NoScale;
        return page;
    }
    for (int k = 0; k < PictureKindCount; ++k)
        page.push_back({PictureCaption(PictureKind(k)), pictures.get(PictureKind(k))});
    return page;
}

} // namespace varno::cli
