// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc at its edges: options written oddly, outputs that must never
// replace an input, special files, names in any byte encoding, failed
// writes, and numbers at the end of the double range.

#include "model/projectmodel.h"
#include "io/projectfile.h"

#include "cli/runfiles.h"

#include "calcprogram.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VARNO_SANITIZED 1
#endif

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

const QString SingleSpan = QStringLiteral(VARNO_TEST_DATA_DIR "/lof_single_span.lof");
const QString DataDir = QStringLiteral(VARNO_SOURCE_DIR "/data");

Run run(const QStringList &arguments, QProcess &process)
{
    process.start(varno::test::CalcProgram(), arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

Run run(const QStringList &arguments)
{
    QProcess process;
    return run(arguments, process);
}

QJsonObject json(const QByteArray &out)
{
    return QJsonDocument::fromJson(out.split('\n').value(0)).object();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copy(const QString &from, const QString &to)
{
    return QFile::copy(from, to);
}

// A beam of one span (L2 = 0) or two, with the uniform loads g and q on
// span 1 and a force in the middle of each span.
QString beamFile(const QDir &dir, const QString &L1, const QString &L2, const QString &g, const QString &q,
                 const QString &force)
{
    using namespace varno;
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {L1, L2, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    for (auto &region : t.uniform)
        region.fill(QStringLiteral("0"));
    t.uniform[0][LoadG] = g;
    t.uniform[0][LoadQ] = q;
    t.force[0] = force;
    t.distance[0] = QString::number(L1.toDouble() / 2);
    if (L2 != QLatin1String("0")) {
        t.force[7] = force;
        t.distance[7] = QString::number(L2.toDouble() / 2);
    }
    const QString path = dir.filePath(QStringLiteral("gross.lof"));
    return WriteProjectFile(path, t) ? path : QString();
}

} // namespace

class TestCliEdges : public QObject
{
    Q_OBJECT

private slots:
    void oneDashOptionIsTheTwoDashOne_data();
    void oneDashOptionIsTheTwoDashOne();
    void refusedCalls_data();
    void refusedCalls();
    void reportNeverReplacesAnInput_data();
    void reportNeverReplacesAnInput();
    void noOutputReplacesAnInput_data();
    void noOutputReplacesAnInput();
    void outputsOfOneRunDoNotClash_data();
    void outputsOfOneRunDoNotClash();
    void writeLooksAgainBeforeReplacing_data();
    void writeLooksAgainBeforeReplacing();
    void reportIntoFifoAndStandardOutput_data();
    void reportIntoFifoAndStandardOutput();
    void samePictureNamesAreRefused();
    void svgTitleIsEscaped_data();
    void svgTitleIsEscaped();
    void failedCompressionKeepsTheOldPicture();
    void drawsOffscreenWhateverThePlatform();
    void failedOutputsShowInTheStatus_data();
    void failedOutputsShowInTheStatus();
    void failedStandardOutput();
    void closedPipe_data();
    void closedPipe();
    void reasonsInGerman_data();
    void reasonsInGerman();
    void sumsBeyondTheDoubleRange_data();
    void sumsBeyondTheDoubleRange();
    void loadsThatDoNotActAreNamed_data();
    void loadsThatDoNotActAreNamed();
    void widthIsPrintedAsComputed();
    void dataFiles_data();
    void dataFiles();
    void dataFileThatNeverEnds();
    void namesInAnyByteEncoding();
    void dashReadsStandardInput();
};

void TestCliEdges::oneDashOptionIsTheTwoDashOne_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("written");   // relative to the scratch folder
    QTest::newRow("-pdf") << "-pdf" << "b.pdf";
    QTest::newRow("-svg") << "-svg" << "bilder/lof_single_span-moment.svg";
    QTest::newRow("-png") << "-png" << "bilder/lof_single_span-shear.png";
}

void TestCliEdges::oneDashOptionIsTheTwoDashOne()
{
    QFETCH(QString, option);
    QFETCH(QString, written);
    QTemporaryDir dir;
    const QString target = dir.filePath(written.contains(u'/') ? written.section(u'/', 0, 0) : written);
    const Run result = run({option, target, SingleSpan});
    QCOMPARE(result.status, 0);
    QVERIFY(QFile::exists(dir.filePath(written)));
}

// Each is refused before anything is computed: exit status 2, a German
// message, nothing on standard output.
void TestCliEdges::refusedCalls_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << QStringList{"--bogus", SingleSpan} << "unbekannte Option \u201E--bogus\u201C";
    QTest::newRow("value missing") << QStringList{SingleSpan, "--pdf"} << "nach \u201E--pdf\u201C fehlt der Wert";
    QTest::newRow("value after a switch") << QStringList{"--json=1", SingleSpan} << "erwartet keinen Wert";
    QTest::newRow("unknown locale") << QStringList{"--locale", "xx_YY", SingleSpan} << "unbekanntes Zahlenformat";
    for (const char *value : {"0", "abc", "nan", "L/300", "1/300", "-300", "inf", "1e999"})
        QTest::addRow("--span-limit %s", value) << QStringList{"--span-limit", value, SingleSpan}
                                                << "--span-limit erwartet eine positive Zahl";
    QTest::newRow("--cantilever-limit 0") << QStringList{"--cantilever-limit", "0", SingleSpan}
                                          << "--cantilever-limit erwartet eine positive Zahl";
    for (const char *value : {"8,5", "nan", "0", "-8"})
        QTest::addRow("--width %s", value) << QStringList{"--width", value, SingleSpan}
                                           << "--width erwartet eine positive Zahl";
    // An option with a value takes one; the second must not silently win.
    QTest::newRow("--pdf twice") << QStringList{"--pdf", "fehlt/r1.pdf", "--pdf", "fehlt/r2.pdf", SingleSpan}
                                 << "--pdf darf nur einmal angegeben werden (hier \u201Efehlt/r1.pdf\u201C und "
                                    "\u201Efehlt/r2.pdf\u201C)";
    QTest::newRow("--width twice, same value") << QStringList{"--width", "8", "--width", "8", SingleSpan}
                                               << "--width darf nur einmal";
    QTest::newRow("--ec-class twice") << QStringList{"--eurocode", "--ec-class", "C24", "--ec-class", "C30", SingleSpan}
                                      << "--ec-class darf nur einmal";
    // Empty values, for every kind of option alike.
    for (const char *option : {"--firma", "--bearbeiter", "--ec-class", "--svg", "--locale"})
        QTest::addRow("%s empty", option) << QStringList{"--eurocode", option, "", SingleSpan}
                                          << QString::fromLatin1(option) + " erwartet einen Wert";
    QTest::newRow("--ec-profile blank") << QStringList{"--eurocode", "--ec-profile", " ", SingleSpan}
                                        << "--ec-profile erwartet einen Wert";
    QTest::newRow("--pdf= empty") << QStringList{"--pdf=", SingleSpan} << "--pdf erwartet einen Wert";
}

void TestCliEdges::refusedCalls()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run result = run(arguments);
    QCOMPARE(result.status, 2);
    QVERIFY(result.out.isEmpty());
    const QString err = QString::fromUtf8(result.err);
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY2(!err.contains(QStringLiteral("Unknown")) && !err.contains(QStringLiteral("Missing")), qPrintable(err));
}

