// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc with Varno project files: the settings a file keeps are used,
// an option given stands in their place, and --save-project converts.

#include "eurocode/ecdata.h"
#include "eurocode/ecrun.h"
#include "io/projectdocument.h"
#include "io/projectfile.h"

#include "calcprogram.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace varno;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(varno::test::CalcProgram(), arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString lofPath()
{
    return QStringLiteral(VARNO_TEST_DATA_DIR "/lof_cantilevers.lof");
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The JSON object of a run, without the member naming the file.
QJsonObject result(const Run &r)
{
    QJsonObject object = QJsonDocument::fromJson(r.out).object();
    object.remove(QStringLiteral("file"));
    return object;
}

// The beam of the .lof with the settings of one row.
ProjectState projectOf(const QString &settings)
{
    ProjectState state = ProjectState::Defaults();
    state.texts = ParseProjectFile(fileBytes(lofPath())).toProjectTexts();
    if (settings == QStringLiteral("design")) {
        state.results = {QStringLiteral("12"), QStringLiteral("500"), QStringLiteral("250"), 0};
    } else if (settings == QStringLiteral("grades")) {
        state.texts.timberGrade = 9;
        state.texts.steelGrade = 2;
    } else if (settings == QStringLiteral("eurocode")) {
        state.results.width = QStringLiteral("10");
        state.results.series = 2;
        EurocodeInputs &e = state.eurocode;
        e.timberClass = QStringLiteral("C30");
        e.serviceClass = 2;
        e.width = QStringLiteral("10");
        e.height = QStringLiteral("24");
        e.steelGrade = QStringLiteral("S355");
        e.series = 2;
        e.imposedCategory = u'C';
        e.snowHigh = true;
        e.pointLoadAction = 1;
    }
    return state;
}

bool writeProject(const QString &path, const ProjectState &state)
{
    QFile file(path);
    const QByteArray bytes = ProjectDocumentBytes(state);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestCliProject : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storedSettingsAreUsed_data();
    void storedSettingsAreUsed();
    void storedLimitIsUsedAndMarked();
    void headingOfTheReport_data();
    void headingOfTheReport();
    void conversionGivesTheSameResults_data();
    void conversionGivesTheSameResults();
    void saveProjectRefused_data();
    void saveProjectRefused();
    void settingsVarnoCalcCannotUse_data();
    void settingsVarnoCalcCannotUse();

private:
    QTemporaryDir m_dir;
};

void TestCliProject::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestCliProject::storedSettingsAreUsed_data()
{
    QTest::addColumn<QString>("settings");        // of the project file
    QTest::addColumn<QStringList>("asOptions");   // the same for the .lof
    QTest::addColumn<QStringList>("given");       // to both

    QTest::newRow("nothing set") << "" << QStringList() << QStringList();
    QTest::newRow("width, limits, series")
        << "design" << QStringList{"--width", "12", "--span-limit", "500", "--cantilever-limit", "250", "--series", "IPE"}
        << QStringList();
    QTest::newRow("grades") << "grades" << QStringList{"--timber-grade", "9", "--steel-grade", "2"} << QStringList();
    QTest::newRow("Eurocode inputs")
        << "eurocode"
        << QStringList{"--width", "10", "--series", "HE-B", "--ec-class", "C30", "--service-class", "2", "--ec-height",
                       "24", "--ec-steel", "S355", "--imposed-category", "C", "--snow-altitude", "high",
                       "--point-loads", "q"}
        << QStringList{"--eurocode"};
    // An option given stands in place of the file's setting.
    QTest::newRow("width given") << "design"
                                 << QStringList{"--span-limit", "500", "--cantilever-limit", "250", "--series", "IPE"}
                                 << QStringList{"--width", "9.5"};
    QTest::newRow("Eurocode class and category given")
        << "eurocode"
        << QStringList{"--width", "10", "--series", "HE-B", "--service-class", "2", "--ec-height", "24", "--ec-steel",
                       "S355", "--snow-altitude", "high", "--point-loads", "q"}
        << QStringList{"--eurocode", "--ec-class", "GL28h", "--imposed-category", "E"};
}

// A project file computes as its .lof with the options that say the same.
void TestCliProject::storedSettingsAreUsed()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, asOptions);
    QFETCH(QStringList, given);

    const QString path = m_dir.filePath(QStringLiteral("projekt.varno"));
    QVERIFY(writeProject(path, projectOf(settings)));
    const Run project = run(QStringList{"--json"} + given + QStringList{path});
    const Run lof = run(QStringList{"--json"} + given + asOptions + QStringList{lofPath()});
    // The same status too: a check not met is so for both.
    QVERIFY2(project.status <= 1, project.err.constData());
    QCOMPARE(project.status, lof.status);
    QCOMPARE(result(project), result(lof));
    // And the text output line for line.
    QCOMPARE(run(given + QStringList{path}).out, run(given + asOptions + QStringList{lofPath()}).out);
}

