// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/ecsketch.h"
#include "io/report.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace varno;

namespace {

// The printable area of an A4 page with the report's margins, at 100 dpi.
QImage page()
{
    const QMarginsF margins = ReportPageMargins();
    const auto pixels = [](double mm) { return int(std::lround(mm / 25.4 * 100)); };
    QImage image(pixels(210 - margins.left() - margins.right()), pixels(297 - margins.top() - margins.bottom()),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    return image;
}

ReportTexts defaultTexts()
{
    ReportTexts t;
    t.firma = QStringLiteral("Geben Sie hier Ihren Firmennamen ein");
    t.projekt = QStringLiteral("Neubau EFH");
    t.position = QStringLiteral("Decke \u00FCber EG");
    // The name exactly as the three-span command writes it.
    t.systemTypeName = QStringLiteral("Dreifeltr\u00E4ger");
    for (int i = 0; i < RegionCount; ++i)
        t.lengths[i] = texts::DefaultLengths[i];
    for (int i = 0; i < ReportResultCount; ++i)
        t.results[i] = QStringLiteral("Zeile %1 = 1.00  kN").arg(i);
    for (int i = 0; i < ReportDesignCount; ++i)
        t.design[i] = QStringLiteral("Bemessung %1").arg(i);
    t.width = QStringLiteral("8.0");
    t.locale = QLocale::c();
    return t;
}

const ReportText *findText(const ReportLayout &layout, const QString &text)
{
    for (const ReportText &placed : layout.texts)
        if (placed.text == text)
            return &placed;
    return nullptr;
}

std::vector<const ReportText *> textsOnLine(const ReportLayout &layout, int line)
{
    std::vector<const ReportText *> out;
    for (const ReportText &placed : layout.texts)
        if (placed.line == line)
            out.push_back(&placed);
    return out;
}

// Arial's average character width is 904/2048 of the font size; its
// metric twins share the advance widths and so the columns.
constexpr double ArialAverageWidth = 904.0 / 2048.0;

// Whether x (user frame) lies at a tab column of a font size on the device,
// within what rounding the advances to whole pixels can make.
bool atColumn(const QImage &device, double x, double pointSize, int column)
{
    const double pixelsPerPoint = device.logicalDpiX() / 72.0;
    const double expected = (column - 1) * ArialAverageWidth * pointSize * pixelsPerPoint;
    const double deviceX = (x - ReportFrameLeft) * device.width() / (ReportFrameRight - ReportFrameLeft);
    return std::abs(deviceX - expected) <= 0.02 * expected + 1;
}

double textRight(const QImage &device, const ReportText &placed)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(placed.pointSize);
    const double width = QFontMetricsF(font, &device).horizontalAdvance(placed.text);
    return placed.x + width * (ReportFrameRight - ReportFrameLeft) / device.width();
}

bool hasLine(const ReportLayout &layout, QLineF line, int width)
{
    for (const ReportLine &placed : layout.lines) {
        const bool same = (std::abs(placed.line.x1() - line.x1()) < 1e-9 && std::abs(placed.line.y1() - line.y1()) < 1e-9
                           && std::abs(placed.line.x2() - line.x2()) < 1e-9
                           && std::abs(placed.line.y2() - line.y2()) < 1e-9);
        if (same && placed.width == width)
            return true;
    }
    return false;
}

QString simplified(const QString &text)
{
    return text.simplified();
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void textFlow_data();
    void textFlow();
    void lineHeightFollowsFont();
    void lengthLine();
    void lengthLineUsesLocale();
    void widestLinesFitOnThePage();
    void supports_data();
    void supports();
    void emptyProjectInformationKeepsLayout();
    void multiLineProjectTextStaysOnItsLine();
    void zeroLengthsGiveNoDrawing();
    void tabLeftOfCurrentPositionContinuesOnNextLine();
    void overlongFlowContinuesOnNextPage();
    void paintsOntoImage();
    void pdfHoldsTheTexts();
    void pdfToMissingFolderFails();
    void ecSketch_data();
    void ecSketch();
};

void TestReport::textFlow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("pointSize");
    QTest::newRow("Firma") << "Geben Sie hier Ihren Firmennamen ein" << 3 << 15 << 12.0;
    QTest::newRow("Projekt") << "Neubau EFH" << 6 << 15 << 12.0;
    QTest::newRow("Position") << QStringLiteral("Decke \u00FCber EG") << 8 << 18 << 10.0;
    QTest::newRow("System") << "System" << 11 << 18 << 10.0;
    QTest::newRow("system name") << QStringLiteral("Dreifeltr\u00E4ger") << 11 << 40 << 10.0;
    QTest::newRow("Momente") << "Momente" << 23 << 18 << 10.0;
    QTest::newRow("MA") << "Zeile 0 = 1.00  kN" << 25 << 30 << 10.0;
    QTest::newRow("MF1") << "Zeile 4 = 1.00  kN" << 25 << 70 << 10.0;
    QTest::newRow("MB") << "Zeile 1 = 1.00  kN" << 26 << 30 << 10.0;
    QTest::newRow("MF3") << "Zeile 6 = 1.00  kN" << 27 << 70 << 10.0;
    QTest::newRow("MD alone") << "Zeile 3 = 1.00  kN" << 28 << 30 << 10.0;
    QTest::newRow("Querkraefte") << QStringLiteral("Querkr\u00E4fte") << 33 << 18 << 10.0;
    QTest::newRow("Ali") << "Zeile 7 = 1.00  kN" << 35 << 30 << 10.0;
    QTest::newRow("Are") << "Zeile 8 = 1.00  kN" << 35 << 60 << 10.0;
    QTest::newRow("Dre") << "Zeile 14 = 1.00  kN" << 38 << 60 << 10.0;
    QTest::newRow("Auflagerkraefte") << QStringLiteral("Auflagerkr\u00E4fte") << 40 << 18 << 10.0;
    QTest::newRow("A") << "Zeile 15 = 1.00  kN" << 42 << 30 << 10.0;
    QTest::newRow("D") << "Zeile 18 = 1.00  kN" << 43 << 60 << 10.0;
    QTest::newRow("Dimension") << "Dimension" << 48 << 18 << 10.0;
    QTest::newRow("timber grade") << "Bemessung 0" << 50 << 30 << 10.0;
    QTest::newRow("timber Wy") << "Bemessung 1" << 51 << 30 << 10.0;
    QTest::newRow("width") << "b = 8.0 cm" << 52 << 30 << 10.0;
    QTest::newRow("timber h") << "Bemessung 4" << 53 << 30 << 10.0;
    QTest::newRow("timber verdict") << "Bemessung 9" << 54 << 30 << 10.0;
    QTest::newRow("steel grade") << "Bemessung 5" << 56 << 30 << 10.0;
    QTest::newRow("steel Wy") << "Bemessung 6" << 57 << 30 << 10.0;
    QTest::newRow("profile") << "Bemessung 8" << 58 << 30 << 10.0;
    QTest::newRow("steel verdict") << "Bemessung 10" << 59 << 30 << 10.0;
}