void TestCliEdges::reportNeverReplacesAnInput_data()
{
    QTest::addColumn<QString>("target");   // in the scratch folder, which holds decke.lof and daten/
    QTest::addColumn<bool>("written");
    QTest::newRow("the project file") << "decke.lof" << false;
    QTest::newRow("the project file, another name for it") << "link.pdf" << false;
    QTest::newRow("the material table") << "daten/wert2.txt" << false;
    QTest::newRow("the profile table") << "daten/wert3.txt" << false;
    QTest::newRow("an existing file not .pdf") << "notizen.txt" << false;
    QTest::newRow("a new file not .pdf") << "bericht.txt" << false;
    QTest::newRow("a folder") << "daten" << false;
    QTest::newRow("an existing .PDF") << "alt.PDF" << true;
    QTest::newRow("a new .pdf") << "bericht.pdf" << true;
}

void TestCliEdges::reportNeverReplacesAnInput()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    QTemporaryDir scratch;
    const QDir dir(scratch.path());
    QVERIFY(dir.mkdir(QStringLiteral("daten")));
    const QString project = dir.filePath(QStringLiteral("decke.lof"));
    QVERIFY(copy(SingleSpan, project));
    QVERIFY(QFile::link(project, dir.filePath(QStringLiteral("link.pdf"))));
    for (const char *name : {"wert2.txt", "wert3.txt"})
        QVERIFY(copy(DataDir + u'/' + QLatin1String(name), dir.filePath(QStringLiteral("daten/") + QLatin1String(name))));
    for (const char *name : {"notizen.txt", "alt.PDF"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("alt\n");
    }
    const QString path = dir.filePath(target);
    const QByteArray before = contents(path);

    const Run result = run({"--data-dir", dir.filePath(QStringLiteral("daten")), "--pdf", path, project});
    QCOMPARE(result.status, written ? 0 : 2);
    if (written) {
        QVERIFY(contents(path).startsWith("%PDF-"));
    } else {
        QCOMPARE(contents(path), before);
        QVERIFY(result.out.isEmpty());   // refused before anything was computed
        QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("--pdf")));
    }
    QCOMPARE(contents(project), contents(SingleSpan));
}