// The deflection limits of the Eurocode window are used, and marked as
// having no source: twice the data file's n doubles the utilisation of a
// given profile.
void TestCliProject::storedLimitIsUsedAndMarked()
{
    std::vector<ec::DataProblem> problems;
    const ec::Data data = ec::ReadData(QCoreApplication::applicationDirPath(), problems);
    QVERIFY(problems.empty());
    const std::optional<double> span = ec::DataLimit(data, 6);         // steel
    const std::optional<double> cantilever = ec::DataLimit(data, 7);
    QVERIFY(span && cantilever);

    ProjectState state = projectOf(QString());
    state.eurocode.profile = QStringLiteral("HE 200 A");
    const QString plain = m_dir.filePath(QStringLiteral("grenze-datei.varno"));
    QVERIFY(writeProject(plain, state));
    state.eurocode.limits[6] = QString::number(2 * *span);
    state.eurocode.limits[7] = QString::number(2 * *cantilever);
    const QString changed = m_dir.filePath(QStringLiteral("grenze-doppelt.varno"));
    QVERIFY(writeProject(changed, state));

    auto deflection = [](const QString &path) {
        const QJsonObject o = result(run({"--json", "--eurocode", path}));
        return o[QStringLiteral("eurocode")][QStringLiteral("steel")][QStringLiteral("checks")][QStringLiteral("deflection")]
            .toObject();
    };
    const QJsonObject before = deflection(plain);
    const QJsonObject after = deflection(changed);
    QVERIFY(!before.isEmpty());
    QCOMPARE(after[QStringLiteral("design")], before[QStringLiteral("design")]);
    QCOMPARE(after[QStringLiteral("utilisation")].toDouble(), 2 * before[QStringLiteral("utilisation")].toDouble());
    const QString region = after[QStringLiteral("region")].toString();
    QCOMPARE(after[QStringLiteral("uncitedValues")].toVariant().toStringList(),
             QStringList{region.startsWith(u'F') ? QStringLiteral("limit.steel.span.w")
                                                 : QStringLiteral("limit.steel.cantilever.w")});
}

void TestCliProject::headingOfTheReport_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("firma");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("bearbeiter");   // empty: the one-page report, which names none

    QTest::newRow("from the file") << QStringList() << "Zimmerei Balken" << "Zweifelträger" << "";
    QTest::newRow("options given") << QStringList{"--firma", "Büro Nord", "--system", "Dachbalken"} << "Büro Nord"
                                   << "Dachbalken" << "";
    QTest::newRow("Eurocode, from the file") << QStringList{"--eurocode"} << "Zimmerei Balken" << "Zweifelträger"
                                             << "Holger Kurz";
    QTest::newRow("Eurocode, options given") << QStringList{"--eurocode", "--bearbeiter", "Anna Lang"}
                                             << "Zimmerei Balken" << "Zweifelträger" << "Anna Lang";
}

void TestCliProject::headingOfTheReport()
{
    QFETCH(QStringList, given);
    QFETCH(QString, firma);
    QFETCH(QString, system);
    QFETCH(QString, bearbeiter);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is missing");

    ProjectState state = projectOf(QString());
    state.info[0] = QStringLiteral("Zimmerei Balken");
    state.info[1] = QStringLiteral("Scheune Hof 3");
    state.info[4] = QStringLiteral("Holger Kurz");
    state.systemTypeName = QStringLiteral("Zweifelträger");
    const QString path = m_dir.filePath(QStringLiteral("kopf.varno"));
    QVERIFY(writeProject(path, state));
    const QString pdf = m_dir.filePath(QStringLiteral("kopf.pdf"));
    // The Eurocode check of the sample beam may fail; its report is written either way.
    const int status = run(given + QStringList{"--pdf", pdf, path}).status;
    QVERIFY(given.contains(QStringLiteral("--eurocode")) ? status < 2 : status == 0);

    QProcess text;
    text.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(page.contains(firma), qPrintable(page));
    QVERIFY2(page.contains(QStringLiteral("Scheune Hof 3")), qPrintable(page));
    QVERIFY2(page.contains(system), qPrintable(page));
    if (bearbeiter.isEmpty())
        QVERIFY(!page.contains(QStringLiteral("Holger Kurz")));
    else
        QVERIFY2(page.contains(QStringLiteral("Bearbeiter:")) && page.contains(bearbeiter), qPrintable(page));
}

void TestCliProject::conversionGivesTheSameResults_data()
{
    QTest::addColumn<QStringList>("options");

    QTest::newRow("as read") << QStringList();
    QTest::newRow("with the design's options")
        << QStringList{"--width", "14", "--span-limit", "400", "--series", "HE-B", "--timber-grade", "12"};
    QTest::newRow("with Eurocode options")
        << QStringList{"--eurocode", "--ec-class", "C24", "--ec-profile", "HE 240 B", "--snow-altitude", "high"};
}

