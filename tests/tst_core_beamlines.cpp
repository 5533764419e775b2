// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Exact beam lines: the extremes of M, V and EI·w of every region against
// textbook closed forms, independent of the order of the load rows; no line
// for a refused run, never a number that is not finite.
#include "analysis/analysis.h"
#include "analysis/beamlines.h"
#include "analysis/quadratic.h"

#include "tests/beambuilder.h"

#include <QtTest>

#include <cmath>

using namespace varno;

Q_DECLARE_METATYPE(varno::ProjectTexts)

namespace {

const double Sqrt3 = std::sqrt(3.0);

using varno::test::Beam;

// Mmax, xMmax, Mmin, xMmin, Vmax, EIwMax, xEIwMax, EIwMin, xEIwMin; a
// position of -1 is not compared (the extreme is reached at several places).
using Extremes = std::array<double, 9>;

Extremes extremesOf(const LineExtremes &e)
{
    return {e.Mmax, e.xMmax, e.Mmin, e.xMmin, e.Vmax, e.EIwMax, e.xEIwMax, e.EIwMin, e.xEIwMin};
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

BeamLines linesOf(const ProjectTexts &texts)
{
    ResultSet r;
    const AnalysisOutcome outcome = RunAnalysis(texts, r, Lines::Wanted);
    return outcome.lines;
}

// Deflection of a propped cantilever under q (fixed at x = L): the end span
// of two equal continuous spans under the same load.
double proppedDeflection(double q, double L, double x)
{
    return q * x * (L * L * L - 3 * L * x * x + 2 * x * x * x) / 48;
}

} // namespace

class TestBeamLines : public QObject
{
    Q_OBJECT

private slots:
    void closedForms_data();
    void closedForms();
    void rowOrderDoesNotMatter_data();
    void rowOrderDoesNotMatter();
    void noLinesOrFiniteLines_data();
    void noLinesOrFiniteLines();
    void shearAtTheEnds_data();
    void shearAtTheEnds();
    void quadraticRoots_data();
    void quadraticRoots();
};

void TestBeamLines::closedForms_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<int>("region");
    QTest::addColumn<Extremes>("expected");

    // Simple span under q: q·L²/8 and 5·q·L⁴/384 at midspan, q·L/2 at A.
    QTest::newRow("simple span, uniform") << ProjectTexts(Beam().length(1, 6).load(1, 10)) << int(LineSpan1)
                                          << Extremes{45, 3, 0, 0, 30, 168.75, 3, 0, 0};
    // Central point load: P·L/4 and P·L³/48; the shear +P/2 comes first.
    QTest::newRow("simple span, central point load") << ProjectTexts(Beam().length(1, 4).point(0, 20, 2))
                                                     << int(LineSpan1)
                                                     << Extremes{20, 2, 0, 0, 10, 20 * 64 / 48.0, 2, 0, 0};
    // P at a = 4, b = 2 on 6 m: P·a·b/L under the load; the largest
    // deflection P·b·(L² − b²)^1.5/(9·√3·L) at √((L² − b²)/3).
    QTest::newRow("simple span, eccentric point load")
        << ProjectTexts(Beam().length(1, 6).point(0, 30, 4)) << int(LineSpan1)
        << Extremes{40, 4, 0, 0, -20, 30 * 2 * std::pow(32.0, 1.5) / (9 * Sqrt3 * 6), std::sqrt(32.0 / 3), 0, 0};
    // Two equal loads at the third points, typed descending with an empty row
    // between: M = P·a on the middle third, P·a·(3·L² − 4·a²)/24 at midspan.
    QTest::newRow("two loads, descending rows with a gap")
        << ProjectTexts(Beam().length(1, 6).point(0, 20, 4).point(3, 20, 2)) << int(LineSpan1)
        << Extremes{40, 2, 0, 0, 20, 20 * 2 * (108 - 16) / 24.0, 3, 0, 0};
    // Upward point load beside g: M(3) = q·L²/8 − F·L/4 = 45 − 120, EI·w(3) =
    // 5·q·L⁴/384 − F·L³/48; the shear −40 left of the load comes first.
    QTest::newRow("upward point load") << ProjectTexts(Beam().length(1, 6).load(1, 10).point(0, -80, 3))
                                       << int(LineSpan1) << Extremes{0, 0, -75, 3, -40, 0, 0, 168.75 - 360, 3};
    // Suction only: the mirror image of the uniform case.
    QTest::newRow("upward uniform load") << ProjectTexts(Beam().length(1, 5).load(1, -8)) << int(LineSpan1)
                                         << Extremes{0, 0, -25, 2.5, -20, 0, 0, -5 * 8 * 625 / 384.0, 2.5};
    // Left cantilever k = 2 under q = 10 beside an unloaded span L = 6: tip
    // (x = 0, its free end) deflects q·k³·(4·L + 3·k)/24.
    QTest::newRow("left cantilever, uniform") << ProjectTexts(Beam().length(1, 6).length(4, 2).load(4, 10))
                                              << int(LineLeftCantilever)
                                              << Extremes{0, 0, -20, 2, -20, 100, 0, 0, 2};
    // Its span lifts under the end moment M = 20: M·L²/(9·√3) at L·(1 − 1/√3).
    QTest::newRow("span beside a loaded cantilever") << ProjectTexts(Beam().length(1, 6).length(4, 2).load(4, 10))
                                                     << int(LineSpan1)
                                                     << Extremes{0, 6, -20, 0, 20 / 6.0, 0, -1,
                                                                 -20 * 36 / (9 * Sqrt3), 6 * (1 - 1 / Sqrt3)};
    // Right cantilever k = 2 with P = 10 at its tip: P·k²·(L + k)/3.
    QTest::newRow("right cantilever, tip load") << ProjectTexts(Beam().length(1, 6).length(5, 2).point(24, 10, 2))
                                                << int(LineRightCantilever)
                                                << Extremes{0, 2, -20, 0, 10, 10 * 4 * 8 / 3.0, 2, 0, 0};
    // Suction at the tip lifts it by the same amount.
    QTest::newRow("right cantilever, upward tip load")
        << ProjectTexts(Beam().length(1, 6).length(5, 2).point(24, -10, 2)) << int(LineRightCantilever)
        << Extremes{20, 0, 0, 2, -10, 0, 0, -10 * 4 * 8 / 3.0, 2};
    // Two equal spans under q: 9·q·L²/128 at 3·L/8, −q·L²/8 over B, the
    // deflection of the propped cantilever at L·(1 + √33)/16.
    const double x = 5 * (1 + std::sqrt(33.0)) / 16;
    QTest::newRow("two equal spans, uniform")
        << ProjectTexts(Beam().length(1, 5).length(2, 5).load(1, 10).load(2, 10)) << int(LineSpan1)
        << Extremes{9 * 10 * 25 / 128.0, 1.875, -31.25, 5, -31.25, proppedDeflection(10, 5, x), x, 0, -1};
}

