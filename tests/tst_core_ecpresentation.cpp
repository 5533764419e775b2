// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The presentation of a Eurocode run, from hand-made outcomes of a steel
// check: the verdict and its inequality, a deflection that points up, a
// section that fails in shear, no utilisation that is not a number, and
// the uncited values named at the check they entered.
#include "presentation/ecpresentation.h"

#include <QtTest>

#include <cmath>

using namespace varno;

namespace {

ec::NamedValue named(const char *name, double value, const char *key, bool cited)
{
    return {QString::fromUtf8(name), {value, QString::fromLatin1(key), cited}};
}

// An IPE 80 in S235 on one span; every check done with η = 0.5, the one
// under test replaced.
EcRun steelRun()
{
    EcRun run;
    run.ran = true;
    ec::CheckOptions &o = run.inputs.options;
    o.timber = false;
    o.steelGrade = QStringLiteral("S235");
    o.series = QStringLiteral("IPE");
    o.profile = QStringLiteral("IPE 80");
    ec::SteelResult &s = run.output.result.steel;
    s.done = true;
    s.grade = o.steelGrade;
    s.profile = o.profile;
    s.sectionClass.section = 1;
    s.webSlenderness = 18.3;
    s.webLimit = 60;
    s.values = {named("eta", 1.2, "shear_buckling.eta", false), named("l/n span", 300, "limit.steel.span.w", true),
                named("l/n cantilever", 150, "limit.steel.cantilever.w", false)};
    for (ec::CheckOutcome *o : {&s.bending, &s.shear, &s.bendingShear, &s.deflection}) {
        o->done = true;
        o->utilisation = 0.5;
        o->design = 1;
        o->resistance = 2;
        o->region = 0;
    }
    s.bending.unit = s.bendingShear.unit = ec::CheckUnit::Moment;
    s.shear.unit = ec::CheckUnit::Force;
    s.deflection.unit = ec::CheckUnit::Deflection;
    return run;
}

} // namespace

