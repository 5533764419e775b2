// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Bad input through the windows: what the user sees (which message, with which
// text), what the windows then hold, and that nothing typed or saved is lost.
#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "analysis/analysis.h"
#include "session/session.h"
#include "results/resultswindow.h"
#include "presentation/captions.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "io/projectfile.h"
#include "app/filedialogs.h"
#include "app/printcommand.h"
#include "app/projectfilecommands.h"
#include "io/report.h"
#include "tests/testsupport.h"
#include "tests/filesizelimit.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

#include <csignal>

using namespace varno;
using varno::test::FileSizeLimit;
using varno::test::MessageRecorder;

namespace {

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

void trigger(const MainWindow &window, const char *name)
{
    QAction *action = window.findChild<QAction *>(QString::fromUtf8(name));
    QVERIFY(action);
    action->trigger();
}

// Texts a user would recognise as broken numbers.
bool showsNumberFault(const QString &text)
{
    return text.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("nan"), Qt::CaseInsensitive) || text.contains(QLatin1String("n. def."));
}

// Every label of the results window: result lines, design lines, schematic
// and pictures. A picture label may show "n. def." for a length typed beyond
// the double range (1e999); nothing computed may.
QStringList faultyLabels(const ResultsWindow &results, bool notDefinedAllowed = false)
{
    QStringList out;
    for (const QLabel *label : results.findChildren<QLabel *>())
        if (notDefinedAllowed ? label->text().contains(QLatin1String("inf"), Qt::CaseInsensitive)
                    || label->text().contains(QLatin1String("nan"), Qt::CaseInsensitive)
                              : showsNumberFault(label->text()))
            out << label->objectName() + QStringLiteral(": ") + label->text();
    return out;
}

// What the user typed, to compare before and after a failed command.
void typeProject(MainWindow &window)
{
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("7.25"));
    window.loadDialog()->setForceText(3, QStringLiteral("12"));
    window.loadDialog()->setDistanceText(3, QStringLiteral("2.5"));
}

void compareTexts(const ProjectTexts &a, const ProjectTexts &b)
{
    QCOMPARE(a.lengths, b.lengths);
    QCOMPARE(a.uniform, b.uniform);
    QCOMPARE(a.force, b.force);
    QCOMPARE(a.distance, b.distance);
    QCOMPARE(a.timberGrade, b.timberGrade);
    QCOMPARE(a.steelGrade, b.steelGrade);
}

} // namespace

class UiBadInputTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void unusableTextsComputeAsTheirNumber_data();
    void unusableTextsComputeAsTheirNumber();
    void extremeInputsShowNoBrokenNumber_data();
    void extremeInputsShowNoBrokenNumber();
    void designInputsBadAtAnalysisTime_data();
    void designInputsBadAtAnalysisTime();

    void saveOnFullDiskKeepsEarlierFile();
    void damagedProjectFiles_data();
    void damagedProjectFiles();
    void printerNotReady();
    void pdfOnFullDiskKeepsEarlierFile_data();
    void pdfOnFullDiskKeepsEarlierFile();

private:
    QTemporaryDir m_dir;
};

void UiBadInputTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
}

void UiBadInputTest::unusableTextsComputeAsTheirNumber_data()
{
    QTest::addColumn<QString>("field");   // L<index>, g<region>, F<slot>, a<slot>
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("number");

    QTest::newRow("lone minus in L3") << "L2" << "-" << "0";
    QTest::newRow("lone point in L3") << "L2" << "." << "0";
    QTest::newRow("empty L3") << "L2" << "" << "0";
    QTest::newRow("lone minus in the left cantilever") << "L3" << "-" << "0";
    QTest::newRow("unit after L1") << "L0" << "4.5m" << "4.5";
    QTest::newRow("decimal comma in L1") << "L0" << "6,5" << "6";
    QTest::newRow("word as load") << "g2" << "viel" << "0";
    QTest::newRow("lone minus as force") << "F0" << "-" << "0";
    QTest::newRow("lone point as distance") << "a0" << "." << "0";
}

