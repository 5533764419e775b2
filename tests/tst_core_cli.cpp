// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"
#include "design/design.h"
#include "io/projectfile.h"
#include "presentation/captions.h"

#include "calcprogram.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

QString program()
{
    return varno::test::CalcProgram();
}

QString data(const char *name)
{
    return QStringLiteral(VARNO_TEST_DATA_DIR "/") + QString::fromLatin1(name);
}

Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(program(), arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QList<QJsonObject> jsonObjects(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject())
            return {};
        objects << doc.object();
    }
    return objects;
}

QStringList strings(const QJsonValue &array)
{
    QStringList out;
    for (const QJsonValue &v : array.toArray())
        out << v.toString();
    return out;
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exitStatus_data();
    void exitStatus();
    void severalFilesAreAllComputed();
    void jsonOfSingleSpan();
    void jsonKeyOrderAndNumberForm();
    void equilibriumWithCantileversAndPointLoads();
    void localeFormatsTextsOnly();
    void textOutputMatchesJsonLines();
    void series_data();
    void series();
    void noLoadLeavesProfileEmpty();
    void designValuesReadBack_data();
    void designValuesReadBack();
    void missingDataFilesStillGiveResults();
    void pdfReport();
    void pdfToMissingFolder();
    void picturesOfEveryComputedFile();
    void pictureSizeIsTwoPositiveIntegers_data();
    void pictureSizeIsTwoPositiveIntegers();
    void pictureFolderThatCannotBeWritten();
    void pdfWithPicturePage();
    void picturePageAfterEitherReport_data();
    void picturePageAfterEitherReport();
    void helpAndVersion();
    void envelope_data();
    void envelope();
};

void TestCli::initTestCase()
{
    if (!QFile::exists(program()))
        QFAIL(qPrintable(QStringLiteral("varno-calc not found at ") + program()));
}

void TestCli::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    const QString single = data("lof_single_span.lof");
    const QString zero = data("lof_zero_span.lof");
    const QString missing = data("lof_gibt_es_nicht.lof");
    QTest::newRow("computed") << QStringList{single} << 0;
    QTest::newRow("L1 = 0 refused") << QStringList{zero} << 1;
    QTest::newRow("grade position outside its list") << QStringList{data("lof_bad_grade.lof")} << 1;
    QTest::newRow("timber grade option outside") << QStringList{"--timber-grade", "14", single} << 1;
    QTest::newRow("steel grade option negative") << QStringList{"--steel-grade=-1", single} << 1;
    QTest::newRow("grade option mends a bad file") << QStringList{"--timber-grade", "3", data("lof_bad_grade.lof")}
                                                   << 0;
    QTest::newRow("short file") << QStringList{data("lof_short.lof")} << 2;
    QTest::newRow("missing file") << QStringList{missing} << 2;
    QTest::newRow("folder instead of file") << QStringList{QStringLiteral(VARNO_TEST_DATA_DIR)} << 2;
    QTest::newRow("no file") << QStringList{} << 2;
    QTest::newRow("unknown option") << QStringList{"--frobnicate", single} << 2;
    QTest::newRow("option without value") << QStringList{single, "--width"} << 2;
    QTest::newRow("unknown series") << QStringList{"--series", "IPB", single} << 2;
    QTest::newRow("grade not an integer") << QStringList{"--steel-grade", "1.5", single} << 2;
    QTest::newRow("several, highest is refused") << QStringList{single, zero, single} << 1;
    QTest::newRow("several, highest is unreadable") << QStringList{zero, missing, single} << 2;
    QTest::newRow("json does not change the status") << QStringList{"--json", zero} << 1;
}

void TestCli::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const Run result = run(arguments);
    QCOMPARE(result.status, status);
    if (status != 0)
        QVERIFY(!result.err.isEmpty());
}