// Names that lead to a file the run reads, by a link made for the purpose:
// the run is refused before anything is written, and every input stays as
// it was. The scratch folder holds decke.lof, daten/ with the data files and
// the link; the program runs in it.
void TestCliEdges::noOutputReplacesAnInput_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("leadsTo");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fromStandardInput");   // decke.lof as standard input
    QTest::addColumn<bool>("outputIntoProject");   // standard output appended to decke.lof
    QTest::newRow("--svg picture to the project")
        << "svg/decke-system.svg" << "../decke.lof" << QStringList{"--svg", "svg", "decke.lof"} << false << false;
    QTest::newRow("--png picture to the project")
        << "png/decke-moment.png" << "../decke.lof" << QStringList{"--png", "png", "decke.lof"} << false << false;
    QTest::newRow("--pdf to standard input") << "rep.pdf" << "decke.lof" << QStringList{"--pdf", "rep.pdf", "-"} << true
                                             << false;
    QTest::newRow("--svg picture to standard input")
        << "svg/stdin-system.svg" << "../decke.lof" << QStringList{"--svg", "svg", "-"} << true << false;
    QTest::newRow("--pdf to a Eurocode table")
        << "tab.pdf" << "daten/actions.csv" << QStringList{"--data-dir", "daten", "--pdf", "tab.pdf", "decke.lof"}
        << false << false;
    QTest::newRow("standard output into the project")
        << "" << "" << QStringList{"--json", "decke.lof"} << false << true;
}

void TestCliEdges::noOutputReplacesAnInput()
{
    QFETCH(QString, link);
    QFETCH(QString, leadsTo);
    QFETCH(QStringList, arguments);
    QFETCH(bool, fromStandardInput);
    QFETCH(bool, outputIntoProject);
    QTemporaryDir scratch;
    const QDir dir(scratch.path());
    QVERIFY(dir.mkpath(QStringLiteral("daten")));
    QVERIFY(copy(SingleSpan, dir.filePath(QStringLiteral("decke.lof"))));
    const QDir data(DataDir);
    const QStringList dataFiles = {"wert2.txt", "wert3.txt", "eurocode/actions.csv"};
    for (const QString &name : dataFiles)
        QVERIFY(copy(data.filePath(name), dir.filePath(QStringLiteral("daten/") + QFileInfo(name).fileName())));
    QStringList inputs{QStringLiteral("decke.lof")};
    for (const QString &name : dataFiles)
        inputs << QStringLiteral("daten/") + QFileInfo(name).fileName();
    QMap<QString, QByteArray> before;
    for (const QString &input : inputs)
        before[input] = contents(dir.filePath(input));
    if (!link.isEmpty()) {
        QVERIFY(dir.mkpath(QFileInfo(dir.filePath(link)).path()));
        QVERIFY(QFile::link(leadsTo, dir.filePath(link)));
    }

    QProcess process;
    process.setWorkingDirectory(scratch.path());
    if (fromStandardInput)
        process.setStandardInputFile(dir.filePath(QStringLiteral("decke.lof")));
    if (outputIntoProject)
        process.setStandardOutputFile(dir.filePath(QStringLiteral("decke.lof")), QIODevice::Append);
    const Run result = run(arguments, process);
    QCOMPARE(result.status, 2);
    QVERIFY(result.out.isEmpty());
    const QString err = QString::fromUtf8(result.err);
    QVERIFY2(err.contains(QStringLiteral("es wird nichts geschrieben")), qPrintable(err));
    for (const QString &input : inputs)
        QVERIFY2(contents(dir.filePath(input)) == before[input], qPrintable(input));
}