void UiBadInputTest::unusableTextsComputeAsTheirNumber()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, number);

    auto put = [&field](MainWindow &window, const QString &text) {
        const int index = field.mid(1).toInt();
        LoadDialog *loads = window.loadDialog();
        loads->setForceText(0, QStringLiteral("10"));
        loads->setDistanceText(0, QStringLiteral("2"));
        switch (field[0].unicode()) {
        case 'L':
            window.dimensionsDialog()->setLengthText(index, text);
            break;
        case 'g':
            loads->setSameForAll(LoadG, false);
            loads->setUniformText(index, LoadG, text);
            break;
        case 'F':
            loads->setForceText(index, text);
            break;
        default:
            loads->setDistanceText(index, text);
        }
    };

    MessageRecorder messages;
    MainWindow typedWindow;
    put(typedWindow, QStringLiteral("1"));
    messages.shown.clear();
    put(typedWindow, typed);
    // The field says at once that it holds no number, and keeps the text.
    const bool numeric = IsNumericText(typed);
    QCOMPARE(messages.titles(), numeric ? QStringList() : QStringList{texts::InputErrorTitle});
    if (!numeric)
        QCOMPARE(messages.shown[0].text, texts::InputErrorText);
    QVERIFY(typedWindow.runAnalysis());

    MainWindow plainWindow;
    put(plainWindow, number);
    QVERIFY(plainWindow.runAnalysis());

    // The text stays as typed.
    const ProjectTexts kept = typedWindow.projectTexts();
    const int index = field.mid(1).toInt();
    const QString shown = field[0] == u'L' ? kept.lengths[index]
        : field[0] == u'g'                 ? kept.uniform[index - 1][LoadG]
        : field[0] == u'F'                 ? kept.force[index]
                                           : kept.distance[index];
    QCOMPARE(shown, typed);
    for (int item = 0; item < ResultLineCount; ++item)
        QCOMPARE(typedWindow.resultsWindow()->resultText(item), plainWindow.resultsWindow()->resultText(item));
    for (int item = 0; item < 11; ++item)
        QCOMPARE(typedWindow.resultsWindow()->designText(item), plainWindow.resultsWindow()->designText(item));
}

void UiBadInputTest::extremeInputsShowNoBrokenNumber_data()
{
    QTest::addColumn<int>("length");   // index of the length field, -1: force of slot 0
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");

    QTest::newRow("L1 1e308") << 0 << "1e308" << true;
    QTest::newRow("L1 1e-308") << 0 << "1e-308" << true;
    QTest::newRow("L1 1e999") << 0 << "1e999" << true;
    QTest::newRow("L1 negative") << 0 << "-4" << true;
    // -6 + 6: the three-moment equation divides by L1 + L2.
    QTest::newRow("L1 cancels L2") << 0 << "-6" << true;
    QTest::newRow("right cantilever 1e-308") << 4 << "1e-308" << false;
    QTest::newRow("force 1e308") << -1 << "1e308" << true;
    QTest::newRow("force 1e-308") << -1 << "1e-308" << false;
    QTest::newRow("force negative") << -1 << "-40" << false;
}

void UiBadInputTest::extremeInputsShowNoBrokenNumber()
{
    QFETCH(int, length);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    trigger(window, "mnuergebnisse");   // an earlier, sound run
    QVERIFY(window.resultsWindow());
    messages.shown.clear();

    if (length >= 0)
        window.dimensionsDialog()->setLengthText(length, text);
    else {
        window.loadDialog()->setForceText(0, text);
        window.loadDialog()->setDistanceText(0, QStringLiteral("2"));
    }
    trigger(window, "mnuergebnisse");

    // A computed run warns only about upward loads ("Lasten nach oben").
    bool refusalShown = false;
    for (const ShownMessage &m : std::as_const(messages.shown))
        if (m.title == QStringLiteral("Warnung") && !m.text.contains(u"Lasten nach oben"))
            refusalShown = true;
    QCOMPARE(refusalShown, refused);
    if (refused) {
        // The refusal says what to do, and no earlier number stays on screen.
        const ShownMessage &refusal = messages.shown.last();
        QCOMPARE(refusal.icon, MsgIcon::Warning);
        QVERIFY2(refusal.text.contains(u"Geben Sie") || refusal.text.contains(u"Prüfen Sie"),
                 qPrintable(refusal.text));
        QVERIFY(!window.resultsWindow());
        return;
    }
    ResultsWindow *results = window.resultsWindow();
    QVERIFY(results);
    const QStringList faults = faultyLabels(*results);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

    // The three pictures of the results window draw without a broken label.
    for (const char *name : {"Command4", "Command5", "Command6"}) {
        auto *button = results->findChild<QAbstractButton *>(QString::fromLatin1(name));
        QVERIFY(button);
        button->click();
        const QStringList drawn = faultyLabels(*results, true);
        QVERIFY2(drawn.isEmpty(), qPrintable(drawn.join(u'\n')));
    }
}

