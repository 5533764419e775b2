// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/drawing.h"

#include <QLineF>
#include <QtTest>

#include <cmath>

using namespace varno;

namespace {

constexpr double Tolerance = 0.01;
constexpr int BaseSketchItems = 23;   // beam, dimension line, 6 ticks, 4 support symbols

bool near(double a, double b)
{
    return std::abs(a - b) < Tolerance;
}

bool sameItem(const DisplayItem &item, const QLineF &expected)
{
    return near(item.a.x(), expected.x1()) && near(item.a.y(), expected.y1()) && near(item.b.x(), expected.x2())
           && near(item.b.y(), expected.y2());
}

QString describe(const DisplayItem &item)
{
    return QStringLiteral("(%1, %2)-(%3, %4)").arg(item.a.x()).arg(item.a.y()).arg(item.b.x()).arg(item.b.y());
}

QString describe(const QLineF &line)
{
    return QStringLiteral("(%1, %2)-(%3, %4)").arg(line.x1()).arg(line.y1()).arg(line.x2()).arg(line.y2());
}

#define COMPARE_ITEM(item, expected)                                                                              \
    QVERIFY2(sameItem((item), (expected)),                                                                        \
             qPrintable(QStringLiteral("got %1, expected %2").arg(describe(item), describe(expected))))

std::array<QString, RegionCount> lengthTexts(const QStringList &texts)
{
    std::array<QString, RegionCount> out;
    for (int i = 0; i < RegionCount; ++i)
        out[i] = texts.value(i, QStringLiteral("0"));
    return out;
}

// Lengths L1, L2, L3, Lkl, Lkr; loads "slot:F:a"; g per region 1..5.
ProjectTexts projectTexts(const QStringList &lengths, const QStringList &loads = {},
                          const QStringList &regionLoads = {})
{
    ProjectTexts t;
    t.lengths = lengthTexts(lengths);
    for (auto &region : t.uniform)
        region.fill(QStringLiteral("0"));
    for (int r = 0; r < regionLoads.size(); ++r)
        t.uniform[r][LoadG] = regionLoads[r];
    t.force.fill(QStringLiteral("0"));
    t.distance.fill(QStringLiteral("0"));
    for (const QString &load : loads) {
        const QStringList parts = load.split(u':');
        t.force[parts[0].toInt()] = parts[1];
        t.distance[parts[0].toInt()] = parts[2];
    }
    return t;
}

QList<QLineF> supportSymbol(double x, bool movable)
{
    QList<QLineF> lines{{x - 20, 150, x, 120}, {x, 120, x + 20, 150}, {x - 20, 150, x + 20, 150}};
    if (movable)
        lines.append({x - 20, 160, x + 20, 160});
    return lines;
}

QList<QLineF> arrow(double x, double shaftTop)
{
    return {{x, shaftTop, x, 110}, {x - 4, 100, x, 110}, {x + 4, 100, x, 110}};
}

QList<int> visibleLabels(const DisplayList &list)
{
    QList<int> out;
    for (int i = 0; i < int(list.labels.size()); ++i)
        if (list.labels[i].visible)
            out.append(i);
    return out;
}

bool usable(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) <= 1e6 && std::abs(p.y()) <= 1e6;
}

} // namespace

class tst_CoreGraphics : public QObject
{
    Q_OBJECT

private slots:
    void sketch_data();
    void sketch();
    void sketchLabelGeometry();
    void captionsFollowLocale();
    void loadPictureLabelGeometry_data();
    void loadPictureLabelGeometry();
    void loadRectangles_data();
    void loadRectangles();
    void pointLoads_data();
    void pointLoads();
    void momentUniformLoad();
    void momentPointLoad();
    void momentIgnoredLoads_data();
    void momentIgnoredLoads();
    void momentBackwardsSegment();
    void momentRestartsAtSupport();
    void momentRightCantileverStart_data();
    void momentRightCantileverStart();
    void shearUniformLoad();
    void shearPointLoad();
    void shearWalkRules_data();
    void shearWalkRules();
    void shearRightCantilever_data();
    void shearRightCantilever();
    void noHorizontalScale_data();
    void noHorizontalScale();
    void flatDiagrams_data();
    void flatDiagrams();
    void hugeInputsStayFinite_data();
    void hugeInputsStayFinite();
};

