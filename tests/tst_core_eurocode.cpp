// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The Eurocode check against hand calculations of single spans, each row
// chosen so that one wrong factor (kmod, kh, kcr, kdef, ψ2, γM, the class of
// a profile) changes a utilisation; and the data files' problems.
#include "eurocode/eccheck.h"
#include "eurocode/ecrun.h"
#include "eurocode/polynomial.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace varno;
using namespace varno::ec;

namespace {

QString dataDir()
{
    return QStringLiteral(VARNO_SOURCE_DIR "/data/eurocode");
}

// One span of length l with uniform g, q, s (kN/m), no cantilevers.
ProjectTexts singleSpan(double l, double g, double q, double s = 0)
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {QString::number(l), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                 QStringLiteral("0")};
    for (auto &region : t.uniform)
        region.fill(QStringLiteral("0"));
    t.uniform[0][LoadG] = QString::number(g);
    t.uniform[0][LoadQ] = QString::number(q);
    t.uniform[0][LoadS] = QString::number(s);
    return t;
}

// A beam of the lengths L1, L2, L3, Lkl, Lkr with g (kN/m) per region and
// point loads {slot, a, F}.
ProjectTexts beam(const std::array<double, 5> &lengths, const std::array<double, 5> &g,
                  std::initializer_list<std::array<double, 3>> points = {})
{
    ProjectTexts t = ProjectTexts::Defaults();
    for (int i = 0; i < 5; ++i) {
        t.lengths[std::size_t(i)] = QString::number(lengths[std::size_t(i)]);
        t.uniform[std::size_t(i)].fill(QStringLiteral("0"));
        t.uniform[std::size_t(i)][LoadG] = QString::number(g[std::size_t(i)]);
    }
    for (const auto &[slot, a, F] : points) {
        t.distance[std::size_t(slot)] = QString::number(a);
        t.force[std::size_t(slot)] = QString::number(F);
    }
    return t;
}

// The largest deflection (mm) of a simple span L (mm) under g (N/mm) and F (N)
// at a, from the closed forms by golden section; `x` where.
double simpleSpanPeak(double L, double g, double F, double a, double EI, double &x)
{
    const double b = L - a;
    auto w = [&](double s) {
        const double fromG = g * s * (L * L * L - 2 * L * s * s + s * s * s) / (24 * EI);
        const double fromF = s <= a ? F * b * s * (L * L - b * b - s * s) / (6 * L * EI)
                                    : F * a * (L - s) * (L * L - a * a - (L - s) * (L - s)) / (6 * L * EI);
        return fromG + fromF;
    };
    double lo = 0, hi = L;
    const double r = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 200; ++i) {
        const double c = hi - r * (hi - lo), d = lo + r * (hi - lo);
        if (w(c) > w(d))
            hi = d;
        else
            lo = c;
    }
    x = (lo + hi) / 2;
    return w(x);
}

// The largest deflection (m) of the first of two spans L (m) under p1 on
// it and p2 on the second (kN/m): the simple span's line and that of the
// support moment M_B = −(p1 + p2) L² / 16, by golden section.
double twoSpanPeak(double L, double p1, double p2, double EI)
{
    const double MB = -(p1 + p2) * L * L / 16;
    auto w = [&](double x) {
        return p1 * x * (L * L * L - 2 * L * x * x + x * x * x) / (24 * EI) + MB * x * (L * L - x * x) / (6 * L * EI);
    };
    double lo = 0, hi = L;
    const double r = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 200; ++i) {
        const double c = hi - r * (hi - lo), d = lo + r * (hi - lo);
        (w(c) > w(d) ? hi : lo) = w(c) > w(d) ? d : c;
    }
    return w((lo + hi) / 2);
}

void compareRel(double actual, double expected, const char *what, double tolerance = 1e-3)
{
    if (!(std::abs(actual - expected) <= tolerance * std::abs(expected)))
        QFAIL(qPrintable(QStringLiteral("%1: %2, expected %3")
                             .arg(QLatin1String(what))
                             .arg(actual, 0, 'g', 17)
                             .arg(expected, 0, 'g', 17)));
}

// The outcome a row of exactExtremes looks at.
enum Check { SteelBending, SteelBendingShear, SteelShear, SteelDeflection, TimberShear };

} // namespace

Q_DECLARE_METATYPE(varno::ProjectTexts)

class TestEurocode : public QObject
{
    Q_OBJECT

private:
    Data data;

private slots:
    void initTestCase()
    {
        std::vector<DataProblem> problems;
        data = ReadData(dataDir(), problems);
        QVERIFY(problems.empty());
        QVERIFY(data.timberClass(QStringLiteral("C24")));
        QCOMPARE(int(data.profiles.size()), 65);
    }

