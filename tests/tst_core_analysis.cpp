// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Analysis: closed-form beams, statics of the computed results (equilibrium,
// slope continuity, exact cantilever tips), the zero-shear search with its
// slot-order behaviour, refused runs and the result lines.
#include "analysis/analysis.h"
#include "analysis/spanterms.h"
#include "presentation/captions.h"
#include "presentation/loadwarnings.h"

#include "tests/beambuilder.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace varno;

using Expected = QMap<QString, double>;
Q_DECLARE_METATYPE(varno::ProjectTexts)
Q_DECLARE_METATYPE(varno::SpanLoads)

namespace {

constexpr double Pi12 = 3.14159265359;

QString num(double v)
{
    return QString::number(v, 'g', 17);
}

using varno::test::Beam;

double field(const ResultSet &r, const QString &name)
{
    static const QMap<QString, double ResultSet::*> members = {
        {"L1", &ResultSet::L1},     {"L2", &ResultSet::L2},     {"L3", &ResultSet::L3},
        {"Lkl", &ResultSet::Lkl},   {"Lkr", &ResultSet::Lkr},   {"MA", &ResultSet::MA},
        {"MB", &ResultSet::MB},     {"MC", &ResultSet::MC},     {"MD", &ResultSet::MD},
        {"MF1", &ResultSet::MF1},   {"MF2", &ResultSet::MF2},   {"MF3", &ResultSet::MF3},
        {"xF1", &ResultSet::xF1},   {"xF2", &ResultSet::xF2},   {"xF3", &ResultSet::xF3},
        {"Ali", &ResultSet::Ali},   {"Are", &ResultSet::Are},   {"Bli", &ResultSet::Bli},
        {"Bre", &ResultSet::Bre},   {"Cli", &ResultSet::Cli},   {"Cre", &ResultSet::Cre},
        {"Dli", &ResultSet::Dli},   {"Dre", &ResultSet::Dre},   {"EIf1", &ResultSet::EIf1},
        {"EIf2", &ResultSet::EIf2}, {"EIf3", &ResultSet::EIf3}, {"EIwKl", &ResultSet::EIwKl},
        {"EIwKr", &ResultSet::EIwKr}};
    if (name == "A")
        return r.A();
    if (name == "B")
        return r.B();
    if (name == "C")
        return r.C();
    if (name == "D")
        return r.D();
    Q_ASSERT(members.contains(name));
    return r.*members.value(name);
}

QStringList allFields()
{
    return {"L1",  "L2",  "L3",  "Lkl", "Lkr", "MA",  "MB",  "MC",   "MD",   "MF1",  "MF2",   "MF3",   "xF1", "xF2",
            "xF3", "Ali", "Are", "Bli", "Bre", "Cli", "Cre", "Dli",  "Dre",  "EIf1", "EIf2",  "EIf3",  "EIwKl",
            "EIwKr"};
}

bool near(double actual, double expected, double scale = 1.0)
{
    return std::abs(actual - expected) <= 1e-9 * std::max({scale, std::abs(expected), 1.0});
}

// ---------------------------------------------------------------------------
// Statics of a computed beam, worked out independently of the analysis code:
// moment lines from the support moments and shears, integrated exactly
// (Simpson on each piece between load points, where the integrands are cubic).

struct Region
{
    double length = 0, q = 0;
    std::vector<std::pair<double, double>> loads; // (F, a) of every slot with F != 0
};

Region region(const ProjectTexts &t, int r)
{
    Region g;
    g.length = t.length(r - 1);
    g.q = t.uniformLoadSum(r);
    for (int i = FirstSlot(r); i < EndSlot(r); ++i)
        if (t.pointForce(i) != 0)
            g.loads.emplace_back(t.pointForce(i), t.pointDistance(i));
    return g;
}

// Moment of a span at x from its left support moment and start shear.
double spanMomentAt(const Region &s, double Ml, double V0, double x)
{
    double m = Ml + V0 * x - s.q * x * x / 2;
    for (auto [F, a] : s.loads)
        if (x > a)
            m -= F * (x - a);
    return m;
}

// Hogging moment of a cantilever at distance t from its tip; `fromTip` gives
// the distance of each load from the tip.
double cantileverMomentAt(const Region &c, double t, bool distancesFromTip)
{
    double m = -c.q * t * t / 2;
    for (auto [F, a] : c.loads) {
        const double p = distancesFromTip ? a : c.length - a;
        if (t > p)
            m -= F * (t - p);
    }
    return m;
}

template<typename F>
double integrate(F f, double from, double to, std::vector<double> breaks)
{
    breaks.push_back(from);
    breaks.push_back(to);
    std::sort(breaks.begin(), breaks.end());
    double sum = 0;
    for (size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double a = std::clamp(breaks[i], from, to), b = std::clamp(breaks[i + 1], from, to);
        if (b <= a)
            continue;
        const double m = (a + b) / 2;
        sum += (b - a) / 6 * (f(a) + 4 * f(m) + f(b));
    }
    return sum;
}

std::vector<double> loadPoints(const Region &s)
{
    std::vector<double> p;
    for (auto [F, a] : s.loads)
        p.push_back(a);
    return p;
}

// Slopes (stiffness 1, deflection downward positive) at both ends of a span.
std::pair<double, double> spanEndSlopes(const Region &s, double Ml, double V0)
{
    const double l = s.length;
    const auto m = [&](double x) { return spanMomentAt(s, Ml, V0, x); };
    const double left = integrate([&](double x) { return (l - x) * m(x); }, 0, l, loadPoints(s)) / l;
    const double right = left - integrate(m, 0, l, loadPoints(s));
    return {left, right};
}

// Largest moment of a span: on each piece between load points the moment is
// a parabola, so its ends and its vertex are the candidates.
double largestSpanMoment(const Region &s, double Ml, double V0)
{
    std::vector<double> p = loadPoints(s);
    p.push_back(0);
    p.push_back(s.length);
    std::sort(p.begin(), p.end());
    double best = -INFINITY;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const double a = std::clamp(p[i], 0.0, s.length), b = std::clamp(p[i + 1], 0.0, s.length);
        best = std::max({best, spanMomentAt(s, Ml, V0, a), spanMomentAt(s, Ml, V0, b)});
        // shear just right of a: V0 - q·x - loads up to a
        double V = V0;
        for (auto [F, at] : s.loads)
            if (at <= a)
                V -= F;
        if (s.q != 0) {
            const double x = V / s.q;
            if (x > a && x < b)
                best = std::max(best, spanMomentAt(s, Ml, V0, x));
        }
    }
    return best;
}