void tst_CoreGraphics::sketch_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<double>("total");
    QTest::addColumn<QList<double>>("supports");    // first, second, third, last
    QTest::addColumn<QList<double>>("labelLefts");  // -1: hidden

    QTest::newRow("single span 6") << QStringList{"6.00", "0.00", "0.00", "0.00", "0.00"} << 6.0
                                   << QList<double>{100, 900, 900, 900} << QList<double>{-1, 470, -1, -1, -1};
    QTest::newRow("three spans 5, 5, 5") << QStringList{"5", "5", "5", "0", "0"} << 15.0
                                         << QList<double>{100, 366.667, 633.333, 900}
                                         << QList<double>{-1, 203.333, 470, 736.667, -1};
    QTest::newRow("left cantilever 2, span 6") << QStringList{"6", "0", "0", "2", "0"} << 8.0
                                               << QList<double>{300, 900, 900, 900}
                                               << QList<double>{170, 570, -1, -1, -1};
    QTest::newRow("span 6, right cantilever 2") << QStringList{"6", "0", "0", "0", "2"} << 8.0
                                                << QList<double>{100, 700, 700, 700}
                                                << QList<double>{-1, 370, -1, -1, 770};
    QTest::newRow("L2 = 0 with L3 not 0") << QStringList{"4", "0", "4", "0", "0"} << 8.0
                                          << QList<double>{100, 500, 500, 900}
                                          << QList<double>{-1, 270, -1, 670, -1};
    QTest::newRow("text without number counts 0") << QStringList{"6", "abc", "", "0", "0"} << 6.0
                                                  << QList<double>{100, 900, 900, 900}
                                                  << QList<double>{-1, 470, -1, -1, -1};
}

void tst_CoreGraphics::sketch()
{
    QFETCH(QStringList, lengths);
    QFETCH(double, total);
    QFETCH(QList<double>, supports);
    QFETCH(QList<double>, labelLefts);

    CalcSession session;
    const DisplayList list = DrawSystemSketch(lengthTexts(lengths), session, QLocale::c());
    QCOMPARE(session.TotalLength, total);
    QVERIFY(list.clears);

    QList<QLineF> expected{{100, 120, 900, 120}, {90, 220, 910, 220}, {100, 240, 100, 190}, {900, 240, 900, 190}};
    for (int i : {0, 3, 2, 1})   // ticks at first, last, third, second support
        expected.append({supports[i], 240, supports[i], 190});
    expected += supportSymbol(supports[0], false);
    for (int i : {3, 2, 1})
        expected += supportSymbol(supports[i], true);

    QCOMPARE(int(list.items.size()), BaseSketchItems);
    for (int i = 0; i < expected.size(); ++i) {
        COMPARE_ITEM(list.items[i], expected[i]);
        QCOMPARE(list.items[i].kind, DisplayItem::Line);
        QCOMPARE(list.items[i].color, PaletteBlack);
        QCOMPARE(list.items[i].width, i == 0 ? 2 : 1);
    }

    QCOMPARE(int(list.labels.size()), 5);
    for (int i = 0; i < 5; ++i) {
        const DisplayLabel &label = list.labels[i];
        QCOMPARE(label.visible, labelLefts[i] >= 0);
        if (label.visible) {
            QVERIFY2(near(label.left, labelLefts[i]), qPrintable(QString::number(label.left)));
            QCOMPARE(label.text, FormatFixed(LeadingNumber(lengths[i == 0 ? 3 : i == 4 ? 4 : i - 1]), 2, QLocale::c()));
        }
    }
}

void tst_CoreGraphics::sketchLabelGeometry()
{
    CalcSession session;
    const DisplayList list = DrawSystemSketch(lengthTexts({"6", "6", "5", "1", "1"}), session, QLocale::c());
    for (const DisplayLabel &label : list.labels) {
        QVERIFY(near(label.width, 80.68));
        QVERIFY(near(label.height, 40.21));
        QVERIFY(near(label.top, 158.76));
        QCOMPARE(label.color, PaletteBlack);
        QVERIFY(label.visible);
    }
}

void tst_CoreGraphics::captionsFollowLocale()
{
    CalcSession session;
    const QLocale german(QLocale::German, QLocale::Germany);
    const DisplayList sketch = DrawSystemSketch(lengthTexts({"6.5", "1234.5"}), session, german);
    QCOMPARE(sketch.labels[1].text, QStringLiteral("6,50"));
    QCOMPARE(sketch.labels[2].text, QStringLiteral("1234,50"));
    const DisplayList picture = DrawSystemAndLoadPicture(ReadBeam(projectTexts({"6"}, {"0:2.5:1"}, {"1.25"})), session, german);
    QCOMPARE(picture.labels[6].text, QStringLiteral("1,25"));
    QCOMPARE(picture.labels[10].text, QStringLiteral("2,50"));
}

