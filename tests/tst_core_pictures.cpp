// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The result pictures as files: what a user checks in an SVG or PNG file
// (it opens, shows the label texts, its lines lie where the display list
// puts them, the diagram has its colour) and how the files are written.

#include "analysis/analysis.h"
#include "filesizelimit.h"
#include "graphics/drawing.h"
#include "io/picturefiles.h"
#include "io/report.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <vector>

using namespace varno;

namespace {

// Single span 6 m, uniform load 10 kN/m: MF1 = 45 at midspan, shear +-30.
ProjectTexts singleSpan()
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {"6", "0", "0", "0", "0"};
    for (auto &region : t.uniform)
        region = {"0", "0", "0", "0"};
    t.uniform[Span1 - 1] = {"10", "0", "0", "0"};
    return t;
}

ResultPictures picturesOf(const ProjectTexts &texts)
{
    ResultSet results;
    const AnalysisOutcome outcome = RunAnalysis(texts, results);
    if (outcome.refused)
        qFatal("test beam refused");
    DesignState design;
    DesignInputs inputs;
    inputs.widthText = QStringLiteral("8");
    inputs.spanLimitText = QStringLiteral("300");
    inputs.cantileverLimitText = QStringLiteral("150");
    RunDesign(results, inputs, design, QLocale::c());
    return MakeResultPictures(ReadBeam(texts), results, design, QLocale::c());
}

struct SvgContent
{
    bool wellFormed = false;
    QString viewBox;
    QString title;
    QStringList texts;
    std::vector<std::pair<QColor, QLineF>> segments;   // stroke colour, segment in user units
};

QTransform svgTransform(const QString &attribute)
{
    static const QRegularExpression matrix(QStringLiteral(R"(matrix\(([^)]*)\))"));
    const QRegularExpressionMatch m = matrix.match(attribute);
    if (!m.hasMatch())
        return {};
    const QStringList v = m.captured(1).split(u',');
    if (v.size() != 6)
        return {};
    return QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(), v[4].toDouble(),
                      v[5].toDouble());
}

SvgContent readSvg(const QByteArray &bytes)
{
    SvgContent svg;
    QXmlStreamReader xml(bytes);
    struct Group { QColor stroke; QTransform transform; };
    std::vector<Group> groups{{}};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"g")
            groups.pop_back();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"svg") {
            svg.viewBox = a.value(QLatin1String("viewBox")).toString();
        } else if (xml.name() == u"title") {
            svg.title = xml.readElementText();
        } else if (xml.name() == u"g") {
            Group g = groups.back();
            if (a.hasAttribute(QLatin1String("stroke")))
                g.stroke = QColor(a.value(QLatin1String("stroke")).toString());
            if (a.hasAttribute(QLatin1String("transform")))
                g.transform = svgTransform(a.value(QLatin1String("transform")).toString());
            groups.push_back(g);
        } else if (xml.name() == u"text") {
            svg.texts << xml.readElementText();
        } else if (xml.name() == u"polyline") {
            QPolygonF points;
            for (const QString &pair : a.value(QLatin1String("points")).toString().split(u' ', Qt::SkipEmptyParts)) {
                const QStringList xy = pair.split(u',');
                points << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
            }
            points = groups.back().transform.map(points);
            for (int i = 1; i < points.size(); ++i)
                svg.segments.push_back({groups.back().stroke, QLineF(points[i - 1], points[i])});
        }
    }
    svg.wellFormed = !xml.hasError();
    return svg;
}

bool near(const QPointF &a, const QPointF &b)
{
    return std::abs(a.x() - b.x()) < 0.01 && std::abs(a.y() - b.y()) < 0.01;
}

bool hasSegment(const SvgContent &svg, const QColor &color, const QLineF &line)
{
    for (const auto &[stroke, segment] : svg.segments)
        if (stroke == color && near(segment.p1(), line.p1()) && near(segment.p2(), line.p2()))
            return true;
    return false;
}

