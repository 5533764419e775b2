// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The Eurocode check against hand calculations of single spans, each row
// chosen so that one wrong factor (kmod, kh, kcr, kdef, ψ2, γM, the class of
// a profile) changes a utilisation; and the data files' problems.
#include "eurocode/eccheck.h"

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

void compareRel(double actual, double expected, const char *what)
{
    if (std::abs(actual - expected) > 1e-3 * std::abs(expected))
        QFAIL(qPrintable(QStringLiteral("%1: %2, expected %3").arg(QLatin1String(what)).arg(actual).arg(expected)));
}

} // namespace

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

    // M–V interaction: a short heavy span, V_Ed > 0.5 Vpl,Rd near the support.
    // IPE 100, S235, l = 0.5 m, g = 100, q = 200: q_d = 435 kN/m, V = 108.75 kN,
    // Vpl,Rd = 508.5·235/√3 = 68.99 kN.  At the support M = 0, so the governing
    // interaction point is just inside the span, where M·(reduced) is largest;
    // its resistance must lie below Mc,Rd and the utilisation above bending's.
    void bendingShearInteraction()
    {
        CheckOptions o;
        o.timber = false;
        o.steelGrade = QStringLiteral("S235");
        o.profile = QStringLiteral("IPE 100");
        const CheckResult r = RunCheck(singleSpan(0.5, 100, 200), data, o);
        QVERIFY(r.steel.done);
        QVERIFY(r.steel.bendingShear.shear > 0.5 * r.steel.shear.resistance);
        QVERIFY(r.steel.bendingShear.resistance < r.steel.bending.resistance);
        QVERIFY(r.steel.bendingShear.utilisation > r.steel.bending.utilisation);
    }

    // A damaged value is named by file, line and column and never read as 0.
    void brokenData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("column");

        QTest::newRow("fm,k") << "timber_classes.csv" << "C24,solid,EN 338:2016 Table 1,24," << "C24,solid,EN 338:2016 Table 1,x24,"
                              << 7 << "fm_k_Nmm2";
        QTest::newRow("empty fy") << "steel_grades.csv" << "S355,355," << "S355,," << 4 << "fy_Nmm2";
        QTest::newRow("kled") << "load_duration.csv" << "residential)\",medium," << "residential)\",mittel," << 3
                              << "load_duration";
    }

    void brokenData()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, line);
        QFETCH(QString, column);
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
