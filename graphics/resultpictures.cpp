// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/resultpictures.h"

#include "session/session.h"
#include "graphics/drawing.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace varno {

QString OneLineTitle(const QString &title)
{
    QString shown;
    shown.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title[i];
        if (c.isHighSurrogate() && i + 1 < title.size() && title[i + 1].isLowSurrogate()) {
            shown += c;
            shown += title[++i];
        } else if (c.isSurrogate() || c.category() == QChar::Other_Control || c.unicode() >= 0xFFFE) {
            shown += QChar::ReplacementCharacter;
        } else {
            shown += c;
        }
    }
    return shown;
}

QString PictureFileSuffix(PictureKind kind)
{
    switch (kind) {
    case SystemPicture: return QStringLiteral("system");
    case MomentPicture: return QStringLiteral("moment");
    default: return QStringLiteral("shear");
    }
}

QString PictureCaption(PictureKind kind)
{
    switch (kind) {
    case SystemPicture: return QStringLiteral("System und Belastung");
    case MomentPicture: return QStringLiteral("Momentenlinie");
    default: return QStringLiteral("Querkraftlinie");
    }
}

const Picture &ResultPictures::get(PictureKind kind) const
{
    switch (kind) {
    case SystemPicture: return system;
    case MomentPicture: return moment;
    default: return shear;
    }
}

ResultPictures MakeResultPictures(const NumericBeam &beam, const ResultSet &results, const DesignState &design,
                                  const QLocale &locale)
{
    CalcSession session;
    session.results = results;
    session.design = design;

    ResultPictures pictures;
    pictures.system.apply(DrawSystemAndLoadPicture(beam, session, locale));
    pictures.drawable = HasHorizontalScale(session.TotalLength);
    pictures.moment = pictures.system;
    pictures.moment.apply(DrawMomentDiagram(beam, session));
    pictures.shear = pictures.system;
    pictures.shear.apply(DrawShearDiagram(beam, session));
    return pictures;
}

QByteArray PictureToSvg(const Picture &picture, const QSizeF &size, const QString &title, const QFont &labelFont)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), size));
    // One logical unit a pixel of an ordinary screen.
    generator.setResolution(96);
    // The SVG generator writes the title as it is, so "&" or "<" in a file
    // name would break the XML; it gets a placeholder, replaced here by the
    // escaped title.
    static const QByteArray placeholder = QByteArrayLiteral("varno-picture-title-placeholder");
    generator.setTitle(QString::fromLatin1(placeholder));
    generator.setDescription(QStringLiteral("Varno"));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    PaintPicture(painter, size, picture, labelFont);
    painter.end();
    QByteArray svg = buffer.data();
    return svg.replace(placeholder, OneLineTitle(title).toHtmlEscaped().toUtf8());
}

QImage PictureToImage(const Picture &picture, const QSizeF &size, double pixelRatio, const QFont &labelFont)
{
    const QSize pixels(int(std::lround(size.width() * pixelRatio)), int(std::lround(size.height() * pixelRatio)));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(pixelRatio);
    image.fill(PictureBackground);
    QPainter painter(&image);
    PaintPicture(painter, size, picture, labelFont);
    painter.end();
    return image;
}

} // namespace varno