void TestReport::textFlow()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(double, pointSize);
    const QImage device = page();
    const ReportLayout layout = LayoutReport(defaultTexts(), device);
    const ReportText *placed = findText(layout, text);
    QVERIFY2(placed, qPrintable(text));
    QCOMPARE(placed->line, line);
    QCOMPARE(placed->column, column);
    QCOMPARE(placed->pointSize, pointSize);
    QCOMPARE(placed->page, 0);
    QVERIFY2(atColumn(device, placed->x, pointSize, column), qPrintable(QString::number(placed->x)));
    // The captions of design lines 2, 3 and 7 are not printed.
    QVERIFY(!findText(layout, QStringLiteral("Bemessung 2")));
    QVERIFY(!findText(layout, QStringLiteral("Bemessung 7")));
}

void TestReport::lineHeightFollowsFont()
{
    const QImage device = page();
    const ReportLayout layout = LayoutReport(defaultTexts(), device);
    auto height = [&](double size) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(size);
        return QFontMetricsF(font, &device).height() * (ReportFrameBottom - ReportFrameTop) / device.height();
    };
    const double firmaY = findText(layout, QStringLiteral("Geben Sie hier Ihren Firmennamen ein"))->y;
    const double projektY = findText(layout, QStringLiteral("Neubau EFH"))->y;
    const double positionY = findText(layout, QStringLiteral("Decke \u00FCber EG"))->y;
    const double systemY = findText(layout, QStringLiteral("System"))->y;
    const double momenteY = findText(layout, QStringLiteral("Momente"))->y;
    QCOMPARE(firmaY - ReportFrameTop, 3 * height(12));
    QVERIFY(std::abs(projektY - firmaY - 3 * height(12)) < 1e-6);
    // The empty line after the switch to 10 pt is a 10 pt line.
    QVERIFY(std::abs(positionY - projektY - height(12) - height(10)) < 1e-6);
    QVERIFY(std::abs(systemY - positionY - 3 * height(10)) < 1e-6);
    // Eight empty lines at 10 pt, the length line at 8 pt, two empty lines.
    QVERIFY(std::abs(momenteY - systemY - 9 * height(10) - height(8) - 2 * height(10)) < 1e-6);
    // The beam lies in the room of the eight empty lines.
    QVERIFY(systemY + height(10) < 120);
    QVERIFY(systemY + 9 * height(10) > 240);
}

