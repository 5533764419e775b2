// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Bad input across the computation: texts that are no numbers, values at the
// ends of the double range, loads and distances where no load belongs, damaged
// data files and project files, and saves that cannot be completed. Each case
// checks what the program does then: the same result as the number the text
// stands for, a refusal that says what to mend, finite texts everywhere, and
// no file lost.
#include "analysis/analysis.h"
#include "session/session.h"
#include "design/design.h"
#include "graphics/drawing.h"
#include "io/projectdocument.h"
#include "io/projectfile.h"
#include "presentation/captions.h"
#include "tests/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>

using namespace varno;
using varno::test::FileSizeLimit;

namespace {

const QString Wert2 = QStringLiteral(VARNO_SOURCE_DIR "/data/wert2.txt");
const QString Wert3 = QStringLiteral(VARNO_SOURCE_DIR "/data/wert3.txt");

// Which input field a row puts its text into.
enum class Field { Length2, Length3, LengthLeft, Load, Force, Distance };

// A two-span beam with a right cantilever, a uniform load and one point load
// in span 1, so that every kind of field matters to the results.
ProjectTexts referenceBeam()
{
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {QStringLiteral("6"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("1.5"),
                 QStringLiteral("2")};
    t.uniform[Span1 - 1][LoadQ] = QStringLiteral("3");
    t.force[2] = QStringLiteral("10");
    t.distance[2] = QStringLiteral("2.5");
    return t;
}

void putText(ProjectTexts &t, Field field, const QString &text)
{
    switch (field) {
    case Field::Length2:
        t.lengths[LengthL2] = text;
        break;
    case Field::Length3:
        t.lengths[LengthL3] = text;
        break;
    case Field::LengthLeft:
        t.lengths[LengthLeft] = text;
        break;
    case Field::Load:
        t.uniform[Span2 - 1][LoadS] = text;
        break;
    case Field::Force:
        t.force[2] = text;
        break;
    case Field::Distance:
        t.distance[2] = text;
        break;
    }
}

// "n. def." is the fixed format's text for a value that is not finite: fine
// for a length typed as 1e999, a fault for anything computed.
bool showsNumberFault(const QString &text, bool notDefinedAllowed = false)
{
    if (notDefinedAllowed)
        return text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
            || text.contains(QLatin1String("nan"), Qt::CaseInsensitive);
    return text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("nan"), Qt::CaseInsensitive) || text.contains(QLatin1String("n. def."));
}

bool allFinite(const ResultSet &r)
{
    for (double v : {r.L1, r.L2, r.L3, r.Lkl, r.Lkr, r.MA, r.MB, r.MC, r.MD, r.MF1, r.MF2, r.MF3, r.xF1, r.xF2,
                     r.xF3, r.Ali, r.Are, r.Bli, r.Bre, r.Cli, r.Cre, r.Dli, r.Dre, r.EIf1, r.EIf2, r.EIf3,
                     r.EIwKl, r.EIwKr})
        if (!std::isfinite(v))
            return false;
    return true;
}

// The four pictures of the program, drawn from one session.
QList<DisplayList> allPictures(const ProjectTexts &texts, CalcSession &session)
{
    return {DrawSystemSketch(texts.lengths, session, QLocale::c()),
            DrawSystemAndLoadPicture(ReadBeam(texts), session, QLocale::c()), DrawMomentDiagram(ReadBeam(texts), session),
            DrawShearDiagram(ReadBeam(texts), session)};
}

QString firstFault(const DisplayList &list)
{
    for (const DisplayItem &item : list.items)
        if (!std::isfinite(item.a.x()) || !std::isfinite(item.a.y()) || !std::isfinite(item.b.x())
            || !std::isfinite(item.b.y()))
            return QStringLiteral("item coordinate not finite");
    for (const DisplayLabel &label : list.labels)
        if (showsNumberFault(label.text, true))
            return QStringLiteral("label text ") + label.text;
    return {};
}

DesignInputs shippedDesignInputs()
{
    DesignInputs inputs;
    inputs.timberValues = ReadTimberValues(Wert2, 1);
    inputs.steelValues = ReadSteelValues(Wert2, 0);
    inputs.profileTablePath = Wert3;
    return inputs;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class BadInputTest : public QObject
{
    Q_OBJECT

private slots:
    void textsWithoutNumberReadAsTheirNumber_data();
    void textsWithoutNumberReadAsTheirNumber();
    void extremeValues_data();
    void extremeValues();
    void unloadedSpansWarnOnce_data();
    void unloadedSpansWarnOnce();
    void pointLoadsOutsideTheirSpan_data();
    void pointLoadsOutsideTheirSpan();

    void damagedProfileTable_data();
    void damagedProfileTable();
    void overlongDataFilesReadAsShipped();

    void extremeValuesSurviveTheProjectFile_data();
    void extremeValuesSurviveTheProjectFile();
    void damagedProjectFiles_data();
    void damagedProjectFiles();
    void failedSaveKeepsTheEarlierFile_data();
    void failedSaveKeepsTheEarlierFile();
    void damagedProjectDocuments_data();
    void damagedProjectDocuments();
};

void BadInputTest::textsWithoutNumberReadAsTheirNumber_data()
{
    // Every text is used as its leading number, or 0: the results must be
    // exactly those of the plain number.
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sameAs");

    const struct
    {
        Field field;
        const char *name;
    } fields[] = {{Field::Length2, "L2"},   {Field::LengthLeft, "left cantilever"}, {Field::Load, "snow load"},
                  {Field::Force, "force"}, {Field::Distance, "distance"}};
    const struct
    {
        const char *text;
        const char *sameAs;
    } texts[] = {{"", "0"},     {"-", "0"},     {".", "0"},      {"-.", "0"},     {"abc", "0"},
                 {" ", "0"},    {"e5", "0"},    {"4.5m", "4.5"}, {"1,5", "1"},    {"1 . 5", "1.5"},
                 {"2e", "2"},   {"2E+", "2"},   {"3D1", "30"},   {"--2", "0"},    {"1.2.3", "1.2"}};
    for (const auto &f : fields)
        for (const auto &t : texts)
            QTest::addRow("%s \"%s\"", f.name, t.text) << f.field << QString::fromLatin1(t.text)
                                                       << QString::fromLatin1(t.sameAs);
}

void BadInputTest::textsWithoutNumberReadAsTheirNumber()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, sameAs);

