#pragma once

#include <QWidget>

class QSvgRenderer;

namespace varno {

// A picture asset drawn from its SVG at the widget's resolution, so it stays
// crisp at every scaling; the aspect ratio is kept and the drawing centred.
class SvgPicture : public QWidget
{
    Q_OBJECT
public:
    SvgPicture(const QString &resource, const QSize &preferredSize, QWidget *parent = nullptr);

    bool isLoaded() const;
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_renderer;
    QSize m_preferredSize;
};

} // namespace varno