// Two outputs of one run in one place: refused before anything is written.
void TestCliEdges::outputsOfOneRunDoNotClash_data()
{
    QTest::addColumn<QStringList>("arguments");   // in the scratch folder
    QTest::addColumn<QString>("message");
    QTest::newRow("--pdf and --svg of one name")
        << QStringList{"--pdf", "o.pdf", "--svg", "o.pdf"}
        << "--pdf \u201Eo.pdf\u201C und --svg \u201Eo.pdf\u201C nennen dieselbe Stelle";
    QTest::newRow("--pdf and --png, one by a longer name") << QStringList{"--png", "neu/../o.pdf", "--pdf", "o.pdf"}
                                                           << "nennen dieselbe Stelle";
    QTest::newRow("--svg into an existing file") << QStringList{"--svg", "notiz.txt"}
                                                 << "--svg \u201Enotiz.txt\u201C ist kein Ordner";
}

void TestCliEdges::outputsOfOneRunDoNotClash()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir scratch;
    const QDir dir(scratch.path());
    QVERIFY(copy(SingleSpan, dir.filePath(QStringLiteral("decke.lof"))));
    QFile note(dir.filePath(QStringLiteral("notiz.txt")));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    QProcess process;
    process.setWorkingDirectory(scratch.path());
    const Run result = run(arguments + QStringList{QStringLiteral("decke.lof")}, process);
    QCOMPARE(result.status, 2);
    QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("decke.lof"), QStringLiteral("notiz.txt")}));
}

// A name claimed while it led nowhere, made a link to an input before the
// output is written: the write refuses it and the input stays.
void TestCliEdges::writeLooksAgainBeforeReplacing_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("written");
    QTest::newRow("still a new name") << "none" << true;
    QTest::newRow("symbolic link made since") << "symbolic" << false;
    QTest::newRow("hard link made since") << "hard" << false;
}

void TestCliEdges::writeLooksAgainBeforeReplacing()
{
    QFETCH(QString, link);
    QFETCH(bool, written);
    QTemporaryDir scratch;
    const QString project = scratch.filePath(QStringLiteral("decke.lof"));
    const QString output = scratch.filePath(QStringLiteral("b.pdf"));
    QVERIFY(copy(SingleSpan, project));
    varno::cli::RunFiles files;
    files.addInput(project);
    QVERIFY(!files.claimOutput(QStringLiteral("--pdf"), output, varno::cli::OutputKind::File));
    if (link == QLatin1String("symbolic"))
        QVERIFY(QFile::link(project, output));
    else if (link == QLatin1String("hard"))
        QCOMPARE(::link(QFile::encodeName(project).constData(), QFile::encodeName(output).constData()), 0);
    QString reason;
    QCOMPARE(files.write(output, "%PDF-", &reason), written);
    QCOMPARE(contents(project), contents(SingleSpan));
    if (!written)
        QVERIFY2(reason.contains(QStringLiteral("Eingabedatei")), qPrintable(reason));
}

void TestCliEdges::reportIntoFifoAndStandardOutput_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("-") << "-";
    QTest::newRow("/dev/stdout") << "/dev/stdout";
}