QStringList visibleLabelTexts(const Picture &picture)
{
    QStringList texts;
    for (const DisplayLabel &label : picture.labels)
        if (label.visible)
            texts << label.text;
    return texts;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class tst_CorePictures : public QObject
{
    Q_OBJECT

private slots:
    void momentAndShearLieOverTheSystem();
    void svgIsAPictureOfTheDisplayList_data();
    void svgIsAPictureOfTheDisplayList();
    void pngHasItsSizeAndTheDiagramColour_data();
    void pngHasItsSizeAndTheDiagramColour();
    void noHorizontalScaleGivesNoPicture();
    void writesThreeFilesNamedAfterTheProject_data();
    void writesThreeFilesNamedAfterTheProject();
    void fullDiskLeavesTheOldFiles();
    void folderThatCannotBeMade();
    void picturePageShowsTheThreePictures();
};

void tst_CorePictures::momentAndShearLieOverTheSystem()
{
    const ResultPictures p = picturesOf(singleSpan());
    QVERIFY(p.drawable);
    const std::size_t base = p.system.items.size();
    QVERIFY(base > 0);
    QVERIFY(p.moment.items.size() > base);
    QVERIFY(p.shear.items.size() > base);
    for (const Picture *diagram : {&p.moment, &p.shear}) {
        for (std::size_t i = 0; i < base; ++i) {
            QCOMPARE(diagram->items[i].a, p.system.items[i].a);
            QCOMPARE(diagram->items[i].b, p.system.items[i].b);
        }
        QCOMPARE(visibleLabelTexts(*diagram), visibleLabelTexts(p.system));
    }
    QCOMPARE(p.moment.items.back().color, PaletteRed);
    QCOMPARE(p.shear.items.back().color, PaletteGreen);
}

void tst_CorePictures::svgIsAPictureOfTheDisplayList_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("color");      // of the lines that are checked one by one
    QTest::addColumn<QLineF>("mainLine");   // in the frame 1000 x 300

    // The moment at midspan, 45 = governing moment, lies 90 units below the
    // axis at x = 500; the sample before it (2.4 m, M = 43.2) at x = 420. The
    // shear runs from +30 at A (y = 210) straight to -30 at B (y = 30).
    QTest::newRow("system") << int(SystemPicture) << QSize(1000, 300) << PaletteBlack
                            << QLineF(100, 120, 900, 120);
    QTest::newRow("moment") << int(MomentPicture) << QSize(1000, 300) << PaletteRed
                            << QLineF(420, 120 + 43.2 / 45 * 90, 500, 210);
    QTest::newRow("shear") << int(ShearPicture) << QSize(1000, 300) << PaletteGreen << QLineF(100, 210, 900, 30);
    QTest::newRow("moment, larger and wider") << int(MomentPicture) << QSize(2000, 900) << PaletteRed
                                              << QLineF(420, 120 + 43.2 / 45 * 90, 500, 210);
}

void tst_CorePictures::svgIsAPictureOfTheDisplayList()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);
    QFETCH(QColor, color);
    QFETCH(QLineF, mainLine);

    const ResultPictures pictures = picturesOf(singleSpan());
    const Picture &picture = pictures.get(PictureKind(kind));
    const QString title = QStringLiteral("balken.lof \u2013 ") + PictureCaption(PictureKind(kind));
    const SvgContent svg = readSvg(PictureFileBytes(picture, PictureFormat::Svg, size, title));

    QVERIFY(svg.wellFormed);
    QCOMPARE(svg.viewBox, QStringLiteral("0 0 %1 %2").arg(size.width()).arg(size.height()));
    QCOMPARE(svg.title, title);
    const QStringList labels = visibleLabelTexts(picture);
    QVERIFY(labels.contains(QStringLiteral("6.00")));
    QVERIFY(labels.contains(QStringLiteral("10.00")));
    for (const QString &text : labels)
        QVERIFY2(svg.texts.contains(text), qPrintable(text));

    const QTransform toFile = QTransform::fromScale(size.width() / FrameWidth, size.height() / FrameHeight);
    QVERIFY2(hasSegment(svg, color, toFile.map(mainLine)), "main line");
    int checked = 0;
    for (const DisplayItem &item : picture.items) {
        // A line of zero length (a region of length 0) draws nothing.
        if (item.kind != DisplayItem::Line || item.color != color || item.a == item.b)
            continue;
        QVERIFY2(hasSegment(svg, color, toFile.map(QLineF(item.a, item.b))),
                 qPrintable(QStringLiteral("(%1, %2)").arg(item.a.x()).arg(item.a.y())));
        ++checked;
    }
    QVERIFY(checked >= 2);
}