void TestCli::severalFilesAreAllComputed()
{
    const Run result = run({"--json", "--locale", "C", data("lof_single_span.lof"), data("lof_short.lof"),
                            data("lof_zero_span.lof"), data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 2);
    const QList<QJsonObject> objects = jsonObjects(result.out);
    QCOMPARE(objects.size(), 4);
    QCOMPARE(objects[0]["status"].toInt(), 0);
    QCOMPARE(objects[1]["status"].toInt(), 2);
    QCOMPARE(objects[2]["status"].toInt(), 1);
    QCOMPARE(objects[3]["status"].toInt(), 0);
    QVERIFY(objects[0].contains("results"));
    QVERIFY(!objects[1].contains("results"));
    QVERIFY(objects[3].contains("results"));
    QVERIFY(objects[1]["file"].toString().endsWith("lof_short.lof"));
    // A refused file names its cause, on standard error too.
    QVERIFY(!objects[2].contains("lines"));
    QVERIFY(QString::fromUtf8(result.err).contains(objects[2]["error"].toString()));
}

void TestCli::jsonOfSingleSpan()
{
    // L1 = 6 m, q = 10 kN/m: MF1 = q l^2 / 8 = 45 at 3 m, A = B = 30.
    const Run result = run({"--json", "--locale", "C", data("lof_single_span.lof")});
    QCOMPARE(result.status, 0);
    const QList<QJsonObject> objects = jsonObjects(result.out);
    QCOMPARE(objects.size(), 1);
    const QJsonObject o = objects[0];

    const QJsonObject system = o["system"].toObject();
    QCOMPARE(system["spans"].toDouble(), 1.0);
    QCOMPARE(system["L1"].toDouble(), 6.0);
    QCOMPARE(system["L2"].toDouble(), 0.0);

    const QJsonObject r = o["results"].toObject();
    QCOMPARE(r.size(), 27);
    QCOMPARE(r["MF1"].toDouble(), 45.0);
    QCOMPARE(r["xF1"].toDouble(), 3.0);
    QCOMPARE(r["Are"].toDouble(), 30.0);
    QCOMPARE(r["Bli"].toDouble(), -30.0);
    QCOMPARE(r["A"].toDouble(), 30.0);
    QCOMPARE(r["B"].toDouble(), 30.0);
    QCOMPARE(r["MA"].toDouble(), 0.0);
    // The cantilever moments of a beam without cantilevers come out as -0.
    QVERIFY2(!result.out.contains("-0,") && !result.out.contains("-0}"), result.out.constData());

    const QJsonObject design = o["design"].toObject();
    QCOMPARE(design["GoverningMoment"].toDouble(), 45.0);
    QCOMPARE(design["GoverningShear"].toDouble(), 30.0);   // Are comes before Bli
    const QJsonObject timber = design["timber"].toObject();
    QCOMPARE(timber["grade"].toString(), QStringLiteral("Holz   S 10 / MS 10"));
    QCOMPARE(timber["b"].toString(), QStringLiteral("8.0"));
    QVERIFY(timber["Wy"].toString().startsWith(QStringLiteral("Wy erf =  ")));
    QVERIFY(timber["h"].toString().startsWith(QStringLiteral("h =  ")));
    QVERIFY(timber["verdict"].toString().startsWith(QStringLiteral("Holz:  ")));
    const QJsonObject steel = design["steel"].toObject();
    QCOMPARE(steel["grade"].toString(), QStringLiteral("Stahl   St 360 C (S235JO)"));
    QVERIFY(steel["profile"].toString().startsWith(QStringLiteral("HE-A  ")));
    QVERIFY(steel["verdict"].toString().startsWith(QStringLiteral("Stahl:  ")));

    const QJsonObject equilibrium = o["equilibrium"].toObject();
    QCOMPARE(equilibrium["load"].toDouble(), 60.0);
    QCOMPARE(equilibrium["reactions"].toDouble(), 60.0);

    const QStringList lines = strings(o["lines"]);
    // Nine result lines of a single span, nine design lines.
    QCOMPARE(lines.size(), 18);
    QCOMPARE(lines[0], QStringLiteral("St\u00FCtzmoment  MA  = 0.00  kNm"));
    QCOMPARE(lines[2], QStringLiteral("Feldmoment   MF1 = 45.00  kNm"));
    QCOMPARE(lines[8], QStringLiteral("Auflagerkraft  B = 30.00  kN"));
    QCOMPARE(lines[9], timber["grade"].toString());
    QCOMPARE(lines[11], QStringLiteral("b = 8.0 cm"));
    QCOMPARE(lines[17], steel["verdict"].toString());
    QVERIFY(strings(o["warnings"]).isEmpty());
}

void TestCli::jsonKeyOrderAndNumberForm()
{
    const Run result = run({"--json", "--locale", "C", data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 0);
    const QString line = QString::fromUtf8(result.out).trimmed();
    QVERIFY(!line.contains(u'\n'));
    // Every documented member, each object's members in the order of their
    // names (the order the JSON writer keeps).
    const QJsonObject o = jsonObjects(result.out).value(0);
    QCOMPARE(o.keys(), (QStringList{"beamLines", "design", "envelope", "equilibrium", "file", "lines", "results",
                                    "status", "system", "warnings"}));
    const QJsonObject beamLines = o["beamLines"].toObject();
    QCOMPARE(beamLines.keys(), (QStringList{"F1", "F2", "F3", "Kl", "Kr"}));
    QCOMPARE(beamLines["Kl"].toObject().keys(), (QStringList{"EIwMax", "EIwMin", "Mmax", "Mmin", "Vmax", "xEIwMax",
                                                             "xEIwMin", "xMmax", "xMmin"}));
    QCOMPARE(o["system"].toObject().keys(), (QStringList{"L1", "L2", "L3", "Lkl", "Lkr", "spans"}));
    const QJsonObject design = o["design"].toObject();
    QCOMPARE(design.keys(), (QStringList{"GoverningMoment", "GoverningShear", "steel", "timber"}));
    QCOMPARE(design["timber"].toObject().keys(), (QStringList{"Wy", "b", "grade", "h", "values", "verdict"}));
    QCOMPARE(design["steel"].toObject().keys(), (QStringList{"Wy", "grade", "profile", "values", "verdict"}));
    QCOMPARE(o["equilibrium"].toObject().keys(), (QStringList{"load", "reactions"}));
    qsizetype at = 0;
    for (const QString &key : o["results"].toObject().keys()) {
        const qsizetype next = line.indexOf(u'"' + key + QStringLiteral("\":"), at);
        QVERIFY2(next > at, qPrintable(key));
        at = next;
    }
    // Shortest form: whole numbers without a point, 1.5 as 1.5.
    QVERIFY(line.contains(QStringLiteral("\"L1\":5,")));
    QVERIFY(line.contains(QStringLiteral("\"Lkl\":1.5,")));
    QVERIFY(line.contains(QStringLiteral("\"MA\":-10.875,")));
}

void TestCli::equilibriumWithCantileversAndPointLoads()
{
    // g = 3 kN/m on all 15.5 m, q = 2 kN/m on span 2 (4 m), point loads
    // 10 + 7.5 in the spans, 5 and 4 on the cantilevers: 81 kN.
    const Run result = run({"--json", "--locale", "C", data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 0);
    const QJsonObject o = jsonObjects(result.out).value(0);
    const QJsonObject equilibrium = o["equilibrium"].toObject();
    QCOMPARE(equilibrium["load"].toDouble(), 81.0);
    QVERIFY(std::abs(equilibrium["reactions"].toDouble() - 81.0) < 1e-9);
    const QJsonObject r = o["results"].toObject();
    // Left cantilever 1.5 m: MA = -3 * 1.5^2 / 2 - 5 * 1.5, Ali = -(3 * 1.5 + 5).
    QCOMPARE(r["MA"].toDouble(), -10.875);
    QCOMPARE(r["Ali"].toDouble(), -9.5);
    // Right cantilever 2 m: MD = -3 * 2^2 / 2 - 4 * 2, Dre = 3 * 2 + 4.
    QCOMPARE(r["MD"].toDouble(), -14.0);
    QCOMPARE(r["Dre"].toDouble(), 10.0);
    QCOMPARE(strings(o["lines"]).size(), 19 + 9);
}

void TestCli::localeFormatsTextsOnly()
{
    const Run german = run({"--json", "--locale", "de_DE", data("lof_single_span.lof")});
    QCOMPARE(german.status, 0);
    const QJsonObject o = jsonObjects(german.out).value(0);
    QCOMPARE(o["results"].toObject()["MF1"].toDouble(), 45.0);
    const QStringList lines = strings(o["lines"]);
    QCOMPARE(lines[2], QStringLiteral("Feldmoment   MF1 = 45,00  kNm"));
    QVERIFY(lines[10].contains(u','));   // timber Wy, "0.0" with the locale's separator
    QVERIFY(QString::fromUtf8(german.out).contains(QStringLiteral("\"MF1\":45,")));
}

void TestCli::textOutputMatchesJsonLines()
{
    const QStringList args = {"--locale", "C", data("lof_no_load.lof")};
    const Run text = run(args);
    const Run json = run(QStringList{"--json"} + args);
    QCOMPARE(text.status, 0);
    QCOMPARE(json.status, 0);
    const QJsonObject o = jsonObjects(json.out).value(0);
    QStringList printed = QString::fromUtf8(text.out).split(u'\n');
    QCOMPARE(printed.takeLast(), QString());
    QCOMPARE(printed, strings(o["lines"]));
    // Warnings go to standard error, one per unloaded span.
    QCOMPARE(strings(o["warnings"]), QStringList(3, varno::NoLoadWarningText));
    QCOMPARE(QString::fromUtf8(text.err).count(varno::NoLoadWarningText), 3);
    QVERIFY(!QString::fromUtf8(text.out).contains(varno::NoLoadWarningText));
}

void TestCli::series_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("default") << QString() << "HE-A  ";
    QTest::newRow("IPE") << "IPE" << "IPE/I  ";
    QTest::newRow("HE-A") << "HE-A" << "HE-A  ";
    QTest::newRow("HE-B lower case") << "he-b" << "HE-B  ";
}

void TestCli::series()
{
    QFETCH(QString, series);
    QFETCH(QString, prefix);
    QStringList args = {"--json", "--locale", "C", data("lof_cantilevers.lof")};
    if (!series.isEmpty())
        args = QStringList{"--series", series} + args;
    const Run result = run(args);
    QCOMPARE(result.status, 0);
    const QString profile =
        jsonObjects(result.out).value(0)["design"].toObject()["steel"].toObject()["profile"].toString();
    QVERIFY2(profile.startsWith(prefix), qPrintable(profile));
    QVERIFY(profile.size() > prefix.size());   // a designation was found
}

void TestCli::noLoadLeavesProfileEmpty()
{
    // Without any load every requirement is 0: the search stops before it
    // reads the table, and a new results window has no designation yet.
    const Run result = run({"--json", "--locale", "C", "--series", "IPE", data("lof_no_load.lof")});
    QCOMPARE(result.status, 0);
    const QJsonObject design = jsonObjects(result.out).value(0)["design"].toObject();
    const QJsonObject steel = design["steel"].toObject();
    QCOMPARE(steel["profile"].toString(), QStringLiteral("IPE/I  "));
    QCOMPARE(steel["verdict"].toString(), QString());
    QCOMPARE(design["GoverningMoment"].toDouble(), 0.0);
}

void TestCli::designValuesReadBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("dataDirectory");
    QTest::addColumn<QStringList>("steelKeys");   // empty: no steel values
    QTest::addColumn<bool>("timberValues");

    const QString shipped = QStringLiteral(VARNO_SOURCE_DIR "/data");
    const QStringList found = {"IyRequired", "Iy", "WyRequired", "Wy", "designation", "governs",
                               "series",     "shearArea", "utilisation"};
    QTest::newRow("single span, HE-A") << data("lof_single_span.lof") << 1 << shipped << found << true;
    QTest::newRow("cantilevers, IPE") << data("lof_cantilevers.lof") << 0 << shipped << found << true;
    QTest::newRow("cantilevers, HE-B") << data("lof_cantilevers.lof") << 2 << shipped << found << true;
    // Nothing to carry: the requirement only, no profile was chosen.
    QTest::newRow("no load") << data("lof_no_load.lof") << 1 << shipped
                             << QStringList{"IyRequired", "WyRequired", "series"} << true;
    QTest::newRow("no data files") << data("lof_single_span.lof") << 1 << QDir::tempPath() + "/varno-keine-daten"
                                   << QStringList() << false;
}

// The numbers under design.*.values read back to the very doubles the design
// computes for the inputs of the program's last run.
void TestCli::designValuesReadBack()
{
    QFETCH(QString, file);
    QFETCH(int, series);
    QFETCH(QString, dataDirectory);
    QFETCH(QStringList, steelKeys);
    QFETCH(bool, timberValues);

    static const char *const seriesNames[] = {"IPE", "HE-A", "HE-B"};
    const Run result = run({"--json", "--locale", "C", "--series", seriesNames[series], "--data-dir", dataDirectory,
                            file});
    const QJsonObject design = jsonObjects(result.out).value(0)["design"].toObject();
    const QJsonObject timber = design["timber"].toObject()["values"].toObject();
    const QJsonObject steel = design["steel"].toObject()["values"].toObject();
    QCOMPARE(design["timber"].toObject().contains("values"), timberValues);
    QCOMPARE(design["steel"].toObject().contains("values"), !steelKeys.isEmpty());
    QStringList keys = steelKeys;
    keys.sort();
    QCOMPARE(steel.keys(), keys);

    const varno::ProjectFileValues values = varno::ReadProjectFile(file);
    QVERIFY(values.ok);
    varno::ResultSet r;
    QVERIFY(!varno::RunAnalysis(values.toProjectTexts(), r).refused);
    varno::DesignInputs in;
    in.series = series;
    in.timberValues = varno::ReadTimberValues(varno::MaterialTablePath(dataDirectory), values.timberGrade);
    in.steelValues = varno::ReadSteelValues(varno::MaterialTablePath(dataDirectory), values.steelGrade);
    in.profileTablePath = varno::ProfileTablePath(dataDirectory);
    varno::DesignState state;
    const varno::DesignResult expected = varno::RunDesign(r, in, state, QLocale::c());

    if (timberValues) {
        QCOMPARE(timber.keys(), (QStringList{"WyRequired", "b", "governs", "h"}));
        QCOMPARE(timber["WyRequired"].toDouble(), expected.timber.WyRequired);
        QCOMPARE(timber["h"].toDouble(), expected.timber.h);
        QCOMPARE(timber["b"].toDouble(), 8.0);
        QCOMPARE(timber["governs"].toString(), varno::GovernsName(expected.timber.governs));
    }
    if (steelKeys.isEmpty())
        return;
    const varno::SteelDesign &s = expected.steel;
    QCOMPARE(steel["WyRequired"].toDouble(), s.WyRequired);
    QCOMPARE(steel["IyRequired"].toDouble(), s.IyRequired);
    QCOMPARE(steel["series"].toString(), QString::fromLatin1(seriesNames[series]));
    if (!steelKeys.contains("designation"))
        return;
    QVERIFY(design["steel"].toObject()["profile"].toString().simplified().endsWith(
        u' ' + steel["designation"].toString()));
    QCOMPARE(steel["Wy"].toDouble(), s.Wy);
    QCOMPARE(steel["Iy"].toDouble(), s.Iy);
    QCOMPARE(steel["shearArea"].toDouble(), s.shearArea);
    QCOMPARE(steel["governs"].toString(), varno::GovernsName(s.governs));
    const QJsonObject utilisation = steel["utilisation"].toObject();
    QCOMPARE(utilisation["bending"].toDouble(), s.utilisation.bending);
    QCOMPARE(utilisation["shear"].toDouble(), s.utilisation.shear);
    QCOMPARE(utilisation["deflection"].toDouble(), s.utilisation.deflection);
    QCOMPARE(utilisation["bending"].toDouble(), s.WyRequired / s.Wy);
    for (const char *key : {"bending", "shear", "deflection"})
        QVERIFY2(utilisation[key].toDouble() > 0 && utilisation[key].toDouble() <= 1, qPrintable(key));
}

void TestCli::missingDataFilesStillGiveResults()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const Run result = run({"--json", "--locale", "C", "--data-dir", empty.path(), data("lof_single_span.lof")});
    QCOMPARE(result.status, 1);
    const QJsonObject o = jsonObjects(result.out).value(0);
    QCOMPARE(o["results"].toObject()["MF1"].toDouble(), 45.0);
    QVERIFY(o["error"].toString().contains(QStringLiteral("wert2.txt")));
    const QString verdict = o["design"].toObject()["timber"].toObject()["verdict"].toString();
    QVERIFY2(verdict.contains(QStringLiteral("keine Bemessung")), qPrintable(verdict));
    QVERIFY(!QString::fromUtf8(result.out).contains(QStringLiteral("nan")));
    QVERIFY(!QString::fromUtf8(result.out).contains(QStringLiteral("inf")));
}

