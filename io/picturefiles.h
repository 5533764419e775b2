// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The three result pictures of a project as SVG or PNG files:
// NAME-system, NAME-moment and NAME-shear in one folder.

#include "graphics/resultpictures.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace varno {

enum class PictureFormat { Svg, Png };

// "beam-moment.svg" for the name "beam".
QString PictureFileName(const QString &name, PictureKind kind, PictureFormat format);

// The bytes of one picture file; `title` names the project file and the
// picture. A PNG has PicturePixelRatio pixels per logical unit.
QByteArray PictureFileBytes(const Picture &picture, PictureFormat format, const QSize &size, const QString &title);

struct PictureWriteResult
{
    bool ok = true;
    // German, naming the folder or the file that could not be written.
    QString error;
    // The folder cannot be made or written at all; a further project would
    // fail there alike.
    bool folderFailed = false;
};

// Writes the three pictures into `folder` (made when missing), each through
// a save file, so a failed write leaves no half file and an existing file
// is replaced only by a whole new one. Stops at the first failure. Needs a
// QGuiApplication (fonts).
PictureWriteResult WriteResultPictures(const ResultPictures &pictures, const QString &folder, const QString &name,
                                       const QString &projectTitle, PictureFormat format, const QSize &size);

} // namespace varno
