#include "io/picturefiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cmath>

namespace varno {

namespace {

QString quoted(const QString &path)
{
    return QStringLiteral("\u201E%1\u201C").arg(QDir::toNativeSeparators(path));
}

QByteArray pngBytes(const Picture &picture, const QSize &size, const QString &title)
{
    QImage image = PictureToImage(picture, size, PicturePixelRatio, PictureFileFont());
    // Printed at its logical size: 96 logical units to the inch.
    const int dotsPerMeter = int(std::lround(96.0 * PicturePixelRatio / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.setText(QStringLiteral("Title"), title);
    image.setText(QStringLiteral("Software"), QStringLiteral("Varno"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {};
    return buffer.data();
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
                               .arg(quoted(path), file.errorString());
            return result;
        }
        // The flush reports a disk that took only part of the bytes.
        if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
            result.ok = false;
            result.error = QStringLiteral("Das Bild %1 kann nicht geschrieben werden (%2).")
                               .arg(quoted(path), file.errorString());
            return result;
        }
    }
    return result;
}

} // namespace varno