ResultSet run(const ProjectTexts &texts, AnalysisOutcome *outcome = nullptr)
{
    ResultSet r;
    const AnalysisOutcome o = RunAnalysis(texts, r);
    if (outcome)
        *outcome = o;
    return r;
}

ResultSet sentinelResults()
{
    ResultSet r;
    r.L1 = 1.5, r.L2 = 2.5, r.L3 = 3.5, r.Lkl = 4.5, r.Lkr = 5.5;
    r.MA = -1, r.MB = -2, r.MC = -3, r.MD = -4, r.MF1 = 11, r.MF2 = 12, r.MF3 = 13;
    r.xF1 = 0.7, r.xF2 = 0.8, r.xF3 = 0.9;
    r.Ali = 21, r.Are = 22, r.Bli = 23, r.Bre = 24, r.Cli = 25, r.Cre = 26, r.Dli = 27, r.Dre = 28;
    r.EIf1 = 31, r.EIf2 = 32, r.EIf3 = 33, r.EIwKl = 34, r.EIwKr = 35;
    return r;
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void closedForm_data();
    void closedForm();
    void statics_data();
    void statics();
    void cantileverTips_data();
    void cantileverTips();
    void zeroShear_data();
    void zeroShear();
    void unloadedSpanKeepsPosition_data();
    void unloadedSpanKeepsPosition();
    void smallerSystemClearsOldValues();
    void refusals_data();
    void refusals();
    void noInfinityOrNaNInLines_data();
    void noInfinityOrNaNInLines();
    void resultLineTexts_data();
    void resultLineTexts();
    void visibility_data();
    void visibility();
    void loadsThatDoNotAct_data();
    void loadsThatDoNotAct();
};

