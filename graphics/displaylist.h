// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <Qt>

#include <vector>

namespace varno {

// Every picture is drawn in a logical frame 1000 wide and 300 high, origin
// top left, y downwards; the picture area stretches x and y independently.
constexpr double FrameWidth = 1000.0;
constexpr double FrameHeight = 300.0;
inline const QColor PictureBackground{192, 192, 255};

// Colours of the standard 16-colour palette used by the pictures.
inline const QColor PaletteBlack{0, 0, 0};
inline const QColor PaletteDarkBlue{0, 0, 128};   // colour 1
inline const QColor PaletteGreen{0, 128, 0};      // colour 2
inline const QColor PaletteRed{255, 0, 0};        // colour 12
inline const QColor LabelBlue{0, 0, 192};

struct DisplayItem
{
    // A rectangle is an outline from a to b; a polyline joins `points`.
    enum Kind { Line, Rectangle, Polyline };
    Kind kind = Line;
    QPointF a;
    QPointF b;
    QColor color = PaletteBlack;
    int width = 1;                   // pen width in pixels
    std::vector<QPointF> points = {};   // Polyline only
    Qt::PenStyle style = Qt::SolidLine;
};

// A text label of the picture area, in logical units. Labels carry the
// picture's background colour behind their text.
struct DisplayLabel
{
    QString text;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    QColor color = PaletteBlack;
    bool visible = false;
};

struct DisplayList
{
    // true: the area is cleared before these items; false: drawn over the
    // current picture (moment and shear diagrams).
    bool clears = true;
    std::vector<DisplayItem> items;      // in drawing order
    // Not empty: the new state of every label of the picture area (index =
    // label number, Label8(i)). Empty: labels are left as they are.
    std::vector<DisplayLabel> labels;
};

} // namespace varno