    ProjectTexts typed = referenceBeam();
    putText(typed, field, text);
    ProjectTexts plain = referenceBeam();
    putText(plain, field, sameAs);

    ResultSet typedResults, plainResults;
    const AnalysisOutcome a = RunAnalysis(typed, typedResults);
    const AnalysisOutcome b = RunAnalysis(plain, plainResults);
    QCOMPARE(a.refused, b.refused);
    QCOMPARE(a.spans, b.spans);
    QCOMPARE(a.warnings, b.warnings);
    QCOMPARE(ResultLines(typedResults, a.spans, QLocale::c()).lines,
             ResultLines(plainResults, b.spans, QLocale::c()).lines);
    QVERIFY(std::memcmp(&typedResults, &plainResults, sizeof(ResultSet)) == 0);

    // The pictures read the texts themselves: same numbers, same drawing.
    CalcSession typedSession, plainSession;
    typedSession.results = typedResults;
    plainSession.results = plainResults;
    const QList<DisplayList> x = allPictures(typed, typedSession);
    const QList<DisplayList> y = allPictures(plain, plainSession);
    for (int p = 0; p < x.size(); ++p) {
        QCOMPARE(x[p].items.size(), y[p].items.size());
        for (std::size_t i = 0; i < x[p].items.size(); ++i) {
            QCOMPARE(x[p].items[i].a, y[p].items[i].a);
            QCOMPARE(x[p].items[i].b, y[p].items[i].b);
        }
    }
}

