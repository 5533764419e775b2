#pragma once

#include "graphics/displaylist.h"

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
    const std::vector<DisplayItem> &items() const { return m_items; }
    const std::vector<DisplayLabel> &labelStates() const { return m_labels; }
    QLabel *label(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeLabels();

    std::vector<DisplayItem> m_items;
    std::vector<DisplayLabel> m_labels;
    std::vector<QLabel *> m_labelWidgets;
};

} // namespace varno
