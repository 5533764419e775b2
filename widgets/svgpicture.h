// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QSvgRenderer;

namespace varno {

// A picture asset drawn from its SVG at the widget's resolution, so it stays
// crisp at every scaling. The drawing keeps its aspect ratio and sits in the
// widget as the alignment says.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, const QSize &preferredSize, QWidget *parent = nullptr);

    bool isLoaded() const;
    void setAlignment(Qt::Alignment alignment);
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_renderer;
    QSize m_preferredSize;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};

} // namespace varno
