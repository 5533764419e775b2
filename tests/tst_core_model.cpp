// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Project model: reading input texts as numbers, the numeric test of the
// input windows, the fixed number formats, the defaults and slot numbering,
// the beam in numbers with its refusals and its loads of one action.
#include "model/numericbeam.h"
#include "model/projectmodel.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

using namespace varno;

namespace {

// Puts a text into the field named like "L2", "Lkr", "s3" (load kind and
// region), "F9" or "a25" (slot).
void putField(ProjectTexts &t, const QString &field, const QString &text)
{
    static const QStringList lengths{"L1", "L2", "L3", "Lkl", "Lkr"};
    if (lengths.contains(field)) {
        t.lengths[std::size_t(lengths.indexOf(field))] = text;
        return;
    }
    const int number = field.mid(1).toInt();
    switch (field[0].unicode()) {
    case u'F': t.force[std::size_t(number)] = text; return;
    case u'a': t.distance[std::size_t(number)] = text; return;
    default: t.uniform[std::size_t(number - 1)][std::size_t(QStringLiteral("gqsw").indexOf(field[0]))] = text;
    }
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void isNumericText_data();
    void isNumericText();
    void numericTextReadsWhole_data();
    void numericTextReadsWhole();
    void leadingNumberUnderGermanLocale();
    void plainDecimalsReadExactly_data();
    void plainDecimalsReadExactly();
    void formatFixed_data();
    void formatFixed();
    void formatFixedNotFinite_data();
    void formatFixedNotFinite();
    void slotNumbering_data();
    void slotNumbering();
    void defaults();
    void numbersFromTexts();
    void beamRefusals_data();
    void beamRefusals();
    void loadsOfAction_data();
    void loadsOfAction();
};

void TestModel::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "6.00" << 6.0;
    QTest::newRow("unit after the number") << "4.5m" << 4.5;
    QTest::newRow("blank inside") << "1 000" << 1000.0;
    QTest::newRow("negative zero") << "-0.00" << 0.0;
    QTest::newRow("decimal comma stops") << "2,5" << 2.0;
    QTest::newRow("exponent E") << "1e3" << 1000.0;
    QTest::newRow("exponent D") << "1D2" << 100.0;
    QTest::newRow("exponent d negative") << "1d-2" << 0.01;
    QTest::newRow("exponent with plus") << "1E+2" << 100.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks around") << "  6.00 " << 6.0;
    QTest::newRow("plus and leading point") << "+.5" << 0.5;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("exponent sign then letter") << "2e-x" << 2.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("line feed after") << "6.00\n" << 6.0;
    QTest::newRow("tabs and line feeds anywhere") << "\t-\n2 .5" << -2.5;
    QTest::newRow("blank between sign and digits") << "- 5" << -5.0;
    QTest::newRow("blanks in the exponent") << "1 e 3" << 1000.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("point in the exponent stops") << "1e3.5" << 1000.0;
    QTest::newRow("double sign") << "--5" << 0.0;
    QTest::newRow("sign after digits stops") << "5-3" << 5.0;
    QTest::newRow("exponent without mantissa") << "e5" << 0.0;
    QTest::newRow("point then exponent") << ".5e1" << 5.0;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("hex is not read") << "0x10" << 0.0;
    QTest::newRow("digits after letters ignored") << "12abc34" << 12.0;
    QTest::newRow("carriage return stops") << "6.00\r\n7" << 6.0;
    QTest::newRow("tiny underflows to zero") << "1e-999" << 0.0;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
    QTest::newRow("full-width digits") << QString::fromUtf8("\uff11\uff12") << 0.0;
    QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29;
    // Beyond the double range the digits and the exponent decide together.
    QTest::newRow("400 zeros after the point, about 1e-401")
        << QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1") << 0.0;
    QTest::newRow("1 and 500 zeros e-10, about 1e490")
        << QStringLiteral("1") + QString(500, u'0') + QStringLiteral("e-10") << qInf();
    QTest::newRow("500 zeros e-200, about 1e300")
        << QStringLiteral("1") + QString(500, u'0') + QStringLiteral("e-200") << 1e300;
    QTest::newRow("0.000...1e500, about 1e99")
        << QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1e500") << 1e99;
    QTest::newRow("negative overflow") << "-1e400" << -qInf();
    QTest::newRow("smallest subnormal") << "4.9e-324" << 4.9e-324;
}