void TestReport::lengthLine()
{
    const QImage device = page();
    const ReportLayout layout = LayoutReport(defaultTexts(), device);
    const auto line = textsOnLine(layout, 20);
    QCOMPARE(line.size(), std::size_t(5));
    const int columns[] = {35, 55, 90, 120, 140};
    const char *values[] = {"0.00", "6.00", "6.00", "5.00", "0.00"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(line[i]->column, columns[i]);
        QCOMPARE(line[i]->text, QString::fromLatin1(values[i]));
        QCOMPARE(line[i]->pointSize, 8.0);
        QVERIFY(atColumn(device, line[i]->x, 8, columns[i]));
    }
    QVERIFY(line[3]->x < line[4]->x);
    QVERIFY(textRight(device, *line[4]) < ReportFrameRight);
}

void TestReport::lengthLineUsesLocale()
{
    ReportTexts texts = defaultTexts();
    texts.locale = QLocale(QLocale::German, QLocale::Germany);
    texts.lengths = {QStringLiteral("4.5m"), QStringLiteral("0"), QStringLiteral(""), QStringLiteral("1.5"),
                     QStringLiteral("-0.00")};
    const QImage device = page();
    const ReportLayout layout = LayoutReport(texts, device);
    QStringList got;
    for (const ReportText *placed : textsOnLine(layout, 20))
        got << placed->text;
    // Left cantilever, L1, L2, L3, right cantilever.
    QCOMPARE(got, (QStringList{"1,50", "4,50", "0,00", "0,00", "0,00"}));
}

void TestReport::widestLinesFitOnThePage()
{
    ReportTexts texts = defaultTexts();
    texts.lengths = {QStringLiteral("12345.67"), QStringLiteral("12345.67"), QStringLiteral("12345.67"),
                     QStringLiteral("12345.67"), QStringLiteral("12345.67")};
    texts.results[4] = QStringLiteral("Feldmoment   MF1 = -12345.67  kNm");
    texts.results[8] = QStringLiteral("Querkraft  Are = -12345.67  kN");
    texts.results[16] = QStringLiteral("Auflagerkraft  B = -12345.67  kN");
    texts.design[10] = QStringLiteral("Stahl:  Normalspannung maßgebend!");
    const QImage device = page();
    const ReportLayout layout = LayoutReport(texts, device);
    QCOMPARE(layout.pageCount, 1);
    for (const ReportText &placed : layout.texts)
        QVERIFY2(textRight(device, placed) < ReportFrameRight, qPrintable(placed.text));
    QCOMPARE(findText(layout, texts.results[4])->line, 25);
}

void TestReport::supports_data()
{
    QTest::addColumn<QStringList>("lengths");   // L1, L2, L3, left, right
    QTest::addColumn<double>("T");
    QTest::addColumn<QList<double>>("positions");   // A, D, C, B
    const double s17 = 800.0 / 17;
    QTest::newRow("defaults") << QStringList{"6.00", "6.00", "5.00", "0.00", "0.00"} << 17.0
                              << QList<double>{100, 900, 900 - 5 * s17, 900 - 11 * s17};
    QTest::newRow("both cantilevers") << QStringList{"4", "0", "0", "1", "3"} << 8.0
                                      << QList<double>{200, 600, 600, 600};
    QTest::newRow("two spans, typed texts") << QStringList{"3m", "5", "0.00", "", "2"} << 10.0
                                            << QList<double>{100, 740, 740, 340};
}