void TestAnalysis::closedForm_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<Expected>("expected");

    // q·l²/8 at midspan; deflection term (l³/48)·(2·q·l/pi) with the short pi.
    QTest::newRow("single span q=10 on 6 m")
        << ProjectTexts(Beam().length(1, 6).load(1, 10))
        << Expected{{"MA", 0},   {"MB", 0},    {"Ali", 0}, {"Are", 30},  {"Bli", -30},
                    {"Bre", 0},  {"A", 30},    {"B", 30},  {"MF1", 45},  {"xF1", 3},
                    {"EIf1", 216.0 / 48 * 120 / Pi12}, {"EIwKl", 0}, {"EIwKr", 0}};

    // The four load kinds simply add up.
    QTest::newRow("single span g+q+s+w")
        << ProjectTexts(Beam().length(1, 6).load(1, 4, LoadG).load(1, 3, LoadQ).load(1, 2, LoadS).load(1, 1, LoadW))
        << Expected{{"Are", 30}, {"Bli", -30}, {"MF1", 45}, {"xF1", 3}};

    // Clapeyron for two equal spans: MB = -q·l²/8, R = q·l²/4 = 62.5.
    QTest::newRow("two equal spans 5 m q=10")
        << ProjectTexts(Beam().length(1, 5).length(2, 5).load(1, 10).load(2, 10))
        << Expected{{"MA", 0},        {"MB", -31.25},    {"MC", 0},     {"Are", 18.75}, {"Bli", -31.25},
                    {"Bre", 31.25},   {"Cli", -18.75},   {"Cre", 0},    {"A", 18.75},   {"B", 62.5},
                    {"C", 18.75},     {"xF1", 1.875},    {"xF2", 3.125}, {"MF1", 17.578125},
                    {"MF2", 17.578125},
                    {"EIf1", 125.0 / 48 * 100 / Pi12 - 25 * 31.25 * 0.0609425},
                    {"EIf2", 125.0 / 48 * 100 / Pi12 - 25 * 31.25 * 0.0609425}};

    // Three equal spans: MB = MC = -0.1·q·l², reactions 0.4/1.1/1.1/0.4·q·l,
    // end span moment 0.08·q·l², middle 0.025·q·l².
    QTest::newRow("three equal spans 4 m q=10")
        << ProjectTexts(Beam().length(1, 4).length(2, 4).length(3, 4).load(1, 10).load(2, 10).load(3, 10))
        << Expected{{"MB", -16}, {"MC", -16}, {"MD", 0},   {"Are", 16},  {"Bli", -24},  {"Bre", 20},
                    {"Cli", -20}, {"Cre", 24}, {"Dli", -16}, {"Dre", 0},  {"A", 16},     {"B", 44},
                    {"C", 44},   {"D", 16},   {"MF1", 12.8}, {"xF1", 1.6}, {"MF2", 4},  {"xF2", 2},
                    {"MF3", 12.8}, {"xF3", 2.4}};

    // Point load F = 10 at a = 2 on 6 m: reactions 20/3 and 10/3, the maximum
    // under the load.
    QTest::newRow("single span point load, no uniform load")
        << ProjectTexts(Beam().length(1, 6).point(0, 10, 2))
        << Expected{{"Are", 20.0 / 3}, {"Bli", -10.0 / 3}, {"xF1", 2}, {"MF1", 40.0 / 3},
                    {"EIf1", 4.5 * 10 * std::sin(Pi12 * 2 / 6)}};

    // An empty row before the load is skipped: the search, the moment and
    // the deflection sum all count the load.
    QTest::newRow("first slot empty, q=0")
        << ProjectTexts(Beam().length(1, 6).point(1, 10, 2))
        << Expected{{"Are", 20.0 / 3}, {"xF1", 2}, {"MF1", 40.0 / 3}, {"EIf1", 4.5 * 10 * std::sin(Pi12 / 3)}};
    // With a uniform load the search crosses the load at 2 and finds V = 0 at
    // 8/3; the moment there is 8/3·Are − 5·(8/3)² − 10·(8/3 − 2).
    QTest::newRow("first slot empty, q=10")
        << ProjectTexts(Beam().length(1, 6).load(1, 10).point(1, 10, 2))
        << Expected{{"Are", 110.0 / 3}, {"xF1", 8.0 / 3},
                    {"MF1", 8.0 / 3 * 110.0 / 3 - 5 * 64.0 / 9 - 10 * (8.0 / 3 - 2)},
                    {"EIf1", 216.0 / 48 * 120 / Pi12 + 4.5 * 10 * std::sin(Pi12 / 3)}};

    // Loads typed in descending order of a are taken in order of distance:
    // 47.5 − 10 − 20 = 17.5 after the load at 1, zero at 1 + 17.5/10.
    QTest::newRow("descending loads")
        << ProjectTexts(Beam().length(1, 6).load(1, 10).point(0, 5, 5).point(1, 20, 1))
        << Expected{{"Are", 47.5}, {"xF1", 2.75}, {"MF1", 2.75 * 47.5 - 5 * 2.75 * 2.75 - 20 * 1.75}};
    // g = 10 on 6 m, 20 kN at 2 and 4 m: M(3) = 45 + 20·2 = 85, in whatever
    // rows the loads stand; the midspan term counts both loads.
    QTest::newRow("two loads descending")
        << ProjectTexts(Beam().length(1, 6).load(1, 10).point(0, 20, 4).point(1, 20, 2))
        << Expected{{"xF1", 3}, {"MF1", 85}, {"EIf1", 4.5 * (120 / Pi12 + 40 * std::sin(Pi12 / 3))}};
    QTest::newRow("two loads with an empty row between")
        << ProjectTexts(Beam().length(1, 6).point(0, 20, 2).point(2, 20, 4))
        << Expected{{"xF1", 2}, {"MF1", 40}, {"EIf1", 4.5 * 40 * std::sin(Pi12 / 3)}};
    QTest::newRow("one load in the second row")
        << ProjectTexts(Beam().length(1, 6).point(1, 20, 3)) << Expected{{"MF1", 30}, {"EIf1", 4.5 * 20}};
    // A load on the support (a = 0) does not end the list: the load at 3
    // still counts in the span moment and the midspan term.
    QTest::newRow("load on the support, then one at midspan")
        << ProjectTexts(Beam().length(1, 6).point(0, 10, 0).point(1, 20, 3))
        << Expected{{"Are", 20}, {"xF1", 3}, {"MF1", 30}, {"EIf1", 4.5 * 20}};
    // Cantilever rows in any order: the tip term of a left cantilever of 2 m
    // under 10 kN at a = 1 from its free end beside a span of 6 m whose only
    // load stands on support A (it bends nothing).
    QTest::newRow("cantilever load in the last row")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).point(0, 1, 0).point(23, 10, 1))
        << Expected{{"MA", -10}, {"EIwKl", 10 * (3 * 2 - 1) / 6.0 + 10 * 6 / 3.0 * 2}};

    // Ascending loads: shear 36 - 10 at 1, -10 at 3 -> zero at the load at 3.
    QTest::newRow("two ascending point loads")
        << ProjectTexts(Beam().length(1, 6).load(1, 2).point(0, 10, 1).point(1, 10, 3))
        << Expected{{"Are", (36.0 + 50 + 30) / 6}, {"xF1", 3},
                    {"MF1", 3 * 116.0 / 6 - 9 - 20},
                    {"EIf1", 4.5 * (24 / Pi12 + 10 * std::sin(Pi12 / 6) + 10 * std::sin(Pi12 / 2))}};

    // A cantilever of length 0 does not exist: neither its uniform load nor
    // the point loads left in its rows act; the span is simply supported.
    QTest::newRow("zero-length cantilevers with point loads")
        << ProjectTexts(Beam().length(1, 6).load(1, 10).load(4, 50).load(5, 50).point(21, 10, 1).point(24, 4, 2))
        << Expected{{"MA", 0}, {"Ali", 0}, {"MB", 0}, {"Bre", 0}, {"Are", 30},
                    {"Bli", -30}, {"MF1", 45}, {"EIwKl", 0}, {"EIwKr", 0}};
    // Two spans 4 / 3.5 m, q = 4.5, F = 10 at 2.5 in span 2, 5 kN left in the
    // missing right cantilever: Clapeyron with MA = MC = 0,
    // MB = -(R1·l1 + Lt2·l2) / (2·(l1 + l2)), R1 = q·l1²/4,
    // Lt2 = q·l2²/4 + F·a·b·(2·l2 - a)/l2²; C = (q·l2²/2 + F·a + MB)/l2.
    {
        const double q = 4.5, l1 = 4, l2 = 3.5, F = 10, a = 2.5, b = 1;
        const double MB = -(q * l1 * l1 / 4 * l1 + (q * l2 * l2 / 4 + F * a * b * (2 * l2 - a) / (l2 * l2)) * l2)
            / (2 * (l1 + l2));
        const double C = (q * l2 * l2 / 2 + F * a + MB) / l2;
        QTest::newRow("load in the row of a missing right cantilever")
            << ProjectTexts(Beam().length(1, l1).length(2, l2).load(1, 2.5).load(1, 2, LoadQ).load(2, 2.5)
                                .load(2, 2, LoadQ).point(7, F, a).point(24, 5, 1.5))
            << Expected{{"MB", MB}, {"MC", 0}, {"Cre", 0}, {"C", C}, {"Cli", -C}};
    }
    // Loads beyond or before their region do not act; one at the support
    // end of a cantilever (a = k) does.
    QTest::newRow("load beyond its span")
        << ProjectTexts(Beam().length(1, 6).load(1, 10).point(0, 10, 8))
        << Expected{{"Are", 30}, {"Bli", -30}, {"MF1", 45}, {"xF1", 3}};
    QTest::newRow("left cantilever load beyond its free end")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).load(1, 10).point(21, 10, -0.5).point(22, 10, 2))
        << Expected{{"MA", 0}, {"Ali", -10}, {"Are", 30}, {"A", 40}};

    // Single span with both cantilevers: MA = -5·2²/2, MB = -8·1.5²/2.
    QTest::newRow("single span with both cantilevers")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).length(5, 1.5).load(1, 10).load(4, 5).load(5, 8))
        << Expected{{"MA", -10}, {"MB", -9}, {"Ali", -10}, {"Bre", 12}, {"Are", 181.0 / 6},
                    {"Bli", -179.0 / 6}, {"A", 181.0 / 6 + 10}, {"B", 12 + 179.0 / 6}};

    // Texts read with LeadingNumber: "6.00m" is 6, "1 0" is 10.
    QTest::newRow("texts read by their leading number")
        << [] {
               Beam b;
               b.t.lengths[0] = QStringLiteral("6.00m");
               b.t.uniform[0][LoadG] = QStringLiteral("1 0");
               return ProjectTexts(b);
           }()
        << Expected{{"L1", 6}, {"MF1", 45}};
}