    void timber_data()
    {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<int>("serviceClass");
        QTest::addColumn<double>("hCm");
        QTest::addColumn<double>("g");
        QTest::addColumn<double>("q");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("bending");
        QTest::addColumn<double>("shear");
        QTest::addColumn<double>("inst");
        QTest::addColumn<double>("fin");
        QTest::addColumn<double>("netFin");
        QTest::addColumn<double>("kmod");

        // C24, b = 10, h = 20 cm, l = 4 m, g = 1, q = 2 kN/m (category A, medium-term), service class 1.
        // 1.35 g + 1.5 q = 4.35 kN/m (kmod 0.8) beats 1.35 g = 1.35 (kmod 0.6: 2.25 < 5.44).
        // M = 4.35·16/8 = 8.7 kNm, W = 100·200²/6 = 666667 mm³, σ = 13.05; f = 0.8·24/1.3 = 14.769: η = 0.8836.
        // V = 8.7 kN, kcr = 2.0/4.0 = 0.5, τ = 1.5·8700/(0.5·100·200) = 1.305; f = 0.8·4/1.3 = 2.4615: η = 0.5302.
        // I = 66.667e6 mm⁴, E = 11000: w_G = 5·1·4000⁴/(384 E I) = 4.5455 mm, w_Q = 9.0909, w_inst = 13.636;
        // l/300 = 13.333: η = 1.0227. w_fin = 4.5455·1.6 + 9.0909·(1 + 0.3·0.6) = 18.0, l/200 = 20: η = 0.9.
        // w_net,fin = (4.5455 + 0.3·9.0909)·1.6 = 11.636, l/300: η = 0.8727.
        QTest::newRow("C24 SC1") << "C24" << 1 << 20.0 << 1.0 << 2.0 << 0.0 << 0.8836 << 0.53016 << 1.02273
                                 << 0.9 << 0.87273 << 0.8;
        // Service class 3: kmod 0.65 (f = 12.0: η = 1.0875), kdef 2.0:
        // w_fin = 4.5455·3 + 9.0909·1.6 = 28.182 / 20; w_net,fin = 7.2727·3 = 21.818 / 13.333.
        QTest::newRow("C24 SC3") << "C24" << 3 << 20.0 << 1.0 << 2.0 << 0.0 << 1.0875 << 0.65250 << 1.02273
                                 << 1.40909 << 1.63636 << 0.65;
        // h = 12 cm < 15: kh = (150/120)^0.2 = 1.045640; W = 240000: σ = 36.25, f = 14.769·1.045640 = 15.4433:
        // η = 2.34730. τ = 1.5·8700/(0.5·100·120) = 2.175: η = 0.88359. w ∝ 1/h³: ·(20/12)³ = 4.6296.
        QTest::newRow("C24 kh") << "C24" << 1 << 12.0 << 1.0 << 2.0 << 0.0 << 2.34730 << 0.88359 << 4.73485
                                << 4.16667 << 4.04040 << 0.8;
        // GL24h: kh = min(3^0.1, 1.1) = 1.1, γM 1.3: f = 0.8·24·1.1/1.3 = 16.2462: η = 0.80327;
        // kcr = 2.5/3.5: τ = 1.5·8700/(0.714286·20000) = 0.91350, f = 0.8·3.5/1.3 = 2.15385: η = 0.42412.
        // E = 11500: w scaled by 11000/11500; kdef 0.6 as solid timber.
        QTest::newRow("GL24h") << "GL24h" << 1 << 20.0 << 1.0 << 2.0 << 0.0 << 0.80327 << 0.42412 << 0.97826
                               << 0.86087 << 0.83478 << 0.8;
        // GL20c is glulam by its material column: kh = min(3^0.1, 1.1) = 1.1: f = 0.8·20·1.1/1.3 = 13.5385:
        // η = 0.96392 (as solid timber: kh 1, η 1.06031); kcr = 2.5/3.5 as for GL24h: η = 0.42412.
        // E = 10400: w scaled by 11000/10400.
        QTest::newRow("GL20c") << "GL20c" << 1 << 20.0 << 1.0 << 2.0 << 0.0 << 0.96392 << 0.42412 << 1.08173
                               << 0.95192 << 0.92308 << 0.8;
        // C14, the weakest softwood class: f = 0.8·14/1.3 = 8.6154: η = 1.51473; kcr = 2.0/3.0:
        // τ = 1.5·8700/(0.66667·20000) = 0.97875, f = 0.8·3.0/1.3 = 1.84615: η = 0.53016;
        // E = 7000: w scaled by 11000/7000.
        QTest::newRow("C14") << "C14" << 1 << 20.0 << 1.0 << 2.0 << 0.0 << 1.51473 << 0.53016 << 1.60714
                             << 1.41429 << 1.37143 << 0.8;
        // Snow instead of imposed load (short-term, kmod 0.9, ψ2 = 0): f = 0.9·24/1.3 = 16.615: η = 0.78544;
        // τ: f = 0.9·4/1.3 = 2.76923: η = 0.47125; w_fin = 4.5455·1.6 + 9.0909 = 16.364 / 20;
        // w_net,fin = 4.5455·1.6 = 7.2727 / 13.333.
        QTest::newRow("snow") << "C24" << 1 << 20.0 << 1.0 << 0.0 << 2.0 << 0.78544 << 0.47125 << 1.02273
                              << 0.81818 << 0.54545 << 0.9;
        // Heavy g, light q: 1.35·4 = 5.4 with kmod 0.6 (9.0) governs 5.4 + 0.75 with 0.8 (7.69).
        // M = 10.8, σ = 16.2, f = 0.6·24/1.3 = 11.0769: η = 1.4625; τ = 1.5·10800/10000 = 1.62,
        // f = 0.6·4/1.3 = 1.84615: η = 0.8775. w_G = 18.182, w_Q = 2.2727: w_inst = 20.455 / 13.333;
        // w_fin = 18.182·1.6 + 2.2727·1.18 = 31.773 / 20; w_net,fin = (18.182 + 0.68182)·1.6 = 30.182 / 13.333.
        QTest::newRow("kmod of G alone") << "C24" << 1 << 20.0 << 4.0 << 0.5 << 0.0 << 1.4625 << 0.8775 << 1.53409
                                         << 1.58864 << 2.26364 << 0.6;
    }

