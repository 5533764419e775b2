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
//
// The text is set through QLabel::setText (or clear()), which tells no one;
// so the tooltip and the description follow the text and the width whenever
// the label is shown, resized or painted, and a tooltip asked for reads the
// state of that moment: what the user sees and what they are told agree.
class FittingLabel : public QLabel
{
    Q_OBJECT
public:
    enum class Mode { Shorten, Wrap };

    FittingLabel(Mode mode, const QString &typical, QWidget *parent = nullptr);

    bool isShortened() const { return m_shortened; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
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
    int textWidth() const;
    // Tooltip and description from the shortening of `shortened`.
    void followText(bool shortened);
    void updateShortening();

    Mode m_mode;
    QString m_typical;
    bool m_shortened = false;
    QString m_followedText;   // the text the tooltip and description were made for
};

} // namespace varno