void TestModel::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double read = LeadingNumber(text);
    QVERIFY2(read == value, qPrintable(QString::number(read, 'g', 17)));
}

namespace {

struct NumericCase
{
    const char *name;
    const char *text;
    bool numeric;
};

const NumericCase NumericCases[] = {
    {"plain", "6.00", true},
    {"unit after the number", "4.5m", false},
    {"blank inside", "1 000", false},
    {"negative zero", "-0.00", true},
    {"decimal comma", "2,5", false},
    {"exponent E", "1e3", true},
    {"exponent D", "1D2", true},
    {"exponent d negative", "1d-2", true},
    {"lone minus", "-", false},
    {"lone plus", "+", false},
    {"lone point", ".", false},
    {"sign and point", "-.", false},
    {"empty", "", false},
    {"blanks only", "   ", false},
    {"blanks around", "  6.00 ", true},
    {"tabs around", "\t7\t", true},
    {"plus and leading point", "+.5", true},
    {"trailing point", "5.", true},
    {"exponent without digits", "1e", false},
    {"exponent sign without digits", "1e+", false},
    {"exponent without mantissa", "e5", false},
    {"blank before the exponent", "1 e3", false},
    {"letters", "abc", false},
    {"second point", "1.2.3", false},
    // Line feeds count as blanks, as LeadingNumber skips them: before or
    // after the number, one or several.
    {"line feed after", "6.00\n", true},
    {"two line feeds after", "6.00\n\n", true},
    {"line feed before", "\n6.00", true},
    {"carriage return after", "6.00\r", false},
    {"non-ASCII digits", "\u0661\u0662", false},
};

} // namespace

void TestModel::isNumericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    for (const NumericCase &c : NumericCases)
        QTest::newRow(c.name) << QString::fromUtf8(c.text) << c.numeric;
}

void TestModel::isNumericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumericText(text), numeric);
}

void TestModel::numericTextReadsWhole_data()
{
    QTest::addColumn<QString>("text");
    for (const NumericCase &c : NumericCases)
        if (c.numeric)
            QTest::newRow(c.name) << QString::fromUtf8(c.text);
}

// A text the windows accept as a number is read whole by LeadingNumber: the
// same value as the standard conversion of the trimmed text.
void TestModel::numericTextReadsWhole()
{
    QFETCH(QString, text);
    QByteArray clean = text.trimmed().toLatin1();
    clean.replace('D', 'e').replace('d', 'e');
    if (clean.startsWith('+'))
        clean.remove(0, 1);
    double expected = 0;
    const auto [end, error] = std::from_chars(clean.constData(), clean.constData() + clean.size(), expected);
    QCOMPARE(error, std::errc());
    QCOMPARE(end, clean.constData() + clean.size());
    QCOMPARE(LeadingNumber(text), expected);
}

// Plain decimals take a shorter way than other texts: each must still give
// the double the standard conversion gives, at every length and point
// position up to the 15 digits of the short way and past it.
void TestModel::plainDecimalsReadExactly_data()
{
    QTest::addColumn<int>("digits");
    for (int digits : {1, 2, 7, 14, 15, 16, 17})
        QTest::addRow("%d digits", digits) << digits;
}

void TestModel::plainDecimalsReadExactly()
{
    QFETCH(int, digits);
    QRandomGenerator random(quint32(digits) * 7919u);
    for (int n = 0; n < 20000; ++n) {
        QString text;
        for (int i = 0; i < digits; ++i)
            text += QChar(u'0' + random.bounded(10));
        const int point = random.bounded(digits + 2);   // digits + 1: no point
        if (point <= digits)
            text.insert(point, u'.');
        if (random.bounded(2))
            text.prepend(u'-');
        if (random.bounded(4) == 0)
            text.prepend(QStringLiteral("  "));
        const QByteArray clean = text.trimmed().toLatin1();
        double expected = 0;
        std::from_chars(clean.constData(), clean.constData() + clean.size(), expected);
        const double read = LeadingNumber(text);
        QVERIFY2(std::memcmp(&read, &expected, sizeof(double)) == 0, qPrintable(text));
        // What follows the number does not change it.
        QVERIFY2(LeadingNumber(text + QStringLiteral("kN")) == expected, qPrintable(text));
    }
}