    void timber()
    {
        QFETCH(QString, cls);
        QFETCH(int, serviceClass);
        QFETCH(double, hCm);
        QFETCH(double, g);
        QFETCH(double, q);
        QFETCH(double, s);
        QFETCH(double, bending);
        QFETCH(double, shear);
        QFETCH(double, inst);
        QFETCH(double, fin);
        QFETCH(double, netFin);
        QFETCH(double, kmod);
        CheckOptions o;
        o.steel = false;
        o.timberClass = cls;
        o.serviceClass = serviceClass;
        o.bCm = 10;
        o.hCm = hCm;
        const CheckResult r = RunCheck(singleSpan(4, g, q, s), data, o);
        QVERIFY(r.problems.empty());
        QVERIFY(!r.refused);
        QVERIFY(r.timber.done);
        compareRel(r.timber.bending.utilisation, bending, "bending");
        compareRel(r.timber.shear.utilisation, shear, "shear");
        compareRel(r.timber.deflectionInst.utilisation, inst, "w_inst");
        compareRel(r.timber.deflectionFin.utilisation, fin, "w_fin");
        compareRel(r.timber.deflectionNetFin.utilisation, netFin, "w_net,fin");
        QCOMPARE(r.timber.bending.kmod, kmod);
        // Midspan for bending, a support for shear.
        QCOMPARE(r.timber.bending.region, 0);
        QVERIFY(std::abs(r.timber.bending.x - 2) < 1e-9);
        QVERIFY(std::abs(r.timber.shear.x - 2) > 1.99);
    }

    // The smallest h in whole mm: w_inst ∝ 1/h³ governs the C24 row above,
    // 200·1.02273^(1/3) = 201.5 mm, so 202 mm.
    void timberSizing()
    {
        CheckOptions o;
        o.steel = false;
        o.timberClass = QStringLiteral("C24");
        o.bCm = 10;
        const CheckResult r = RunCheck(singleSpan(4, 1, 2), data, o);
        QVERIFY(r.timber.sized);
        QCOMPARE(r.timber.hRequired, 20.2);
        QCOMPARE(r.timber.h, 20.2);
        QVERIFY(r.timber.deflectionInst.utilisation <= 1);
        QVERIFY(r.timber.deflectionInst.utilisation > 0.99);
    }