void TestAnalysis::closedForm()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(Expected, expected);
    AnalysisOutcome outcome;
    const ResultSet r = run(texts, &outcome);
    QVERIFY2(!outcome.refused, qPrintable(outcome.refusal));
    QVERIFY(outcome.warnings.isEmpty());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(near(field(r, it.key()), it.value()),
                 qPrintable(QStringLiteral("%1 = %2, expected %3").arg(it.key()).arg(field(r, it.key()), 0, 'g', 12)
                                .arg(it.value(), 0, 'g', 12)));
}

void TestAnalysis::statics_data()
{
    QTest::addColumn<ProjectTexts>("texts");

    QTest::newRow("three spans, both cantilevers, uniform")
        << ProjectTexts(Beam().length(1, 5).length(2, 6).length(3, 4).length(4, 1.5).length(5, 2)
                            .load(1, 10).load(2, 12).load(3, 8).load(4, 5).load(5, 7).load(2, 3, LoadS));
    QTest::newRow("three spans, both cantilevers, point loads")
        << ProjectTexts(Beam().length(1, 5).length(2, 6).length(3, 4).length(4, 1.5).length(5, 2)
                            .load(1, 4).load(2, 2).load(3, 3).load(4, 1).load(5, 2)
                            .point(0, 20, 1.5).point(1, 15, 3.5)
                            .point(7, 30, 2).point(8, 10, 4).point(9, 5, 5.5)
                            .point(14, 25, 2)
                            .point(21, 8, 0.5).point(24, 6, 2).point(25, 4, 1));
    QTest::newRow("three unequal spans, no cantilevers")
        << ProjectTexts(Beam().length(1, 3).length(2, 7.5).length(3, 5).load(1, 6).load(2, 9).load(3, 2)
                            .point(14, 40, 1));
    QTest::newRow("two spans, both cantilevers, point loads")
        << ProjectTexts(Beam().length(1, 4).length(2, 6).length(4, 1).length(5, 2.5)
                            .load(1, 5).load(2, 7).load(4, 3).load(5, 3)
                            .point(0, 12, 2).point(7, 9, 1).point(8, 9, 5).point(21, 5, 0.2).point(24, 7, 2.5));
    QTest::newRow("single span, both cantilevers, point loads")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).length(5, 1.5).load(1, 10).load(4, 5).load(5, 8)
                            .point(0, 10, 2).point(1, 10, 4).point(21, 3, 1).point(24, 2, 1.5));
    // The cantilever makes MB sag, span 1 hogs throughout and its shear stays
    // positive: the largest moment of span 1 sits at B.
    QTest::newRow("two spans, heavy left cantilever")
        << ProjectTexts(Beam().length(1, 4).length(2, 4).length(4, 3).load(1, 1).load(2, 1).load(4, 30));
    QTest::newRow("three spans, heavy right cantilever")
        << ProjectTexts(Beam().length(1, 4).length(2, 4).length(3, 3).length(5, 3)
                            .load(1, 1).load(2, 1).load(3, 1).load(5, 40));
}

void TestAnalysis::statics()
{
    QFETCH(ProjectTexts, texts);
    AnalysisOutcome outcome;
    const ResultSet r = run(texts, &outcome);
    QVERIFY2(!outcome.refused, qPrintable(outcome.refusal));
    QVERIFY(outcome.warnings.isEmpty());

    const int spans = outcome.spans;
    const Region left = region(texts, LeftCantilever), right = region(texts, RightCantilever);
    const double M[4] = {r.MA, r.MB, r.MC, r.MD};
    const double V0[3] = {r.Are, r.Bre, r.Cre};
    const double Vend[3] = {r.Bli, r.Cli, r.Dli};
    const double MF[3] = {r.MF1, r.MF2, r.MF3};
    const double reactions = r.A() + r.B() + r.C() + r.D();

    // Equilibrium: the reactions carry the total load.
    double load = left.q * left.length + right.q * right.length, length = 0;
    for (auto [F, a] : left.loads)
        load += F;
    for (auto [F, a] : right.loads)
        load += F;
    for (int j = 0; j < spans; ++j) {
        const Region s = region(texts, j + 1);
        load += s.q * s.length;
        for (auto [F, a] : s.loads)
            load += F;
        length += s.length;
    }
    QVERIFY2(near(reactions, load, load), qPrintable(QStringLiteral("reactions %1, load %2").arg(reactions).arg(load)));

    double previousRightSlope = 0;
    for (int j = 0; j < spans; ++j) {
        const Region s = region(texts, j + 1);
        const double scale = std::abs(load) * length;
        // The moment line from the left support reaches the right support moment,
        // and its slope there matches the shear just left of it.
        QVERIFY2(near(spanMomentAt(s, M[j], V0[j], s.length), M[j + 1], scale), qPrintable(QString::number(j)));
        double Vl = V0[j] - s.q * s.length;
        for (auto [F, a] : s.loads)
            Vl -= F;
        QVERIFY(near(Vl, Vend[j], std::abs(load)));
        // Slope continuity over the interior supports (the three-moment equation).
        const auto [slopeLeft, slopeRight] = spanEndSlopes(s, M[j], V0[j]);
        if (j > 0)
            QVERIFY2(near(slopeLeft, previousRightSlope, scale * length),
                     qPrintable(QStringLiteral("span %1: %2 vs %3").arg(j + 1).arg(slopeLeft).arg(previousRightSlope)));
        previousRightSlope = slopeRight;
        // With ascending loads the span moment is the largest of the span.
        QVERIFY2(near(MF[j], largestSpanMoment(s, M[j], V0[j]), scale),
                 qPrintable(QStringLiteral("MF%1 = %2, largest %3").arg(j + 1).arg(MF[j])
                                .arg(largestSpanMoment(s, M[j], V0[j]))));
        const double xF = field(r, QStringLiteral("xF%1").arg(j + 1));
        QVERIFY(xF >= 0 && xF <= s.length);
    }
}