// The program runs under the user's locale; input texts still take "." as
// the decimal point.
void TestModel::leadingNumberUnderGermanLocale()
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        QSKIP("no German locale installed");
    const double pointText = LeadingNumber(u"2.5");
    const double commaText = LeadingNumber(u"2,5");
    const double exponent = LeadingNumber(u"1.5D2");
    std::setlocale(LC_ALL, previous.c_str());
    QCOMPARE(pointText, 2.5);
    QCOMPARE(commaText, 2.0);
    QCOMPARE(exponent, 150.0);
}

void TestModel::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");

    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);

    QTest::newRow("C whole") << 45.0 << 2 << c << "45.00";
    QTest::newRow("C negative") << -30.0 << 2 << c << "-30.00";
    QTest::newRow("C rounds") << 12345.678 << 2 << c << "12345.68";
    QTest::newRow("C below one") << 0.5 << 2 << c << "0.50";
    QTest::newRow("C tiny") << 1e-10 << 2 << c << "0.00";
    QTest::newRow("C tiny negative") << -0.001 << 2 << c << "0.00";
    QTest::newRow("C negative zero") << -0.0 << 2 << c << "0.00";
    QTest::newRow("C just below rounding") << -0.004999 << 2 << c << "0.00";
    QTest::newRow("C just past rounding") << -0.005001 << 2 << c << "-0.01";
    QTest::newRow("C large") << 1e20 << 2 << c << "100000000000000000000.00";
    QTest::newRow("C one decimal") << 3.14159 << 1 << c << "3.1";
    QTest::newRow("C one decimal rounds up") << -3.96 << 1 << c << "-4.0";
    QTest::newRow("C one decimal negative zero") << -0.04 << 1 << c << "0.0";
    QTest::newRow("de_DE decimal comma") << 45.0 << 2 << german << "45,00";
    QTest::newRow("de_DE no group separator") << 12345.678 << 2 << german << "12345,68";
    QTest::newRow("de_DE millions") << 1234567.891 << 1 << german << "1234567,9";
    QTest::newRow("de_DE negative") << -30.5 << 2 << german << "-30,50";
    QTest::newRow("de_DE tiny negative") << -0.001 << 2 << german << "0,00";
    QTest::newRow("en_US no group separator") << 12345.678 << 2 << english << "12345.68";
}

void TestModel::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QCOMPARE(FormatFixed(value, decimals, locale), shown);
}

void TestModel::formatFixedNotFinite_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("infinity") << qInf();
    QTest::newRow("minus infinity") << -qInf();
    QTest::newRow("not a number") << qQNaN();
}

void TestModel::formatFixedNotFinite()
{
    QFETCH(double, value);
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        const QString shown = FormatFixed(value, 2, locale);
        QVERIFY(!shown.isEmpty());
        QVERIFY2(!shown.contains(QLatin1String("inf"), Qt::CaseInsensitive), qPrintable(shown));
        QVERIFY2(!shown.contains(QLatin1String("nan"), Qt::CaseInsensitive), qPrintable(shown));
    }
}

void TestModel::slotNumbering_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("lengthIndex");
    QTest::newRow("span 1") << int(Span1) << 0 << 7 << int(LengthL1);
    QTest::newRow("span 2") << int(Span2) << 7 << 14 << int(LengthL2);
    QTest::newRow("span 3") << int(Span3) << 14 << 21 << int(LengthL3);
    QTest::newRow("left cantilever") << int(LeftCantilever) << 21 << 24 << int(LengthLeft);
    QTest::newRow("right cantilever") << int(RightCantilever) << 24 << 27 << int(LengthRight);
}

void TestModel::slotNumbering()
{
    QFETCH(int, region);
    QFETCH(int, first);
    QFETCH(int, end);
    QFETCH(int, lengthIndex);
    QCOMPARE(FirstSlot(region), first);
    QCOMPARE(EndSlot(region), end);
    QCOMPARE(region - 1, lengthIndex);
    for (int slot = first; slot < end; ++slot)
        QCOMPARE(RegionOfSlot(slot), region);
    QVERIFY(end <= PointLoadSlotCount);
}

void TestModel::defaults()
{
    const ProjectTexts t = ProjectTexts::Defaults();
    const QStringList lengths = {"6.00", "6.00", "5.00", "0.00", "0.00"};
    for (int i = 0; i < RegionCount; ++i)
        QCOMPARE(t.lengths[i], lengths[i]);
    for (int r = 1; r <= RegionCount; ++r) {
        QCOMPARE(t.uniform[r - 1][LoadG], QStringLiteral("2.00"));
        for (int k : {LoadQ, LoadS, LoadW})
            QCOMPARE(t.uniform[r - 1][k], QStringLiteral("0.00"));
        QCOMPARE(t.uniformLoadSum(r), 2.0);
    }
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        QCOMPARE(t.force[i], QStringLiteral("0"));
        QCOMPARE(t.distance[i], QStringLiteral("0"));
    }
    QCOMPARE(t.timberGrade, 1);
    QCOMPARE(t.steelGrade, 0);
}