    // Two spans of 4 m, g = 1 and q = 2 kN/m on both (timber C24, 10 × 20 cm)
    // or g = 5 and q = 10 (IPE 200, S235): each field and support on its own.
    // The support B: q on both spans, M_B = (1.35 g + 1.5 q) · 4² / 8, the
    // single span's midspan moment; V_B = 5/8 · 4.35 · 4 = 10.875 kN.
    // A field: q on its span only, p1 = 1.35 g + 1.5 q, p2 = 1.35 g:
    // M_B = −(p1 + p2) · 16 / 16, R_A = 2 p1 + M_B / 4, max M = R_A² / (2 p1).
    // Timber: p1 = 4.35, p2 = 1.35: M_B = −5.7, R_A = 7.275, M = 6.08341 kNm,
    // σ = 9.12511 N/mm², f = 0.8 · 24 / 1.3 = 14.7692: η = 0.617846;
    // τ_A = 1.5 · 7275 / (0.5 · 100 · 200) = 1.09125, f = 0.8 · 4 / 1.3: η = 0.443320;
    // τ_B = 1.5 · 10875 / 10000 = 1.63125: η = 0.662695.
    // Steel: p1 = 21.75, p2 = 6.75: M_B = −28.5, R_A = 36.375, M = 30.4177 kNm,
    // Mc,Rd = 51.8504: η = 0.586643; at B 43.5 kNm: η = 0.838952, and with
    // V_B = 54.375 kN < Vpl,Rd / 2 = 94.97 kN the same in M–V.
    void places_data()
    {
        QTest::addColumn<bool>("timber");
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("check");       // index of the member's checks
        QTest::addColumn<double>("utilisation");   // −1: no value at that place
        QTest::newRow("timber bending at B") << true << SupportPlace(1) << 0 << 0.883600;
        QTest::newRow("timber bending in span 1") << true << 0 << 0 << 0.617846;
        QTest::newRow("timber bending in span 2") << true << 1 << 0 << 0.617846;
        QTest::newRow("timber bending at A") << true << SupportPlace(0) << 0 << 0.0;
        QTest::newRow("timber shear at A") << true << SupportPlace(0) << 1 << 0.443320;
        QTest::newRow("timber shear at B") << true << SupportPlace(1) << 1 << 0.662695;
        QTest::newRow("timber shear at C") << true << SupportPlace(2) << 1 << 0.443320;
        // Characteristic, q on span 1 only: p1 = 3, p2 = 1, EI = 11e6 · 0.1 · 0.2³ / 12 kN·m², l/300.
        QTest::newRow("timber w_inst in span 1")
            << true << 0 << 2 << twoSpanPeak(4, 3, 1, 11e6 * 0.1 * 0.008 / 12) * 1000 / (4000.0 / 300);
        QTest::newRow("timber w_inst at B") << true << SupportPlace(1) << 2 << -1.0;
        QTest::newRow("no third support") << true << SupportPlace(3) << 0 << -1.0;
        QTest::newRow("steel bending in span 1") << false << 0 << 0 << 0.586643;
        QTest::newRow("steel bending at B") << false << SupportPlace(1) << 0 << 0.838952;
        QTest::newRow("steel M-V in span 2") << false << 1 << 2 << 0.586643;
        QTest::newRow("steel M-V at B") << false << SupportPlace(1) << 2 << 0.838952;
    }

    void places()
    {
        QFETCH(bool, timber);
        QFETCH(int, place);
        QFETCH(int, check);
        QFETCH(double, utilisation);
        CheckOptions o;
        o.timber = timber;
        o.steel = !timber;
        o.timberClass = QStringLiteral("C24");
        o.bCm = 10;
        o.hCm = 20;
        o.steelGrade = QStringLiteral("S235");
        o.profile = QStringLiteral("IPE 200");
        const double g = timber ? 1 : 5, q = timber ? 2 : 10;
        ProjectTexts t = beam({4, 4, 0, 0, 0}, {g, g, 0, 0, 0});
        t.uniform[0][LoadQ] = t.uniform[1][LoadQ] = QString::number(q);
        const CheckResult r = RunCheck(t, data, o);
        const CheckOutcome *outcomes[] = {&r.timber.bending, &r.timber.shear, &r.timber.deflectionInst,
                                          &r.steel.bending, &r.steel.shear, &r.steel.bendingShear};
        const std::vector<PlaceOutcome> &places = outcomes[(timber ? 0 : 3) + check]->places;
        QCOMPARE(int(places.size()), PlaceCount);
        const PlaceOutcome &at = places[std::size_t(place)];
        QCOMPARE(at.done, utilisation >= 0);
        if (utilisation > 0)
            compareRel(at.utilisation, utilisation, "η");
        else if (utilisation == 0)
            QVERIFY(std::abs(at.utilisation) < 1e-12);
    }