void BadInputTest::extremeValues_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    // Whether the run is refused; a refused run names what to check.
    QTest::addColumn<bool>("refused");

    QTest::newRow("L2 1e308") << Field::Length2 << "1e308" << true;
    QTest::newRow("L2 -1e308") << Field::Length2 << "-1e308" << true;
    QTest::newRow("L2 1e-308") << Field::Length2 << "1e-308" << true;
    QTest::newRow("L2 -1e-308") << Field::Length2 << "-1e-308" << true;
    QTest::newRow("L2 1e309 overflows") << Field::Length2 << "1e309" << true;
    QTest::newRow("L2 1e-400 underflows to 0") << Field::Length2 << "1e-400" << false;
    QTest::newRow("L2 negative") << Field::Length2 << "-4" << true;
    QTest::newRow("L2 0 with L3 set") << Field::Length3 << "3" << true;
    QTest::newRow("left cantilever 1e308") << Field::LengthLeft << "1e308" << true;
    QTest::newRow("left cantilever 1e-308") << Field::LengthLeft << "1e-308" << false;
    QTest::newRow("left cantilever negative") << Field::LengthLeft << "-2" << true;
    QTest::newRow("load 1e308") << Field::Load << "1e308" << true;
    QTest::newRow("load -1e308") << Field::Load << "-1e308" << true;
    QTest::newRow("load 1e-308") << Field::Load << "1e-308" << false;
    QTest::newRow("load negative") << Field::Load << "-20" << false;
    QTest::newRow("force 1e308") << Field::Force << "1e308" << true;
    QTest::newRow("force 1e-308") << Field::Force << "1e-308" << false;
    QTest::newRow("force -1e308") << Field::Force << "-1e308" << true;
    QTest::newRow("force negative") << Field::Force << "-50" << false;
    // A load that far out of its region does not act.
    QTest::newRow("distance 1e308") << Field::Distance << "1e308" << false;
    QTest::newRow("distance -1e308") << Field::Distance << "-1e308" << false;
    QTest::newRow("distance 1e-308") << Field::Distance << "1e-308" << false;
    QTest::newRow("distance 1e999") << Field::Distance << "1e999" << true;
}

void BadInputTest::extremeValues()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    ProjectTexts texts = referenceBeam();
    if (field == Field::Length3)
        texts.lengths[LengthL2] = QStringLiteral("0");
    putText(texts, field, text);

    CalcSession session;
    session.results.MA = 123.0;   // what an earlier run left
    const ResultSet before = session.results;
    const AnalysisOutcome out = RunAnalysis(texts, session.results);
    QCOMPARE(out.refused, refused);
    if (out.refused) {
        QVERIFY(out.refusal.contains(u"Geben Sie") || out.refusal.contains(u"Prüfen Sie"));
        QVERIFY(!showsNumberFault(out.refusal));
        QVERIFY(std::memcmp(&before, &session.results, sizeof(ResultSet)) == 0);
    } else {
        QVERIFY(allFinite(session.results));
        static const QRegularExpression line(QStringLiteral(R"(^.+= -?\d+\.\d\d  kNm?$)"));
        for (const QString &l : ResultLines(session.results, out.spans, QLocale::c()).lines)
            QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    }

    // Whatever the analysis did, the design and the pictures stay finite.
    const DesignTexts design =
        DesignCaptions(RunDesign(session.results, shippedDesignInputs(), session.design, QLocale::c()), QLocale::c());
    for (const auto &t : {design.timberWy, design.timberHeight, design.timberVerdict, design.steelWy,
                          design.steelProfile, design.steelVerdict})
        if (t)
            QVERIFY2(!showsNumberFault(*t), qPrintable(*t));
    QVERIFY(!showsNumberFault(design.failure));
    for (const DisplayList &picture : allPictures(texts, session))
        QVERIFY2(firstFault(picture).isEmpty(), qPrintable(firstFault(picture)));
}

void BadInputTest::unloadedSpansWarnOnce_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QStringList>("loads");   // "region:text" uniform g, or "slot:F:a"
    QTest::addColumn<int>("warnings");

    const QStringList noLoad{"1:0", "2:0", "3:0", "4:0", "5:0"};
    QTest::newRow("single span") << QStringList{"6", "0", "0", "0", "0"} << noLoad << 1;
    QTest::newRow("two spans") << QStringList{"6", "4", "0", "0", "0"} << noLoad << 2;
    QTest::newRow("three spans with cantilevers") << QStringList{"6", "4", "5", "1", "2"} << noLoad << 3;
    QTest::newRow("only a cantilever loaded") << QStringList{"6", "4", "0", "2", "0"}
                                              << QStringList{"1:0", "2:0", "3:0", "4:5", "5:0"} << 2;
    QTest::newRow("force 0 with a distance") << QStringList{"6", "0", "0", "0", "0"}
                                             << (noLoad + QStringList{"0:0:3"}) << 1;
    QTest::newRow("loads that cancel still load") << QStringList{"6", "0", "0", "0", "0"}
                                                  << QStringList{"1:0", "0:5:2", "1:-5:4"} << 0;
}

