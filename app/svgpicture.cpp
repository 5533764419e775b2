#include "app/svgpicture.h"

#include "app/assets.h"

#include <QPainter>
#include <QSvgRenderer>

namespace varno {

SvgPicture::SvgPicture(const QString &resource, const QSize &preferredSize, QWidget *parent)
    : QWidget(parent), m_preferredSize(preferredSize)
{
    LoadAssets();
    m_renderer = new QSvgRenderer(resource, this);
    m_renderer->setAspectRatioMode(Qt::KeepAspectRatio);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMinimumSize(preferredSize / 2);
}

bool SvgPicture::isLoaded() const
{
    return m_renderer->isValid();
}

QSize SvgPicture::sizeHint() const
{
    return m_preferredSize;
}

int SvgPicture::heightForWidth(int width) const
{
    if (m_preferredSize.width() <= 0)
        return width;
    return width * m_preferredSize.height() / m_preferredSize.width();
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    if (!m_renderer->isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(rect()));
}

} // namespace varno