void TestAnalysis::cantileverTips_data()
{
    statics_data();
}

// The tip terms against the exact tip deflection: cantilever bending plus the
// support rotation of the adjacent span (moment line integrated). Both far
// moments enter with their signs, so a sagging MB or MC is exact as well.
void TestAnalysis::cantileverTips()
{
    QFETCH(ProjectTexts, texts);
    AnalysisOutcome outcome;
    const ResultSet r = run(texts, &outcome);
    QVERIFY(!outcome.refused);
    const int spans = outcome.spans;
    const double M[4] = {r.MA, r.MB, r.MC, r.MD};
    const double V0[3] = {r.Are, r.Bre, r.Cre};

    const Region left = region(texts, LeftCantilever);
    if (left.length != 0) {
        const auto [slope, unused] = spanEndSlopes(region(texts, Span1), r.MA, r.Are);
        const double bending = integrate([&](double t) { return -cantileverMomentAt(left, t, true) * t; }, 0,
                                         left.length, loadPoints(left));
        const double exact = -slope * left.length + bending;
        QVERIFY2(near(r.EIwKl, exact, std::abs(exact)),
                 qPrintable(QStringLiteral("EIwKl %1, exact %2").arg(r.EIwKl).arg(exact)));
    } else {
        QCOMPARE(r.EIwKl, 0.0);
    }

    const Region right = region(texts, RightCantilever);
    if (right.length != 0) {
        const int last = spans - 1;
        const auto [unused, slope] = spanEndSlopes(region(texts, last + 1), M[last], V0[last]);
        std::vector<double> fromTip;
        for (auto [F, a] : right.loads)
            fromTip.push_back(right.length - a);
        const double bending = integrate([&](double t) { return -cantileverMomentAt(right, t, false) * t; }, 0,
                                         right.length, fromTip);
        const double exact = slope * right.length + bending;
        QVERIFY2(near(r.EIwKr, exact, std::abs(exact)),
                 qPrintable(QStringLiteral("EIwKr %1, exact %2").arg(r.EIwKr).arg(exact)));
    } else {
        QCOMPARE(r.EIwKr, 0.0);
    }
}

void TestAnalysis::zeroShear_data()
{
    QTest::addColumn<SpanLoads>("span");
    QTest::addColumn<double>("V0");
    QTest::addColumn<double>("previous");
    QTest::addColumn<double>("xF");
    QTest::addColumn<bool>("loaded");

    const auto span = [](double l, double q, std::initializer_list<std::pair<double, double>> loads = {}) {
        SpanLoads s;
        s.length = l;
        s.q = q;
        int i = 0;
        for (auto [F, a] : loads) {
            s.F[i] = F;
            s.a[i] = a;
            ++i;
        }
        return s;
    };

    QTest::newRow("uniform load") << span(6, 10) << 30.0 << 9.0 << 3.0 << true;
    QTest::newRow("uniform, shear positive beyond the span") << span(5, 10) << 100.0 << 1.0 << 5.0 << true;
    QTest::newRow("uniform, shear negative at the support") << span(5, 10) << -4.0 << 1.0 << 0.0 << true;
    QTest::newRow("uplift, zero inside the span") << span(5, -10) << -20.0 << 1.0 << 2.0 << true;
    QTest::newRow("point load only") << span(6, 0, {{10, 2}}) << 20.0 / 3 << 9.0 << 2.0 << true;
    QTest::newRow("point load only, first slot empty") << span(6, 0, {{0, 0}, {10, 2}}) << 20.0 / 3 << 9.0 << 2.0
                                                        << true;
    QTest::newRow("point loads, shear never reaches zero") << span(6, 0, {{1, 2}}) << 10.0 << 1.0 << 6.0 << true;
    QTest::newRow("point load beyond the span") << span(6, 0, {{30, 8}}) << 20.0 << 1.0 << 6.0 << true;
    QTest::newRow("point load, shear not positive at the support") << span(6, 0, {{10, 2}}) << -1.0 << 4.0 << 0.0
                                                                   << true;
    QTest::newRow("point load, shear exactly zero at the support") << span(6, 2, {{10, 2}}) << 0.0 << 4.0 << 0.0
                                                                   << true;
    // 36 - 10·3 = 6 before the load at 3, then 6 - 10 < 0: stop at the load.
    QTest::newRow("zero at a point load") << span(6, 10, {{10, 3}}) << 36.0 << 0.0 << 3.0 << true;
    // 36 - 20 - 10 = 6 after the load at 2, then the stretch 2..6 after the
    // empty slot: zero at 2.6.
    QTest::newRow("zero after the last load") << span(6, 10, {{10, 2}}) << 36.0 << 0.0 << 2.6 << true;
    // 10 - 1 - 1 = 8 after the load at 1; the stretch 1..6 leaves 3 > 0.
    QTest::newRow("shear still positive at the span end") << span(6, 1, {{1, 1}}) << 10.0 << 0.0 << 6.0 << true;
    // Seven loads of 1 at 1..7 m on 10 m, q = 1: after the seventh 15.5 - 14 =
    // 1.5 is left, and the stretch 7..10 brings it to zero at 8.5.
    QTest::newRow("past the seventh slot")
        << span(10, 1, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}}) << 15.5 << 0.0 << 8.5 << true;
    QTest::newRow("past the seventh slot to the end")
        << span(10, 1, {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}}) << 20.0 << 0.0 << 10.0 << true;
    // Descending order: the loads are walked in order of distance, 1 before 5.
    QTest::newRow("descending loads") << span(6, 10, {{5, 5}, {20, 1}}) << 47.5 << 0.0 << 2.75 << true;
    // A force of 0 with a distance is a boundary without load: the walk goes on.
    QTest::newRow("zero force with a distance") << span(6, 10, {{0, 1}, {10, 2}}) << 36.0 << 0.0 << 2.6 << true;
    QTest::newRow("no load keeps the position") << span(6, 0) << 5.0 << 2.5 << 2.5 << false;
    QTest::newRow("no load, kept position held within the span") << span(5, 0) << 5.0 << 61.9 << 5.0 << false;
    QTest::newRow("no load, kept negative position") << span(5, 0) << 5.0 << -1.0 << 0.0 << false;
    QTest::newRow("a distance alone is no load") << span(5, 0, {{0, 3}}) << 5.0 << 1.0 << 1.0 << false;
}