void BadInputTest::unloadedSpansWarnOnce()
{
    QFETCH(QStringList, lengths);
    QFETCH(QStringList, loads);
    QFETCH(int, warnings);

    ProjectTexts texts = ProjectTexts::Defaults();
    for (int i = 0; i < RegionCount; ++i)
        texts.lengths[i] = lengths[i];
    for (const QString &load : loads) {
        const QStringList p = load.split(u':');
        if (p.size() == 2)
            texts.uniform[p[0].toInt() - 1][LoadG] = p[1];
        else {
            texts.force[p[0].toInt()] = p[1];
            texts.distance[p[0].toInt()] = p[2];
        }
    }
    ResultSet results;
    const AnalysisOutcome out = RunAnalysis(texts, results);
    QVERIFY(!out.refused);
    QCOMPARE(out.warnings, QStringList(warnings, NoLoadWarningText));
    QVERIFY(allFinite(results));
    if (warnings == out.spans && texts.uniformLoadSum(LeftCantilever) == 0) {
        // Nothing loaded at all: every result is zero.
        for (const QString &line : ResultLines(results, out.spans, QLocale::c()).lines)
            QVERIFY2(line.contains(QLatin1String("= 0.00  kN")), qPrintable(line));
    }
}

void BadInputTest::pointLoadsOutsideTheirSpan_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<bool>("onSupport");

    // On a support a force goes straight into the reaction; beyond the span
    // or before it the force does not act and is named.
    QTest::newRow("at 0") << 0.0 << true;
    QTest::newRow("at the span end") << 6.0 << true;
    QTest::newRow("beyond the span") << 9.0 << false;
    QTest::newRow("negative") << -2.0 << false;
    QTest::newRow("ten spans beyond") << 60.0 << false;
}

void BadInputTest::pointLoadsOutsideTheirSpan()
{
    QFETCH(double, distance);
    QFETCH(bool, onSupport);
    const double F = 10.0;

    // A two-span beam with 2 kN/m everywhere and one point load in span 1.
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths = {QStringLiteral("6"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("0"),
                     QStringLiteral("0")};
    ResultSet without;
    QVERIFY(!RunAnalysis(texts, without).refused);

    texts.force[0] = QString::number(F);
    texts.distance[0] = QString::number(distance, 'g', 17);
    ResultSet with;
    const AnalysisOutcome out = RunAnalysis(texts, with);
    QVERIFY(!out.refused);
    QVERIFY(allFinite(with));

    // Vertical equilibrium: reactions carry the uniform load and the force
    // where it acts.
    const double total = 2.0 * (6 + 4) + (onSupport ? F : 0.0);
    const double reactions = with.A() + with.B() + with.C();
    QVERIFY2(std::fabs(reactions - total) <= 1e-9 * total, qPrintable(QString::number(reactions)));
    QCOMPARE(out.inactive.size(), onSupport ? std::size_t(0) : std::size_t(1));

    if (onSupport) {
        QVERIFY(std::fabs(with.MB - without.MB) < 1e-12);
        QVERIFY(std::fabs(with.MF1 - without.MF1) < 1e-9);
        const double jump = distance == 0 ? with.A() - without.A() : with.B() - without.B();
        QVERIFY(std::fabs(jump - F) < 1e-9);
    } else {
        QCOMPARE(out.inactive[0].slot, 0);
        QCOMPARE(out.inactive[0].cause, InactiveCause::OutsideRegion);
        QCOMPARE(with.MB, without.MB);
        QCOMPARE(with.MF1, without.MF1);
    }
}

void BadInputTest::damagedProfileTable_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("profile");   // Label7 text of the profile
    QTest::addColumn<bool>("failure");      // a message box is due

    const QByteArray letters = QByteArray(400, 'x') + "\r\n";
    QTest::newRow("letters only, IPE") << letters.repeated(4) << 0 << "IPE/I  kein Profil der Reihe ausreichend" << false;
    QTest::newRow("letters only, HE-B") << letters.repeated(4) << 2 << "HE-B  kein Profil der Reihe ausreichend"
                                        << false;
    QByteArray words;
    for (int line = 0; line < 4; ++line) {
        for (int c = 0; c < 60; ++c)
            words += "  abc ";
        words += "\n";
    }
    QTest::newRow("words in every column, IPE") << words << 0 << "IPE/I  kein Profil der Reihe ausreichend" << false;
    QTest::newRow("words in every column, HE-A") << words << 1 << "HE-A  kein Profil der Reihe ausreichend" << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe\n\x00\n\n", 8) << 1 << "HE-A  ---" << true;
    QTest::newRow("one line") << QByteArray("   100   200\n") << 0 << "IPE/I  ---" << true;
}