void TestBeamLines::closedForms()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(int, region);
    QFETCH(Extremes, expected);
    const BeamLines lines = linesOf(texts);
    QVERIFY(lines.valid);
    const RegionLine &line = lines.region[std::size_t(region)];
    QVERIFY(line.exists);
    const Extremes got = extremesOf(line.extremes);
    static const char *const names[] = {"Mmax", "xMmax", "Mmin", "xMmin", "Vmax",
                                        "EIwMax", "xEIwMax", "EIwMin", "xEIwMin"};
    for (std::size_t i = 0; i < got.size(); ++i) {
        const bool position = i == 1 || i == 3 || i == 6 || i == 8;
        if (position && expected[i] < 0)
            continue;
        // A position is known to the precision of its value's flatness.
        const bool ok = position ? std::fabs(got[i] - expected[i]) <= 1e-7 : near(got[i], expected[i]);
        QVERIFY2(ok, qPrintable(QStringLiteral("%1 = %2, expected %3")
                                    .arg(QLatin1String(names[i]))
                                    .arg(got[i], 0, 'g', 15)
                                    .arg(expected[i], 0, 'g', 15)));
    }
    // The line meets its supports: no deflection there.
    if (region < LineLeftCantilever)
        QVERIFY(std::fabs(line.EIw(line.length)) <= 1e-9 * std::max(1.0, std::fabs(line.extremes.EIwMin) +
                                                                          std::fabs(line.extremes.EIwMax)));
}

void TestBeamLines::rowOrderDoesNotMatter_data()
{
    QTest::addColumn<ProjectTexts>("typed");
    QTest::addColumn<ProjectTexts>("ascending");

    // Three loads of a two-span beam with a right cantilever, typed in every
    // way the load window allows.
    auto beam = [] { return Beam().length(1, 6).length(2, 4).length(5, 1.5).load(1, 3).load(2, 2).load(5, 1); };
    const ProjectTexts ascending =
        beam().point(7, 12, 1).point(8, -6, 2.5).point(9, 9, 3.2).point(24, 5, 0.5).point(25, 4, 1.5);
    QTest::newRow("descending") << ProjectTexts(
        beam().point(7, 9, 3.2).point(8, -6, 2.5).point(9, 12, 1).point(24, 4, 1.5).point(25, 5, 0.5))
                                << ascending;
    QTest::newRow("gaps everywhere") << ProjectTexts(
        beam().point(8, 12, 1).point(10, 9, 3.2).point(13, -6, 2.5).point(24, 5, 0.5).point(26, 4, 1.5))
                                     << ascending;
}

void TestBeamLines::rowOrderDoesNotMatter()
{
    QFETCH(ProjectTexts, typed);
    QFETCH(ProjectTexts, ascending);
    const BeamLines a = linesOf(typed), b = linesOf(ascending);
    QVERIFY(a.valid && b.valid);
    for (int region = 0; region < LineRegionCount; ++region) {
        QCOMPARE(a.region[std::size_t(region)].exists, b.region[std::size_t(region)].exists);
        QCOMPARE(extremesOf(a.region[std::size_t(region)].extremes),
                 extremesOf(b.region[std::size_t(region)].extremes));
    }
}