void TestCli::pdfReport()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    const Run result = run({"--pdf", path, "--locale", "C", "--firma", QStringLiteral("Statik B\u00FCro"), "--system",
                            QStringLiteral("Einfeltr\u00E4ger"), data("lof_single_span.lof"), data("lof_zero_span.lof"),
                            data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    const QString text = pdfText(path);
    // One page for each computed file.
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    const QString first = pages[0].simplified();
    QVERIFY(first.contains(QStringLiteral("Statik B\u00FCro")));
    // Only what the options give: no project or position made up.
    QVERIFY(!first.contains(QStringLiteral("Neubau EFH")));
    QVERIFY(!first.contains(QStringLiteral("Decke \u00FCber EG")));
    QVERIFY(first.contains(QStringLiteral("Einfeltr\u00E4ger")));
    QVERIFY(first.contains(QStringLiteral("Feldmoment MF1 = 45.00 kNm")));
    QVERIFY(first.contains(QStringLiteral("Holz S 10 / MS 10")));
    QVERIFY(first.contains(QStringLiteral("b = 8.0 cm")));
    QVERIFY(!first.contains(QStringLiteral("MF2")));
    QVERIFY(pages[1].simplified().contains(QStringLiteral("St\u00FCtzmoment MD = -14.00 kNm")));
}

void TestCli::pdfToMissingFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Run result = run({"--pdf", dir.filePath(QStringLiteral("fehlt/bericht.pdf")), data("lof_single_span.lof")});
    QCOMPARE(result.status, 2);
    QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("bericht.pdf")));
}

