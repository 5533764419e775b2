// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/fittinglabel.h"

#include <QLineF>
#include <QWidget>

#include <array>
#include <vector>

class QLabel;

namespace varno {

// The drawn beam in the "System" frame of the results window: beam line,
// supports and cantilevers of one system, with the length, region-load and
// point-load labels placed over their regions and the support letters under
// the supports. The window sets texts and visibility; this widget only draws
// the line elements and places the labels.
class SystemSchematic : public QWidget
{
    Q_OBJECT
public:
    explicit SystemSchematic(QWidget *parent = nullptr);

    // A number too long for its column is shortened (FittingLabel).
    FittingLabel *lengthLabel(int region) const;     // Label1(region - 1)
    FittingLabel *loadLabel(int region) const;       // Label2(region - 1)
    FittingLabel *pointLoadLabel(int slot) const;    // Label3(slot), Label3(slot + 1) from slot 24 on
    QLabel *supportLetter(int support) const;  // 0 = Label4(0) "A", 1..3 = Label5(0..2)

    // Which line elements are drawn: the spans 1..spans and the cantilevers
    // that exist. Places the labels over the regions of that system.
    void arrange(int spans, bool leftCantilever, bool rightCantilever);

    bool hasRegion(int region) const;
    // Stretch of beam of a region in widget coordinates; null when the
    // system does not have the region.
    QLineF regionBeam(int region) const;
    // Every line the widget draws: beam, support symbols, dimension line.
    const std::vector<QLineF> &lineElements() const { return m_lines; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Column
    {
        int region = 0;
        double left = 0;
        double right = 0;
    };

    QLabel *makeLabel(const QString &name, Qt::Alignment alignment);
    FittingLabel *makeFittingLabel(const QString &name, const QString &typical, Qt::Alignment alignment);
    std::vector<int> regionOrder() const;      // existing regions from left to right
    double minimumColumnWidth(int region) const;
    int pointLoadRows() const;
    int contentHeight() const;
    std::vector<Column> columns(double width) const;
    void relayout();

    std::array<FittingLabel *, 5> m_length{};
    std::array<FittingLabel *, 5> m_load{};
    std::array<FittingLabel *, 27> m_point{};
    std::array<QLabel *, 4> m_letter{};

    int m_spans = 1;
    bool m_left = false;
    bool m_right = false;

    std::vector<QLineF> m_lines;
    std::size_t m_beamLines = 0;
    std::array<QLineF, 6> m_beam{};            // index = region
};

} // namespace varno
