// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Envelope of the variable loads: a two-span beam checked by hand, the
// brackets around the program's own run and the patterns' independence.
#include "analysis/analysis.h"
#include "analysis/envelope.h"

#include <QtTest>

#include <cmath>
#include <cstring>

using namespace varno;

namespace {

// Two equal spans l with g on both and q on both (cantilevers of length 0).
ProjectTexts twoSpans(double l, double g, double q)
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {QString::number(l), QString::number(l), QStringLiteral("0"), QStringLiteral("0"),
                 QStringLiteral("0")};
    for (auto &region : t.uniform)
        region.fill(QStringLiteral("0"));
    for (int span : {0, 1}) {
        t.uniform[span][LoadG] = QString::number(g);
        t.uniform[span][LoadQ] = QString::number(q);
    }
    return t;
}

double pick(const LoadEnvelope &env, const QString &name)
{
    static const QMap<QString, std::function<double(const LoadEnvelope &)>> quantities = {
        {"MB.min", [](const LoadEnvelope &e) { return e.supportMoment[1].min; }},
        {"MB.max", [](const LoadEnvelope &e) { return e.supportMoment[1].max; }},
        {"MF1.max", [](const LoadEnvelope &e) { return e.spanMoment[0].max; }},
        {"A.min", [](const LoadEnvelope &e) { return e.reaction[0].min; }},
        {"A.max", [](const LoadEnvelope &e) { return e.reaction[0].max; }},
        {"B.min", [](const LoadEnvelope &e) { return e.reaction[1].min; }},
        {"B.max", [](const LoadEnvelope &e) { return e.reaction[1].max; }},
        {"C.min", [](const LoadEnvelope &e) { return e.reaction[2].min; }},
        {"Bli.min", [](const LoadEnvelope &e) { return e.shear[2].min; }},
    };
    return quantities.value(name)(env);
}

} // namespace