class TestEcPresentation : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<int>("index");           // bending, shear, bendingShear, deflection
        QTest::addColumn<double>("utilisation");
        QTest::addColumn<double>("design");
        QTest::addColumn<double>("resistance");
        QTest::addColumn<int>("region");
        QTest::addColumn<bool>("upward");
        QTest::addColumn<bool>("shearExceeded");
        QTest::addColumn<QString>("numbers");     // the formula with the numbers put in
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("warning");     // a warning of the check, or empty
        QTest::addColumn<QString>("uncited");     // the keys of its source mark, or empty

        // w = 19.94 mm against l/300 = 5000/300 = 16.67 mm: η = 1.196.
        QTest::newRow("deflection over its limit")
            << 3 << 1.196 << 19.94 << 16.667 << 0 << false << false << "w = 19,9 mm > l/300 = 16,7 mm"
            << "η = 1,20 – nicht erfüllt" << "" << "";
        QTest::newRow("deflection within its limit")
            << 3 << 0.8 << 13.33 << 16.667 << 0 << false << false << "w = 13,3 mm ≤ l/300 = 16,7 mm"
            << "η = 0,80 – erfüllt" << "" << "";
        // A right cantilever of 2 m whose tip lifts by 7.2 mm: l/150 = 13.33 mm.
        QTest::newRow("tip that lifts")
            << 3 << 0.54 << 7.2 << 13.333 << 4 << true << false << "w = 7,2 mm nach oben ≤ l/150 = 13,3 mm"
            << "η = 0,54 – erfüllt" << "" << "limit.steel.cantilever.w";
        // IPE 80: V_Ed = 130.5 kN against Vpl,Rd = 48.53 kN.
        QTest::newRow("section fails in shear")
            << 2 << 130.5 / 48.53 << 130.5 << 48.53 << 0 << false << true << "VEd = 130,50 kN > Vpl,Rd = 48,53 kN"
            << "η = 2,69 – nicht erfüllt" << "versagt auf Schub" << "";
        QTest::newRow("no finite utilisation")
            << 2 << double(INFINITY) << 0.0 << 0.0 << 0 << false << false << "MEd = 0,00 kNm; My,V,Rd = 0,00 kNm"
            << "nicht erfüllt: My,V,Rd = 0: der Querschnitt versagt auf Schub (VEd = 0,00 kN)" << "" << "";
        // The web's hw/tw limit rests on η = 1.2, which has no citable source.
        QTest::newRow("shear with its web limit")
            << 1 << 0.2 << 36.0 << 180.0 << 0 << false << false
            << "VEd = 36,00 kN ≤ Vpl,Rd = 180,00 kN; hw/tw = 18,3 ≤ 72ε/η = 60,0" << "η = 0,20 – erfüllt" << ""
            << "shear_buckling.eta";
    }

    void check()
    {
        QFETCH(int, index);
        QFETCH(double, utilisation);
        QFETCH(double, design);
        QFETCH(double, resistance);
        QFETCH(int, region);
        QFETCH(bool, upward);
        QFETCH(bool, shearExceeded);
        QFETCH(QString, numbers);
        QFETCH(QString, summary);
        QFETCH(QString, warning);
        QFETCH(QString, uncited);
        EcRun run = steelRun();
        ec::SteelResult &s = run.output.result.steel;
        ec::CheckOutcome *outcomes[] = {&s.bending, &s.shear, &s.bendingShear, &s.deflection};
        ec::CheckOutcome &o = *outcomes[index];
        o.utilisation = utilisation;
        o.design = design;
        o.resistance = resistance;
        o.region = region;
        o.upward = upward;
        o.shearExceeded = shearExceeded;
        if (shearExceeded)
            o.unit = ec::CheckUnit::Force;
        const EcPresentation p = PresentEurocode(run, EcReportLocale());
        const EcCheck &c = p.member(QStringLiteral("steel"))->checks[index];
        QCOMPARE(c.numbers.section(u';', 0, numbers.count(u';')), numbers);
        QCOMPARE(c.summary, summary);
        QCOMPARE(c.warnings.join(u' ').contains(warning), true);
        QCOMPARE(c.uncited.join(u' '), uncited);
        const bool met = std::isfinite(utilisation) && utilisation <= 1;
        QCOMPARE(c.met, met);
        QCOMPARE(c.utilisation.has_value(), bool(std::isfinite(utilisation)));
        // A check not met is an error of the run, named with the member.
        QCOMPARE(p.met(), met);
        if (!met)
            QVERIFY2(p.errors.join(u'\n').contains(QStringLiteral("IPE 80, ") + c.name), qPrintable(p.errors.join(u'\n')));
    }

    // A web that needs a shear-buckling check bars the profile although every
    // η holds: the warning stands at the shear check, and the run is not met.
    void slenderWeb()
    {
        EcRun run = steelRun();
        run.output.result.steel.webSlenderness = 56.24;
        run.output.result.steel.webLimit = 48.82;
        const EcPresentation p = PresentEurocode(run, EcReportLocale());
        const EcMember &steel = *p.member(QStringLiteral("steel"));
        QCOMPARE(steel.checks[1].warnings,
                 QStringList{QStringLiteral("hw/tw = 56,2 > 72ε/η = 48,8: Schubbeulnachweis nötig, nicht geführt")});
        QVERIFY(steel.checks[1].numbers.contains(QStringLiteral("hw/tw = 56,2 > 72ε/η = 48,8")));
        QVERIFY(!steel.met);
        QCOMPARE(p.errors.size(), 1);
    }

    // A class derived from a DIN grade by a mapping without a citable source
    // marks every timber check and says where it came from.
    void derivedClass()
    {
        EcRun run = steelRun();
        run.inputs.options.timber = true;
        run.classFromGrade = QStringLiteral("S 10 / MS 10");
        run.classMapping = {0, QStringLiteral("map.din.S10"), false};
        ec::TimberResult &t = run.output.result.timber;
        t.done = true;
        t.className = QStringLiteral("C24");
        t.b = 10;
        t.h = t.hRequired = 20;
        t.bending.done = true;
        t.bending.utilisation = 0.88;
        t.bending.region = 0;
        const EcPresentation p = PresentEurocode(run, QLocale::c());
        const EcMember &timber = *p.member(QStringLiteral("timber"));
        QCOMPARE(timber.notes,
                 QStringList{QStringLiteral("Festigkeitsklasse C24 aus der Holzsorte S 10 / MS 10 abgeleitet "
                                            "[map.din.S10] (Quelle: nicht belegt)")});
        QCOMPARE(timber.checks[0].sourceMark, QStringLiteral("Quelle: nicht belegt (map.din.S10)"));
    }
};

QTEST_GUILESS_MAIN(TestEcPresentation)
#include "tst_core_ecpresentation.moc"