// The accessors read every text with LeadingNumber, at the moment of use.
void TestModel::numbersFromTexts()
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths[LengthRight] = QStringLiteral("1.5 m");
    t.uniform[Span3 - 1] = {QStringLiteral("1"), QStringLiteral("2,5"), QStringLiteral("abc"), QStringLiteral("0.25")};
    t.force[20] = QStringLiteral("1D1");
    t.distance[20] = QStringLiteral(" 3 .5");
    QCOMPARE(t.length(LengthRight), 1.5);
    QCOMPARE(t.uniformLoad(Span3, LoadQ), 2.0);
    QCOMPARE(t.uniformLoadSum(Span3), 3.25);
    QCOMPARE(t.pointForce(20), 10.0);
    QCOMPARE(t.pointDistance(20), 3.5);
    t.lengths[LengthRight] = QStringLiteral("-");
    QCOMPARE(t.length(LengthRight), 0.0);
}

// Texts in, the refusal out: the first input beyond the double range in the
// order of reading (lengths, loads region by region, slots with F before
// a), then L1 = 0, the first negative length, L3 without L2.
void TestModel::beamRefusals_data()
{
    QTest::addColumn<QStringList>("fields");   // "field=text", on a single span 6 m with g = 2
    QTest::addColumn<QString>("refusal");      // empty: the beam is computed

    const QString tooLarge = QStringLiteral(" ist für die Berechnung zu groß. Geben Sie einen kleineren Wert ein.");
    QTest::newRow("L1 1e999") << QStringList{"L1=1e999"} << "Die Feldlänge L1" + tooLarge;
    QTest::newRow("right cantilever 1D999") << QStringList{"Lkr=1D999"} << "Die Länge des rechten Kragarms" + tooLarge;
    QTest::newRow("snow load of span 2") << QStringList{"s2=1e400"} << "Die Schneelast s in Feld 2" + tooLarge;
    QTest::newRow("wind load of the left cantilever")
        << QStringList{"w4=-1e999"} << "Die Windlast w im linken Kragarm" + tooLarge;
    QTest::newRow("force in slot 9") << QStringList{"F9=1e999"} << "Die Einzellast F Nr. 3 in Feld 2" + tooLarge;
    QTest::newRow("distance in slot 25")
        << QStringList{"a25=1e999"} << "Der Abstand a der Einzellast Nr. 2 im rechten Kragarm" + tooLarge;
    QTest::newRow("lengths before loads") << QStringList{"g1=1e999", "L3=1e999"} << "Die Feldlänge L3" + tooLarge;
    QTest::newRow("g before w of a region") << QStringList{"w1=1e999", "g1=1e999"}
                                            << "Die Eigenlast g in Feld 1" + tooLarge;
    QTest::newRow("regions in order") << QStringList{"q5=1e999", "w3=1e999"} << "Die Windlast w in Feld 3" + tooLarge;
    QTest::newRow("loads before slots") << QStringList{"F0=1e999", "q5=1e999"}
                                        << "Die Nutzlast q im rechten Kragarm" + tooLarge;
    QTest::newRow("F before a of a slot") << QStringList{"a3=1e999", "F3=1e999"}
                                          << "Die Einzellast F Nr. 4 in Feld 1" + tooLarge;
    QTest::newRow("slots in order") << QStringList{"F22=1e999", "a21=1e999"}
                                    << "Der Abstand a der Einzellast Nr. 1 im linken Kragarm" + tooLarge;
    QTest::newRow("too large before L1 = 0") << QStringList{"L1=0", "a0=1e999"}
                                             << "Der Abstand a der Einzellast Nr. 1 in Feld 1" + tooLarge;
    QTest::newRow("L1 = 0") << QStringList{"L1=abc"}
                            << "Die Feldlänge L1 ist 0. Geben Sie eine Feldlänge größer als 0 ein.";
    QTest::newRow("L1 = 0 before a negative length")
        << QStringList{"L1=0", "Lkl=-1"} << "Die Feldlänge L1 ist 0. Geben Sie eine Feldlänge größer als 0 ein.";
    QTest::newRow("the first negative length") << QStringList{"Lkr=-1", "L2=-0.5"}
                                               << "Die Feldlänge L2 ist negativ. Geben Sie eine Feldlänge größer "
                                                  "als 0 ein oder 0 für kein zweites Feld.";
    QTest::newRow("negative left cantilever")
        << QStringList{"Lkl=-2"}
        << "Die Länge des linken Kragarms ist negativ. Geben Sie eine Länge größer als 0 ein oder 0 für keinen "
           "Kragarm.";
    QTest::newRow("L3 without L2") << QStringList{"L3=4"}
                                   << "Die Feldlänge L2 ist 0, die Feldlänge L3 aber nicht. Geben Sie für L2 eine "
                                      "Feldlänge größer als 0 ein oder setzen Sie auch L3 auf 0.";
    // Each finite: the sum overflows in the analysis, which names the result.
    QTest::newRow("loads that overflow together") << QStringList{"g1=1e308", "q1=1e308"} << QString();
    QTest::newRow("force beyond its span") << QStringList{"F0=5", "a0=9"} << QString();
}