void TestBeamLines::noLinesOrFiniteLines_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<bool>("refused");
    QTest::newRow("L1 = 0") << ProjectTexts(Beam().load(1, 10)) << true;
    QTest::newRow("negative span") << ProjectTexts(Beam().length(1, 6).length(2, -2).load(1, 10)) << true;
    QTest::newRow("uniform load 1e300") << ProjectTexts(Beam().length(1, 6).load(1, 1e300)) << false;
    QTest::newRow("uniform load 1e300 on a long span") << ProjectTexts(Beam().length(1, 1e3).load(1, 1e300)) << true;
    QTest::newRow("point loads 1e300 both ways") << ProjectTexts(Beam().length(1, 6).point(0, 1e300, 2)
                                                                     .point(1, -1e300, 4))
                                                 << false;
    QTest::newRow("tiny cantilever") << ProjectTexts(Beam().length(1, 6).length(4, 1e-300).load(1, 1)) << false;
}

void TestBeamLines::noLinesOrFiniteLines()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(bool, refused);
    ResultSet r;
    const AnalysisOutcome outcome = RunAnalysis(texts, r, Lines::Wanted);
    QCOMPARE(outcome.refused, refused);
    QCOMPARE(outcome.lines.valid, !refused);
    for (const RegionLine &line : outcome.lines.region) {
        if (!line.exists)
            continue;
        for (double v : extremesOf(line.extremes))
            QVERIFY(std::isfinite(v));
        for (int k = 0; k < line.pieceCount; ++k)
            for (double c : line.pieces[std::size_t(k)].w)
                QVERIFY(std::isfinite(c));
    }
}

void TestBeamLines::shearAtTheEnds_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<int>("region");
    QTest::addColumn<double>("Vstart");
    QTest::addColumn<double>("Vend");
    QTest::addColumn<double>("Vmax");

    // A point load at a = 0 or a = L stands just inside its region: the
    // support beside it carries it, so does the shear at that end.
    // g = 2 on 6 m: q·L/2 = 6 at each support, F = 20 on one of them.
    QTest::newRow("span, load at a = 0") << ProjectTexts(Beam().length(1, 6).load(1, 2).point(0, 20, 0))
                                         << int(LineSpan1) << 26.0 << -6.0 << 26.0;
    QTest::newRow("span, load at a = L") << ProjectTexts(Beam().length(1, 6).load(1, 2).point(0, 20, 6))
                                         << int(LineSpan1) << 6.0 << -26.0 << -26.0;
    // Cantilevers k = 2 beside an unloaded span, F = 10 on support A (a = k
    // from the free end), and at the tip of the right one.
    QTest::newRow("left cantilever, load on the support")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).point(21, 10, 2)) << int(LineLeftCantilever) << 0.0
        << -10.0 << -10.0;
    QTest::newRow("right cantilever, load at the tip")
        << ProjectTexts(Beam().length(1, 6).length(5, 2).point(24, 10, 2)) << int(LineRightCantilever) << 10.0
        << 0.0 << 10.0;
}

void TestBeamLines::shearAtTheEnds()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(int, region);
    QFETCH(double, Vstart);
    QFETCH(double, Vend);
    QFETCH(double, Vmax);
    const BeamLines lines = linesOf(texts);
    QVERIFY(lines.valid);
    const RegionLine &line = lines.region[std::size_t(region)];
    QVERIFY(near(line.Vstart, Vstart));
    QVERIFY2(near(line.Vend, Vend), qPrintable(QString::number(line.Vend)));
    QVERIFY2(near(line.extremes.Vmax, Vmax), qPrintable(QString::number(line.extremes.Vmax)));
}

void TestBeamLines::quadraticRoots_data()
{
    QTest::addColumn<QList<double>>("c");   // c0, c1, c2, h
    QTest::addColumn<QList<double>>("roots");
    QTest::newRow("two inside, ascending") << QList<double>{3, -4, 1, 4} << QList<double>{1, 3};
    QTest::newRow("roots on the ends are not inside") << QList<double>{0, -2, 1, 2} << QList<double>{};
    // (t − 1e-8)·(t − 1e8): the small root suffers no cancellation.
    QTest::newRow("roots 1e-8 and 1e8") << QList<double>{1, -(1e8 + 1e-8), 1, 1e9} << QList<double>{1e-8, 1e8};
    // 1e300·(t − 1)·(t − 2): the discriminant alone would overflow.
    QTest::newRow("coefficients near the double range") << QList<double>{2e300, -3e300, 1e300, 3}
                                                        << QList<double>{1, 2};
}

void TestBeamLines::quadraticRoots()
{
    QFETCH(QList<double>, c);
    QFETCH(QList<double>, roots);
    double found[2] = {};
    const int n = QuadraticRootsInside(c[0], c[1], c[2], c[3], found);
    QCOMPARE(n, int(roots.size()));
    for (int i = 0; i < n; ++i)
        QVERIFY2(std::fabs(found[i] - roots[i]) <= 1e-12 * roots[i], qPrintable(QString::number(found[i], 'g', 17)));
}

QTEST_GUILESS_MAIN(TestBeamLines)
#include "tst_core_beamlines.moc"
