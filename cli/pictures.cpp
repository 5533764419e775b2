// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/pictures.h"

#include "io/picturefiles.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace varno::cli {

namespace {

const QString NoScale = QStringLiteral("keine Bilder: die L\u00E4ngen ergeben kein System (ihre Summe ist 0)");

ResultPictures picturesOf(const FileResult &result, const QLocale &locale)
{
    return MakeResultPictures(result.texts, result.results, result.design, locale);
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
    const QFileInfo info(result.file);
    const QString name = info.completeBaseName();
    const std::pair<const QString &, PictureFormat> targets[] = {{m_options.svgFolder, PictureFormat::Svg},
                                                                  {m_options.pngFolder, PictureFormat::Png}};
    for (const auto &[folder, format] : targets) {
        if (folder.isEmpty() || m_failedFolders.count(folder))
            continue;
        const PictureWriteResult written =
            WriteResultPictures(pictures, folder, name, info.fileName(), format, m_options.size);
        if (written.ok)
            continue;
        outcome.status = UsageOrFileError;
        outcome.errors << written.error;
        if (written.folderFailed)
            m_failedFolders.insert(folder);
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