void TestModel::beamRefusals()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, refusal);
    ProjectTexts texts = ProjectTexts::Defaults();
    putField(texts, QStringLiteral("L2"), QStringLiteral("0"));
    putField(texts, QStringLiteral("L3"), QStringLiteral("0"));
    for (const QString &field : fields)
        putField(texts, field.section(u'=', 0, 0), field.section(u'=', 1));
    QCOMPARE(BeamRefusal(ReadBeam(texts)).value_or(QString()), refusal);
}

// The loads of one action: its uniform loads and its point loads on the
// region asked for (0: all), nothing of the other actions.
void TestModel::loadsOfAction_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("region");
    QTest::addColumn<QList<double>>("uniform");   // of the action, regions 1..5
    QTest::addColumn<QList<int>>("kept");         // loaded slots kept

    // g = 1..5 and q = 10..50 by region; slots 0 (G), 1 (Q) in span 1, 8 (Q)
    // in span 2, 21 (G) on the left cantilever.
    QTest::newRow("G everywhere") << int(LoadG) << 0 << QList<double>{1, 2, 3, 4, 5} << QList<int>{0, 21};
    QTest::newRow("G in span 1") << int(LoadG) << 1 << QList<double>{1, 0, 0, 0, 0} << QList<int>{0};
    QTest::newRow("Q in span 2") << int(LoadQ) << 2 << QList<double>{0, 20, 0, 0, 0} << QList<int>{8};
    QTest::newRow("Q on the right cantilever") << int(LoadQ) << 5 << QList<double>{0, 0, 0, 0, 50} << QList<int>{};
    QTest::newRow("S nowhere") << int(LoadS) << 0 << QList<double>{0, 0, 0, 0, 0} << QList<int>{};
}

void TestModel::loadsOfAction()
{
    QFETCH(int, action);
    QFETCH(int, region);
    QFETCH(QList<double>, uniform);
    QFETCH(QList<int>, kept);

    NumericBeam beam;
    beam.length = {6, 5, 4, 1, 2};
    for (int r = 1; r <= RegionCount; ++r) {
        beam.uniform[std::size_t(r - 1)][LoadG] = r;
        beam.uniform[std::size_t(r - 1)][LoadQ] = 10 * r;
    }
    beam.point[0] = {7, 1, LoadG};
    beam.point[1] = {8, 2, LoadQ};
    beam.point[8] = {9, 3, LoadQ};
    beam.point[21] = {3, 0.5, LoadG};

    const NumericBeam only = LoadsOfAction(beam, LoadAction(action), region);
    QCOMPARE(only.length, beam.length);
    for (int r = 1; r <= RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            QCOMPARE(only.uniform[std::size_t(r - 1)][std::size_t(k)], k == action ? uniform[r - 1] : 0.0);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        QCOMPARE(only.point[std::size_t(slot)], kept.contains(slot) ? beam.point[std::size_t(slot)] : SlotLoad());
    const bool loaded = !kept.isEmpty() || std::any_of(uniform.begin(), uniform.end(), [](double q) { return q != 0; });
    QCOMPARE(HasLoadsOfAction(beam, LoadAction(action), region), loaded);
}

QTEST_GUILESS_MAIN(TestModel)
#include "tst_core_model.moc"