void TestCli::picturesOfEveryComputedFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString svg = dir.filePath(QStringLiteral("svg"));
    const QString png = dir.filePath(QStringLiteral("png"));
    const Run result = run({"--svg", svg, "--png", png, "--size", "800x400", data("lof_single_span.lof"),
                            data("lof_zero_span.lof"), data("lof_cantilevers.lof")});
    // The refused file gets no picture and says so; the others get three each.
    QCOMPARE(result.status, 1);
    QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("lof_zero_span.lof: keine Bilder")));
    for (const auto &[folder, ext] : {std::pair{svg, QStringLiteral("svg")}, std::pair{png, QStringLiteral("png")}}) {
        QStringList expected;
        for (const QString &name : {QStringLiteral("lof_cantilevers"), QStringLiteral("lof_single_span")})
            for (const QString &kind : {QStringLiteral("moment"), QStringLiteral("shear"), QStringLiteral("system")})
                expected << name + u'-' + kind + u'.' + ext;
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    }
    const QImage image(QDir(png).filePath(QStringLiteral("lof_single_span-moment.png")));
    QCOMPARE(image.size(), QSize(1600, 800));
    QFile file(QDir(svg).filePath(QStringLiteral("lof_single_span-shear.svg")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("viewBox=\"0 0 800 400\""));
    QVERIFY(text.contains(QStringLiteral("<title>lof_single_span.lof \u2013 Querkraftlinie</title>").toUtf8()));
}

