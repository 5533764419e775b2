#include "graphics/widgets/picturearea.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace varno {

namespace {

// Label fonts follow the label's height on screen, within readable bounds.
constexpr int MinimumFontPixels = 9;
constexpr int MaximumFontPixels = 18;

} // namespace

PictureArea::PictureArea(int labelCount, QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, PictureBackground);
    setPalette(pal);

    m_labels.resize(std::max(labelCount, 0));
    m_labelWidgets.reserve(m_labels.size());
    for (int i = 0; i < labelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label8(%1)").arg(i));
        label->setAutoFillBackground(true);
        label->setMargin(0);
        label->setIndent(0);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setTextFormat(Qt::PlainText);
        label->hide();
        m_labelWidgets.push_back(label);
    }
}

QLabel *PictureArea::label(int index) const
{
    if (index < 0 || index >= int(m_labelWidgets.size()))
        return nullptr;
    return m_labelWidgets[index];
}

void PictureArea::apply(const DisplayList &list)
{
    if (list.clears)
        m_items.clear();
    m_items.insert(m_items.end(), list.items.begin(), list.items.end());

    if (!list.labels.empty()) {
        const std::size_t count = std::min(list.labels.size(), m_labels.size());
        for (std::size_t i = 0; i < count; ++i) {
            m_labels[i] = list.labels[i];
            QLabel *label = m_labelWidgets[i];
            label->setText(m_labels[i].text);
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, m_labels[i].color);
            pal.setColor(QPalette::Window, PictureBackground);
            label->setPalette(pal);
        }
        placeLabels();
        for (std::size_t i = 0; i < count; ++i)
            m_labelWidgets[i]->setVisible(m_labels[i].visible);
    }
    update();
}

void PictureArea::clearPicture()
{
    m_items.clear();
    update();
}

void PictureArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double sx = width() / FrameWidth;
    const double sy = height() / FrameHeight;

    for (const DisplayItem &item : m_items) {
        QPen pen(item.color);
        pen.setWidthF(std::max(item.width, 1));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // Odd widths sit on pixel centres, even ones on pixel edges, so
        // horizontal and vertical lines stay sharp despite antialiasing.
        const double offset = item.width % 2 == 1 ? 0.5 : 0.0;
        const auto device = [&](const QPointF &p) {
            return QPointF(std::round(p.x() * sx) + offset, std::round(p.y() * sy) + offset);
        };
        const QPointF a = device(item.a);
        const QPointF b = device(item.b);
        if (item.kind == DisplayItem::Line) {
            painter.drawLine(a, b);
        } else {
            // As a closed outline, so a rectangle of zero width still shows
            // as the line it is.
            const QPolygonF outline{a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
            painter.drawPolygon(outline);
        }
    }
}

void PictureArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeLabels();
}

void PictureArea::placeLabels()
{
    const double sx = width() / FrameWidth;
    const double sy = height() / FrameHeight;
    for (std::size_t i = 0; i < m_labelWidgets.size(); ++i) {
        const DisplayLabel &state = m_labels[i];
        QLabel *label = m_labelWidgets[i];
        const int left = int(std::lround(state.left * sx));
        const int top = int(std::lround(state.top * sy));
        int w = int(std::lround(state.width * sx));
        int h = int(std::lround(state.height * sy));

        // The font follows the label's height; a text that would not fit
        // its design width gets a smaller font, and if even the smallest
        // readable one is too wide the label grows to the right instead.
        QFont font = label->font();
        int pixels = std::clamp(int(h * 0.8), MinimumFontPixels, MaximumFontPixels);
        font.setPixelSize(pixels);
        while (pixels > MinimumFontPixels && QFontMetricsF(font).horizontalAdvance(state.text) > w) {
            font.setPixelSize(--pixels);
        }
        label->setFont(font);
        const QFontMetricsF metrics(font);
        w = std::max(w, int(std::ceil(metrics.horizontalAdvance(state.text))) + 1);
        h = std::max(h, int(std::ceil(metrics.height())));
        label->setGeometry(left, top, w, h);
    }
}

} // namespace varno
