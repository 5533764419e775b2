// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/picturearea.h"

#include "graphics/resultpictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

namespace varno {

PictureArea::PictureArea(int labelCount, QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, PictureBackground);
    setPalette(pal);

    m_picture.labels.resize(std::max(labelCount, 0));
    m_labelWidgets.reserve(m_picture.labels.size());
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
    m_picture.apply(list);
    if (!list.labels.empty()) {
        const std::size_t count = std::min(list.labels.size(), m_picture.labels.size());
        for (std::size_t i = 0; i < count; ++i) {
            QLabel *label = m_labelWidgets[i];
            label->setText(m_picture.labels[i].text);
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, m_picture.labels[i].color);
            pal.setColor(QPalette::Window, PictureBackground);
            label->setPalette(pal);
        }
        placeLabels();
        for (std::size_t i = 0; i < count; ++i)
            m_labelWidgets[i]->setVisible(m_picture.labels[i].visible);
    }
    update();
}

void PictureArea::clearPicture()
{
    m_picture.items.clear();
    update();
}

void PictureArea::paintEvent(QPaintEvent *)
{
    // The background comes from the palette, the labels are child widgets.
    QPainter painter(this);
    PaintDisplayItems(painter, size(), m_picture.items);
}

void PictureArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeLabels();
}

void PictureArea::placeLabels()
{
    for (std::size_t i = 0; i < m_labelWidgets.size(); ++i) {
        QLabel *label = m_labelWidgets[i];
        const LabelPlacement placed = PlaceLabel(m_picture.labels[i], size(), label->font());
        label->setFont(placed.font);
        label->setGeometry(placed.geometry);
    }
}

QImage PictureArea::toImage() const
{
    return PictureToImage(m_picture, size(), devicePixelRatioF(), labelFont());
}

QByteArray PictureArea::toSvg(const QString &title) const
{
    return PictureToSvg(m_picture, size(), title, labelFont());
}

void PictureArea::copyToClipboard(const QString &title) const
{
    auto *data = new QMimeData;
    data->setImageData(toImage());
    data->setData(QStringLiteral("image/svg+xml"), toSvg(title));
    QGuiApplication::clipboard()->setMimeData(data);
}

QFont PictureArea::labelFont() const
{
    // Only the pixel size of a label's font changes with its placement.
    return m_labelWidgets.empty() ? font() : m_labelWidgets.front()->font();
}

} // namespace varno