void TestCliEdges::reportIntoFifoAndStandardOutput()
{
    QFETCH(QString, target);
    QTemporaryDir scratch;
    QString path = target;
    QProcess reader;
    if (target == QLatin1String("fifo")) {
        path = scratch.filePath(target);
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        reader.start(QStringLiteral("cat"), {path});
        QVERIFY(reader.waitForStarted());
    }
    const Run result = run({"--pdf", path, SingleSpan});
    QCOMPARE(result.status, 0);
    QByteArray pdf = result.out;
    if (target == QLatin1String("fifo")) {
        QVERIFY(reader.waitForFinished(60000));
        pdf = reader.readAllStandardOutput();
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QVERIFY(S_ISFIFO(info.st_mode));   // written into, not replaced
    }
    // The report alone: no result lines before it.
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
}

void TestCliEdges::samePictureNamesAreRefused()
{
    QTemporaryDir scratch;
    const QDir dir(scratch.path());
    QVERIFY(dir.mkpath(QStringLiteral("d1")) && dir.mkpath(QStringLiteral("d2")));
    QVERIFY(copy(SingleSpan, dir.filePath(QStringLiteral("d1/b.lof"))));
    QVERIFY(copy(SingleSpan, dir.filePath(QStringLiteral("d2/b.lof"))));
    const Run result = run({"--png", dir.filePath(QStringLiteral("bilder")), dir.filePath(QStringLiteral("d1/b.lof")),
                            dir.filePath(QStringLiteral("d2/b.lof"))});
    QCOMPARE(result.status, 2);
    const QString err = QString::fromUtf8(result.err);
    QVERIFY2(err.contains(QStringLiteral("d1/b.lof")) && err.contains(QStringLiteral("d2/b.lof")), qPrintable(err));
    QVERIFY(!dir.exists(QStringLiteral("bilder")));
}

void TestCliEdges::svgTitleIsEscaped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");   // how the title names the file
    const QString markup = QStringLiteral("M\u00FCller & Sohn <\"x\"> 'y'.lof");
    QTest::newRow("markup characters") << markup << markup;
    // XML cannot carry most control characters at all, not even as a
    // character reference.
    QTest::newRow("control characters") << QStringLiteral("a\u0001b\tc\u001Bd\ne\u007F.lof")
                                        << QStringLiteral("a\uFFFDb\uFFFDc\uFFFDd\uFFFDe\uFFFD.lof");
}

void TestCliEdges::svgTitleIsEscaped()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QTemporaryDir scratch;
    const QString project = scratch.filePath(name);
    QVERIFY(copy(SingleSpan, project));
    const QString folder = scratch.filePath(QStringLiteral("svg"));
    QCOMPARE(run({"--svg", folder, project}).status, 0);
    const QStringList svgs = QDir(folder).entryList(QDir::Files);
    QCOMPARE(svgs.size(), 3);
    for (const QString &svg : svgs) {
        QXmlStreamReader xml(contents(QDir(folder).filePath(svg)));
        QString written;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("title"))
                written = xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(svg + u' ' + xml.errorString()));
        QVERIFY2(written.startsWith(title + QStringLiteral(" \u2013 ")), qPrintable(written));
    }
}

// zlib made to fail: the picture is an error, and the file of an earlier run
// stays as it was.
void TestCliEdges::failedCompressionKeepsTheOldPicture()
{
#ifdef VARNO_SANITIZED
    QSKIP("a preloaded library does not come before the sanitizer's");
#endif
    QTemporaryDir scratch;
    const QString folder = scratch.filePath(QStringLiteral("png"));
    QCOMPARE(run({"--png", folder, SingleSpan}).status, 0);
    const QString picture = QDir(folder).filePath(QStringLiteral("lof_single_span-moment.png"));
    const QByteArray before = contents(picture);
    QVERIFY(before.startsWith("\x89PNG"));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VARNO_FAILING_ZLIB));
    process.setProcessEnvironment(environment);
    const Run result = run({"--png", folder, SingleSpan}, process);
    QCOMPARE(result.status, 2);
    QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("kann nicht erzeugt werden")));
    QCOMPARE(contents(picture), before);
}

