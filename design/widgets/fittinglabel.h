// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

namespace varno {

// A caption of the results window that never asks for more room than its
// place. It asks for the width of its text up to the width of a typical text
// (`typical`), and takes less when the window is narrow. A text wider than
// the room it gets is shortened with "…"; in wrapping mode it is first
// broken into lines at blanks and only a line still too wide is shortened.
// While shortened, the whole text is the tooltip and the accessible
// description. text() is always the whole text, as the report prints it.
class FittingLabel : public QLabel
{
    Q_OBJECT
public:
    enum class Mode { Shorten, Wrap };

    FittingLabel(Mode mode, const QString &typical, QWidget *parent = nullptr);

    // Hides QLabel::setText, which is not virtual: the label's own users
    // hold it as a FittingLabel.
    void setText(const QString &text);
    bool isShortened() const { return m_shortened; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Lines
    {
        QStringList lines;
        bool shortened = false;
    };
    Lines linesFor(int width) const;
    int typicalWidth() const;
    // The size at a given width: one line high, or as high as the wrapped text.
    QSize sizeForWidth(int width) const;
    void updateShortening();

    Mode m_mode;
    QString m_typical;
    bool m_shortened = false;
};

} // namespace varno