void tst_CoreGraphics::loadPictureLabelGeometry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("top");
    QTest::addColumn<QColor>("color");

    QTest::newRow("length label 0") << 0 << 179.10 << PaletteBlack;
    QTest::newRow("length label 4") << 4 << 179.10 << PaletteBlack;
    QTest::newRow("region load 5") << 5 << 47.76 << LabelBlue;
    QTest::newRow("region load 9") << 9 << 47.76 << LabelBlue;
    QTest::newRow("force of slot 0") << 10 << 23.88 << LabelBlue;
    QTest::newRow("force of slot 26") << 36 << 23.88 << LabelBlue;
}

void tst_CoreGraphics::loadPictureLabelGeometry()
{
    QFETCH(int, index);
    QFETCH(double, top);
    QFETCH(QColor, color);

    CalcSession session;
    const DisplayList list = DrawSystemAndLoadPicture(ReadBeam(ProjectTexts::Defaults()), session, QLocale::c());
    QCOMPARE(int(list.labels.size()), 37);
    const DisplayLabel &label = list.labels[index];
    QVERIFY(near(label.width, 43.36));
    QVERIFY(near(label.height, 19.40));
    QVERIFY2(near(label.top, top), qPrintable(QString::number(label.top)));
    QCOMPARE(label.color, color);
}

void tst_CoreGraphics::loadRectangles_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QStringList>("g");
    QTest::addColumn<QStringList>("q");
    QTest::addColumn<QList<QLineF>>("rectangles");   // left cantilever, spans 1..3, right cantilever
    QTest::addColumn<QList<int>>("visible");
    QTest::addColumn<QList<double>>("lefts");          // of the visible labels
    QTest::addColumn<QStringList>("texts");            // of the visible labels

    QTest::newRow("single span 6, g = 2, q = 3")
        << QStringList{"6"} << QStringList{"2"} << QStringList{"3"}
        << QList<QLineF>{{100, 110, 100, 110}, {100, 80, 900, 110}, {900, 110, 900, 110}, {900, 110, 900, 110},
                         {900, 110, 900, 110}}
        << QList<int>{1, 6} << QList<double>{480, 480} << QStringList{"6.00", "5.00"};
    // Regions 1..5 carry 4, 2, 0, 2, 1; the label of a stretch shows with its length.
    QTest::newRow("two spans with cantilevers")
        << QStringList{"3", "3", "0", "1", "1"} << QStringList{"4", "2", "0", "2", "1"} << QStringList{}
        << QList<QLineF>{{100, 95, 200, 110}, {200, 80, 500, 110}, {500, 95, 800, 110}, {800, 110, 800, 110},
                         {800, 102.5, 900, 110}}
        << QList<int>{0, 1, 2, 4, 5, 6, 7, 9} << QList<double>{130, 330, 630, 830, 130, 330, 630, 830}
        << QStringList{"1.00", "3.00", "3.00", "1.00", "2.00", "4.00", "2.00", "1.00"};
    QTest::newRow("load on a missing span keeps its label hidden")
        << QStringList{"6"} << QStringList{"0", "8"} << QStringList{}
        << QList<QLineF>{{100, 110, 100, 110}, {100, 110, 900, 110}, {900, 80, 900, 110}, {900, 110, 900, 110},
                         {900, 110, 900, 110}}
        << QList<int>{1, 6} << QList<double>{480, 480} << QStringList{"6.00", "0.00"};
}

void tst_CoreGraphics::loadRectangles()
{
    QFETCH(QStringList, lengths);
    QFETCH(QStringList, g);
    QFETCH(QStringList, q);
    QFETCH(QList<QLineF>, rectangles);
    QFETCH(QList<int>, visible);
    QFETCH(QList<double>, lefts);
    QFETCH(QStringList, texts);

    ProjectTexts t = projectTexts(lengths, {}, g);
    for (int r = 0; r < q.size(); ++r)
        t.uniform[r][LoadQ] = q[r];
    CalcSession session;
    const DisplayList list = DrawSystemAndLoadPicture(ReadBeam(t), session, QLocale::c());

    QCOMPARE(int(list.items.size()), BaseSketchItems + 5);
    for (int i = 0; i < 5; ++i) {
        const DisplayItem &item = list.items[BaseSketchItems + i];
        QCOMPARE(item.kind, DisplayItem::Rectangle);
        QCOMPARE(item.color, PaletteDarkBlue);
        COMPARE_ITEM(item, rectangles[i]);
    }
    QCOMPARE(visibleLabels(list), visible);
    for (int i = 0; i < visible.size(); ++i) {
        QVERIFY2(near(list.labels[visible[i]].left, lefts[i]), qPrintable(QString::number(visible[i])));
        QCOMPARE(list.labels[visible[i]].text, texts[i]);
    }
    for (int r = 1; r <= 5; ++r)
        QCOMPARE(session.UniformLoadSum[r], t.uniformLoadSum(r));
}

