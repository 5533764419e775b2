// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/picturefiles.h"

#include "model/systemerror.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cmath>

namespace varno {

namespace {

QString quoted(const QString &path)
{
    return QStringLiteral("\u201E%1\u201C").arg(QDir::toNativeSeparators(path));
}

// The PNG format's checksum over a chunk's type and data.
quint32 crc32(const QByteArray &bytes)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray &out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

void appendChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    appendBigEndian(out, quint32(data.size()));
    out.append(typed);
    appendBigEndian(out, crc32(typed));
}

// An 8-bit RGB PNG of the image. Qt's own writer lets the PNG library try
// all five row filters on every row, which takes about four times as long
// for these large, mostly plain pictures; here every row gets the "Sub"
// filter (the difference to the pixel on the left), which turns the plain
// background into zeros, and zlib packs the rest.
QByteArray encodePng(const QImage &source, const QString &title, int dotsPerMeter)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = 1 + 3 * qsizetype(width);
    QByteArray raw(stride * height, Qt::Uninitialized);
    for (int y = 0; y < height; ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        auto *out = reinterpret_cast<uchar *>(raw.data() + stride * y);
        *out++ = 1;   // filter "Sub"
        QRgb left = 0;
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixel[x];
            *out++ = uchar(qRed(p) - qRed(left));
            *out++ = uchar(qGreen(p) - qGreen(left));
            *out++ = uchar(qBlue(p) - qBlue(left));
            left = p;
        }
    }
    // qCompress puts the length in front of the zlib stream; it gives
    // nothing when zlib fails (out of memory), and a picture without its
    // pixels is no picture.
    const QByteArray compressed = qCompress(raw, 3);
    if (compressed.size() <= 4)
        return {};
    const QByteArray deflated = compressed.mid(4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, quint32(width));
    appendBigEndian(header, quint32(height));
    header.append("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, no interlace
    appendChunk(png, "IHDR", header);
    QByteArray density;
    appendBigEndian(density, quint32(dotsPerMeter));
    appendBigEndian(density, quint32(dotsPerMeter));
    density.append(char(1));   // per metre
    appendChunk(png, "pHYs", density);
    // A title in Latin-1 as plain text, which every reader shows; any other
    // as international text: keyword, no compression, no language, UTF-8.
    const QString shown = OneLineTitle(title);
    const QByteArray latin1 = shown.toLatin1();
    if (QString::fromLatin1(latin1) == shown)
        appendChunk(png, "tEXt", QByteArray("Title\0", 6) + latin1);
    else
        appendChunk(png, "iTXt", QByteArray("Title\0\0\0\0\0", 10) + shown.toUtf8());
    appendChunk(png, "tEXt", QByteArray("Software\0Varno", 14));
    appendChunk(png, "IDAT", deflated);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

QByteArray pngBytes(const Picture &picture, const QSize &size, const QString &title)
{
    const QImage image = PictureToImage(picture, size, PicturePixelRatio, PictureFileFont());
    if (image.isNull())
        return {};
    // Printed at its logical size: 96 logical units to the inch.
    const int dotsPerMeter = int(std::lround(96.0 * PicturePixelRatio / 0.0254));
    return encodePng(image, title, dotsPerMeter);
}

} // namespace

QString PictureFileName(const QString &name, PictureKind kind, PictureFormat format)
{
    const QLatin1String extension(format == PictureFormat::Svg ? ".svg" : ".png");
    return name + u'-' + PictureFileSuffix(kind) + extension;
}

QByteArray PictureFileBytes(const Picture &picture, PictureFormat format, const QSize &size, const QString &title)
{
    if (format == PictureFormat::Svg)
        return PictureToSvg(picture, size, title, PictureFileFont());
    return pngBytes(picture, size, title);
}

PictureWriteResult WriteResultPictures(const ResultPictures &pictures, const QString &folder, const QString &name,
                                       const QString &projectTitle, PictureFormat format, const QSize &size)
{
    PictureWriteResult result;
    auto folderFails = [&](const QString &why) {
        result.ok = false;
        result.folderFailed = true;
        result.error = QStringLiteral("Der Ordner %1 %2.").arg(quoted(folder), why);
        return result;
    };
    const QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder))
        return folderFails(QStringLiteral("kann nicht angelegt werden"));
    if (!QFileInfo(folder).isDir())
        return folderFails(QStringLiteral("ist kein Ordner"));

    for (int k = 0; k < PictureKindCount; ++k) {
        const auto kind = PictureKind(k);
        const QString path = dir.filePath(PictureFileName(name, kind, format));
        const QString title = projectTitle + QStringLiteral(" \u2013 ") + PictureCaption(kind);
        const QByteArray bytes = PictureFileBytes(pictures.get(kind), format, size, title);
        if (bytes.isEmpty()) {
            result.ok = false;
            result.error = QStringLiteral("Das Bild %1 kann nicht erzeugt werden.").arg(quoted(path));
            return result;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            if (!QFileInfo(folder).isWritable())
                return folderFails(QStringLiteral("ist nicht beschreibbar"));
            result.ok = false;
            result.error = QStringLiteral("Das Bild %1 kann nicht geschrieben werden (%2).")
                               .arg(quoted(path), SystemErrorText(file));
            return result;
        }
        // The flush reports a disk that took only part of the bytes.
        if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
            result.ok = false;
            result.error = QStringLiteral("Das Bild %1 kann nicht geschrieben werden (%2).")
                               .arg(quoted(path), SystemErrorText(file));
            return result;
        }
    }
    return result;
}

} // namespace varno