void TestCliEdges::drawsOffscreenWhateverThePlatform()
{
    QTemporaryDir scratch;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    const QString pdf = scratch.filePath(QStringLiteral("b.pdf"));
    const Run result = run({"--pdf", pdf, SingleSpan}, process);
    QCOMPARE(result.status, 0);
    QVERIFY(contents(pdf).startsWith("%PDF-"));
}

void TestCliEdges::failedOutputsShowInTheStatus_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target");   // below a regular file: cannot be made
    QTest::newRow("pictures") << "--svg" << "datei/svg";
    QTest::newRow("report") << "--pdf" << "datei/b.pdf";
}

void TestCliEdges::failedOutputsShowInTheStatus()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    QTemporaryDir scratch;
    QFile blocker(scratch.filePath(QStringLiteral("datei")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Run result = run({"--json", option, scratch.filePath(target), SingleSpan});
    QCOMPARE(result.status, 2);
    const QJsonObject o = json(result.out);
    QCOMPARE(o["status"].toInt(), 2);
    QVERIFY(o.contains("results"));
    QVERIFY(!o["error"].toString().isEmpty());
}

void TestCliEdges::failedStandardOutput()
{
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    const Run result = run({"--json", SingleSpan}, process);
    QCOMPARE(result.status, 2);
    QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("Standardausgabe")));
}

// Standard output is a pipe whose reader has gone: the documented exit
// status 2 with its German message, not the end by SIGPIPE.
void TestCliEdges::closedPipe_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString stdoutMessage = QStringLiteral("Die Standardausgabe kann nicht geschrieben werden "
                                                 "(der Empf\u00E4nger hat die Leitung geschlossen)");
    QTest::newRow("result lines") << QStringList{SingleSpan} << stdoutMessage;
    QTest::newRow("help") << QStringList{"--help"} << QString();
    QTest::newRow("report") << QStringList{"--pdf", "-", SingleSpan}
                            << "Der Bericht kann nicht als \u201E-\u201C gespeichert werden (der Empf\u00E4nger";
}

void TestCliEdges::closedPipe()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    ::close(ends[0]);
    const int writeEnd = ends[1];
    QProcess process;
    process.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
    const Run result = run(arguments, process);
    ::close(writeEnd);
    QCOMPARE(result.status, 2);
    QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
}

// Every reason of a failed file operation in German.
void TestCliEdges::reasonsInGerman_data()
{
    QTest::addColumn<QStringList>("arguments");   // in the scratch folder, which holds decke.lof
    QTest::addColumn<QString>("message");
    QTest::newRow("project file missing") << QStringList{"fehlt.lof"}
                                          << "\u201Efehlt.lof\u201C kann nicht gelesen werden (Datei oder Ordner nicht "
                                             "vorhanden)";
    QTest::newRow("Eurocode table missing")
        << QStringList{"--eurocode", "--data-dir", ".", "decke.lof"}
        << "timber_classes.csv: Datei nicht lesbar (Datei oder Ordner nicht vorhanden)";
}

void TestCliEdges::reasonsInGerman()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir scratch;
    QVERIFY(copy(SingleSpan, scratch.filePath(QStringLiteral("decke.lof"))));
    QProcess process;
    process.setWorkingDirectory(scratch.path());
    const Run result = run(arguments, process);
    QVERIFY(result.status > 0);
    QVERIFY2(QString::fromUtf8(result.err).contains(message), result.err.constData());
}

// Every result finite, but not their sums; or loads that cancel in the
// program's own run but not in every load pattern.
void TestCliEdges::sumsBeyondTheDoubleRange_data()
{
    QTest::addColumn<QString>("L2");
    QTest::addColumn<QString>("g");
    QTest::addColumn<QString>("q");
    QTest::addColumn<QString>("force");
    QTest::addColumn<QString>("named");
    QTest::newRow("two forces of 1e308") << "1" << "0" << "0" << "1e308" << "Summe";
    QTest::newRow("g = -1e308, q = 1e308") << "0" << "-1e308" << "1e308" << "0" << "Umh\u00FCllende";
}