void tst_CoreGraphics::pointLoads_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QList<QPointF>>("arrows");   // x and shaft top, in drawing order
    QTest::addColumn<QList<int>>("forceLabels");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("two 10 kN loads in span 1")
        << QStringList{"6"} << QStringList{"0:10:2", "1:10:4"} << QList<QPointF>{{366.667, 50}, {633.333, 50}}
        << QList<int>{10, 11} << QStringList{"10.00", "10.00"};
    QTest::newRow("load only in slot 3") << QStringList{"6"} << QStringList{"3:7:1.5"} << QList<QPointF>{{300, 50}}
                                         << QList<int>{13} << QStringList{"7.00"};
    QTest::newRow("span 2") << QStringList{"4", "4"} << QStringList{"7:5:2"} << QList<QPointF>{{700, 50}}
                            << QList<int>{17} << QStringList{"5.00"};
    QTest::newRow("span 3") << QStringList{"2", "2", "4"} << QStringList{"14:5:1"} << QList<QPointF>{{600, 50}}
                            << QList<int>{24} << QStringList{"5.00"};
    QTest::newRow("left cantilever from its free end")
        << QStringList{"6", "0", "0", "2"} << QStringList{"21:5:1"} << QList<QPointF>{{200, 50}} << QList<int>{31}
        << QStringList{"5.00"};
    QTest::newRow("right cantilever at its tip")
        << QStringList{"6", "0", "0", "0", "2"} << QStringList{"24:5:2"} << QList<QPointF>{{900, 50}}
        << QList<int>{34} << QStringList{"5.00"};
    QTest::newRow("right cantilever at its support")
        << QStringList{"6", "0", "0", "0", "2"} << QStringList{"26:5:0"} << QList<QPointF>{{700, 50}}
        << QList<int>{36} << QStringList{"5.00"};
    QTest::newRow("region order, shafts by force")
        << QStringList{"4", "4", "0", "1"} << QStringList{"21:8:0", "7:10:2", "0:5:2"}
        << QList<QPointF>{{366.667, 80}, {722.222, 50}, {100, 62}} << QList<int>{10, 17, 31}
        << QStringList{"5.00", "10.00", "8.00"};
    // It acts nowhere, so it neither shows nor scales the shafts.
    QTest::newRow("load on a missing cantilever is left out")
        << QStringList{"4", "4"} << QStringList{"21:8:0", "0:5:2"} << QList<QPointF>{{300, 50}} << QList<int>{10}
        << QStringList{"5.00"};
    QTest::newRow("negative force points down") << QStringList{"6"} << QStringList{"0:10:3", "1:-5:4.5"}
                                                << QList<QPointF>{{500, 50}, {700, 140}} << QList<int>{10, 11}
                                                << QStringList{"10.00", "-5.00"};
    // Without a positive force the shafts have no scale: full length, by sign.
    QTest::newRow("no positive force") << QStringList{"6"} << QStringList{"0:-5:3", "1:-2:4.5"}
                                       << QList<QPointF>{{500, 170}, {700, 170}} << QList<int>{10, 11}
                                       << QStringList{"-5.00", "-2.00"};
}

void tst_CoreGraphics::pointLoads()
{
    QFETCH(QStringList, lengths);
    QFETCH(QStringList, loads);
    QFETCH(QList<QPointF>, arrows);
    QFETCH(QList<int>, forceLabels);
    QFETCH(QStringList, captions);

    CalcSession session;
    const DisplayList list = DrawSystemAndLoadPicture(ReadBeam(projectTexts(lengths, loads)), session, QLocale::c());
    // No region load: no rectangles, the arrows follow the base sketch.
    QCOMPARE(int(list.items.size()), BaseSketchItems + 3 * int(arrows.size()));
    for (int i = 0; i < arrows.size(); ++i) {
        const QList<QLineF> expected = arrow(arrows[i].x(), arrows[i].y());
        for (int j = 0; j < 3; ++j) {
            const DisplayItem &item = list.items[BaseSketchItems + 3 * i + j];
            COMPARE_ITEM(item, expected[j]);
            QCOMPARE(item.color, PaletteDarkBlue);
            QCOMPARE(item.width, 1);
        }
    }
    QList<int> shownForces;
    for (int index : visibleLabels(list))
        if (index >= 10)
            shownForces.append(index);
    QCOMPARE(shownForces, forceLabels);
    for (int i = 0; i < forceLabels.size(); ++i)
        QCOMPARE(list.labels[forceLabels[i]].text, captions[i]);
    // The label sits 5 units left of its arrow.
    for (int i = 0; i < arrows.size(); ++i) {
        const DisplayItem &shaft = list.items[BaseSketchItems + 3 * i];
        bool found = false;
        for (int index : forceLabels)
            found = found || near(list.labels[index].left, shaft.a.x() - 5);
        QVERIFY(found);
    }
}