class EnvelopeTest : public QObject
{
    Q_OBJECT

private slots:
    // l = 4 m, g = 1, q = 10 kN/m. With q on one span only the three-moment
    // equation gives MB = -(g/8 + q/16)·l² = -12; both spans loaded give
    // MB = -(g + q)·l²/8 = -22.
    void twoEqualSpans_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<double>("expected");
        const double l = 4, g = 1, q = 10;
        const double MBone = -(g / 8 + q / 16) * l * l;
        const double Aone = (g + q) * l / 2 + MBone / l;    // q on span 1 only
        QTest::newRow("MB smallest: q on both spans") << "MB.min" << -(g + q) * l * l / 8;
        QTest::newRow("MB largest: g only") << "MB.max" << -g * l * l / 8;
        QTest::newRow("MF1 largest: q on span 1 only") << "MF1.max" << Aone * Aone / (2 * (g + q));
        QTest::newRow("A largest: q on span 1 only") << "A.max" << Aone;
        QTest::newRow("A smallest: q on span 2 only") << "A.min" << g * l / 2 + MBone / l;
        QTest::newRow("B largest: q on both spans") << "B.max" << 5 * (g + q) * l / 4;
        QTest::newRow("B smallest: g only") << "B.min" << 5 * g * l / 4;
        QTest::newRow("C smallest: q on span 1 only") << "C.min" << 3 * g * l / 8 - q * l / 16;
        QTest::newRow("Bli smallest: q on both spans") << "Bli.min" << -5 * (g + q) * l / 8;
    }
    void twoEqualSpans()
    {
        QFETCH(QString, quantity);
        QFETCH(double, expected);
        const LoadEnvelope env = RunEnvelope(ReadBeam(twoSpans(4, 1, 10)));
        QVERIFY(!env.refused);
        QCOMPARE(env.spans, 2);
        QVERIFY2(std::abs(pick(env, quantity) - expected) < 1e-12,
                 qPrintable(QStringLiteral("%1 = %2").arg(quantity).arg(pick(env, quantity), 0, 'g', 17)));
    }

    // Uplift at the end supports once q exceeds 6·g (C = 3gl/8 - ql/16).
    void uplift_data()
    {
        QTest::addColumn<double>("g");
        QTest::addColumn<bool>("lifts");
        QTest::newRow("q = 5 g") << 2.0 << false;
        QTest::newRow("q = 10 g") << 1.0 << true;
    }
    void uplift()
    {
        QFETCH(double, g);
        QFETCH(bool, lifts);
        const LoadEnvelope env = RunEnvelope(ReadBeam(twoSpans(4, g, 10)));
        QCOMPARE(env.uplift(0), lifts);
        QCOMPARE(env.uplift(1), false);
        QCOMPARE(env.uplift(2), lifts);
    }

    // The permanent part plus every contribution of either sign brackets
    // the program's own run; without variable loads the envelope is that
    // run, bit for bit.
    void bracketsOwnRun_data()
    {
        QTest::addColumn<bool>("variable");
        QTest::newRow("with q, s, w") << true;
        QTest::newRow("g only") << false;
    }
    void bracketsOwnRun()
    {
        QFETCH(bool, variable);
        ProjectTexts t = ProjectTexts::Defaults();
        t.lengths = {QStringLiteral("5"), QStringLiteral("6.5"), QStringLiteral("4.5"), QStringLiteral("1.5"),
                     QStringLiteral("2")};
        for (int r = 0; r < RegionCount; ++r)
            for (int k = 0; k < LoadTypeCount; ++k)
                t.uniform[r][k] = QString::number(k == LoadG || variable ? 1.5 + r + 0.25 * k : 0);
        t.force[7] = QStringLiteral("12");
        t.distance[7] = QStringLiteral("2.5");
        ResultSet own;
        QVERIFY(!RunAnalysis(t, own).refused);
        const LoadEnvelope env = RunEnvelope(ReadBeam(t));
        QVERIFY(!env.refused);
        const double moments[] = {own.MA, own.MB, own.MC, own.MD};
        const double shears[] = {own.Ali, own.Are, own.Bli, own.Bre, own.Cli, own.Cre, own.Dli, own.Dre};
        const double reactions[] = {own.A(), own.B(), own.C(), own.D()};
        const double spanMoments[] = {own.MF1, own.MF2, own.MF3};
        // The sums of the parts round differently from the whole run.
        auto within = [variable](const ValueRange &range, double v) {
            const double slack = 1e-12 * std::max(1.0, std::fabs(v));
            return variable ? range.min <= v + slack && v - slack <= range.max : range.min == v && range.max == v;
        };
        for (int s = 0; s < 4; ++s) {
            QVERIFY2(within(env.supportMoment[s], moments[s]), SupportMomentNames[s]);
            QVERIFY2(within(env.reaction[s], reactions[s]), SupportNames[s]);
            QVERIFY2(within(env.shear[2 * s], shears[2 * s]), ShearNames[2 * s]);
            QVERIFY2(within(env.shear[2 * s + 1], shears[2 * s + 1]), ShearNames[2 * s + 1]);
        }
        // The span moment at the point of zero shear is one value of the line.
        for (int j = 0; j < 3; ++j) {
            const double slack = 1e-12 * std::max(1.0, std::fabs(spanMoments[j]));
            QVERIFY2(env.spanMoment[j].min <= spanMoments[j] + slack, SpanMomentNames[j]);
            QVERIFY2(env.spanMoment[j].max >= spanMoments[j] - slack, SpanMomentNames[j]);
            if (!variable)
                QVERIFY2(std::fabs(env.spanMoment[j].max - spanMoments[j]) <= slack, SpanMomentNames[j]);
        }
    }

    // Span 2 carries only an upward q = -10 beside g = 3 on span 1 (l = 4):
    // g alone gives MB = -g·l²/16 = -3 and a straight line in span 2 up to
    // MC = 0; q alone gives MB = +10 and in span 2 the moment
    // 10 - 22.5·x + 5·x², positive only up to x = 0.5. The largest moment of
    // span 2 is -3 + 10 at B, the smallest 7 - 21.75·x + 5·x² at x = 2.175.
    void unloadedSpanInPattern()
    {
        ProjectTexts t = twoSpans(4, 0, 0);
        t.uniform[0][LoadG] = QStringLiteral("3");
        t.uniform[1][LoadQ] = QStringLiteral("-10");
        const LoadEnvelope env = RunEnvelope(ReadBeam(t));
        QVERIFY(!env.refused);
        QCOMPARE(env.supportMoment[1].min, -3.0);
        QCOMPARE(env.spanMoment[1].max, 7.0);
        QCOMPARE(env.spanMoment[1].min, 7 - 21.75 * 2.175 + 5 * 2.175 * 2.175);
    }

    // Wind suction w = -3 beside q = 5 and g = 2 on a single span of 6 m:
    // the worst pattern (q on, w off) and the lightest (w on, q off) switch
    // the load kinds of one region apart: M = (g + q)·l²/8 and (g + w)·l²/8.
    void suctionBesideImposedLoad_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<double>("expected");
        QTest::newRow("MF1 largest: g + q") << "MF1.max" << 7 * 36 / 8.0;
        QTest::newRow("MF1 smallest: g + w") << "MF1.min" << -1 * 36 / 8.0;
        QTest::newRow("A largest: g + q") << "A.max" << 7 * 3.0;
        QTest::newRow("A smallest: g + w") << "A.min" << -1 * 3.0;
    }
    void suctionBesideImposedLoad()
    {
        QFETCH(QString, quantity);
        QFETCH(double, expected);
        ProjectTexts t = twoSpans(6, 2, 5);
        t.lengths[LengthL2] = QStringLiteral("0");
        t.uniform[0][LoadW] = QStringLiteral("-3");
        const LoadEnvelope env = RunEnvelope(ReadBeam(t));
        QVERIFY(!env.refused);
        QCOMPARE(env.spans, 1);
        const double got = quantity == "MF1.min" ? env.spanMoment[0].min : pick(env, quantity);
        QVERIFY2(std::abs(got - expected) < 1e-12, qPrintable(QString::number(got, 'g', 17)));
    }

    void refusalNamesPattern()
    {
        ProjectTexts t = twoSpans(4, 1e308, -1e308);
        const LoadEnvelope env = RunEnvelope(ReadBeam(t));
        QVERIFY(env.refused);
        QVERIFY2(env.refusal.contains(QStringLiteral("ständigen Lasten")), qPrintable(env.refusal));
    }
};

QTEST_APPLESS_MAIN(EnvelopeTest)
#include "tst_core_envelope.moc"