void BadInputTest::damagedProfileTable()
{
    QFETCH(QByteArray, table);
    QFETCH(int, series);
    QFETCH(QString, profile);
    QFETCH(bool, failure);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    DesignInputs inputs = shippedDesignInputs();
    inputs.profileTablePath = ProfileTablePath(dir.path());
    QVERIFY(writeBytes(inputs.profileTablePath, table));
    inputs.series = series;

    ResultSet r;
    r.L1 = 6;
    r.MF1 = 9;
    r.Are = 6;
    r.Bli = -6;
    r.EIf1 = 84.375;
    DesignState state;
    const DesignTexts out = DesignCaptions(RunDesign(r, inputs, state, QLocale::c()), QLocale::c());
    QCOMPARE(out.steelProfile.value_or(QString()), profile);
    QCOMPARE(!out.failure.isEmpty(), failure);
    if (failure)
        QVERIFY2(out.failure.contains(QLatin1String("wert3.txt")), qPrintable(out.failure));
    // The timber design does not depend on the profile table.
    QCOMPARE(out.timberHeight.value_or(QString()).contains(QLatin1String("---")), false);
}

void BadInputTest::overlongDataFilesReadAsShipped()
{
    // Lines longer than the program reads and lines after the last one read
    // change nothing: a file extended by a later table edition still works.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray material = fileBytes(Wert2);
    QByteArray profiles = fileBytes(Wert3);
    QVERIFY(!material.isEmpty() && !profiles.isEmpty());
    const auto extend = [](QByteArray bytes, const QByteArray &tail) {
        QList<QByteArray> lines = bytes.split('\n');
        for (QByteArray &line : lines)
            if (!line.isEmpty())
                line.replace("\r", "").append(tail);
        return lines.join('\n') + "more text after the table\n" + QByteArray(3000, '9') + '\n';
    };
    const QString materialPath = MaterialTablePath(dir.path());
    QVERIFY(writeBytes(materialPath, extend(material, "   77777   88888")));
    QVERIFY(writeBytes(ProfileTablePath(dir.path()), extend(profiles, "")));

    for (int series : {0, 1}) {
        DesignInputs shipped = shippedDesignInputs();
        shipped.series = series;
        DesignInputs extended = shipped;
        extended.timberValues = ReadTimberValues(materialPath, 1);
        extended.steelValues = ReadSteelValues(materialPath, 0);
        extended.profileTablePath = ProfileTablePath(dir.path());
        QCOMPARE(extended.steelValues.size(), 8);

        ResultSet r;
        r.L1 = 6;
        r.MF1 = 40;
        r.Are = 25;
        r.Bli = -25;
        r.EIf1 = 400;
        DesignState a, b;
        const DesignTexts x = DesignCaptions(RunDesign(r, shipped, a, QLocale::c()), QLocale::c());
        const DesignTexts y = DesignCaptions(RunDesign(r, extended, b, QLocale::c()), QLocale::c());
        QVERIFY(x.failure.isEmpty());
        QCOMPARE(y.failure, x.failure);
        QCOMPARE(y.timberWy, x.timberWy);
        QCOMPARE(y.timberHeight, x.timberHeight);
        QCOMPARE(y.steelWy, x.steelWy);
        QCOMPARE(y.steelProfile, x.steelProfile);
        QCOMPARE(y.steelVerdict, x.steelVerdict);
    }
}

void BadInputTest::extremeValuesSurviveTheProjectFile_data()
{
    QTest::addColumn<QByteArray>("value");

    // The largest doubles once came back as 0: their 15-digit form rounded up
    // past the end of the double range.
    QTest::newRow("largest double") << QByteArray("1.7976931348623157e308");
    QTest::newRow("largest, negative") << QByteArray("-1.7976931348623157e308");
    QTest::newRow("rounds up at 15 digits") << QByteArray("1.7976931348623155e308");
    QTest::newRow("below the rounding edge") << QByteArray("1.79769313486231e308");
    QTest::newRow("1e308") << QByteArray("1e308");
    QTest::newRow("1e-308") << QByteArray("1e-308");
    QTest::newRow("smallest subnormal") << QByteArray("4.9406564584124654e-324");
}