void tst_CoreGraphics::momentUniformLoad()
{
    ProjectTexts t = projectTexts({"4"}, {}, {"10"});
    CalcSession session;
    session.results.Are = 20;
    session.design.GoverningMoment = -20;   // only its size counts
    const DisplayList list = DrawMomentDiagram(ReadBeam(t), session);

    QVERIFY(!list.clears);
    QVERIFY(list.labels.empty());
    QCOMPARE(int(list.items.size()), 50);
    for (const DisplayItem &item : list.items) {
        QCOMPARE(item.color, PaletteRed);
        QCOMPARE(item.width, 2);
    }
    // Left cantilever of length 0: ten segments on the spot.
    for (int i = 0; i < 10; ++i)
        COMPARE_ITEM(list.items[i], QLineF(100, 120, 100, 120));
    // Span 1: chords of M = 20 x - 5 x^2, drawn 4.5 units per kNm.
    for (int j = 1; j <= 10; ++j) {
        const double x0 = (j - 1) * 0.4, x1 = j * 0.4;
        const auto m = [](double x) { return 20 * x - 5 * x * x; };
        COMPARE_ITEM(list.items[9 + j], QLineF(100 + x0 * 200, 120 + m(x0) * 4.5, 100 + x1 * 200, 120 + m(x1) * 4.5));
    }
    COMPARE_ITEM(list.items[12], QLineF(260, 120 + 12.8 * 4.5, 340, 195.6));
    QVERIFY(near(list.items[14].b.x(), 500) && near(list.items[14].b.y(), 210));
    // Missing spans and right cantilever collapse onto the last support.
    for (int i = 20; i < 50; ++i)
        COMPARE_ITEM(list.items[i], QLineF(900, 120, 900, 120));
    QCOMPARE(session.TotalLength, 4.0);
    QCOMPARE(session.UniformLoadSum[1], 10.0);
}

void tst_CoreGraphics::momentPointLoad()
{
    CalcSession session;
    session.results.Are = 5;
    session.design.GoverningMoment = 15;
    const DisplayList list = DrawMomentDiagram(ReadBeam(projectTexts({"6"}, {"0:10:3"})), session);

    QCOMPARE(int(list.items.size()), 51);
    const QList<double> xs{0.6, 1.2, 1.8, 2.4, 3, 3, 3.6, 4.2, 4.8, 5.4, 6};
    const QList<double> ms{3, 6, 9, 12, 15, 15, 12, 9, 6, 3, 0};
    QPointF previous(100, 120);
    for (int i = 0; i < xs.size(); ++i) {
        const QPointF next(100 + xs[i] * 800 / 6, 120 + ms[i] * 6);
        COMPARE_ITEM(list.items[10 + i], QLineF(previous, next));
        previous = next;
    }
    COMPARE_ITEM(list.items[14], QLineF(420, 192, 500, 210));
}

void tst_CoreGraphics::momentIgnoredLoads_data()
{
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QStringList>("sameAs");
    QTest::newRow("slot 1 loaded, slot 0 empty") << QStringList{"1:10:3"} << QStringList{};
    QTest::newRow("load beyond the span") << QStringList{"0:10:7"} << QStringList{};
    QTest::newRow("load beyond the span before one inside") << QStringList{"0:10:7", "1:10:3"}
                                                           << QStringList{"0:10:3"};
    QTest::newRow("slot 2 after an empty slot 1") << QStringList{"0:10:2", "2:10:3"} << QStringList{"0:10:2"};
    QTest::newRow("load of span 2 on a single span") << QStringList{"7:10:1"} << QStringList{};
}