void TestCli::pictureSizeIsTwoPositiveIntegers_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("status");
    QTest::newRow("width and height") << "640x480" << 0;
    QTest::newRow("capital X and blanks") << " 640 X 480 " << 0;
    QTest::newRow("one number") << "1000" << 2;
    QTest::newRow("zero width") << "0x300" << 2;
    QTest::newRow("negative height") << "1000x-300" << 2;
    QTest::newRow("decimals") << "1000.5x300" << 2;
    QTest::newRow("three numbers") << "10x10x10" << 2;
    QTest::newRow("letters") << "breitxhoch" << 2;
    QTest::newRow("too large") << "100000x300" << 2;
}

void TestCli::pictureSizeIsTwoPositiveIntegers()
{
    QFETCH(QString, size);
    QFETCH(int, status);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Run result = run({"--png", dir.path(), "--size", size, data("lof_single_span.lof")});
    QCOMPARE(result.status, status);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), status == 0 ? 3 : 0);
    if (status != 0)
        QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("--size")));
}

void TestCli::pictureFolderThatCannotBeWritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString blocker = dir.filePath(QStringLiteral("datei"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString folder = blocker + QStringLiteral("/bilder");
    const Run result = run({"--svg", folder, "--png", dir.path(), data("lof_single_span.lof"),
                            data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 2);
    // Named once, though two files would go there; the other folder is written.
    QCOMPARE(QString::fromUtf8(result.err).count(folder), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1 + 6);
}

void TestCli::pdfWithPicturePage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    const Run result = run({"--pdf", path, "--pictures", "--locale", "C", data("lof_single_span.lof"),
                            data("lof_cantilevers.lof")});
    QCOMPARE(result.status, 0);
    QCOMPARE(run({"--pictures", data("lof_single_span.lof")}).status, 2);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    // Each report is followed by its picture page: captions in their order
    // and the labels of the pictures as text.
    const QStringList pages = pdfText(path).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 4);
    for (int i : {1, 3}) {
        const QString page = pages[i].simplified();
        const qsizetype system = page.indexOf(QStringLiteral("System und Belastung"));
        const qsizetype moment = page.indexOf(QStringLiteral("Momentenlinie"));
        const qsizetype shear = page.indexOf(QStringLiteral("Querkraftlinie"));
        QVERIFY2(system >= 0 && system < moment && moment < shear, qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("Momente ")));
    }
    QVERIFY(pages[1].contains(QStringLiteral("6.00")));
    QVERIFY(pages[2].simplified().contains(QStringLiteral("St\u00FCtzmoment MD = -14.00 kNm")));
}

