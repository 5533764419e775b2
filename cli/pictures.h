// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// varno-calc's pictures: the system, moment and shear pictures of every
// computed project file as SVG and PNG files, and for the report's picture
// page.

#include "cli/calculation.h"
#include "cli/runfiles.h"
#include "io/report.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <set>
#include <vector>

namespace varno::cli {

// "WxH" with two positive integers, each at most MaximumPictureSide: the
// PNG of 4000 x 4000 has 8000 x 8000 pixels and needs about 0.5 GB while
// it is made.
constexpr int MaximumPictureSide = 4000;
std::optional<QSize> ParsePictureSize(const QString &text);

struct PictureOptions
{
    QString svgFolder;              // empty: no SVG files
    QString pngFolder;              // empty: no PNG files
    QSize size{1000, 300};          // logical units; a PNG has twice the pixels
};

struct PictureOutcome
{
    int status = Computed;
    QStringList errors;             // German, one per cause
};

// The name the pictures of a project file are named after: its name
// without the last extension; "stdin" for standard input ("-").
QString PictureBaseName(const QString &path);

// Writes the pictures of one file into the chosen folders. A file that was
// not computed, or whose lengths give no horizontal scale, gets no picture.
// A folder that failed once is left alone for the later files.
class PictureWriter
{
public:
    PictureWriter(PictureOptions options, const RunFiles &files) : m_options(std::move(options)), m_files(files) {}
    bool active() const { return !m_options.svgFolder.isEmpty() || !m_options.pngFolder.isEmpty(); }
    // Claims the folders and every picture of the project files; a German
    // message when two files would give pictures of one name, a folder
    // name leads to something else than a folder, or a picture would
    // replace an input or another output.
    std::optional<QString> claim(const QStringList &projectFiles, RunFiles &files) const;
    PictureOutcome write(const FileResult &result, const QLocale &locale);

private:
    PictureOptions m_options;
    const RunFiles &m_files;
    std::set<QString> m_failedFolders;
};

// The pictures of the report's picture page; empty, with the reason in
// `error`, when the lengths give no horizontal scale.
std::vector<ReportPicture> ReportPicturesFor(const FileResult &result, const QLocale &locale, QString *error);

} // namespace varno::cli
