// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/fittinglabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>

namespace varno {

namespace {

// A failure text breaks into a few lines at most; the rest is shortened.
constexpr int MaxWrappedLines = 4;

int horizontalMargins(const QLabel *label)
{
    const QMargins m = label->contentsMargins();
    return m.left() + m.right() + 2 * label->margin();
}

int verticalMargins(const QLabel *label)
{
    const QMargins m = label->contentsMargins();
    return m.top() + m.bottom() + 2 * label->margin();
}

} // namespace

FittingLabel::FittingLabel(Mode mode, const QString &typical, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode)
    , m_typical(typical)
{
    setTextFormat(Qt::PlainText);
    if (mode == Mode::Wrap)
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(mode == Mode::Wrap);
    setSizePolicy(policy);
}

int FittingLabel::typicalWidth() const
{
    return fontMetrics().horizontalAdvance(m_typical);
}

FittingLabel::Lines FittingLabel::linesFor(int width) const
{
    const QFontMetrics fm = fontMetrics();
    QString whole = text();
    whole.replace(u'\n', QChar::LineSeparator);
    Lines out;
    if (fm.horizontalAdvance(whole) <= width && !whole.contains(QChar::LineSeparator)) {
        out.lines << whole;
        return out;
    }
    if (m_mode == Mode::Shorten) {
        out.lines << fm.elidedText(whole, Qt::ElideRight, std::max(0, width));
        out.shortened = true;
        return out;
    }

    QTextLayout layout(whole, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        const bool last = out.lines.size() == MaxWrappedLines - 1;
        QString part = last ? whole.mid(line.textStart()) : whole.mid(line.textStart(), line.textLength());
        part.replace(QChar::LineSeparator, u' ');
        part = part.trimmed();
        if (fm.horizontalAdvance(part) > width) {
            part = fm.elidedText(part, Qt::ElideRight, std::max(0, width));
            out.shortened = true;
        }
        out.lines << part;
        if (last)
            break;
    }
    layout.endLayout();
    if (out.lines.isEmpty())
        out.lines << QString();
    return out;
}

QSize FittingLabel::sizeForWidth(int width) const
{
    if (m_mode == Mode::Wrap)
        return {width, heightForWidth(width)};
    return {width, fontMetrics().height() + verticalMargins(this)};
}

QSize FittingLabel::sizeHint() const
{
    const int natural = fontMetrics().horizontalAdvance(QString(text()).replace(u'\n', u' '));
    return sizeForWidth(std::min(natural, typicalWidth()) + horizontalMargins(this));
}

QSize FittingLabel::minimumSizeHint() const
{
    // Room for a few characters and the "…"; the rest the layout gives.
    const QFontMetrics fm = fontMetrics();
    const int natural = fm.horizontalAdvance(text());
    return sizeForWidth(std::min(natural, fm.averageCharWidth() * 8) + horizontalMargins(this));
}

bool FittingLabel::hasHeightForWidth() const
{
    return m_mode == Mode::Wrap;
}

int FittingLabel::heightForWidth(int width) const
{
    if (m_mode != Mode::Wrap)
        return QLabel::heightForWidth(width);
    const QFontMetrics fm = fontMetrics();
    const auto lines = int(linesFor(width - horizontalMargins(this)).lines.size());
    return fm.height() + (lines - 1) * fm.lineSpacing() + verticalMargins(this);
}

bool FittingLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && text() != m_followedText)
        followText(linesFor(textWidth()).shortened);
    return QLabel::event(event);
}

void FittingLabel::paintEvent(QPaintEvent *event)
{
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const Lines lines = linesFor(area.width());
    // A text set since the last look is taken up here, without asking for
    // another paint.
    if (lines.shortened != m_shortened || text() != m_followedText)
        followText(lines.shortened);
    if (!lines.shortened && lines.lines.size() == 1) {
        // The whole text fits: the label draws it itself, selectable as ever.
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QFontMetrics fm = fontMetrics();
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    int top = area.top();
    if (lines.lines.size() == 1 && (alignment() & Qt::AlignVCenter))
        top = area.top() + (area.height() - fm.height()) / 2;
    for (const QString &line : lines.lines) {
        style()->drawItemText(&painter, QRect(area.left(), top, area.width(), fm.height()),
                              int(horizontal | Qt::AlignTop), palette(), isEnabled(), line, foregroundRole());
        top += fm.lineSpacing();
    }
}

void FittingLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateShortening();
}

void FittingLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    updateShortening();
}

void FittingLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        updateShortening();
    }
}

int FittingLabel::textWidth() const
{
    return contentsRect().width() - 2 * margin();
}

void FittingLabel::followText(bool shortened)
{
    m_shortened = shortened;
    m_followedText = text();
    const QString whole = m_shortened ? m_followedText : QString();
    if (toolTip() != whole)
        setToolTip(whole);
    if (accessibleDescription() != whole)
        setAccessibleDescription(whole);
}

void FittingLabel::updateShortening()
{
    followText(linesFor(textWidth()).shortened);
    update();
}

} // namespace varno