void UiBadInputTest::designInputsBadAtAnalysisTime_data()
{
    QTest::addColumn<QString>("field");     // Text1 width, Text2 span limit, Text3 cantilever limit
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cause");     // part of the design message at the next analysis
    QTest::addColumn<bool>("timberOnly");   // the steel design does not need the value

    QTest::newRow("width 0") << "Text1" << "0" << "die Breite b = „0“ ist nicht größer Null" << true;
    QTest::newRow("width negative") << "Text1" << "-8" << "die Breite b = „-8“ ist nicht größer Null" << true;
    QTest::newRow("width emptied") << "Text1" << "" << "die Breite b = „“ ist nicht größer Null" << true;
    QTest::newRow("width a word") << "Text1" << "breit" << "die Breite b = „breit“" << true;
    QTest::newRow("width 1e-320") << "Text1" << "1e-320" << "keinen endlichen Wert" << true;
    QTest::newRow("span limit negative") << "Text2" << "-300" << "FeldL / „-300“ ist negativ" << false;
    QTest::newRow("cantilever limit negative") << "Text3" << "-150" << "KragL / „-150“ ist negativ" << false;
}

void UiBadInputTest::designInputsBadAtAnalysisTime()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, cause);
    QFETCH(bool, timberOnly);

    MessageRecorder messages;
    MainWindow window;
    window.show();
    trigger(window, "mnuergebnisse");
    ResultsWindow *results = window.resultsWindow();
    QVERIFY(results);
    auto *edit = results->findChild<QLineEdit *>(field);
    QVERIFY(edit);

    // Typing a value that is not greater than 0 is refused at once; the
    // field keeps it (1e-320 is greater than 0 and starts a run).
    messages.shown.clear();
    edit->setText(text);
    QCOMPARE(edit->text(), text);
    const bool refusedAtOnce = !(LeadingNumber(text) > 0);
    if (refusedAtOnce) {
        QCOMPARE(messages.titles(), QStringList{QStringLiteral("Varno")});
        QCOMPARE(messages.shown[0].text, QStringLiteral("Geben Sie eine Zahl ein, die größer Null ist."));
    }

    // The next analysis meets the value: one message in all names it, the
    // design lines say that no design was possible, nothing shows a broken
    // number.
    trigger(window, "mnuergebnisse");
    QStringList warnings;
    for (const ShownMessage &m : messages.shown)
        if (m.title == QStringLiteral("Warnung"))
            warnings << m.text;
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(cause), qPrintable(warnings[0]));
    const QString timberVerdict = results->designText(9);
    const QString steelVerdict = results->designText(10);
    QVERIFY2(timberVerdict.contains(cause), qPrintable(timberVerdict));
    QCOMPARE(results->designText(4), QStringLiteral("h =  ---"));
    if (timberOnly)
        QVERIFY2(steelVerdict.contains(u"maßgebend"), qPrintable(steelVerdict));
    else
        QVERIFY2(steelVerdict.contains(cause), qPrintable(steelVerdict));
    // The result lines are those of the analysis, whatever the design said.
    QVERIFY(results->resultText(0).startsWith(QStringLiteral("Stützmoment  MA  = ")));
    const QStringList faults = faultyLabels(*results);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void UiBadInputTest::saveOnFullDiskKeepsEarlierFile()
{
    MessageRecorder messages;
    MainWindow window;
    auto *commands = window.findChild<ProjectFileCommands *>();
    QVERIFY(commands);

    // An earlier save of the project.
    const QString path = m_dir.filePath(QStringLiteral("voll.lof"));
    QVERIFY(commands->saveProjectTo(path));
    const QByteArray earlier = fileBytes(path);
    QCOMPARE(earlier, ProjectFileBytes(window.projectTexts()));

    typeProject(window);
    const ProjectTexts typed = window.projectTexts();
    messages.shown.clear();
    bool saved = true;
    {
        FileSizeLimit limit(earlier.size() / 3);
        if (!limit.active())
            QSKIP("the file size limit cannot be set here");
        saved = commands->saveProjectTo(path);
    }

    QVERIFY(!saved);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Speichern"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QVERIFY2(messages.shown[0].text.startsWith(QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden (")
                                                   .arg(QDir::toNativeSeparators(path))),
             qPrintable(messages.shown[0].text));
    // The file on disk is the earlier one, byte for byte, with nothing
    // left beside it; the typed values are still in the windows.
    QCOMPARE(fileBytes(path), earlier);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("voll.lof*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("voll.lof")});
    compareTexts(window.projectTexts(), typed);

    // Once there is room again, the same command saves.
    QVERIFY(commands->saveProjectTo(path));
    QCOMPARE(fileBytes(path), ProjectFileBytes(typed));
}

void UiBadInputTest::damagedProjectFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("cause");   // empty: the file opens

    QTest::newRow("binary") << QByteArray(3000, '\x01') << "1 von 81";
    QTest::newRow("zero bytes") << QByteArray(200, '\0') << "1 von 81";
    QTest::newRow("huge") << QByteArray(17 * 1024 * 1024, 'x') << "1 von 81";
    QTest::newRow("commas only") << QByteArray(81, ',') << "";
}