// --pictures adds one page, the last, to the one-page report and to the
// report of the Eurocode check alike.
void TestCli::picturePageAfterEitherReport_data()
{
    QTest::addColumn<QStringList>("report");
    QTest::newRow("one-page report") << QStringList();
    QTest::newRow("Eurocode report") << QStringList{"--eurocode"};
}

void TestCli::picturePageAfterEitherReport()
{
    QFETCH(QStringList, report);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString without = dir.filePath(QStringLiteral("ohne.pdf"));
    const QString with = dir.filePath(QStringLiteral("mit.pdf"));
    QCOMPARE(run(report + QStringList{"--pdf", without, data("lof_single_span.lof")}).status, 0);
    QCOMPARE(run(report + QStringList{"--pdf", with, "--pictures", data("lof_single_span.lof")}).status, 0);
    const QStringList pagesWithout = pdfText(without).split(u'\f', Qt::SkipEmptyParts);
    const QStringList pagesWith = pdfText(with).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pagesWith.size(), pagesWithout.size() + 1);
    const QString last = pagesWith.constLast().simplified();
    const qsizetype system = last.indexOf(QStringLiteral("System und Belastung"));
    QVERIFY2(system >= 0 && system < last.indexOf(QStringLiteral("Momentenlinie"))
                 && last.indexOf(QStringLiteral("Momentenlinie")) < last.indexOf(QStringLiteral("Querkraftlinie")),
             qPrintable(last));
}