void TestAnalysis::zeroShear()
{
    QFETCH(SpanLoads, span);
    QFETCH(double, V0);
    QFETCH(double, previous);
    QFETCH(double, xF);
    QFETCH(bool, loaded);
    double x = previous;
    QCOMPARE(FindZeroShear(span, V0, x), loaded);
    QVERIFY2(near(x, xF), qPrintable(QString::number(x, 'g', 17)));
}

void TestAnalysis::unloadedSpanKeepsPosition_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<double>("previousXF2");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<Expected>("expected");

    // Two 5 m spans, span 1 q = 10: MB = -62.5·5/20, Bre = -MB/5 = 3.125,
    // and the unloaded span 2 has MF2 = x·Bre + MB.
    const ProjectTexts twoSpans = Beam().length(1, 5).length(2, 5).load(1, 10);
    QTest::newRow("kept position") << twoSpans << 2.5 << 1
                                   << Expected{{"MB", -15.625}, {"Bre", 3.125}, {"xF2", 2.5},
                                               {"MF2", 2.5 * 3.125 - 15.625}};
    QTest::newRow("kept position held within the span") << twoSpans << 7.0 << 1
                                                        << Expected{{"xF2", 5}, {"MF2", 0}};
    QTest::newRow("start of the program") << twoSpans << 0.0 << 1 << Expected{{"xF2", 0}, {"MF2", -15.625}};
    QTest::newRow("single span without any load") << ProjectTexts(Beam().length(1, 6)) << 3.0 << 1
                                                   << Expected{{"MF1", 0}, {"xF2", 3}};
    QTest::newRow("three spans, outer spans unloaded")
        << ProjectTexts(Beam().length(1, 4).length(2, 4).length(3, 4).load(2, 10)) << 1.0 << 2
        << Expected{{"xF1", 0.7}, {"xF2", 2}, {"xF3", 0.9}};
    QTest::newRow("unloaded span with a cantilever load")
        << ProjectTexts(Beam().length(1, 4).length(4, 2).load(4, 10)) << 1.0 << 1
        << Expected{{"MA", -20}, {"Are", 5}, {"xF1", 0.7}, {"MF1", 0.7 * 5 - 20}};
}

void TestAnalysis::unloadedSpanKeepsPosition()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(double, previousXF2);
    QFETCH(int, warnings);
    QFETCH(Expected, expected);
    ResultSet r;
    r.xF1 = 0.7;
    r.xF2 = previousXF2;
    r.xF3 = 0.9;
    const AnalysisOutcome outcome = RunAnalysis(texts, r);
    QVERIFY(!outcome.refused);
    QCOMPARE(outcome.warnings.size(), warnings);
    for (const QString &w : outcome.warnings)
        QCOMPARE(w, QStringLiteral("Geben Sie eine Belastung ein"));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(near(field(r, it.key()), it.value()),
                 qPrintable(QStringLiteral("%1 = %2").arg(it.key()).arg(field(r, it.key()))));
}

void TestAnalysis::smallerSystemClearsOldValues()
{
    ResultSet r;
    const ProjectTexts three = Beam().length(1, 4).length(2, 4).length(3, 4).length(4, 1).length(5, 1)
                                   .load(1, 10).load(2, 10).load(3, 10).load(4, 10).load(5, 10);
    QVERIFY(!RunAnalysis(three, r).refused);
    QVERIFY(r.MD != 0 && r.Dli != 0 && r.EIf3 != 0 && r.EIwKr != 0);
    const double xF2 = r.xF2, xF3 = r.xF3;

    const ProjectTexts one = Beam().length(1, 4).load(1, 10);
    QVERIFY(!RunAnalysis(one, r).refused);
    for (const char *name : {"MC", "MD", "MF2", "MF3", "Cli", "Cre", "Dli", "Dre", "EIf2", "EIf3", "EIwKl", "EIwKr",
                             "L2", "L3", "Lkl", "Lkr"})
        QVERIFY2(field(r, name) == 0, name);
    // Positions of spans the beam no longer has stay as they were.
    QCOMPARE(r.xF2, xF2);
    QCOMPARE(r.xF3, xF3);
    QCOMPARE(r.xF1, 2.0);
}