void BadInputTest::extremeValuesSurviveTheProjectFile()
{
    QFETCH(QByteArray, value);

    // As read from a file: L1 holds the value, 80 more values follow.
    QByteArray bytes = value;
    for (int i = 1; i < ProjectFileValueCount; ++i)
        bytes += " 1";
    const ProjectFileValues read = ParseProjectFile(bytes);
    QVERIFY(read.ok);
    const double number = LeadingNumber(read.lengths[LengthL1]);
    QVERIFY(std::isfinite(number) && number != 0);
    QVERIFY(std::fabs(number - value.toDouble()) <= 1e-14 * std::fabs(value.toDouble()));

    // Saved and opened again: the same value.
    const ProjectFileValues again = ParseProjectFile(ProjectFileBytes(read.toProjectTexts()));
    QVERIFY(again.ok);
    QCOMPARE(again.lengths[LengthL1], read.lengths[LengthL1]);

    // Typed with a unit, the field is saved as its number and comes back.
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.force[0] = QString::fromLatin1(value) + QStringLiteral(" kN");
    const ProjectFileValues typed = ParseProjectFile(ProjectFileBytes(texts));
    QVERIFY(typed.ok);
    QCOMPARE(typed.force[0], read.lengths[LengthL1]);
}

void BadInputTest::damagedProjectFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("valuesRead");   // -1: the file opens

    QByteArray binary(4096, '\0');
    QRandomGenerator random(7);
    for (char &c : binary) {
        c = char(random.bounded(256));
        // Digits, signs and points would make numbers; keep it free of them.
        if ((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')
            c = 'x';
    }
    QTest::newRow("binary without separators") << QByteArray(4096, '\x01') << 1;
    QTest::newRow("binary") << binary << -1;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("line ends only") << QByteArray("\r\n\r\n\n") << 0;
    QTest::newRow("a few values") << QByteArray("6 6 5\r\n2 2") << 5;
    QTest::newRow("80 commas") << QByteArray(80, ',') << 80;
    QTest::newRow("81 commas") << QByteArray(81, ',') << -1;
    // A foreign file chosen by mistake is read only up to 16 MiB.
    QTest::newRow("huge, one word") << QByteArray(17 * 1024 * 1024, 'x') << 1;
    QTest::newRow("huge, numbers first") << (QByteArray("1 ").repeated(81) + QByteArray(17 * 1024 * 1024, 'x'))
                                         << -1;
}

void BadInputTest::damagedProjectFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, valuesRead);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("fremd.lof"));
    QVERIFY(writeBytes(path, contents));
    const ProjectFileValues values = ReadProjectFile(path);
    if (valuesRead < 0) {
        QVERIFY2(values.ok, qPrintable(values.error));
        for (const QString &length : values.lengths)
            QVERIFY(IsNumericText(length) && !showsNumberFault(length));
        for (const QString &force : values.force)
            QVERIFY(IsNumericText(force) && !showsNumberFault(force));
        return;
    }
    QVERIFY(!values.ok);
    QCOMPARE(values.error, QStringLiteral("„%1“: Die Datei enthält nur %2 von 81 Werten.")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(valuesRead));
    for (const QString &length : values.lengths)
        QVERIFY(length.isEmpty());
}

void BadInputTest::failedSaveKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("target");     // relative to a fresh folder
    QTest::addColumn<QString>("earlier");    // the file that must stay as it was
    QTest::addColumn<bool>("fullDisk");

    // Running as root, permissions do not stop a write; these places cannot
    // be written by anyone.
    QTest::newRow("target is a folder") << "projekt.lof" << "projekt.lof/alt.lof" << false;
    QTest::newRow("parent is a file") << "alt.lof/projekt.lof" << "alt.lof" << false;
    QTest::newRow("disk full") << "alt.lof" << "alt.lof" << true;
}