void TestCli::helpAndVersion()
{
    const Run help = run({"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains("--cantilever-limit"));
    for (const char *option : {"--svg DIR", "--png DIR", "--size", "--pictures"})
        QVERIFY2(help.out.contains(option), option);
    const Run version = run({"--version"});
    QCOMPARE(version.status, 0);
    static const QRegularExpression form(QStringLiteral(R"(^varno-calc \d+\.\d+\.\d+\n$)"));
    QVERIFY2(form.match(QString::fromUtf8(version.out)).hasMatch(), version.out.constData());
}

// Two equal 4 m spans, g = 1 and q on both: with q on span 1 only the far
// support C carries 3·g·l/8 - q·l/16 (three-moment equation, MB = -(g/8 +
// q/16)·l²); q = 10 lifts it (-1.00 kN), q = 5 does not (+0.25 kN). Its
// largest reaction comes with q on span 2 only: (g + q)·l/2 + MB/l.
void TestCli::envelope_data()
{
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("smallestC");
    QTest::newRow("uplift at A and C") << 10.0 << 1.5 - 2.5;
    QTest::newRow("no uplift") << 5.0 << 1.5 - 1.25;
}

void TestCli::envelope()
{
    using namespace varno;
    QFETCH(double, q);
    QFETCH(double, smallestC);
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("0"),
                 QStringLiteral("0")};
    for (auto &region : t.uniform)
        region.fill(QStringLiteral("0"));
    for (int span : {0, 1}) {
        t.uniform[span][LoadG] = QStringLiteral("1");
        t.uniform[span][LoadQ] = QString::number(q);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("zwei.lof"));
    QVERIFY(WriteProjectFile(file, t));

    const Run json = run({"--json", "--locale", "C", file});
    QCOMPARE(json.status, 0);
    const QJsonObject env = jsonObjects(json.out).value(0)["envelope"].toObject();
    QCOMPARE(env["patterns"].toInt(), 32768);
    QCOMPARE(env["switches"].toInt(), 15);
    // A two-span system: no MD, Dli, Dre, D, MF3.
    for (const char *absent : {"MD", "Dli", "Dre", "D", "MF3"})
        QVERIFY2(!env.contains(QLatin1String(absent)), absent);
    QCOMPARE(env["C"].toObject()["min"].toDouble(), smallestC);
    QCOMPARE(env["MB"].toObject()["min"].toDouble(), -(1 + q) * 2);
    const bool lifts = smallestC < 0;
    const QStringList uplift = lifts ? QStringList{"A", "C"} : QStringList{};
    QCOMPARE(strings(env["uplift"]), uplift);
    // The program's own run is untouched by the patterns.
    QCOMPARE(jsonObjects(json.out).value(0)["results"].toObject()["C"].toDouble(), 3 * (1 + q) * 4 / 8);

    const Run text = run({"--locale", "C", file});
    QCOMPARE(QString::fromUtf8(text.err).contains(
                 QStringLiteral("Warnung: Abheben m\u00F6glich am Auflager C: kleinste Auflagerkraft -1.00 kN")),
             lifts);
    QVERIFY(!text.out.contains("Umh"));
    const Run block = run({"--envelope", "--locale", "C", file});
    const QString out = QString::fromUtf8(block.out);
    QVERIFY(out.contains(QStringLiteral("\nUmh\u00FCllende (feldweise ver\u00E4nderliche Lasten)\n")));
    QVERIFY2(out.contains(QStringLiteral("\nAuflagerkraft  C min = %1  kN  max = %2  kN")
                             .arg(smallestC, 0, 'f', 2)
                             .arg(2 * (1 + q) - (0.5 + q / 4), 0, 'f', 2)), qPrintable(out.right(200)));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_core_cli.moc"