void tst_CoreGraphics::momentIgnoredLoads()
{
    QFETCH(QStringList, loads);
    QFETCH(QStringList, sameAs);
    CalcSession session;
    session.results.Are = 9;
    session.design.GoverningMoment = 30;
    const DisplayList loaded = DrawMomentDiagram(ReadBeam(projectTexts({"6"}, loads, {"3"})), session);
    const DisplayList plain = DrawMomentDiagram(ReadBeam(projectTexts({"6"}, sameAs, {"3"})), session);
    QCOMPARE(loaded.items.size(), plain.items.size());
    for (std::size_t i = 0; i < plain.items.size(); ++i)
        COMPARE_ITEM(loaded.items[i], QLineF(plain.items[i].a, plain.items[i].b));
}

void tst_CoreGraphics::momentBackwardsSegment()
{
    CalcSession session;
    session.design.GoverningMoment = 10;
    const DisplayList list = DrawMomentDiagram(ReadBeam(projectTexts({"6"}, {"0:5:4", "1:5:2"})), session);
    // Samples 0.6 .. 3.6, the load at 4, back to the load at 2, on to 4.2 ...
    QCOMPARE(int(list.items.size()), 52);
    const DisplayItem &back = list.items[10 + 7];
    QVERIFY(near(back.a.x(), 100 + 4 * 800.0 / 6));
    QVERIFY(near(back.b.x(), 100 + 2 * 800.0 / 6));
    QVERIFY(near(list.items[10 + 8].b.x(), 100 + 4.2 * 800 / 6));
}

void tst_CoreGraphics::momentRestartsAtSupport()
{
    CalcSession session;
    session.results.MB = -10;   // span 1 itself walks flat at 0
    session.design.GoverningMoment = 10;
    const DisplayList list = DrawMomentDiagram(ReadBeam(projectTexts({"4", "4"})), session);
    COMPARE_ITEM(list.items[19], QLineF(460, 120, 500, 120));
    QVERIFY(near(list.items[20].a.x(), 500));
    QVERIFY(near(list.items[20].a.y(), 30));
}

void tst_CoreGraphics::momentRightCantileverStart_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<double>("supportX");
    QTest::addColumn<double>("startY");
    QTest::newRow("single span: MB") << QStringList{"3", "0", "0", "0", "1"} << 700.0 << 111.0;
    QTest::newRow("two spans: MC") << QStringList{"2", "1", "0", "0", "1"} << 700.0 << 102.0;
    QTest::newRow("three spans: MD") << QStringList{"1", "1", "1", "0", "1"} << 700.0 << 93.0;
    QTest::newRow("L2 = 0, L3 not 0: MD") << QStringList{"2", "0", "1", "0", "1"} << 700.0 << 93.0;
}

void tst_CoreGraphics::momentRightCantileverStart()
{
    QFETCH(QStringList, lengths);
    QFETCH(double, supportX);
    QFETCH(double, startY);
    CalcSession session;
    session.results.MB = -1;
    session.results.MC = -2;
    session.results.MD = -3;
    session.design.GoverningMoment = 10;
    const DisplayList list = DrawMomentDiagram(ReadBeam(projectTexts(lengths)), session);
    QCOMPARE(int(list.items.size()), 50);
    QVERIFY(near(list.items[40].a.x(), supportX));
    QVERIFY2(near(list.items[40].a.y(), startY), qPrintable(describe(list.items[40])));
}

void tst_CoreGraphics::shearUniformLoad()
{
    CalcSession session;
    session.results.Are = 20;
    session.results.Bli = -20;
    session.design.GoverningShear = 20;
    const DisplayList list = DrawShearDiagram(ReadBeam(projectTexts({"4"}, {}, {"10"})), session);
    QVERIFY(!list.clears);
    QVERIFY(list.labels.empty());
    const QList<QLineF> expected{{100, 120, 100, 120}, {100, 120, 100, 210}, {100, 210, 900, 30},
                                 {900, 30, 900, 120},  {900, 120, 900, 120}, {900, 120, 900, 120},
                                 {900, 120, 900, 120}, {900, 120, 900, 120}, {900, 120, 900, 120}};
    QCOMPARE(int(list.items.size()), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        COMPARE_ITEM(list.items[i], expected[i]);
        QCOMPARE(list.items[i].color, PaletteGreen);
        QCOMPARE(list.items[i].width, 2);
    }
}

