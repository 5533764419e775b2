// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The three pictures of the results window as files and paper take them:
// the system and load picture alone, and the moment and shear diagrams over
// it, as the window shows them after "Moment" and "Querkraft".

#include "analysis/resultset.h"
#include "model/numericbeam.h"
#include "design/design.h"
#include "graphics/picturepainter.h"

#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QString>

namespace varno {

// Logical size of a picture file: the frame, one unit a point.
inline constexpr QSize DefaultPictureSize{1000, 300};
// Pixels per logical unit of a PNG file.
inline constexpr double PicturePixelRatio = 2.0;

// The three pictures in their order, with the part of their file names and
// their German captions.
enum PictureKind { SystemPicture, MomentPicture, ShearPicture };
constexpr int PictureKindCount = 3;
QString PictureFileSuffix(PictureKind kind);   // "system", "moment", "shear"
QString PictureCaption(PictureKind kind);      // "System und Belastung", ...

struct ResultPictures
{
    // False when the lengths give no horizontal scale (their sum is 0): the
    // pictures would show no system, so none is made.
    bool drawable = false;
    Picture system;
    Picture moment;
    Picture shear;

    const Picture &get(PictureKind kind) const;
};

// From the beam and the results and design of the last run.
ResultPictures MakeResultPictures(const NumericBeam &beam, const ResultSet &results, const DesignState &design,
                                  const QLocale &locale);

// A picture title as every file format can carry it: each character that
// has no place in a one-line text (control characters of a file name, a
// lone surrogate, U+FFFE, U+FFFF) shown as U+FFFD.
QString OneLineTitle(const QString &title);

// An SVG document of the picture at the given logical size: a viewBox of that
// size, the labels as text and a title element (see OneLineTitle).
QByteArray PictureToSvg(const Picture &picture, const QSizeF &size, const QString &title, const QFont &labelFont);

// An image of the picture at the given logical size and pixel ratio.
QImage PictureToImage(const Picture &picture, const QSizeF &size, double pixelRatio, const QFont &labelFont);

} // namespace varno
