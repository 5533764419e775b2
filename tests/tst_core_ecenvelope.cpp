// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The envelopes of the Eurocode diagrams against hand calculations: a
// single span, and two spans where only pattern loading gives the extremes.

#include "eurocode/ecrun.h"
#include "graphics/ecdiagrams.h"

#include <QCoreApplication>
#include <QtTest>

#include <cmath>

using namespace varno;

Q_DECLARE_METATYPE(varno::ProjectTexts)

class TestEcEnvelope : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void extremes_data();
    void extremes();
    void diagramLabelsExtremes();
    void diagramOfTinyValuesIsFinite();

private:
    ec::Data m_data;
};

void TestEcEnvelope::initTestCase()
{
    std::vector<ec::DataProblem> problems;
    m_data = ec::ReadData(QCoreApplication::applicationDirPath(), problems);
    QVERIFY(problems.empty());
}

namespace {

ProjectTexts beam(const QString &l1, const QString &l2, const QString &g, const QString &q)
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {l1, l2, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    for (auto &region : t.uniform) {
        region[LoadG] = g;
        region[LoadQ] = q;
    }
    return t;
}

ec::RunInputs inputs()
{
    ec::RunInputs in;
    in.options.timberClass = QStringLiteral("C24");
    in.options.bCm = 10;
    in.options.steel = false;
    return in;
}

} // namespace

void TestEcEnvelope::extremes_data()
{
    // Factors from the data files: γG,sup, γG,inf, γQ.
    const double gs = m_data.values.value(QStringLiteral("gamma.G.sup")).value;
    const double gi = m_data.values.value(QStringLiteral("gamma.G.inf")).value;
    const double gq = m_data.values.value(QStringLiteral("gamma.Q")).value;
    QTest::addColumn<ProjectTexts>("texts");
    QTest::addColumn<double>("maxM");
    QTest::addColumn<double>("minM");
    QTest::addColumn<double>("midMin");   // the smallest moment at the middle of span 1
    QTest::addColumn<double>("maxV");
    QTest::addColumn<double>("maxEIw");
    // One span L = 4, g = 1, q = 2: M = p L²/8, V = p L/2, EI·w = 5 p L⁴/384;
    // the smallest moment is 0 at the supports, at midspan G alone with γG,inf.
    QTest::newRow("single span") << beam("4", "0", "1", "2") << (gs * 1 + gq * 2) * 16 / 8 << 0.0 << gi * 1 * 16 / 8
                                 << (gs * 1 + gq * 2) * 4 / 2 << 5 * 3.0 * 256 / 384;
    // Two spans L = 4, q = 1 only. q on span 1 alone: MB = −qL²/16, A = 7qL/16,
    // largest span moment (7qL/16)²/(2q) = 49 qL²/512. q on both: MB = −qL²/8,
    // largest shear 5qL/8 at B. q on span 2 alone: M = MB/2 = −qL²/32 in the
    // middle of span 1. The largest EI·w (q on one span) lies below
    // that of a simply supported span, 5qL⁴/384, as MB holds the span up,
    // and above half of it: only these bounds are checked (-1).
    QTest::newRow("two spans, pattern") << beam("4", "4", "0", "1") << gq * 49.0 * 16 / 512 << -gq * 16.0 / 8 << -gq * 16.0 / 32
                                        << gq * 5.0 * 4 / 8 << -1.0;
}