void TestReport::supports()
{
    QFETCH(QStringList, lengths);
    QFETCH(double, T);
    QFETCH(QList<double>, positions);
    ReportTexts texts = defaultTexts();
    for (int i = 0; i < RegionCount; ++i)
        texts.lengths[i] = lengths[i];
    const QImage device = page();
    const ReportLayout layout = LayoutReport(texts, device);
    QVERIFY(layout.hasDrawing);
    QCOMPARE(layout.totalLength, T);
    for (int i = 0; i < 4; ++i) {
        const double x = positions[i];
        QVERIFY2(hasLine(layout, QLineF(x, 240, x, 190), 1), qPrintable(QString::number(i)));
        QVERIFY(hasLine(layout, QLineF(x, 120, x - 20, 150), 1));
        QVERIFY(hasLine(layout, QLineF(x - 20, 150, x + 20, 150), 1));
        QVERIFY(hasLine(layout, QLineF(x + 20, 150, x, 120), 1));
        // A stands on its triangle alone; D, C and B have the ground line.
        QCOMPARE(hasLine(layout, QLineF(x - 20, 160, x + 20, 160), 1), i > 0);
    }
    QVERIFY(hasLine(layout, QLineF(100, 120, 900, 120), 2));   // the beam, the one wide line
    QVERIFY(hasLine(layout, QLineF(90, 220, 910, 220), 1));
    QVERIFY(hasLine(layout, QLineF(100, 240, 100, 190), 1));
    QVERIFY(hasLine(layout, QLineF(900, 240, 900, 190), 1));
    // Beam, dimension line, six ticks, four triangles, three ground lines.
    QCOMPARE(layout.lines.size(), std::size_t(1 + 1 + 6 + 4 * 3 + 3));
    QCOMPARE(std::count_if(layout.lines.begin(), layout.lines.end(), [](const ReportLine &l) { return l.width == 2; }),
             1);
}

void TestReport::emptyProjectInformationKeepsLayout()
{
    const QImage device = page();
    const ReportLayout full = LayoutReport(defaultTexts(), device);
    ReportTexts texts = defaultTexts();
    texts.firma.clear();
    texts.projekt.clear();
    texts.position.clear();
    texts.systemTypeName.clear();
    const ReportLayout empty = LayoutReport(texts, device);
    QCOMPARE(empty.texts.size(), full.texts.size());
    for (std::size_t i = 0; i < full.texts.size(); ++i) {
        QCOMPARE(empty.texts[i].line, full.texts[i].line);
        QCOMPARE(empty.texts[i].x, full.texts[i].x);
        QCOMPARE(empty.texts[i].y, full.texts[i].y);
    }
    QCOMPARE(findText(empty, QStringLiteral("Momente"))->line, 23);
}

void TestReport::multiLineProjectTextStaysOnItsLine()
{
    const QImage device = page();
    ReportTexts texts = defaultTexts();
    texts.firma = QStringLiteral("Ingenieurb\u00FCro Quast\r\nMusterstra\u00DFe 1\n");
    const ReportLayout layout = LayoutReport(texts, device);
    const ReportText *firma = findText(layout, QStringLiteral("Ingenieurb\u00FCro Quast, Musterstra\u00DFe 1"));
    QVERIFY(firma);
    QCOMPARE(firma->line, 3);
    QCOMPARE(findText(layout, QStringLiteral("Momente"))->line, 23);
}

void TestReport::zeroLengthsGiveNoDrawing()
{
    ReportTexts texts = defaultTexts();
    texts.lengths = {QStringLiteral("0.00"), QStringLiteral("0"), QString(), QStringLiteral("x"),
                     QStringLiteral("-0")};
    QImage device = page();
    const ReportLayout layout = LayoutReport(texts, device);
    QVERIFY(!layout.hasDrawing);
    QVERIFY(layout.lines.empty());
    QCOMPARE(findText(layout, QStringLiteral("Bemessung 10"))->line, 59);
    QPainter painter(&device);
    PaintReport(painter, layout);
    painter.end();
    // The texts are still printed.
    QVERIFY(device.copy(0, 0, device.width(), device.height() / 2) != page().copy(0, 0, device.width(), device.height() / 2));

    // Lengths that cancel out have no scale either.
    texts.lengths = {QStringLiteral("6"), QStringLiteral("-6"), QString(), QString(), QString()};
    QVERIFY(!LayoutReport(texts, device).hasDrawing);
}