void tst_CoreGraphics::shearPointLoad()
{
    CalcSession session;
    session.results.Are = 5;
    session.results.Bli = -5;
    session.design.GoverningShear = 5;
    const DisplayList list = DrawShearDiagram(ReadBeam(projectTexts({"6"}, {"0:10:3"})), session);
    QCOMPARE(int(list.items.size()), 11);
    COMPARE_ITEM(list.items[2], QLineF(100, 210, 500, 210));
    COMPARE_ITEM(list.items[3], QLineF(500, 210, 500, 30));
    COMPARE_ITEM(list.items[4], QLineF(500, 30, 900, 30));
}

void tst_CoreGraphics::shearWalkRules_data()
{
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QList<QLineF>>("span1");   // the lines of span 1's walk

    // Are = 6, q = 1, governing 10: 9 units per kN.
    QTest::newRow("slot 1 without slot 0 is ignored")
        << QStringList{"1:4:3"} << QList<QLineF>{{100, 174, 900, 66}};
    QTest::newRow("load beyond the span is passed over")
        << QStringList{"0:4:8", "1:4:3"}
        << QList<QLineF>{{100, 174, 500, 147}, {500, 147, 500, 111}, {500, 111, 900, 66}};
    QTest::newRow("rise from slot distances, backwards")
        << QStringList{"0:1:4", "1:1:2"}
        << QList<QLineF>{{100, 174, 633.33, 138}, {633.33, 138, 633.33, 129}, {633.33, 129, 366.67, 147},
                         {366.67, 147, 366.67, 138}, {366.67, 138, 900, 66}};
}

void tst_CoreGraphics::shearWalkRules()
{
    QFETCH(QStringList, loads);
    QFETCH(QList<QLineF>, span1);
    CalcSession session;
    session.results.Are = 6;
    session.results.Bli = -6;
    session.design.GoverningShear = 10;
    const DisplayList list = DrawShearDiagram(ReadBeam(projectTexts({"6"}, loads, {"1"})), session);
    // Left cantilever and its jump come first; 8 lines besides span 1's walk.
    QCOMPARE(int(list.items.size()), 8 + span1.size());
    for (int i = 0; i < span1.size(); ++i)
        COMPARE_ITEM(list.items[2 + i], span1[i]);
}

void tst_CoreGraphics::shearRightCantilever_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<double>("startY");
    QTest::newRow("single span: Bre") << QStringList{"6", "0", "0", "0", "2"} << 210.0;
    QTest::newRow("two spans: Cre") << QStringList{"3", "3", "0", "0", "2"} << 165.0;
    QTest::newRow("three spans: Dre") << QStringList{"2", "2", "2", "0", "2"} << 142.5;
}

void tst_CoreGraphics::shearRightCantilever()
{
    QFETCH(QStringList, lengths);
    QFETCH(double, startY);
    CalcSession session;
    session.results.Bre = 20;
    session.results.Cre = 10;
    session.results.Dre = 5;
    session.design.GoverningShear = 20;
    const DisplayList list = DrawShearDiagram(ReadBeam(projectTexts(lengths, {}, {"0", "0", "0", "0", "10"})), session);
    QCOMPARE(int(list.items.size()), 9);
    COMPARE_ITEM(list.items.back(), QLineF(700, startY, 900, 120));
}

void tst_CoreGraphics::noHorizontalScale_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::newRow("all lengths 0") << QStringList{"0", "0", "0", "0", "0"};
    QTest::newRow("lengths cancel") << QStringList{"5", "-5", "0", "0", "0"};
    QTest::newRow("infinite length") << QStringList{"1e999", "0", "0", "0", "0"};
    QTest::newRow("sum overflows") << QStringList{"1e308", "1e308", "0", "0", "0"};
}

void tst_CoreGraphics::noHorizontalScale()
{
    QFETCH(QStringList, lengths);
    CalcSession session;
    session.results.Are = 5;
    session.design.GoverningMoment = 5;
    session.design.GoverningShear = 5;
    const ProjectTexts t = projectTexts(lengths, {"0:10:3", "24:5:1"}, {"2", "2", "2", "2", "2"});

    // Without a scale: beam, dimension line and end ticks, nothing else.
    const DisplayList sketch = DrawSystemSketch(t.lengths, session, QLocale::c());
    const DisplayList picture = DrawSystemAndLoadPicture(ReadBeam(t), session, QLocale::c());
    for (const DisplayList *list : {&sketch, &picture}) {
        QCOMPARE(int(list->items.size()), 4);
        COMPARE_ITEM(list->items[0], QLineF(100, 120, 900, 120));
        COMPARE_ITEM(list->items[3], QLineF(900, 240, 900, 190));
        QVERIFY(visibleLabels(*list).isEmpty());
    }
    QVERIFY(DrawMomentDiagram(ReadBeam(t), session).items.empty());
    QVERIFY(DrawShearDiagram(ReadBeam(t), session).items.empty());
}

