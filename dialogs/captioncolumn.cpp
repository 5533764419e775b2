// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/captioncolumn.h"

#include <QLabel>
#include <QVBoxLayout>

namespace varno {

CaptionColumn::CaptionColumn(const QString &caption, const QStringList &rows, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setAccessibleDescription(caption);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const QString &row : rows) {
        auto *label = new QLabel(row, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        layout->addWidget(label);
        m_rows.push_back(label);
    }
    layout->addStretch(1);
}

QStringList CaptionColumn::rows() const
{
    QStringList out;
    for (const QLabel *label : m_rows)
        out << label->text();
    return out;
}

void CaptionColumn::setRowGeometry(int rowHeight, int topOffset)
{
    layout()->setContentsMargins(0, topOffset, 0, 0);
    for (QLabel *label : m_rows)
        label->setFixedHeight(rowHeight);
}

} // namespace varno