void BadInputTest::failedSaveKeepsTheEarlierFile()
{
    QFETCH(QString, target);
    QFETCH(QString, earlier);
    QFETCH(bool, fullDisk);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString earlierPath = dir.filePath(earlier);
    QVERIFY(QDir().mkpath(QFileInfo(earlierPath).absolutePath()));
    ProjectTexts old = ProjectTexts::Defaults();
    old.lengths[LengthL1] = QStringLiteral("7.25");
    const QByteArray oldBytes = ProjectFileBytes(old);
    QVERIFY(writeBytes(earlierPath, oldBytes));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    ProjectTexts changed = ProjectTexts::Defaults();
    changed.lengths[LengthL1] = QStringLiteral("3");
    QString error;
    bool written = true;
    if (fullDisk) {
        // Room for half a project file.
        FileSizeLimit limit(oldBytes.size() / 2);
        if (!limit.active())
            QSKIP("the file size limit cannot be set here");
        written = WriteProjectFile(dir.filePath(target), changed, &error);
    } else {
        written = WriteProjectFile(dir.filePath(target), changed, &error);
    }

    QVERIFY(!written);
    QVERIFY2(error.startsWith(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden (")
                                  .arg(QDir::toNativeSeparators(dir.filePath(target)))),
             qPrintable(error));
    QCOMPARE(fileBytes(earlierPath), oldBytes);
    // No half-written temporary file is left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), filesBefore);
    if (QFileInfo(earlierPath).dir() != QDir(dir.path()))
        QCOMPARE(QFileInfo(earlierPath).dir().entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(earlierPath).fileName()});
}

namespace {

// The default document with one member's text replaced: `from` and `to`
// are pieces of its JSON text.
QByteArray changedDocument(const char *from, const QByteArray &to)
{
    QByteArray bytes = ProjectDocumentBytes(ProjectState::Defaults());
    const qsizetype at = bytes.indexOf(from);
    return at < 0 ? QByteArray() : bytes.replace(at, qsizetype(qstrlen(from)), to);
}

} // namespace

