// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graphics/picturepainter.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace varno {

// The one widget that shows pictures: replays the accumulated display list
// scaled to its size (x and y stretched independently) and keeps the labels
// Label8(i) as child QLabels placed in the logical frame.
class PictureArea : public QWidget
{
    Q_OBJECT
public:
    explicit PictureArea(int labelCount, QWidget *parent = nullptr);

    // Clears first when the list says so, appends its items, sets the labels.
    void apply(const DisplayList &list);
    void clearPicture();

    // What the area shows now: every item drawn since the last clear.
    const std::vector<DisplayItem> &items() const { return m_picture.items; }
    const std::vector<DisplayLabel> &labelStates() const { return m_picture.labels; }
    const Picture &picture() const { return m_picture; }
    QLabel *label(int index) const;

    // The picture as shown, labels included, drawn by the painter that also
    // writes the picture files: an image at the area's size and pixel ratio,
    // and an SVG document.
    QImage toImage() const;
    QByteArray toSvg(const QString &title) const;
    // Puts both on the clipboard: the image, and the SVG as image/svg+xml.
    void copyToClipboard(const QString &title) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeLabels();
    QFont labelFont() const;

    Picture m_picture;
    std::vector<QLabel *> m_labelWidgets;
};

} // namespace varno