void TestAnalysis::refusals_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<QString>("cause");

    QTest::newRow("L1 = 0") << ProjectTexts(Beam().length(1, 0).load(1, 10)) << "L1";
    QTest::newRow("L1 = 0.00 in a two-span beam") << ProjectTexts(Beam().text(1, "0.00").length(2, 5).load(2, 10))
                                                  << "L1";
    QTest::newRow("L1 of letters") << ProjectTexts(Beam().text(1, "abc").load(1, 10)) << "L1";
    QTest::newRow("L1 = 0 with a cantilever") << ProjectTexts(Beam().length(4, 2).load(4, 10)) << "L1";
    QTest::newRow("L3 without L2") << ProjectTexts(Beam().length(1, 5).length(3, 4).load(1, 10)) << "L2";
    QTest::newRow("length 1e308") << ProjectTexts(Beam().text(1, "1e308").load(1, 2)) << "unendlich";
    QTest::newRow("length 1e999") << ProjectTexts(Beam().text(1, "1e999").load(1, 2)) << "L1";
    QTest::newRow("cantilever 1e999") << ProjectTexts(Beam().length(1, 5).text(5, "1D999")) << "rechten Kragarms";
    QTest::newRow("loads 1e308") << ProjectTexts(Beam().length(1, 6).load(1, 1e308).load(1, 1e308, LoadQ))
                                 << "unendlich";
    QTest::newRow("snow load 1e400")
        << [] {
               Beam b;
               b.length(1, 6).t.uniform[1][LoadS] = QStringLiteral("1e400");
               return ProjectTexts(b);
           }()
        << "Schneelast s in Feld 2";
    QTest::newRow("point load 1e308 on the support") << ProjectTexts(Beam().length(1, 6).point(0, 1e308, 6))
                                                     << "unendlich";
    QTest::newRow("distance 1e999")
        << [] {
               Beam b;
               b.length(1, 6).point(23, 5, 0).t.distance[23] = QStringLiteral("1e999");
               return ProjectTexts(b);
           }()
        << "Einzellast Nr. 3 im linken Kragarm";
    QTest::newRow("L2 negative") << ProjectTexts(Beam().length(1, 5).length(2, -5).load(1, 10)) << "L2 ist negativ";
    QTest::newRow("L1 negative") << ProjectTexts(Beam().length(1, -6).load(1, 10)) << "L1 ist negativ";
    QTest::newRow("L3 negative") << ProjectTexts(Beam().length(1, 5).length(2, 5).length(3, -1).load(1, 10))
                                 << "L3 ist negativ";
    QTest::newRow("left cantilever negative") << ProjectTexts(Beam().length(1, 5).length(4, -1).load(1, 10))
                                              << "linken Kragarms ist negativ";
    QTest::newRow("right cantilever negative") << ProjectTexts(Beam().length(1, 5).length(5, -0.5).load(1, 10))
                                               << "rechten Kragarms ist negativ";
    QTest::newRow("tiny span in a two-span beam") << ProjectTexts(Beam().length(1, 1e-200).length(2, 5).load(1, 10))
                                                  << "unendlich";
}

void TestAnalysis::refusals()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(QString, cause);
    const ResultSet before = sentinelResults();
    ResultSet r = before;
    const AnalysisOutcome outcome = RunAnalysis(texts, r);
    QVERIFY(outcome.refused);
    QVERIFY2(outcome.refusal.contains(cause), qPrintable(outcome.refusal));
    QVERIFY(outcome.warnings.isEmpty());
    for (const QString &name : allFields())
        QVERIFY2(field(r, name) == field(before, name), qPrintable(name));
}

void TestAnalysis::noInfinityOrNaNInLines_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::newRow("long span") << ProjectTexts(Beam().length(1, 1e100).load(1, 1));
    QTest::newRow("huge load on a short span") << ProjectTexts(Beam().length(1, 1e-3).load(1, 1e300));
    QTest::newRow("huge cantilever load") << ProjectTexts(Beam().length(1, 1).length(4, 1e160).load(4, 1e300));
    QTest::newRow("loads of opposite signs")
        << ProjectTexts(Beam().length(1, 1).load(1, 1e308).load(1, -1e308, LoadQ).load(1, 1e308, LoadS));
    QTest::newRow("negative lengths") << ProjectTexts(Beam().length(1, -4).length(2, 6).length(3, -2).load(1, 3)
                                                          .load(2, 3).load(3, 3).point(0, 5, -1));
    QTest::newRow("point load on the support in a later slot")
        << ProjectTexts(Beam().length(1, 6).load(1, 2).point(0, 10, 2).point(1, 10, 0));
    QTest::newRow("tiny single span") << ProjectTexts(Beam().length(1, 1e-200).load(1, 10));
    QTest::newRow("many tiny values") << ProjectTexts(Beam().length(1, 1e-100).length(2, 1e-100).load(1, 1e-300));
}

void TestAnalysis::noInfinityOrNaNInLines()
{
    QFETCH(ProjectTexts, texts);
    const ResultSet before = sentinelResults();
    ResultSet r = before;
    const QLocale locale(QLocale::German, QLocale::Germany);
    const AnalysisOutcome outcome = RunAnalysis(texts, r);
    if (outcome.refused) {
        QVERIFY(!outcome.refusal.isEmpty());
        QCOMPARE(r.MF1, before.MF1);
        return;
    }
    for (const QString &line : ResultLines(r, outcome.spans, locale).lines) {
        QVERIFY2(!line.contains(QLatin1String("inf"), Qt::CaseInsensitive), qPrintable(line));
        QVERIFY2(!line.contains(QLatin1String("nan"), Qt::CaseInsensitive), qPrintable(line));
    }
    for (const QString &name : allFields())
        QVERIFY2(std::isfinite(field(r, name)), qPrintable(name));
    for (int j = 1; j <= outcome.spans; ++j) {
        const double l = r.L1 * (j == 1) + r.L2 * (j == 2) + r.L3 * (j == 3);
        const double xF = field(r, QStringLiteral("xF%1").arg(j));
        QVERIFY(xF >= std::min(0.0, l) && xF <= std::max(0.0, l));
    }
}

void TestAnalysis::resultLineTexts_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("line");

    const ProjectTexts three = Beam().length(1, 4).length(2, 4).length(3, 4).load(1, 10).load(2, 10).load(3, 10);
    const QStringList lines = {"Stützmoment  MA  = 0.00  kNm",   "Stützmoment  MB  = -16.00  kNm",
                               "Stützmoment  MC  = -16.00  kNm", "Stützmoment  MD  = 0.00  kNm",
                               "Feldmoment   MF1 = 12.80  kNm",  "Feldmoment   MF2 = 4.00  kNm",
                               "Feldmoment   MF3 = 12.80  kNm",  "Querkraft  Ali = 0.00  kN",
                               "Querkraft  Are = 16.00  kN",     "Querkraft  Bli = -24.00  kN",
                               "Querkraft  Bre = 20.00  kN",     "Querkraft  Cli = -20.00  kN",
                               "Querkraft  Cre = 24.00  kN",     "Querkraft  Dli = -16.00  kN",
                               "Querkraft  Dre = 0.00  kN",      "Auflagerkraft  A = 16.00  kN",
                               "Auflagerkraft  B = 44.00  kN",   "Auflagerkraft  C = 44.00  kN",
                               "Auflagerkraft  D = 16.00  kN"};
    for (int n = 0; n < ResultLineCount; ++n)
        QTest::addRow("three spans, item %d", n) << three << QLocale::c() << n << lines[n];

    const QLocale german(QLocale::German, QLocale::Germany);
    const ProjectTexts one = Beam().length(1, 6).load(1, 10);
    QTest::newRow("decimal comma") << one << german << 4 << "Feldmoment   MF1 = 45,00  kNm";
    QTest::newRow("decimal comma, negative") << one << german << 9 << "Querkraft  Bli = -30,00  kN";
    // 1/3 of 10 kN: each line rounds on its own.
    const ProjectTexts point = Beam().length(1, 3).point(0, 10, 1);
    QTest::newRow("rounded shear") << point << german << 8 << "Querkraft  Are = 6,67  kN";
    QTest::newRow("rounded reaction") << point << german << 16 << "Auflagerkraft  B = 3,33  kN";
    // A large value shows no group separator; a tiny negative no minus sign.
    QTest::newRow("no group separator")
        << ProjectTexts(Beam().length(1, 100).load(1, 10)) << german << 4 << "Feldmoment   MF1 = 12500,00  kNm";
    QTest::newRow("no negative zero")
        << ProjectTexts(Beam().length(1, 6).length(5, 0.01).load(5, 0.01)) << QLocale::c() << 1
        << "Stützmoment  MB  = 0.00  kNm";
}