void UiBadInputTest::damagedProjectFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, cause);

    const QString path = m_dir.filePath(QStringLiteral("kaputt.lof"));
    QVERIFY(writeBytes(path, contents));
    MessageRecorder messages;
    MainWindow window;
    typeProject(window);
    const ProjectTexts before = window.projectTexts();
    messages.shown.clear();

    const bool opened = window.findChild<ProjectFileCommands *>()->openProjectFrom(path);
    if (!cause.isEmpty()) {
        QVERIFY(!opened);
        QCOMPARE(messages.titles(), QStringList{QStringLiteral("\u00D6ffnen")});
        QVERIFY2(messages.shown[0].text.contains(cause), qPrintable(messages.shown[0].text));
        compareTexts(window.projectTexts(), before);
        return;
    }
    // A file of empty values is a project of zeros; the analysis then
    // refuses L1 = 0 with its own message.
    QVERIFY(opened);
    QCOMPARE(window.projectTexts().lengths[LengthL1], QStringLiteral(" 0"));
    messages.shown.clear();
    QVERIFY(!window.runAnalysis());
    QCOMPARE(messages.titles(), QStringList{QStringLiteral("Warnung")});
    QVERIFY(messages.shown[0].text.contains(u"L1"));
}

void UiBadInputTest::printerNotReady()
{
    // A printer that cannot start its job: here a PDF printer whose file
    // cannot be created.
    MessageRecorder messages;
    MainWindow window;
    auto *print = window.findChild<PrintCommand *>();
    QVERIFY(print);
    const QString output = m_dir.filePath(QStringLiteral("fehlt/bericht.pdf"));
    print->setPrinterSource([output] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(output);
        return printer;
    });
    trigger(window, "mnudrucken");

    QCOMPARE(messages.titles(), (QStringList{QStringLiteral("Drucken"), QStringLiteral("Drucken")}));
    QCOMPARE(messages.shown[0].text, QStringLiteral("Drucker vorbereiten?"));
    QCOMPARE(messages.shown[1].icon, MsgIcon::Warning);
    QCOMPARE(messages.shown[1].text,
             QStringLiteral("Der Bericht kann nicht gedruckt werden (der Drucker ist nicht bereit)."));
    QVERIFY(!QFile::exists(output));
}

void UiBadInputTest::pdfOnFullDiskKeepsEarlierFile_data()
{
    // Where the disk runs full: the report's bytes go out in blocks, the
    // last ones only when the file is closed.
    QTest::addColumn<double>("cutAt");   // share of the new report's size
    QTest::newRow("early") << 0.1;
    QTest::newRow("in the middle") << 0.5;
    QTest::newRow("in the last bytes") << 0.999;
}

void UiBadInputTest::pdfOnFullDiskKeepsEarlierFile()
{
    QFETCH(double, cutAt);

    MessageRecorder messages;
    MainWindow window;
    auto *print = window.findChild<PrintCommand *>();
    QVERIFY(print);
    print->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
    const QString path = m_dir.filePath(QStringLiteral("bericht.pdf"));
    SetFileNameHandler([&path](const FileRequest &) { return path; });

    // An earlier report, and the size of the one about to replace it.
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("4"));
    trigger(window, "mnudrucken");
    const QByteArray earlier = fileBytes(path);
    QVERIFY(earlier.startsWith("%PDF"));
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("7.25"));
    QVERIFY(window.runAnalysis());
    const QString sizeProbe = m_dir.filePath(QStringLiteral("probe.pdf"));
    QVERIFY(WriteReportPdf(sizeProbe, print->reportTexts()));
    const qint64 newSize = QFileInfo(sizeProbe).size();
    QVERIFY(newSize > 1000);
    QVERIFY(fileBytes(sizeProbe) != earlier);

    messages.shown.clear();
    {
        FileSizeLimit limit(rlim_t(double(newSize) * cutAt));
        if (!limit.active())
            QSKIP("the file size limit cannot be set here");
        trigger(window, "mnudrucken");
    }
    SetFileNameHandler({});

    QCOMPARE(messages.titles(), QStringList(3, QStringLiteral("Drucken")));
    QCOMPARE(messages.shown[2].icon, MsgIcon::Warning);
    QVERIFY2(messages.shown[2].text.startsWith(QStringLiteral("Der Bericht kann nicht als „%1“ gespeichert werden (")
                                                   .arg(QDir::toNativeSeparators(path))),
             qPrintable(messages.shown[2].text));
    QCOMPARE(fileBytes(path), earlier);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("bericht.pdf*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("bericht.pdf")});
}

QTEST_MAIN(UiBadInputTest)
#include "tst_ui_badinput.moc"