void tst_CorePictures::pngHasItsSizeAndTheDiagramColour_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("onLine");    // frame units
    QTest::addColumn<QColor>("color");

    QTest::newRow("default size, moment at midspan") << int(MomentPicture) << QSize(1000, 300) << QPointF(500, 210)
                                                     << PaletteRed;
    QTest::newRow("default size, shear at 1.5 m") << int(ShearPicture) << QSize(1000, 300) << QPointF(300, 165)
                                                  << PaletteGreen;
    QTest::newRow("half as wide, moment") << int(MomentPicture) << QSize(500, 300) << QPointF(500, 210) << PaletteRed;
    QTest::newRow("system, beam") << int(SystemPicture) << QSize(1000, 300) << QPointF(700, 120) << PaletteBlack;
}

void tst_CorePictures::pngHasItsSizeAndTheDiagramColour()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);
    QFETCH(QPointF, onLine);
    QFETCH(QColor, color);

    const ResultPictures pictures = picturesOf(singleSpan());
    const QByteArray bytes =
        PictureFileBytes(pictures.get(PictureKind(kind)), PictureFormat::Png, size, QStringLiteral("balken.lof"));
    QVERIFY(bytes.startsWith("\x89PNG"));
    const QImage image = QImage::fromData(bytes, "PNG");
    QCOMPARE(image.size(), size * 2);
    QCOMPARE(image.text(QStringLiteral("Title")), QStringLiteral("balken.lof"));
    // A title beyond Latin-1 goes into the international text chunk.
    const QString title = QStringLiteral("balken.lof \u2013 Momentenlinie");
    QVERIFY(PictureFileBytes(pictures.get(PictureKind(kind)), PictureFormat::Png, size, title)
                .contains(QByteArray("iTXtTitle\0\0\0\0\0", 14) + title.toUtf8()));

    // Two pixels per unit; the line is two units wide around its point.
    const double px = onLine.x() * size.width() / FrameWidth * 2;
    const double py = onLine.y() * size.height() / FrameHeight * 2;
    bool found = false;
    for (int dy = -2; dy <= 2 && !found; ++dy)
        found = image.pixelColor(int(px), int(py) + dy) == color;
    QVERIFY2(found, qPrintable(image.pixelColor(int(px), int(py)).name()));
    QCOMPARE(image.pixelColor(int(px), int(py) + int(40 * size.height() / FrameHeight)), PictureBackground);
}

void tst_CorePictures::noHorizontalScaleGivesNoPicture()
{
    ProjectTexts t = singleSpan();
    QVERIFY(picturesOf(t).drawable);
    // All lengths 0, or a left cantilever that cancels the span.
    for (const std::array<QString, RegionCount> &lengths :
         {std::array<QString, RegionCount>{"0", "0", "0", "0", "0"},
          std::array<QString, RegionCount>{"6", "0", "0", "-6", "0"}}) {
        t.lengths = lengths;
        ResultSet results;
        QVERIFY(!MakeResultPictures(ReadBeam(t), results, DesignState(), QLocale::c()).drawable);
    }
}

