// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/svgpicture.h"

#include "widgets/assets.h"

#include <QPainter>
#include <QStyle>
#include <QSvgRenderer>

namespace varno {

SvgPicture::SvgPicture(const QString &resource, const QSize &preferredSize, QWidget *parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(this)), m_preferredSize(preferredSize)
{
    LoadAssets();
    m_renderer->load(resource);
    setMinimumSize(preferredSize / 2);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

bool SvgPicture::isLoaded() const
{
    return m_renderer->isValid();
}

void SvgPicture::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QSize SvgPicture::sizeHint() const
{
    return m_preferredSize;
}

// Tall enough for the drawing at this width, so no empty band opens above or
// below it.
int SvgPicture::heightForWidth(int width) const
{
    const QSize natural = m_renderer->isValid() ? m_renderer->defaultSize() : m_preferredSize;
    if (natural.width() <= 0)
        return width;
    return width * natural.height() / natural.width();
}

void SvgPicture::paintEvent(QPaintEvent *)
{
    if (!m_renderer->isValid())
        return;
    const QSizeF drawn = QSizeF(m_renderer->defaultSize()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRect target = QStyle::alignedRect(layoutDirection(), m_alignment, drawn.toSize(), rect());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer->render(&painter, QRectF(target));
}

} // namespace varno