void TestCliEdges::sumsBeyondTheDoubleRange()
{
    QFETCH(QString, L2);
    QFETCH(QString, g);
    QFETCH(QString, q);
    QFETCH(QString, force);
    QFETCH(QString, named);
    QTemporaryDir scratch;
    const QString file = beamFile(QDir(scratch.path()), L2 == QLatin1String("0") ? QStringLiteral("8") : L2, L2, g,
                                  q, force);
    const Run result = run({"--json", file});
    QVERIFY(!result.out.contains("null"));
    const QJsonObject o = json(result.out);
    // The promised members are there, or the file says why not.
    if (!o.contains("equilibrium") || !o.contains("envelope")) {
        QCOMPARE(result.status, 1);
        QCOMPARE(o["status"].toInt(), 1);
        QVERIFY2(o["error"].toString().contains(named), qPrintable(o["error"].toString()));
    }
}

// A load the analysis leaves out is named on standard error and in the
// JSON warnings, and the equilibrium counts only the loads that act.
void TestCliEdges::loadsThatDoNotActAreNamed_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QList<double>>("loads");   // slot, F, a, ...
    QTest::addColumn<QString>("warning");
    QTest::addColumn<double>("load");           // g·L of span 1 and 2 and the forces that act

    QTest::newRow("beyond its span") << QStringList{"6", "0", "0", "0", "0"} << QList<double>{0, 10, 8}
                                     << "Die Einzellast Nr. 1 in Feld 1 (F = 10.00 kN) steht mit a = 8.00 m "
                                        "außerhalb von Feld 1 (l = 6.00 m) und wirkt nicht."
                                     << 2.0 * 6;
    QTest::newRow("in the missing right cantilever")
        << QStringList{"4", "3.5", "0", "0", "0"} << QList<double>{7, 10, 2.5, 24, 5, 1.5}
        << "Die Einzellast Nr. 1 im rechten Kragarm (F = 5.00 kN, a = 1.50 m) wirkt nicht: der rechte Kragarm ist "
           "nicht vorhanden (Länge 0)."
        << 2.0 * 7.5 + 10;
}

void TestCliEdges::loadsThatDoNotActAreNamed()
{
    QFETCH(QStringList, lengths);
    QFETCH(QList<double>, loads);
    QFETCH(QString, warning);
    QFETCH(double, load);
    varno::ProjectTexts texts = varno::ProjectTexts::Defaults();   // g = 2 everywhere
    for (int i = 0; i < varno::RegionCount; ++i)
        texts.lengths[std::size_t(i)] = lengths[i];
    for (qsizetype i = 0; i + 2 < loads.size(); i += 3) {
        texts.force[std::size_t(loads[i])] = QString::number(loads[i + 1]);
        texts.distance[std::size_t(loads[i])] = QString::number(loads[i + 2]);
    }
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("versteckt.lof"));
    QVERIFY(varno::WriteProjectFile(file, texts));

    const Run text = run({"--locale", "C", file});
    QCOMPARE(text.status, 0);
    QVERIFY2(QString::fromUtf8(text.err).contains(QStringLiteral("versteckt.lof: Warnung: ") + warning),
             text.err.constData());
    const Run result = run({"--json", "--locale", "C", file});
    const QJsonObject o = json(result.out);
    QVERIFY(o["warnings"].toArray().contains(warning));
    const QJsonObject equilibrium = o["equilibrium"].toObject();
    QVERIFY(std::fabs(equilibrium["load"].toDouble() - load) <= 1e-12 * load);
    QVERIFY(std::fabs(equilibrium["reactions"].toDouble() - load) <= 1e-9 * load);
}

void TestCliEdges::widthIsPrintedAsComputed()
{
    const Run result = run({"--json", "--locale", "C", "--width", " 12.50 ", SingleSpan});
    QCOMPARE(result.status, 0);
    const QJsonObject timber = json(result.out)["design"].toObject()["timber"].toObject();
    QCOMPARE(timber["b"].toString(), QStringLiteral("12.50"));
    QCOMPARE(timber["values"].toObject()["b"].toDouble(), 12.5);
}