void BadInputTest::damagedProjectDocuments_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("member");     // empty: the file as a whole
    QTest::addColumn<QString>("message");    // the reader's whole message

    const QByteArray defaults = ProjectDocumentBytes(ProjectState::Defaults());
    QTest::newRow("a .lof") << QByteArray("6.00          6.00\r\n") << ""
                            << "Die Datei ist kein gültiges JSON-Dokument (ungültiger Wert, an Stelle 1).";
    QTest::newRow("cut off") << defaults.left(40) << ""
                             << "Die Datei ist kein gültiges JSON-Dokument (eine Zeichenkette ist nicht abgeschlossen, "
                                "an Stelle 41).";
    QTest::newRow("a list") << QByteArray("[]") << "" << "Die Datei enthält kein JSON-Objekt.";
    QTest::newRow("another program's JSON") << QByteArray(R"({"name": "x"})") << "format"
                                            << "Die Datei ist keine Varno-Projektdatei („format“ ist nicht „varno-projekt“).";
    QTest::newRow("newer major version") << changedDocument(R"("1.0")", R"("2.0")") << "version"
                                         << "Die Datei hat das Format 2.0; dieses Programm liest nur das Format 1.x "
                                            "(sie stammt aus einer neueren Programmversion).";
    QTest::newRow("version as a number") << changedDocument(R"("1.0")", "1") << "version"
                                         << "„version“ ist keine Versionsangabe wie „1.0“.";
    QTest::newRow("length as a number") << changedDocument(R"("L2": "6.00")", R"("L2": 6)") << "lengths.L2"
                                        << "„lengths.L2“ ist keine Zeichenkette.";
    QTest::newRow("length missing") << changedDocument(R"("L3": "5.00",)", "") << "lengths.L3" << "„lengths.L3“ fehlt.";
    QTest::newRow("unknown member") << changedDocument(R"("L3": "5.00",)", R"("L3": "5.00", "L4": "3",)")
                                    << "lengths.L4" << "„lengths.L4“ ist unbekannt.";
    QTest::newRow("copy box as a word") << changedDocument(R"("sameForAll": true)", R"("sameForAll": "ja")")
                                        << "uniformLoads.g.sameForAll"
                                        << "„uniformLoads.g.sameForAll“ ist kein Wahrheitswert (true oder false).";
    QTest::newRow("eight loads in span 1") << changedDocument(R"("F1": [)", R"("F1": [{"F": "1", "a": "1"},)")
                                           << "pointLoads.F1" << "„pointLoads.F1“ hat 8 Einträge; erwartet sind 7.";
    QTest::newRow("load without distance") << changedDocument(R"("Kl": [
            {
                "F": "0",
                "a": "0")", R"("Kl": [
            {
                "F": "0")") << "pointLoads.Kl[0].a"
                                           << "„pointLoads.Kl[0].a“ fehlt.";
    QTest::newRow("timber grade 14") << changedDocument(R"("timberGrade": 1)", R"("timberGrade": 14)")
                                     << "material.timberGrade"
                                     << "„material.timberGrade“ ist 14; möglich sind die ganzen Zahlen 0 bis 13.";
    QTest::newRow("steel grade 1.5") << changedDocument(R"("steelGrade": 0)", R"("steelGrade": 1.5)")
                                     << "material.steelGrade"
                                     << "„material.steelGrade“ ist 1.5; möglich sind die ganzen Zahlen 0 bis 2.";
    QTest::newRow("service class 0") << changedDocument(R"("serviceClass": 1)", R"("serviceClass": 0)")
                                     << "eurocode.serviceClass"
                                     << "„eurocode.serviceClass“ ist 0; möglich sind die ganzen Zahlen 1 bis 3.";
    QTest::newRow("unknown series") << changedDocument(R"("series": "HE-A",
        "spanLimit")", R"("series": "HE-C",
        "spanLimit")") << "resultsWindow.series"
                                    << "„resultsWindow.series“ ist „HE-C“; möglich sind „IPE“, „HE-A“, „HE-B“.";
    QTest::newRow("unknown system") << changedDocument(R"("systemName": "")", R"("systemName": "Vierfeldträger")")
                                    << "systemName"
                                    << "„systemName“ ist „Vierfeldträger“; möglich sind „“, „Einfelträger“, "
                                       "„Zweifelträger“, „Dreifelträger“.";
    QTest::newRow("class named empty") << changedDocument(R"("timberClass": null)", R"("timberClass": "")")
                                       << "eurocode.timberClass"
                                       << "„eurocode.timberClass“ ist leer; die erste Wahl der Liste steht als null.";
    QTest::newRow("overlong description")
        << changedDocument(R"("beschreibung": "")", R"("beschreibung": ")" + QByteArray(32768, 'x') + '"')
        << "projectInfo.beschreibung" << "„projectInfo.beschreibung“ ist länger als 32767 Zeichen.";
    QTest::newRow("control character") << changedDocument(R"("bearbeiter": "")", R"("bearbeiter": "\u001b[2J")")
                                       << "projectInfo.bearbeiter"
                                       << "„projectInfo.bearbeiter“ enthält ein Steuerzeichen (U+001B).";
    QTest::newRow("half a surrogate pair") << changedDocument(R"("bearbeiter": "")", R"("bearbeiter": "\ud800")")
                                           << "projectInfo.bearbeiter"
                                           << "„projectInfo.bearbeiter“ enthält ein ungültiges Zeichen.";
    QTest::newRow("larger than 16 MiB") << defaults + QByteArray(16 * 1024 * 1024, ' ') << ""
                                        << "Die Datei ist größer als 16 MiB.";
    // A newer minor version adds members that this program leaves out.
    QTest::newRow("newer minor version") << changedDocument(R"("version": "1.0")", R"("loads": [], "version": "1.4")")
                                         << "loads" << QString();
    QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + defaults << "" << QString();
}

// Every fault is named with its member and nothing is read; what opens
// holds the defaults.
void BadInputTest::damagedProjectDocuments()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, member);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("fremd.varno"));
    QVERIFY(writeBytes(path, contents));
    const ProjectDocument read = ReadProjectDocument(path);
    if (message.isEmpty()) {
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.state == ProjectState::Defaults());
        QCOMPARE(read.ignored, member.isEmpty() ? QStringList() : QStringList{member});
        return;
    }
    QVERIFY(!read.ok);
    QCOMPARE(read.member, member);
    QCOMPARE(read.error, QStringLiteral("Projektdatei „%1“: %2").arg(QDir::toNativeSeparators(path), message));
}

QTEST_GUILESS_MAIN(BadInputTest)
#include "tst_core_badinput.moc"