// A .lof converted with options computes as the .lof with them; the file
// converted again gives the same bytes.
void TestCliProject::conversionGivesTheSameResults()
{
    QFETCH(QStringList, options);

    const QString folder = m_dir.filePath(QStringLiteral("umgewandelt %1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QString lofCopy = folder + QStringLiteral("/decke.lof");
    QVERIFY(QFile::copy(lofPath(), lofCopy));
    const Run converted = run(options + QStringList{"--json", "--save-project", folder, lofCopy});
    QCOMPARE(converted.status, 0);
    const QString project = folder + QStringLiteral("/decke.varno");
    const ProjectDocument read = ReadProjectDocument(project);
    QVERIFY2(read.ok, qPrintable(read.error));

    // Only --eurocode itself is not a setting.
    const QStringList check = options.contains(QStringLiteral("--eurocode")) ? QStringList{"--eurocode"} : QStringList();
    QCOMPARE(result(run(check + QStringList{"--json", project})), result(converted));

    const QString again = folder + QStringLiteral("/wieder.varno");
    QCOMPARE(run({"--save-project", again, project}).status, 0);
    QCOMPARE(fileBytes(again), fileBytes(project));
}

void TestCliProject::saveProjectRefused_data()
{
    QTest::addColumn<QString>("target");     // in the test's folder
    QTest::addColumn<int>("files");          // how many .lof are given
    QTest::addColumn<QString>("message");

    QTest::newRow("the input itself") << "a.lof" << 1 << "würde die Eingabedatei";
    QTest::newRow("a name not ending in .varno") << "a.json" << 1 << "auf .varno endet";
    QTest::newRow("one file for two projects") << "beide.varno" << 2 << "für mehrere Dateien geben Sie einen Ordner an";
    QTest::newRow("two projects of one name") << "." << 3 << "ergäben dieselbe Projektdatei";
}

// Refused before anything is computed or written: exit status 2, every
// file as it was.
void TestCliProject::saveProjectRefused()
{
    QFETCH(QString, target);
    QFETCH(int, files);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    const QStringList names = {dir.filePath(QStringLiteral("a.lof")), dir.filePath(QStringLiteral("b.lof")),
                               dir.filePath(QStringLiteral("sub/a.lof"))};
    for (const QString &name : names)
        QVERIFY(QFile::copy(lofPath(), name));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);

    const Run r = run(QStringList{"--save-project", dir.filePath(target)} + names.mid(0, files));
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    QCOMPARE(fileBytes(names[0]), fileBytes(lofPath()));
}

void TestCliProject::settingsVarnoCalcCannotUse_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");

    QTest::newRow("width as typed, not a number") << "width" << QStringList()
                                                  << "„resultsWindow.width“ ist „8,5“; varno-calc rechnet nur mit einer "
                                                     "positiven Zahl wie 8.5 (--width gibt eine vor).";
    QTest::newRow("Eurocode height 0") << "height" << QStringList{"--eurocode"}
                                       << "Eurocode-Nachweis ausgelassen: „eurocode.height“ ist keine Zahl größer Null.";
    QTest::newRow("class the data lacks") << "class" << QStringList{"--eurocode"}
                                          << "Eurocode-Nachweis ausgelassen: „eurocode.timberClass“: Die "
                                             "Festigkeitsklasse „C99“ steht nicht in den Eurocode-Daten.";
}

// What the windows hold but varno-calc cannot compute with is named with
// its member (exit status 2); an option given in its place computes.
void TestCliProject::settingsVarnoCalcCannotUse()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, options);
    QFETCH(QString, message);

    ProjectState state = projectOf(QString());
    if (fault == QStringLiteral("width"))
        state.results.width = QStringLiteral("8,5");
    else if (fault == QStringLiteral("height"))
        state.eurocode.height = QStringLiteral("0");
    else
        state.eurocode.timberClass = QStringLiteral("C99");
    const QString path = m_dir.filePath(QStringLiteral("fehler.varno"));
    QVERIFY(writeProject(path, state));

    const Run r = run(options + QStringList{path});
    QCOMPARE(r.status, 2);
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());

    const QStringList replaced = fault == QStringLiteral("width")    ? QStringList{"--width", "8.5"}
                                 : fault == QStringLiteral("height") ? QStringList{"--ec-height", "20"}
                                                                     : QStringList{"--ec-class", "C24"};
    // Computed (a check may still not be met: status 1), the member no
    // longer named.
    const Run again = run(options + replaced + QStringList{path});
    QVERIFY2(again.status <= 1, again.err.constData());
    QVERIFY(!QString::fromUtf8(again.err).contains(message));
}

QTEST_GUILESS_MAIN(TestCliProject)
#include "tst_core_cli_project.moc"