void TestEcEnvelope::extremes()
{
    QFETCH(ProjectTexts, texts);
    QFETCH(double, maxM);
    QFETCH(double, minM);
    QFETCH(double, midMin);
    QFETCH(double, maxV);
    QFETCH(double, maxEIw);
    const ec::RunOutput run = ec::RunEurocode(texts, m_data, inputs(), true);
    const ec::Envelopes &env = run.envelopes;
    QVERIFY(env.valid);
    QVERIFY(std::abs(env.M.largest.value - maxM) < 1e-3 * std::abs(maxM));
    QVERIFY2(std::abs(env.M.smallest.value - minM) < 1e-3 * std::abs(minM) + 1e-9,
             qPrintable(QString::number(env.M.smallest.value)));
    const double mid = env.start[0] + env.length[0] / 2;
    const auto &span1 = env.M.regions.front();
    const auto at = std::min_element(span1.begin(), span1.end(), [&](const auto &a, const auto &b) {
        return std::abs(a.s - mid) < std::abs(b.s - mid);
    });
    QVERIFY(std::abs(at->s - mid) < 1e-9);
    QVERIFY2(std::abs(at->min - midMin) < 1e-3 * std::abs(midMin), qPrintable(QString::number(at->min)));
    const double vLargest = std::max(env.V.largest.value, -env.V.smallest.value);
    QVERIFY2(std::abs(vLargest - maxV) < 1e-3 * maxV, qPrintable(QString::number(vLargest)));
    const double L = texts.length(0);
    const double simple = 5 * texts.uniformLoad(1, LoadQ) * std::pow(L, 4) / 384
                          + 5 * texts.uniformLoad(1, LoadG) * std::pow(L, 4) / 384;
    if (maxEIw > 0)
        QVERIFY(std::abs(env.EIw.largest.value - maxEIw) < 1e-3 * maxEIw);
    else
        QVERIFY(env.EIw.largest.value > 0.5 * simple && env.EIw.largest.value < simple);
    // Each region is one polyline along the beam, left to right.
    for (const auto &points : env.M.regions)
        for (std::size_t i = 1; i < points.size(); ++i)
            QVERIFY2(points[i].s >= points[i - 1].s,
                     qPrintable(QStringLiteral("%1 after %2 (point %3)").arg(points[i].s).arg(points[i - 1].s).arg(i)));
}

void TestEcEnvelope::diagramLabelsExtremes()
{
    const ec::RunOutput run = ec::RunEurocode(beam("4", "4", "0", "1"), m_data, inputs(), true);
    EnvelopeDiagramStyle style{QStringLiteral("M"), QStringLiteral("kNm"), QStringLiteral("M"), 1, 2, QLocale::c()};
    const DisplayList list = EnvelopeDiagram(run.envelopes.M, run.envelopes, style);
    QCOMPARE(int(list.labels.size()), EnvelopeLabelCount);
    QCOMPARE(list.labels[1].text, QStringLiteral("max M = %1 kNm").arg(run.envelopes.M.largest.value, 0, 'f', 2));
    QCOMPARE(list.labels[2].text, QStringLiteral("min M = %1 kNm").arg(run.envelopes.M.smallest.value, 0, 'f', 2));
    // Largest magnitude 100 units from the axis; sagging below it.
    double lowest = 0, highest = 300;
    int curves = 0;
    for (const DisplayItem &item : list.items) {
        if (item.kind != DisplayItem::Polyline)
            continue;
        ++curves;
        for (const QPointF &p : item.points) {
            lowest = std::max(lowest, p.y());
            highest = std::min(highest, p.y());
        }
    }
    QCOMPARE(curves, 4);   // largest and smallest, two spans
    const double scale = EnvelopeAmplitude / std::max(std::abs(run.envelopes.M.smallest.value),
                                                      run.envelopes.M.largest.value);
    QVERIFY(std::abs(lowest - (EnvelopeAxisY + run.envelopes.M.largest.value * scale)) < 1e-6);
    QVERIFY(std::abs(highest - (EnvelopeAxisY + run.envelopes.M.smallest.value * scale)) < 1e-6);
}

void TestEcEnvelope::diagramOfTinyValuesIsFinite()
{
    // A factor that brings the values near the smallest double: the scale
    // 100 / largest would overflow.
    const ec::RunOutput run = ec::RunEurocode(beam("4", "0", "1", "0"), m_data, inputs(), true);
    EnvelopeDiagramStyle style{QStringLiteral("w"), QStringLiteral("mm"), QStringLiteral("w"), 1e-320, 1, QLocale::c()};
    const DisplayList list = EnvelopeDiagram(run.envelopes.EIw, run.envelopes, style);
    int curves = 0;
    for (const DisplayItem &item : list.items) {
        QVERIFY(std::isfinite(item.a.y()) && std::isfinite(item.b.y()));
        for (const QPointF &p : item.points)
            QVERIFY(std::isfinite(p.y()));
        curves += item.kind == DisplayItem::Polyline;
    }
    QCOMPARE(curves, 2);
}

QTEST_GUILESS_MAIN(TestEcEnvelope)
#include "tst_core_ecenvelope.moc"
