// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;

namespace varno {

// A caption that names the rows of a value list beside it: it keeps its text
// as one caption but shows one part per row, each exactly one list row high,
// so names, values and units stay side by side whatever the font and scale.
class CaptionColumn : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text)
public:
    CaptionColumn(const QString &caption, const QStringList &rows, QWidget *parent = nullptr);

    QString text() const { return m_caption; }
    QStringList rows() const;
    // Row height and the offset of the first row (the list's frame).
    void setRowGeometry(int rowHeight, int topOffset);

private:
    QString m_caption;
    std::vector<QLabel *> m_rows;
};

} // namespace varno