void TestReport::tabLeftOfCurrentPositionContinuesOnNextLine()
{
    ReportTexts texts = defaultTexts();
    texts.results[0] = QString(60, u'M');   // MA reaches past column 70
    const QImage device = page();
    const ReportLayout layout = LayoutReport(texts, device);
    const ReportText *mf1 = findText(layout, QStringLiteral("Zeile 4 = 1.00  kN"));
    QCOMPARE(mf1->line, 26);
    QCOMPARE(mf1->column, 70);
    QVERIFY(atColumn(device, mf1->x, 10, 70));
    // Everything below moves down one line.
    QCOMPARE(findText(layout, QStringLiteral("Zeile 1 = 1.00  kN"))->line, 27);
    QCOMPARE(findText(layout, QStringLiteral("Bemessung 10"))->line, 60);
}

void TestReport::overlongFlowContinuesOnNextPage()
{
    ReportTexts texts = defaultTexts();
    QImage device(669, 500, QImage::Format_RGB32);   // a short page
    device.setDotsPerMeterX(3937);
    device.setDotsPerMeterY(3937);
    const ReportLayout layout = LayoutReport(texts, device);
    QVERIFY(layout.pageCount > 1);
    const ReportText *last = findText(layout, QStringLiteral("Bemessung 10"));
    QCOMPARE(last->page, layout.pageCount - 1);
    for (const ReportText &placed : layout.texts)
        QVERIFY(placed.baseline.y() < device.height());
}

void TestReport::paintsOntoImage()
{
    QImage device = page();
    const ReportLayout layout = LayoutReport(defaultTexts(), device);
    QPainter painter(&device);
    PaintReport(painter, layout);
    painter.end();
    // The beam (2 px at 100 dpi) is dark at its middle, the area above blank.
    const QPoint middle = layout.userToDevice.map(QPointF(500, 120)).toPoint();
    QVERIFY(QColor(device.pixel(middle)).lightness() < 128);
    const QPoint above = layout.userToDevice.map(QPointF(500, 60)).toPoint();
    QCOMPARE(QColor(device.pixel(above)), QColor(Qt::white));
}

void TestReport::pdfHoldsTheTexts()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    ReportTexts texts = defaultTexts();
    texts.firma = QStringLiteral("Ingenieurb\u00FCro M\u00FCller");
    texts.results[0] = QStringLiteral("St\u00FCtzmoment  MA  = -12.50  kNm");
    texts.results[18] = QStringLiteral("Auflagerkraft  D = 14.75  kN");
    texts.design[0] = QStringLiteral("Holz   S 10 / MS 10");
    texts.design[10] = QStringLiteral("Stahl:  Normalspannung ma\u00DFgebend!");
    QString error;
    QVERIFY2(WriteReportPdf(path, texts, &error), qPrintable(error));

    QProcess process;
    process.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QString text = simplified(QString::fromUtf8(process.readAllStandardOutput()));
    const QStringList expected = {
        texts.firma, texts.projekt, texts.position, QStringLiteral("System"), texts.systemTypeName,
        QStringLiteral("0.00"), QStringLiteral("Momente"), simplified(texts.results[0]),
        simplified(texts.results[18]), QStringLiteral("Querkr\u00E4fte"), QStringLiteral("Auflagerkr\u00E4fte"),
        QStringLiteral("Dimension"), simplified(texts.design[0]), QStringLiteral("b = 8.0 cm"),
        simplified(texts.design[10])};
    for (const QString &want : expected)
        QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" not in: ") + text));
    QVERIFY(text.indexOf(texts.firma) < text.indexOf(QStringLiteral("Momente")));
    QVERIFY(text.indexOf(QStringLiteral("Momente")) < text.indexOf(QStringLiteral("Dimension")));
}

void TestReport::pdfToMissingFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(!WriteReportPdf(dir.filePath(QStringLiteral("fehlt/bericht.pdf")), defaultTexts(), &error));
    QVERIFY(error.contains(QStringLiteral("bericht.pdf")));
}