void tst_CoreGraphics::flatDiagrams_data()
{
    QTest::addColumn<double>("governing");
    QTest::newRow("governing 0") << 0.0;
    QTest::newRow("governing not a number") << std::nan("");
    QTest::newRow("governing infinite") << HUGE_VAL;
}

void tst_CoreGraphics::flatDiagrams()
{
    QFETCH(double, governing);
    CalcSession session;
    session.results.Are = 5;
    session.results.Bli = -5;
    session.design.GoverningMoment = governing;
    session.design.GoverningShear = governing;
    const ProjectTexts t = projectTexts({"6", "0", "0", "1", "1"}, {"0:10:3"}, {"2", "2", "2", "2", "2"});
    const DisplayList moment = DrawMomentDiagram(ReadBeam(t), session);
    const DisplayList shear = DrawShearDiagram(ReadBeam(t), session);
    QCOMPARE(int(moment.items.size()), 51);
    QCOMPARE(int(shear.items.size()), 11);
    for (const DisplayList *list : {&moment, &shear}) {
        for (const DisplayItem &item : list->items) {
            QCOMPARE(item.a.y(), 120.0);
            QCOMPARE(item.b.y(), 120.0);
        }
    }
    // The walk keeps its places along the beam.
    QCOMPARE(moment.items.back().b.x(), 900.0);
    QCOMPARE(shear.items[3].b.x(), 500.0);
}

void tst_CoreGraphics::hugeInputsStayFinite_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QStringList>("regionLoads");
    QTest::addColumn<double>("result");
    QTest::addColumn<double>("governing");

    const QStringList normal{"6", "6", "5", "1", "1"};
    QTest::newRow("huge lengths") << QStringList{"1e308", "1e-300", "1", "1e307", "0"} << QStringList{"0:5:1e308"}
                                  << QStringList{"2"} << 10.0 << 10.0;
    QTest::newRow("lengths nearly cancel") << QStringList{"1e200", "-1e200", "1e-200", "0", "0"}
                                           << QStringList{"0:5:3"} << QStringList{"2"} << 10.0 << 10.0;
    QTest::newRow("huge loads") << normal << QStringList{"0:1e308:2", "1:-1e308:3", "7:1e999:1", "24:1:1e308"}
                                << QStringList{"1e308", "-1e308", "1e999", "2", "1e308"} << 10.0 << 10.0;
    QTest::newRow("huge results, tiny governing")
        << normal << QStringList{"0:5:2"} << QStringList{"2"} << 1e308 << 1e-300;
    QTest::newRow("infinite results") << normal << QStringList{} << QStringList{"1"} << HUGE_VAL << 5.0;
    QTest::newRow("NaN results") << normal << QStringList{"0:5:2"} << QStringList{"1"} << std::nan("") << 5.0;
}

void tst_CoreGraphics::hugeInputsStayFinite()
{
    QFETCH(QStringList, lengths);
    QFETCH(QStringList, loads);
    QFETCH(QStringList, regionLoads);
    QFETCH(double, result);
    QFETCH(double, governing);

    CalcSession session;
    ResultSet &r = session.results;
    for (double *v : {&r.MA, &r.MB, &r.MC, &r.MD, &r.Ali, &r.Are, &r.Bli, &r.Bre, &r.Cli, &r.Cre, &r.Dli, &r.Dre})
        *v = result;
    session.design.GoverningMoment = governing;
    session.design.GoverningShear = governing;
    const ProjectTexts t = projectTexts(lengths, loads, regionLoads);
    const QList<DisplayList> lists{DrawSystemSketch(t.lengths, session, QLocale::c()),
                                   DrawSystemAndLoadPicture(ReadBeam(t), session, QLocale::c()),
                                   DrawMomentDiagram(ReadBeam(t), session), DrawShearDiagram(ReadBeam(t), session)};
    for (const DisplayList &list : lists) {
        for (const DisplayItem &item : list.items)
            QVERIFY2(usable(item.a) && usable(item.b), qPrintable(describe(item)));
        for (const DisplayLabel &label : list.labels)
            QVERIFY(!label.visible || (std::isfinite(label.left) && std::abs(label.left) <= 1e6));
    }
    // The scale-free parts are always there.
    QVERIFY(lists[1].items.size() >= 4);
}

QTEST_GUILESS_MAIN(tst_CoreGraphics)
#include "tst_core_graphics.moc"