void TestAnalysis::resultLineTexts()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(QLocale, locale);
    QFETCH(int, item);
    QFETCH(QString, line);
    ResultSet r;
    const AnalysisOutcome outcome = RunAnalysis(texts, r);
    QVERIFY(!outcome.refused);
    QCOMPARE(ResultLines(r, outcome.spans, locale).lines[item], line);
}

void TestAnalysis::visibility_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<int>("spans");
    QTest::addColumn<QString>("shown"); // one character per item

    //                     MA..MD MF   Ali..Dre  A..D
    QTest::newRow("single span") << ProjectTexts(Beam().length(1, 6).load(1, 1)) << 1 << "1100100111100001100";
    QTest::newRow("two spans") << ProjectTexts(Beam().length(1, 6).length(2, 5).load(1, 1).load(2, 1)) << 2
                               << "1110110111111001110";
    QTest::newRow("three spans") << ProjectTexts(Beam().length(1, 6).length(2, 5).length(3, 4).load(1, 1).load(2, 1)
                                                     .load(3, 1))
                                 << 3 << "1111111111111111111";
    QTest::newRow("defaults are three spans") << ProjectTexts::Defaults() << 3 << "1111111111111111111";
    QTest::newRow("cantilevers add no line") << ProjectTexts(Beam().length(1, 6).length(4, 1).length(5, 1)
                                                                 .load(1, 1))
                                             << 1 << "1100100111100001100";
}

void TestAnalysis::visibility()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(int, spans);
    QFETCH(QString, shown);
    ResultSet r;
    const AnalysisOutcome outcome = RunAnalysis(texts, r);
    QVERIFY(!outcome.refused);
    QCOMPARE(outcome.spans, spans);
    const ResultLineTexts made = ResultLines(r, outcome.spans, QLocale::c());
    QString actual;
    for (int n = 0; n < ResultLineCount; ++n) {
        actual += made.visible[n] ? u'1' : u'0';
        QVERIFY(!made.lines[n].isEmpty());
    }
    QCOMPARE(actual, shown);
}

void TestAnalysis::loadsThatDoNotAct_data()
{
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<QStringList>("warnings");   // German locale

    QTest::newRow("missing right cantilever")
        << ProjectTexts(Beam().length(1, 6).load(1, 2).point(24, 5, 1.5))
        << QStringList{"Die Einzellast Nr. 1 im rechten Kragarm (F = 5,00 kN, a = 1,50 m) wirkt nicht: der rechte "
                       "Kragarm ist nicht vorhanden (Länge 0)."};
    QTest::newRow("span 3 of a two-span beam, second row")
        << ProjectTexts(Beam().length(1, 5).length(2, 5).load(1, 2).point(15, 100, 2))
        << QStringList{"Die Einzellast Nr. 2 in Feld 3 (F = 100,00 kN, a = 2,00 m) wirkt nicht: das System hat kein "
                       "Feld 3."};
    QTest::newRow("beyond its span")
        << ProjectTexts(Beam().length(1, 6).load(1, 2).point(0, 10, 8))
        << QStringList{"Die Einzellast Nr. 1 in Feld 1 (F = 10,00 kN) steht mit a = 8,00 m außerhalb von Feld 1 "
                       "(l = 6,00 m) und wirkt nicht."};
    QTest::newRow("before the free end of the left cantilever")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).load(1, 2).point(21, -3, -0.5))
        << QStringList{"Die Einzellast Nr. 1 im linken Kragarm (F = -3,00 kN) steht mit a = -0,50 m außerhalb des "
                       "linken Kragarms (l = 2,00 m) und wirkt nicht."};
    QTest::newRow("at both ends of every region")
        << ProjectTexts(Beam().length(1, 6).length(4, 2).length(5, 1).load(1, 2).point(0, 1, 0).point(1, 1, 6)
                            .point(21, 1, 0).point(22, 1, 2).point(24, 1, 0).point(25, 1, 1))
        << QStringList();
}

// The loads that do not act are named, and the analysis computes the beam
// without them.
void TestAnalysis::loadsThatDoNotAct()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(QStringList, warnings);
    const QLocale german(QLocale::German, QLocale::Germany);
    ResultSet r;
    const AnalysisOutcome outcome = RunAnalysis(texts, r, Lines::Wanted);
    QVERIFY(!outcome.refused);
    QCOMPARE(InactiveLoadWarnings(outcome, german), warnings);
    QCOMPARE(InactiveLoadWarnings(texts, german), warnings);

    ProjectTexts without = texts;
    for (const InactivePointLoad &load : outcome.inactive)
        without.force[std::size_t(load.slot)] = QStringLiteral("0");
    ResultSet plain;
    QVERIFY(!RunAnalysis(without, plain).refused);
    for (const QString &name : allFields())
        QVERIFY2(field(r, name) == field(plain, name), qPrintable(name));
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_core_analysis.moc"