// The sketch of the Eurocode report: the support letters under the
// supports, every length centred on its stretch, each uniform load on its
// region and every point load that acts at its place, with F and a. The
// beam runs from x = 100 to 900: on 9 m one metre is 800/9 units.
void TestReport::ecSketch_data()
{
    QTest::addColumn<QStringList>("lengths");   // L1, L2, L3, Lkl, Lkr
    QTest::addColumn<QStringList>("g");         // per region 1..5
    QTest::addColumn<QStringList>("points");    // "slot:F:a"
    QTest::addColumn<QStringList>("labels");    // every label, "text@x" of its centre or "text" alone
    const double k = 800.0 / 9;
    auto at = [](const char *text, double x) { return QStringLiteral("%1@%2").arg(QString::fromUtf8(text)).arg(x); };
    // Supports at 1, 5 and 9 m; the load of span 2 stands beyond it and does not act.
    QTest::newRow("two spans, left cantilever")
        << QStringList{"4", "4", "0", "1", "0"} << QStringList{"1", "1", "0", "0", "0"}
        << QStringList{"0:10:2", "7:5:6", "21:3:0"}
        << QStringList{at("A", 100 + k), at("B", 100 + 5 * k), at("C", 900), at("1,00 m", 100 + 0.5 * k),
                       at("4,00 m", 100 + 3 * k), at("4,00 m", 100 + 7 * k), at("9,00 m", 500), "g [kN/m]",
                       at("1,00", 100 + 3 * k), at("1,00", 100 + 7 * k), at("F = 3,00 kN", 100),
                       at("a = 0,00 m", 100), at("F = 10,00 kN", 100 + 3 * k), at("a = 2,00 m", 100 + 3 * k)};
    QTest::newRow("one span, no load") << QStringList{"5", "0", "0", "0", "0"} << QStringList{"0", "0", "0", "0", "0"}
                                       << QStringList{}
                                       << QStringList{at("A", 100), at("B", 900), at("5,00 m", 500)};
    // Spans 1 and 2 of 3 m each and a right cantilever of 3 m: C carries it.
    QTest::newRow("right cantilever") << QStringList{"3", "3", "0", "0", "3"} << QStringList{"0", "0", "0", "0", "2"}
                                      << QStringList{"24:4:3"}
                                      << QStringList{at("A", 100), at("B", 100 + 800.0 / 3), at("C", 100 + 1600.0 / 3),
                                                     at("3,00 m", 100 + 400.0 / 3), at("3,00 m", 500),
                                                     at("3,00 m", 900 - 400.0 / 3), at("9,00 m", 500), "g [kN/m]",
                                                     at("2,00", 900 - 400.0 / 3), at("F = 4,00 kN", 900),
                                                     at("a = 3,00 m", 900)};
}

void TestReport::ecSketch()
{
    QFETCH(QStringList, lengths);
    QFETCH(QStringList, g);
    QFETCH(QStringList, points);
    QFETCH(QStringList, labels);
    ProjectTexts t = ProjectTexts::Defaults();
    for (int r = 0; r < RegionCount; ++r) {
        t.lengths[r] = lengths[r];
        t.uniform[r].fill(QStringLiteral("0"));
        t.uniform[r][LoadG] = g[r];
    }
    t.force.fill(QStringLiteral("0"));
    for (const QString &p : points) {
        t.force[p.section(u':', 0, 0).toInt()] = p.section(u':', 1, 1);
        t.distance[p.section(u':', 0, 0).toInt()] = p.section(u':', 2, 2);
    }
    const DisplayList list = EcSystemSketch(t, QLocale(QLocale::German, QLocale::Germany));
    QStringList shown;
    for (const DisplayLabel &l : list.labels) {
        QVERIFY(l.visible);
        shown << l.text;
    }
    QCOMPARE(int(list.labels.size()), int(labels.size()));
    for (const QString &expected : labels) {
        const QString text = expected.section(u'@', 0, 0);
        const bool placed = expected.contains(u'@');
        const double x = expected.section(u'@', 1).toDouble();
        const bool found = std::any_of(list.labels.begin(), list.labels.end(), [&](const DisplayLabel &l) {
            return l.text == text && (!placed || std::abs(l.left + l.width / 2 - x) < 0.01);
        });
        QVERIFY2(found, qPrintable(expected + QStringLiteral(" among ") + shown.join(QStringLiteral(", "))));
    }
}

QTEST_MAIN(TestReport)
#include "tst_core_report.moc"