void tst_CorePictures::writesThreeFilesNamedAfterTheProject_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("svg") << int(PictureFormat::Svg) << QByteArray("<?xml");
    QTest::newRow("png") << int(PictureFormat::Png) << QByteArray("\x89PNG");
}

void tst_CorePictures::writesThreeFilesNamedAfterTheProject()
{
    QFETCH(int, format);
    QFETCH(QByteArray, magic);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("bilder/neu"));
    const auto f = PictureFormat(format);
    const PictureWriteResult result =
        WriteResultPictures(picturesOf(singleSpan()), folder, QStringLiteral("balken"),
                            QStringLiteral("balken.lof"), f, DefaultPictureSize);
    QVERIFY2(result.ok, qPrintable(result.error));
    const QString ext = f == PictureFormat::Svg ? QStringLiteral("svg") : QStringLiteral("png");
    QCOMPARE(filesIn(folder), (QStringList{"balken-moment." + ext, "balken-shear." + ext, "balken-system." + ext}));
    for (const QString &name : filesIn(folder)) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.read(magic.size()) == magic, qPrintable(name));
    }
}

void tst_CorePictures::fullDiskLeavesTheOldFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ResultPictures pictures = picturesOf(singleSpan());
    QFile old(dir.filePath(QStringLiteral("balken-system.png")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();

    PictureWriteResult result;
    {
        test::FileSizeLimit limit(100);
        if (!limit.active())
            QSKIP("the file size limit cannot be set");
        result = WriteResultPictures(pictures, dir.path(), QStringLiteral("balken"), QStringLiteral("balken.lof"),
                                     PictureFormat::Png, DefaultPictureSize);
    }
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QStringLiteral("balken-system.png")), qPrintable(result.error));
    // The old file stands as it was, and no half or temporary file is left.
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("balken-system.png")});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("alt"));
}

void tst_CorePictures::folderThatCannotBeMade()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("datei")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString &folder : {blocker.fileName(), blocker.fileName() + QStringLiteral("/unter")}) {
        const PictureWriteResult result =
            WriteResultPictures(picturesOf(singleSpan()), folder, QStringLiteral("balken"),
                                QStringLiteral("balken.lof"), PictureFormat::Svg, DefaultPictureSize);
        QVERIFY(!result.ok);
        QVERIFY(result.folderFailed);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(folder)), qPrintable(result.error));
    }
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("datei")});
}

void tst_CorePictures::picturePageShowsTheThreePictures()
{
    // The page drawn into an image: the captions' band stays white, the
    // pictures fill the width with their background, and each diagram shows
    // in its own picture.
    const ResultPictures pictures = picturesOf(singleSpan());
    std::vector<ReportPicture> page;
    for (int k = 0; k < PictureKindCount; ++k)
        page.push_back({PictureCaption(PictureKind(k)), pictures.get(PictureKind(k))});
    QImage image(800, 1100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPicturePage(painter, image, page);
    painter.end();

    auto rowsOf = [&](const QColor &color) {
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    const std::vector<int> background = rowsOf(PictureBackground);
    QVERIFY(!background.empty());
    QCOMPARE(image.pixelColor(0, background.front()), PictureBackground);
    QCOMPARE(image.pixelColor(799, background.front()), PictureBackground);
    // Three bands of 800 * 0.3 = 240 rows each.
    int bands = 1;
    for (std::size_t i = 1; i < background.size(); ++i)
        if (background[i] != background[i - 1] + 1)
            ++bands;
    QCOMPARE(bands, 3);
    QVERIFY(std::abs(int(background.size()) - 3 * 240) <= 3);
    const std::vector<int> red = rowsOf(PaletteRed);
    const std::vector<int> green = rowsOf(PaletteGreen);
    QVERIFY(!red.empty());
    QVERIFY(!green.empty());
    QVERIFY(red.front() > background.front() + 240);
    QVERIFY(red.back() < green.front());
}

QTEST_MAIN(tst_CorePictures)
#include "tst_core_pictures.moc"