// Data files as an editor on another system leaves them, and one far too
// large for a data file.
void TestCliEdges::dataFiles_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("CR line ends") << "cr";
    QTest::newRow("17 MiB") << "huge";
}

void TestCliEdges::dataFiles()
{
    QFETCH(QString, form);
    QTemporaryDir scratch;
    for (const char *name : {"wert2.txt", "wert3.txt"}) {
        QByteArray bytes = contents(DataDir + u'/' + QLatin1String(name));
        QVERIFY(bytes.contains('\n'));
        if (form == QLatin1String("cr"))
            bytes.replace("\r\n", "\r").replace('\n', '\r');
        else if (QLatin1String(name) == QLatin1String("wert2.txt"))
            bytes += QByteArray(17 * 1024 * 1024, ' ');
        QFile file(scratch.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const Run plain = run({"--json", "--locale", "C", SingleSpan});
    const Run result = run({"--json", "--locale", "C", "--data-dir", scratch.path(), SingleSpan});
    if (form == QLatin1String("cr")) {
        QCOMPARE(result.status, 0);
        QCOMPARE(json(result.out)["design"], json(plain.out)["design"]);
    } else {
        QCOMPARE(result.status, 1);
        const QString error = json(result.out)["error"].toString();
        QVERIFY2(error.contains(QStringLiteral("wert2.txt")) && error.contains(QStringLiteral("nicht lesbar")),
                 qPrintable(error));
    }
}

// wert2.txt leads to /dev/zero: the program reads a bounded part of it, in
// bounded memory.
void TestCliEdges::dataFileThatNeverEnds()
{
#ifdef VARNO_SANITIZED
    QSKIP("the sanitizers reserve more address space than the limit allows");
#endif
    QTemporaryDir scratch;
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), scratch.filePath(QStringLiteral("wert2.txt"))));
    QVERIFY(copy(DataDir + QStringLiteral("/wert3.txt"), scratch.filePath(QStringLiteral("wert3.txt"))));
    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit limit{1024ul * 1024 * 1024, 1024ul * 1024 * 1024};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    const Run result = run({"--json", "--data-dir", scratch.path(), SingleSpan}, process);
    QCOMPARE(result.status, 1);
    QVERIFY(json(result.out)["error"].toString().contains(QStringLiteral("wert2.txt")));
}

// Names whose bytes are not UTF-8 (Latin-1 "ä" is 0xE4): the shell hands
// them over as they are.
void TestCliEdges::namesInAnyByteEncoding()
{
    QTemporaryDir scratch;
    const QByteArray folder = QFile::encodeName(scratch.path());
    const QByteArray project = folder + "/l\xE4t.lof";
    const QByteArray bytes = contents(SingleSpan);
    const int fd = ::open(project.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), bytes.size()), ssize_t(bytes.size()));
    ::close(fd);

    QProcess process;
    process.setWorkingDirectory(scratch.path());
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("exec \"$0\" --json --svg \"$(printf 'bild\\344r')\" \"$(printf 'l\\344t.lof')\""),
                   varno::test::CalcProgram()});
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject o = json(process.readAllStandardOutput());
    QCOMPARE(o["file"].toString(), QStringLiteral("l\uFFFDt.lof"));
    QCOMPARE(o["results"].toObject()["MF1"].toDouble(), 45.0);
    struct stat info;
    QVERIFY(::stat((folder + "/bild\xE4r/l\xE4t-moment.svg").constData(), &info) == 0);
}

void TestCliEdges::dashReadsStandardInput()
{
    QProcess process;
    process.start(varno::test::CalcProgram(), {QStringLiteral("--json"), QStringLiteral("-")});
    process.write(contents(SingleSpan));
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject o = json(process.readAllStandardOutput());
    QCOMPARE(o["file"].toString(), QStringLiteral("-"));
    QCOMPARE(o["results"].toObject()["MF1"].toDouble(), 45.0);
}

QTEST_GUILESS_MAIN(TestCliEdges)
#include "tst_core_cli_edges.moc"
