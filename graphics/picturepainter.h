// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One drawing path for every medium: what a picture area shows (its items
// and its labels) painted with any QPainter at any size, on the screen, into
// an image, an SVG file or a PDF page. The painter's coordinates run from
// (0, 0) to the given size; the frame 1000 x 300 is stretched onto it.

#include "graphics/displaylist.h"

#include <QFont>
#include <QRect>
#include <QSizeF>

#include <vector>

class QPainter;

namespace varno {

// The content of a picture area: every item drawn since the last clear and
// the state of each of its labels.
struct Picture
{
    std::vector<DisplayItem> items;
    std::vector<DisplayLabel> labels;

    // As the picture area takes a display list: clears when the list says
    // so, appends its items, takes its label states (label count unchanged
    // once set).
    void apply(const DisplayList &list);
};

// Where a label sits on an area of the given size and in which font: the
// font follows the label's height within readable bounds, shrinks for a
// text wider than the label, and the label grows to the right where even
// the smallest readable font is too wide.
struct LabelPlacement
{
    QRect geometry;
    QFont font;
};
LabelPlacement PlaceLabel(const DisplayLabel &label, const QSizeF &area, const QFont &baseFont);

// The lines and rectangle outlines, without background and labels.
void PaintDisplayItems(QPainter &painter, const QSizeF &area, const std::vector<DisplayItem> &items);

// The visible labels as text on the picture's background, where and in the
// colours the picture area shows its label widgets.
void PaintDisplayLabels(QPainter &painter, const QSizeF &area, const std::vector<DisplayLabel> &labels,
                        const QFont &baseFont, const QColor &background = PictureBackground);

// Background, items, labels: the whole picture as the window shows it. The
// Eurocode report gives paper white, so that it prints clean in black and
// white.
void PaintPicture(QPainter &painter, const QSizeF &area, const Picture &picture, const QFont &baseFont,
                  const QColor &background = PictureBackground);

// The label font of pictures outside the window (files, paper).
QFont PictureFileFont();

} // namespace varno