    // A point load of 10 kN at midspan of 4 m, no uniform load: as g,
    // M = 1.35·10·4/4 = 13.5 kNm with kmod 0.6 (σ = 20.25 N/mm²); as q,
    // M = 1.5·10 = 15 kNm with kmod 0.8 (σ = 22.5 N/mm²).
    void pointLoadAction_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<double>("sigma");
        QTest::addColumn<double>("kmod");
        QTest::newRow("g") << int(ActG) << 20.25 << 0.6;
        QTest::newRow("q") << int(ActQ) << 22.5 << 0.8;
    }

    void pointLoadAction()
    {
        QFETCH(int, action);
        QFETCH(double, sigma);
        QFETCH(double, kmod);
        ProjectTexts t = singleSpan(4, 0, 0);
        t.force[0] = QStringLiteral("10");
        t.distance[0] = QStringLiteral("2");
        CheckOptions o;
        o.steel = false;
        o.timberClass = QStringLiteral("C24");
        o.bCm = 10;
        o.hCm = 20;
        o.pointLoadAction = action;
        const CheckResult r = RunCheck(t, data, o);
        QVERIFY(r.timber.done);
        compareRel(r.timber.bending.design, sigma, "sigma");
        QCOMPARE(r.timber.bending.kmod, kmod);
        QCOMPARE(r.timber.bending.combination.regionsOn[action], 1u);
    }

    void steel_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<double>("l");
        QTest::addColumn<int>("sectionClass");
        QTest::addColumn<double>("bending");
        QTest::addColumn<double>("shear");
        QTest::addColumn<double>("deflection");

        // IPE 200, S235, l = 4 m, g = 5, q = 10 kN/m: 1.35·5 + 1.5·10 = 21.75 kN/m.
        // Flange c/t = (100 − 5.6 − 24)/2/8.5 = 4.14 ≤ 9, web (200 − 17 − 24)/5.6 = 28.4 ≤ 72: class 1.
        // M = 21.75·16/8 = 43.5 kNm, Mc,Rd = 220.64 cm³·235/1.0 = 51.850 kNm: η = 0.83895.
        // V = 43.5 kN, Vpl,Rd = 1400 mm²·235/(√3·1.0) = 189.948 kN: η = 0.22901.
        // w = 5·15·4000⁴/(384·210000·1943e4) = 12.254 mm, l/300 = 13.333: η = 0.91904.
        QTest::newRow("IPE 200 S235") << "S235" << "IPE 200" << 4.0 << 1 << 0.83895 << 0.22901 << 0.91904;
        // HE 300 A in S355: ε = 0.81362, flange c/t = (300 − 8.5 − 54)/2/14 = 8.48 > 10ε = 8.14, ≤ 14ε: class 3,
        // so Wel = 18260/14.5 = 1259.31 cm³: Mc,Rd = 447.06 kNm; l = 8: M = 174.0, η = 0.38921.
        // Vpl,Rd = 3727.8·355/√3 = 764.05 kN, V = 87.0: η = 0.11387.
        // w = 5·15·8000⁴/(384·210000·18260e4) = 20.862 mm, l/300 = 26.667: η = 0.78232.
        QTest::newRow("HE 300 A S355 class 3") << "S355" << "HE 300 A" << 8.0 << 3 << 0.38921 << 0.11387 << 0.78232;
    }

    void steel()
    {
        QFETCH(QString, grade);
        QFETCH(QString, profile);
        QFETCH(double, l);
        QFETCH(int, sectionClass);
        QFETCH(double, bending);
        QFETCH(double, shear);
        QFETCH(double, deflection);
        CheckOptions o;
        o.timber = false;
        o.steelGrade = grade;
        o.profile = profile;
        const CheckResult r = RunCheck(singleSpan(l, 5, 10), data, o);
        QVERIFY(r.steel.done);
        QCOMPARE(r.steel.profile, profile);
        QCOMPARE(r.steel.sectionClass.section, sectionClass);
        compareRel(r.steel.bending.utilisation, bending, "bending");
        compareRel(r.steel.shear.utilisation, shear, "shear");
        compareRel(r.steel.deflection.utilisation, deflection, "deflection");
        // V_Ed stays below 0.5 Vpl,Rd: no reduction, the same utilisation as bending.
        compareRel(r.steel.bendingShear.utilisation, bending, "M-V");
    }

    // The lightest adequate IPE for the IPE 200 row: IPE 180 fails bending
    // (166.4 cm³·0.235 = 39.1 kNm < 43.5), IPE 200 carries.
    void steelSizing()
    {
        CheckOptions o;
        o.timber = false;
        o.steelGrade = QStringLiteral("S235");
        o.series = QStringLiteral("IPE");
        const CheckResult r = RunCheck(singleSpan(4, 5, 10), data, o);
        QVERIFY(r.steel.sized);
        QCOMPARE(r.steel.profile, QStringLiteral("IPE 200"));
        QVERIFY(!r.steel.noneAdequate);
        const CheckResult heavy = RunCheck(singleSpan(30, 50, 100), data, o);
        QVERIFY(heavy.steel.noneAdequate);
    }

    // Extremes between the places a sampling search would look at, and a
    // point load standing at a support.
    void exactExtremes_data()
    {
        QTest::addColumn<ProjectTexts>("texts");
        QTest::addColumn<int>("pointLoads");
        QTest::addColumn<int>("check");
        QTest::addColumn<double>("utilisation");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("upward");

        // IPE 200, S235: Mc,Rd = 220.64 cm³ · 235 N/mm², Vpl,Rd = 1400 mm² · 235 / √3, EI = 210000 · 1943e4 N mm².
        const double Mc = 220.64 * 235 / 1000, Vpl = 1400 * 235 / std::sqrt(3.0) / 1000, EI = 210000 * 1943e4;
        // L = 4, g = 10, F = 5 kN at 1 m, all permanent: A = 20 + 5 · 3/4 = 23.75 kN, V = 0 where
        // 23.75 − 10 x − 5 = 0: x = 1.875, M = 23.75 · 1.875 − 10 · 1.875²/2 − 5 · 0.875 = 22.578125 kNm,
        // times γG = 1.35. V = 0 there, so M–V gives the same.
        const ProjectTexts peak = beam({4, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {{0, 1, 5}});
        const double bending = 1.35 * 22.578125 / Mc;
        QTest::newRow("moment peak") << peak << int(ActG) << int(SteelBending) << bending << 1.875 << false;
        QTest::newRow("moment peak, M-V") << peak << int(ActG) << int(SteelBendingShear) << bending << 1.875 << false;
        // L = 6, g = 2, F = 20 kN at a = 6 stands inside span 1: beside B, V = −(6 + 20) kN, times 1.35.
        // Timber C24 10/20: τ = 1.5 V / (kcr b h) with kcr = 2.0/4.0, fv,d = 0.6 · 4.0 / 1.3.
        const ProjectTexts atSupport = beam({6, 0, 0, 0, 0}, {2, 0, 0, 0, 0}, {{0, 6, 20}});
        QTest::newRow("load at a support, steel") << atSupport << int(ActG) << int(SteelShear) << 1.35 * 26 / Vpl << 6.0
                                                  << false;
        QTest::newRow("load at a support, timber")
            << atSupport << int(ActG) << int(TimberShear) << 1.5 * 1.35 * 26e3 / (0.5 * 100 * 200) / (0.6 * 4 / 1.3)
            << 6.0 << false;
        // L = 4, g = 5 (G) and F = 20 kN at 1 m as imposed load: characteristic G + Q, the peak of the sum
        // lies between the peaks of its parts; limit l/300.
        double x = 0;
        const double w = simpleSpanPeak(4000, 5, 20000, 1000, EI, x);
        QTest::newRow("deflection peak") << beam({4, 0, 0, 0, 0}, {5, 0, 0, 0, 0}, {{0, 1, 20}}) << int(ActQ)
                                         << int(SteelDeflection) << w / (4000.0 / 300) << x / 1000 << false;
        // g = 5 on span 1 (L = 4) only lifts the right cantilever (2 m): its tip rises by the turn of
        // B, g L³ / (24 EI), times 2 m; limit 2 m / 150.
        QTest::newRow("cantilever lifted") << beam({4, 0, 0, 0, 2}, {5, 0, 0, 0, 0}) << int(ActG)
                                           << int(SteelDeflection)
                                           << 5 * std::pow(4000.0, 3) / (24 * EI) * 2000 / (2000.0 / 150) << 2.0
                                           << true;
    }

    void exactExtremes()
    {
        QFETCH(ProjectTexts, texts);
        QFETCH(int, pointLoads);
        QFETCH(int, check);
        QFETCH(double, utilisation);
        QFETCH(double, x);
        QFETCH(bool, upward);
        CheckOptions o;
        o.timber = check == TimberShear;
        o.steel = !o.timber;
        o.timberClass = QStringLiteral("C24");
        o.bCm = 10;
        o.hCm = 20;
        o.steelGrade = QStringLiteral("S235");
        o.profile = QStringLiteral("IPE 200");
        o.pointLoadAction = pointLoads;
        const CheckResult r = RunCheck(texts, data, o);
        QVERIFY(r.problems.empty());
        const CheckOutcome *outcomes[] = {&r.steel.bending, &r.steel.bendingShear, &r.steel.shear,
                                          &r.steel.deflection, &r.timber.shear};
        const CheckOutcome &c = *outcomes[check];
        QVERIFY(c.done);
        compareRel(c.utilisation, utilisation, "utilisation", 1e-9);
        QVERIFY2(std::abs(c.x - x) <= 1e-6, qPrintable(QString::number(c.x, 'g', 17)));
        QCOMPARE(c.upward, upward);
    }

    // M–V after EN 1993-1-1 6.2.8, and a shear beyond Vpl,Rd: never an
    // infinite or undefined utilisation.
    void bendingShear_data()
    {
        QTest::addColumn<ProjectTexts>("texts");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<double>("utilisation");
        QTest::addColumn<bool>("shearExceeded");
        QTest::addColumn<double>("design");
        QTest::addColumn<double>("resistance");

        // HE 280 A in S355 is class 3 (flange c/t = (280 − 8 − 48)/2/13 = 8.6 > 10 ε = 8.14). 700 kN
        // (permanent) at the middle of 1.2 m: V = 1.35 · 350 = 472.5 kN, M = 1.35 · 700 · 1.2/4 = 283.5 kNm.
        // Vpl,Rd = 3174.4 mm² · 355/√3, ρ = (2 V/Vpl,Rd − 1)²; the shear area, the web (hw = 270 − 26 = 244,
        // tw = 8), carries (1 − ρ) fy: MV,Rd = (Iy − ρ tw hw³/12) / (h/2) · fy. (1 − ρ) Mc,Rd gives 0.99.
        const double Vpl = 3174.4 * 355 / std::sqrt(3.0) / 1000, rho = std::pow(2 * 472.5 / Vpl - 1, 2);
        const double MV = (13670e4 - rho * 8 * std::pow(244.0, 3) / 12) / 135 * 355 / 1e6;
        QTest::newRow("class 3") << beam({1.2, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {{0, 0.6, 700}}) << "S355" << "HE 280 A"
                                 << 283.5 / MV << false << 283.5 << MV;
        // IPE 80, S235: 100 kN (permanent) 0.1 m from A on 2 m: V = 1.35 · 100 · 1.9/2 = 128.25 kN beside A,
        // Vpl,Rd = 357.7 mm² · 235/√3 = 48.5 kN: the section fails in shear, η = V / Vpl,Rd.
        const double Vpl80 = 357.7 * 235 / std::sqrt(3.0) / 1000;
        QTest::newRow("shear beyond Vpl") << beam({2, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {{0, 0.1, 100}}) << "S235"
                                          << "IPE 80" << 128.25 / Vpl80 << true << 128.25 << Vpl80;
    }

    void bendingShear()
    {
        QFETCH(ProjectTexts, texts);
        QFETCH(QString, grade);
        QFETCH(QString, profile);
        QFETCH(double, utilisation);
        QFETCH(bool, shearExceeded);
        QFETCH(double, design);
        QFETCH(double, resistance);
        CheckOptions o;
        o.timber = false;
        o.steelGrade = grade;
        o.profile = profile;
        const CheckResult r = RunCheck(texts, data, o);
        const CheckOutcome &mv = r.steel.bendingShear;
        QVERIFY(mv.done);
        compareRel(mv.utilisation, utilisation, "utilisation", 1e-9);
        compareRel(mv.design, design, "design", 1e-9);
        compareRel(mv.resistance, resistance, "resistance", 1e-9);
        QCOMPARE(mv.shearExceeded, shearExceeded);
        QCOMPARE(mv.unit, shearExceeded ? CheckUnit::Force : CheckUnit::Moment);
    }

    // The extremes of the search come from these roots: every one inside the
    // interval, a double root once, none at the ends, no overflow.
    void roots_data()
    {
        QTest::addColumn<QList<double>>("coefficients");   // c0, c1, ...
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<QList<double>>("roots");
        // (t − 1)(t − 2)(t − 3)(t − 4) = t⁴ − 10 t³ + 35 t² − 50 t + 24
        const QList<double> quartic{24, -50, 35, -10, 1};
        QTest::newRow("quartic") << quartic << 0.0 << 5.0 << QList<double>{1, 2, 3, 4};
        QTest::newRow("ends excluded") << quartic << 1.0 << 4.0 << QList<double>{2, 3};
        // (t − 2)² (t − 3) = t³ − 7 t² + 16 t − 12
        QTest::newRow("double root") << QList<double>{-12, 16, -7, 1} << 0.0 << 5.0 << QList<double>{2, 3};
        QTest::newRow("no real root") << QList<double>{1, 0, 1} << -5.0 << 5.0 << QList<double>{};
        // 1e300 (t − 1)(t − 2): the discriminant of the plain coefficients overflows.
        QTest::newRow("huge") << QList<double>{2e300, -3e300, 1e300} << 0.0 << 3.0 << QList<double>{1, 2};
    }

    void roots()
    {
        QFETCH(QList<double>, coefficients);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(QList<double>, roots);
        double found[4];
        const int n = RootsInside(coefficients.constData(), int(coefficients.size()) - 1, a, b, found);
        QCOMPARE(n, int(roots.size()));
        for (int i = 0; i < n; ++i)
            QVERIFY2(std::abs(found[i] - roots[i]) < 1e-7, qPrintable(QString::number(found[i], 'g', 17)));
    }

    // The EN grade of a steel grade position: the one reading for every caller.
    void steelGradeOfGrade_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("grade");
        QTest::newRow("St 360") << 0 << "S235";
        QTest::newRow("St 430") << 1 << "S275";
        QTest::newRow("St 510") << 2 << "S355";
        QTest::newRow("beyond the list") << 3 << "";
        QTest::newRow("none") << -1 << "";
    }

    void steelGradeOfGrade()
    {
        QFETCH(int, position);
        QFETCH(QString, grade);
        QCOMPARE(SteelGradeOfGrade(position), grade);
    }

    // A damaged value is named by file, line and column and never read as 0;
    // a value that must be positive is not 0 or negative; a second row with
    // the same key never replaces the first, and both lines are named.
    void brokenData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("firstLine");

        const int bad = DataProblem::BadNumber, notPositive = DataProblem::NotPositive, twice = DataProblem::Duplicate;
        QTest::newRow("fm,k") << "timber_classes.csv" << "C24,solid,EN 338:2016 Table 1,24," << "C24,solid,EN 338:2016 Table 1,x24,"
                              << 7 << "fm_k_Nmm2" << bad << 0;
        QTest::newRow("empty fy") << "steel_grades.csv" << "S355,355," << "S355,," << 4 << "fy_Nmm2" << bad << 0;
        QTest::newRow("kled") << "load_duration.csv" << "residential)\",medium," << "residential)\",mittel," << 3
                              << "load_duration" << bad << 0;
        QTest::newRow("negative gamma_M") << "timber_factors.csv" << "gamma_M.de.solid,gamma_M,solid,,,1.30"
                                          << "gamma_M.de.solid,gamma_M,solid,,,-1.3" << 46 << "value" << notPositive << 0;
        QTest::newRow("limit 0") << "deflection_limits.csv" << "span,w_inst,300," << "span,w_inst,0," << 2 << "span_ratio"
                                 << notPositive << 0;
        QTest::newRow("negative psi") << "actions.csv" << "psi2.wind,wind,,psi2,0.0" << "psi2.wind,wind,,psi2,-0.1" << 38
                                      << "value" << notPositive << 0;
        QTest::newRow("key twice") << "actions.csv" << "psi0.imposed.B," << "psi0.imposed.A," << 9 << "key" << twice << 6;
        QTest::newRow("profile twice") << "steel_profiles_ec.csv" << "profile.IPE100,IPE 100,"
                                       << "profile.IPE100,IPE 80," << 3 << "designation" << twice << 2;
    }

    void brokenData()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, line);
        QFETCH(QString, column);
        QFETCH(int, kind);
        QFETCH(int, firstLine);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char *name : DataFileNames)
            QVERIFY(QFile::copy(dataDir() + u'/' + QLatin1String(name), dir.filePath(QLatin1String(name))));
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(f.readAll());
        f.close();
        QVERIFY(text.contains(from));
        text.replace(text.indexOf(from), from.size(), to);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.close();
        std::vector<DataProblem> problems;
        ReadData(dir.path(), problems);
        QCOMPARE(int(problems.size()), 1);
        QCOMPARE(problems[0].file, file);
        QCOMPARE(problems[0].line, line);
        QCOMPARE(problems[0].column, column);
        QCOMPARE(int(problems[0].kind), kind);
        QCOMPARE(problems[0].firstLine, firstLine);
        if (kind == DataProblem::Duplicate)
            QCOMPARE(problems[0].firstFile, file);
    }

    // A whole table that is not what it should be: lines ended by CR alone
    // read as any other; a table linked to an endless device is refused
    // without reading it all.
    void wholeTable_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("endless");
        QTest::newRow("old Mac line ends") << "actions.csv" << false;
        QTest::newRow("linked to /dev/zero") << "steel_grades.csv" << true;
    }

    void wholeTable()
    {
        QFETCH(QString, file);
        QFETCH(bool, endless);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char *name : DataFileNames)
            if (QLatin1String(name) != file)
                QVERIFY(QFile::copy(dataDir() + u'/' + QLatin1String(name), dir.filePath(QLatin1String(name))));
        if (endless) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(file)));
        } else {
            QFile in(dataDir() + u'/' + file), out(dir.filePath(file));
            QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
            out.write(in.readAll().replace("\r\n", "\r").replace('\n', '\r'));
        }
        std::vector<DataProblem> problems;
        const Data read = ReadData(dir.path(), problems);
        if (endless) {
            QCOMPARE(int(problems.size()), 1);
            QCOMPARE(int(problems[0].kind), int(DataProblem::TooLarge));
            QCOMPARE(problems[0].file, file);
            return;
        }
        QVERIFY(problems.empty());
        QCOMPARE(read.values.size(), data.values.size());
        QCOMPARE(read.values.value(QStringLiteral("psi2.imposed.A")).value,
                 data.values.value(QStringLiteral("psi2.imposed.A")).value);
    }

    // A key the check needs and no file holds stops the check.
    void missingKey()
    {
        Data broken = data;
        broken.values.remove(QStringLiteral("kdef.solid.sc1"));
        CheckOptions o;
        o.steel = false;
        o.timberClass = QStringLiteral("C24");
        o.bCm = 10;
        const CheckResult r = RunCheck(singleSpan(4, 1, 2), broken, o);
        QVERIFY(!r.timber.done);
        QCOMPARE(int(r.problems.size()), 1);
        QCOMPARE(r.problems[0].column, QStringLiteral("kdef.solid.sc1"));
        QCOMPARE(r.problems[0].file, QStringLiteral("timber_factors.csv"));
    }
};

QTEST_GUILESS_MAIN(TestEurocode)
#include "tst_core_eurocode.moc"
