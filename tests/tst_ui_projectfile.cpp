// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "app/projectcommands.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "dialogs/materialdialog.h"
#include "dialogs/projectinfodialog.h"
#include "io/projectdocument.h"
#include "io/projectfile.h"
#include "results/eurocodewindow.h"
#include "results/resultswindow.h"
#include "app/filedialogs.h"
#include "app/projectfilecommands.h"
#include "tests/testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace varno;
using varno::test::FileDialogRecorder;
using varno::test::MessageRecorder;

namespace {

ProjectFileCommands *commands(const MainWindow &window)
{
    return window.findChild<ProjectFileCommands *>();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A project file with every value distinct: lengths 1.5 .. 5.5, uniform
// load of region r and type k = 10k + r + 0.25, slot s at distance
// s / 100 with force s + 1, the given grades.
QByteArray distinctProject(int timberGrade = 7, int steelGrade = 2)
{
    ProjectTexts texts;
    texts.lengths = {QStringLiteral("1.5"), QStringLiteral("2.5"), QStringLiteral("3.5"),
                     QStringLiteral("4.5"), QStringLiteral("5.5")};
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            texts.uniform[r][k] = QString::number(10 * k + r + 1.25);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        texts.distance[slot] = QString::number(slot / 100.0);
        texts.force[slot] = QString::number(slot + 1);
    }
    texts.timberGrade = timberGrade;
    texts.steelGrade = steelGrade;
    return ProjectFileBytes(texts);
}

// Fields that differ from the defaults in every group, so that a change by
// a refused Open would show.
void typeNonDefaults(MainWindow &window)
{
    window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("7.25"));
    window.loadDialog()->setSameForAll(LoadQ, false);
    window.loadDialog()->setUniformText(Span2, LoadQ, QStringLiteral("1.5"));
    window.loadDialog()->setDistanceText(3, QStringLiteral("2.5"));
    window.loadDialog()->setForceText(3, QStringLiteral("12"));
    window.materialDialog()->setTimberGrade(4);
    window.materialDialog()->setSteelGrade(1);
}

// The value column of a grade, cut from the material file by hand.
QStringList materialColumn(int start, int width, int lines)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/wert2.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList column;
    while (!file.atEnd() && column.size() < lines) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        column << QString::fromLatin1(line.mid(start, width));
    }
    return column;
}

ProjectCommands *project(const MainWindow &window)
{
    return window.projectCommands();
}

// A Varno project file: the defaults with the given lengths and grades.
QByteArray varnoProject(const std::array<QString, RegionCount> &lengths, int timberGrade = 1)
{
    ProjectState state = ProjectState::Defaults();
    state.texts.lengths = lengths;
    state.texts.timberGrade = timberGrade;
    return ProjectDocumentBytes(state);
}

// Every kind of setting, entered in the windows as a user would.
void enterEverySetting(MainWindow &window)
{
    window.chooseTwoSpan();
    DimensionsDialog *dimensions = window.dimensionsDialog();
    dimensions->setLengthText(LengthL1, QStringLiteral("5.5"));
    dimensions->setLengthText(LengthRight, QStringLiteral("1.25"));
    LoadDialog *loads = window.loadDialog();
    loads->setUniformText(Span1, LoadG, QStringLiteral("3.5"));
    loads->setSameForAll(LoadQ, false);
    loads->setUniformText(Span2, LoadQ, QStringLiteral("2"));
    loads->setUniformText(RightCantilever, LoadQ, QStringLiteral("1,5"));   // kept as typed
    loads->setForceText(2, QStringLiteral("12"));
    loads->setDistanceText(2, QStringLiteral("2.75"));
    loads->setForceText(24, QStringLiteral("4"));
    loads->setDistanceText(24, QStringLiteral("1"));
    window.materialDialog()->setTimberGrade(9);
    window.materialDialog()->setSteelGrade(2);
    window.projectInfoDialog()->setInfoText(0, QStringLiteral("Zimmerei Muster\nAbteilung Statik"));
    window.projectInfoDialog()->setInfoText(2, QStringLiteral("Pfette P3"));
    window.projectInfoDialog()->setInfoText(4, QStringLiteral("J. Öztürk"));

    window.showResults();
    ResultsWindow *results = window.resultsWindow();
    results->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("12"));
    results->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("500"));
    results->findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentIndex(0);

    window.showEurocode();
    EurocodeWindow *eurocode = window.eurocodeWindow();
    auto combo = [&](const char *name, const QString &text) {
        auto *box = eurocode->findChild<QComboBox *>(QString::fromLatin1(name));
        const int index = box->findText(text, Qt::MatchStartsWith);
        QVERIFY2(index >= 0, name);
        box->setCurrentIndex(index);
    };
    combo("cboHolzklasse", QStringLiteral("GL24h"));
    combo("cboNutzungsklasse", QStringLiteral("2"));
    combo("cboStahlsorte", QStringLiteral("S355"));
    combo("cboReihe", QStringLiteral("HE-B"));
    combo("cboProfil", QStringLiteral("HE 200 B"));
    combo("cboKategorie", QStringLiteral("C"));
    combo("cboSchnee", QStringLiteral("über"));
    combo("cboHuellkurve", QStringLiteral("Querkraft"));
    eurocode->findChild<QLineEdit *>(QStringLiteral("txtBreite"))->setText(QStringLiteral("10"));
    eurocode->findChild<QLineEdit *>(QStringLiteral("txtHoehe"))->setText(QStringLiteral("24"));
    eurocode->findChild<QLineEdit *>(QStringLiteral("txtGrenze6"))->setText(QStringLiteral("250"));
}

// What the results and the Eurocode windows show.
QStringList shownResults(MainWindow &window)
{
    window.showResults();
    QStringList shown;
    for (int item = 0; item < 19; ++item)
        shown << window.resultsWindow()->resultText(item);
    for (int item = 0; item < 11; ++item)
        shown << window.resultsWindow()->designText(item);
    window.showEurocode();
    for (QLabel *label : window.eurocodeWindow()->findChildren<QLabel *>())
        if (label->accessibleName().endsWith(QStringLiteral("Ausnutzung"))
            || label->accessibleName().endsWith(QStringLiteral("Querschnitt")))
            shown << label->accessibleName() + QStringLiteral(": ") + label->text();
    return shown;
}

void clearRecentFiles()
{
    QSettings(QStringLiteral("Varno"), QStringLiteral("varno")).clear();
}

} // namespace

class TestUiProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void defaultsRoundTrip();
    void savedLines_data();
    void savedLines();
    void typedTextReadsBackIntoItsField_data();
    void typedTextReadsBackIntoItsField();

    void openFillsEveryField();
    void openedBeamIsTheFilesBeam();
    void openKeepsUniformTextsWithCopyBoxes_data();
    void openKeepsUniformTextsWithCopyBoxes();
    void openSelectsGrades_data();
    void openSelectsGrades();
    void openWarnsOncePerDistance_data();
    void openWarnsOncePerDistance();

    void openRefused_data();
    void openRefused();
    void saveRefused_data();
    void saveRefused();

    void menuItemsReachTheCommands_data();
    void menuItemsReachTheCommands();
    void realDialogs_data();
    void realDialogs();

    void fileNamedAtStartOpens_data();
    void fileNamedAtStartOpens();
    void droppedFileOpens();

    void projectMenu_data();
    void projectMenu();
    void everySettingSurvivesSaveAndOpen_data();
    void everySettingSurvivesSaveAndOpen();
    void unsavedChangesOffer_data();
    void unsavedChangesOffer();
    void titleBar();
    void lofExport();
    void recentFiles();

private:
    QTemporaryDir m_dir;
};

void TestUiProjectFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The files opened last are kept here, not in the user's settings.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    clearRecentFiles();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestUiProjectFile::defaultsRoundTrip()
{
    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("defaults.lof"));
    {
        MainWindow window;
        QVERIFY(commands(window)->saveProjectTo(path));
    }
    MainWindow window;
    QVERIFY(commands(window)->openProjectFrom(path));

    // The values come back, in their standard text form.
    ProjectTexts expected;
    expected.lengths = {QStringLiteral(" 6"), QStringLiteral(" 6"), QStringLiteral(" 5"), QStringLiteral(" 0"),
                        QStringLiteral(" 0")};
    for (auto &region : expected.uniform)
        region = {QStringLiteral(" 2"), QStringLiteral(" 0"), QStringLiteral(" 0"), QStringLiteral(" 0")};
    expected.distance.fill(QStringLiteral(" 0"));
    expected.force.fill(QStringLiteral(" 0"));
    expected.timberGrade = 1;
    expected.steelGrade = 0;

    const ProjectTexts opened = window.projectTexts();
    QCOMPARE(opened.lengths, expected.lengths);
    QCOMPARE(opened.uniform, expected.uniform);
    QCOMPARE(opened.distance, expected.distance);
    QCOMPARE(opened.force, expected.force);
    QCOMPARE(opened.timberGrade, expected.timberGrade);
    QCOMPARE(opened.steelGrade, expected.steelGrade);
    QVERIFY(messages.shown.isEmpty());
}

void TestUiProjectFile::savedLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("line 1, lengths") << 1 << QByteArray("6.00          6.00          5.00          0.00          0.00\r\n");
    QTest::newRow("line 6, slot 0") << 6 << QByteArray("0             0\r\n");
    QTest::newRow("line 33, grades") << 33 << QByteArray(" 1             0\r\n");
}

// The default fields of the windows, as Save writes them.
void TestUiProjectFile::savedLines()
{
    QFETCH(int, line);
    QFETCH(QByteArray, bytes);

    MessageRecorder messages;
    MainWindow window;
    const QString path = m_dir.filePath(QStringLiteral("lines.lof"));
    QVERIFY(commands(window)->saveProjectTo(path));

    const QList<QByteArray> lines = fileBytes(path).split('\n');
    QCOMPARE(lines.size(), ProjectFileLineCount + 1);   // the last line end leaves an empty rest
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(lines[line - 1] + '\n', bytes);
}

void TestUiProjectFile::typedTextReadsBackIntoItsField_data()
{
    QTest::addColumn<QString>("field");   // L<i>, U<region><type>, a<slot>, F<slot>
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reopened");

    // Texts that are not a single plain number are saved as their number,
    // so that they cannot spill into the next field.
    QTest::newRow("decimal comma in L1") << "L0" << "6,5" << " 6";
    QTest::newRow("blank inside a load") << "U32" << "1 000" << " 1000";
    QTest::newRow("empty distance") << "a9" << "" << " 0";
    QTest::newRow("decimal comma in a force") << "F26" << "2,5" << " 2";
    // Plain numbers are saved as typed and come back in standard form.
    QTest::newRow("negative") << "F26" << "-1.25" << "-1.25";
    QTest::newRow("exponent") << "U51" << "1.5e-7" << " 1.5E-07";
}

void TestUiProjectFile::typedTextReadsBackIntoItsField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, reopened);

    MessageRecorder messages;
    MainWindow window;
    DimensionsDialog *dimensions = window.dimensionsDialog();
    LoadDialog *loads = window.loadDialog();
    const int number = field.mid(1).toInt();
    switch (field.at(0).unicode()) {
    case u'L': dimensions->setLengthText(number, typed); break;
    case u'U': loads->setUniformText(number / 10, number % 10, typed); break;
    case u'a': loads->setDistanceText(number, typed); break;
    case u'F': loads->setForceText(number, typed); break;
    }

    const QString path = m_dir.filePath(QStringLiteral("typed.lof"));
    QVERIFY(commands(window)->saveProjectTo(path));
    // Every other field of a default project, after the round trip.
    ProjectTexts expected = ParseProjectFile(ProjectFileBytes(ProjectTexts::Defaults())).toProjectTexts();
    switch (field.at(0).unicode()) {
    case u'L': expected.lengths[number] = reopened; break;
    case u'U': expected.uniform[number / 10 - 1][number % 10] = reopened; break;
    case u'a': expected.distance[number] = reopened; break;
    case u'F': expected.force[number] = reopened; break;
    }

    MainWindow other;
    messages.shown.clear();
    QVERIFY(commands(other)->openProjectFrom(path));
    const ProjectTexts opened = other.projectTexts();
    QCOMPARE(opened.lengths, expected.lengths);
    QCOMPARE(opened.uniform, expected.uniform);
    QCOMPARE(opened.distance, expected.distance);
    QCOMPARE(opened.force, expected.force);
    QCOMPARE(opened.timberGrade, expected.timberGrade);
    QCOMPARE(opened.steelGrade, expected.steelGrade);
}

void TestUiProjectFile::openFillsEveryField()
{
    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("distinct.lof"));
    QVERIFY(writeBytes(path, distinctProject()));

    MainWindow window;
    QVERIFY(commands(window)->openProjectFrom(path));
    const ProjectTexts opened = window.projectTexts();
    QCOMPARE(opened.lengths, (std::array<QString, RegionCount>{QStringLiteral(" 1.5"), QStringLiteral(" 2.5"),
                                                               QStringLiteral(" 3.5"), QStringLiteral(" 4.5"),
                                                               QStringLiteral(" 5.5")}));
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            QCOMPARE(opened.uniform[r][k], StandardTextForm(10 * k + r + 1.25));
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        QCOMPARE(opened.distance[slot], StandardTextForm(slot / 100.0));
        QCOMPARE(opened.force[slot], StandardTextForm(slot + 1));
    }
    // The lengths went in through the dimensions window's change rule, which
    // redraws the sketch.
    QCOMPARE(window.session().TotalLength, 17.5);
    QVERIFY(messages.shown.isEmpty());
}

// The file's numbers reach the computation as the fields hold them: as
// their standard text forms, read by the one reading step, so 17 digits in
// the file compute as the 15 the field shows.
void TestUiProjectFile::openedBeamIsTheFilesBeam()
{
    MessageRecorder messages;
    QByteArray bytes = distinctProject();
    bytes.replace(0, 3, "1.2345678901234567");
    const QString path = m_dir.filePath(QStringLiteral("digits.lof"));
    QVERIFY(writeBytes(path, bytes));

    MainWindow window;
    QVERIFY(commands(window)->openProjectFrom(path));
    const NumericBeam opened = ReadBeam(window.projectTexts());
    QCOMPARE(opened.length[LengthL1], 1.23456789012346);
    QCOMPARE(opened.point[26].F, 27.0);
    QCOMPARE(opened.timberGrade, 7);
    QVERIFY(opened == ReadProjectFile(path).toBeam());
}

void TestUiProjectFile::openKeepsUniformTextsWithCopyBoxes_data()
{
    QTest::addColumn<QList<bool>>("boxes");

    QTest::newRow("all four boxes set") << QList<bool>{true, true, true, true};
    QTest::newRow("only q set") << QList<bool>{false, true, false, false};
    QTest::newRow("no box set") << QList<bool>{false, false, false, false};
}

void TestUiProjectFile::openKeepsUniformTextsWithCopyBoxes()
{
    QFETCH(QList<bool>, boxes);

    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("uniform.lof"));
    QVERIFY(writeBytes(path, distinctProject()));

    MainWindow window;
    LoadDialog *loads = window.loadDialog();
    for (int k = 0; k < LoadTypeCount; ++k)
        loads->setSameForAll(k, boxes[k]);
    QVERIFY(commands(window)->openProjectFrom(path));

    for (int region = Span1; region <= RightCantilever; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            QCOMPARE(loads->uniformText(region, k), StandardTextForm(10 * k + region + 0.25));
    // The boxes are not part of the file and stay as they were.
    for (int k = 0; k < LoadTypeCount; ++k)
        QCOMPARE(loads->sameForAll(k), boxes[k]);

    // The copy rule itself still works after Open.
    loads->setUniformText(Span1, LoadQ, QStringLiteral("3.5"));
    QCOMPARE(loads->uniformText(RightCantilever, LoadQ),
             boxes[LoadQ] ? QStringLiteral("3.5") : StandardTextForm(10 * LoadQ + RightCantilever + 0.25));
}

void TestUiProjectFile::openSelectsGrades_data()
{
    QTest::addColumn<int>("timber");
    QTest::addColumn<int>("steel");

    QTest::newRow("first of each list") << 0 << 0;
    QTest::newRow("last of each list") << 13 << 2;
    QTest::newRow("middle") << 7 << 1;
}

void TestUiProjectFile::openSelectsGrades()
{
    QFETCH(int, timber);
    QFETCH(int, steel);

    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("grades.lof"));
    QVERIFY(writeBytes(path, distinctProject(timber, steel)));

    MainWindow window;
    // Start from other grades than the file's.
    window.materialDialog()->setTimberGrade(timber == 5 ? 6 : 5);
    window.materialDialog()->setSteelGrade((steel + 1) % SteelGradeCount);
    QVERIFY(commands(window)->openProjectFrom(path));

    QCOMPARE(window.materialDialog()->timberGrade(), timber);
    QCOMPARE(window.materialDialog()->steelGrade(), steel);
    const QStringList timberColumn = materialColumn(6 * timber, 5, 1000);
    const QStringList steelColumn = materialColumn(84 + 6 * steel, 6, 8);
    QVERIFY(!timberColumn.isEmpty());
    QCOMPARE(window.materialDialog()->timberValues(), timberColumn);
    QCOMPARE(window.materialDialog()->steelValues(), steelColumn);
}

void TestUiProjectFile::openWarnsOncePerDistance_data()
{
    QTest::addColumn<QList<int>>("offending");         // slots given a distance of 7 in the file
    QTest::addColumn<bool>("staleBefore");          // slot 20 holds 4.5 before Open
    QTest::addColumn<QStringList>("firstLines");

    const QString span = QStringLiteral("Die Kraft liegt au\u00DFerhalb der Feldl\u00E4nge");
    const QString cantilever = QStringLiteral("Die Kraft liegt au\u00DFerhalb der Kragl\u00E4nge");
    QTest::newRow("all distances inside") << QList<int>{} << false << QStringList{};
    QTest::newRow("one in span 1") << QList<int>{0} << false << QStringList{span};
    QTest::newRow("span 1 and right cantilever") << QList<int>{2, 25} << false << QStringList{span, cantilever};
    // A distance of the project shown before, beyond the span the file
    // removes, is replaced by the file's value and raises no warning.
    QTest::newRow("previous project's distance") << QList<int>{} << true << QStringList{};
}

void TestUiProjectFile::openWarnsOncePerDistance()
{
    QFETCH(QList<int>, offending);
    QFETCH(bool, staleBefore);
    QFETCH(QStringList, firstLines);

    // L1 6, L2 6, L3 0, cantilevers 0 and 2; all distances 0 but the listed.
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths = {QStringLiteral("6"), QStringLiteral("6"), QStringLiteral("0"), QStringLiteral("0"),
                     QStringLiteral("2")};
    for (int slot : offending)
        texts.distance[slot] = QStringLiteral("7");
    const QString path = m_dir.filePath(QStringLiteral("distances.lof"));
    QVERIFY(writeBytes(path, ProjectFileBytes(texts)));

    MessageRecorder messages;
    MainWindow window;
    if (staleBefore)
        window.loadDialog()->setDistanceText(20, QStringLiteral("4.5"));
    messages.shown.clear();
    QVERIFY(commands(window)->openProjectFrom(path));

    QCOMPARE(messages.shown.size(), firstLines.size());
    for (int i = 0; i < firstLines.size(); ++i) {
        const ShownMessage &shown = messages.shown[i];
        QCOMPARE(shown.title, QStringLiteral("Warnung"));
        QCOMPARE(shown.icon, MsgIcon::Warning);
        // The length text quoted is the one just read from the file.
        const QString length = offending[i] < 21 ? QStringLiteral(" 6") : QStringLiteral(" 2");
        QCOMPARE(shown.text, firstLines[i] + QStringLiteral("\r\n\r\nGeben Sie einen Abstand zwischen 0 und ")
                                 + length + QStringLiteral(" ein."));
    }
    for (int slot : offending)
        QCOMPARE(window.loadDialog()->distanceText(slot), QStringLiteral(" 7"));
}

void TestUiProjectFile::openRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");   // written unless empty
    QTest::addColumn<QString>("cause");          // part of the message

    QByteArray shortFile = distinctProject();
    shortFile.truncate(shortFile.lastIndexOf("\r\n", shortFile.size() - 3) + 2);   // without line 33
    QTest::newRow("short file") << "short.lof" << shortFile << "79 von 81";
    QTest::newRow("empty file") << "empty.lof" << QByteArray(" ") << "0 von 81";
    QTest::newRow("missing file") << "missing.lof" << QByteArray() << "kann nicht gelesen werden";
    QTest::newRow("folder") << "folder.lof" << QByteArray() << "kann nicht gelesen werden";
    QTest::newRow("timber grade 20") << "timber20.lof" << distinctProject(20, 0) << "Holz steht auf Position 20";
    QTest::newRow("timber grade -1") << "timber-1.lof" << distinctProject(-1, 0) << "Holz steht auf Position -1";
    QTest::newRow("steel grade 3") << "steel3.lof" << distinctProject(0, 3) << "Stahl steht auf Position 3";
    // Varno project files: the member is named, and nothing changes.
    QByteArray newer = varnoProject(ProjectTexts::Defaults().lengths);
    newer.replace("\"1.0\"", "\"2.0\"");
    QTest::newRow("newer format") << "neuer.varno" << newer << "Format 2.0";
    QByteArray number = varnoProject({"1.5", "2.5", "3.5", "0", "0"});
    number.replace("\"L2\": \"2.5\"", "\"L2\": 2.5");
    QTest::newRow("length as a number") << "zahl.varno" << number << "\u201Elengths.L2\u201C ist keine Zeichenkette.";
    ProjectState unknownClass = ProjectState::Defaults();
    unknownClass.eurocode.timberClass = QStringLiteral("C99");
    QTest::newRow("Eurocode class the data lacks") << "klasse.varno" << ProjectDocumentBytes(unknownClass)
                                                   << "Die Festigkeitsklasse \u201EC99\u201C steht nicht in den Eurocode-Daten.";
}

void TestUiProjectFile::openRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, cause);

    const QString path = m_dir.filePath(name);
    if (name == QStringLiteral("folder.lof"))
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (!contents.isEmpty())
        QVERIFY(writeBytes(path, contents));

    MessageRecorder messages;
    MainWindow window;
    typeNonDefaults(window);
    const ProjectTexts before = window.projectTexts();
    const QByteArray stateBefore = ProjectDocumentBytes(project(window)->currentState());
    const QStringList timberValues = window.materialDialog()->timberValues();
    const double totalLength = window.session().TotalLength;
    messages.shown.clear();

    if (name.endsWith(QStringLiteral(".varno")))
        QVERIFY(!project(window)->openFileNow(path));
    else
        QVERIFY(!commands(window)->openProjectFrom(path));
    QCOMPARE(ProjectDocumentBytes(project(window)->currentState()), stateBefore);

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("\u00D6ffnen"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(messages.shown[0].buttons, MsgButtons::Ok);
    QVERIFY2(messages.shown[0].text.contains(name), qPrintable(messages.shown[0].text));
    QVERIFY2(messages.shown[0].text.contains(cause), qPrintable(messages.shown[0].text));

    const ProjectTexts after = window.projectTexts();
    QCOMPARE(after.lengths, before.lengths);
    QCOMPARE(after.uniform, before.uniform);
    QCOMPARE(after.distance, before.distance);
    QCOMPARE(after.force, before.force);
    QCOMPARE(after.timberGrade, before.timberGrade);
    QCOMPARE(after.steelGrade, before.steelGrade);
    QCOMPARE(window.materialDialog()->timberValues(), timberValues);
    QCOMPARE(window.session().TotalLength, totalLength);
}

void TestUiProjectFile::saveRefused_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("read-only folder") << "read-only";
    QTest::newRow("folder in place of the file") << "folder";
    // The replacement is written beside the file under a longer name first;
    // with a name at the length limit that is impossible, even for root.
    QTest::newRow("name at the length limit") << "long name";
    QTest::newRow("missing folder") << "missing";
}

void TestUiProjectFile::saveRefused()
{
    QFETCH(QString, kind);

    const QString base = m_dir.filePath(QStringLiteral("refused ") + kind);
    QVERIFY(QDir().mkpath(base));
    const QByteArray oldBytes("an earlier project\r\n");
    QString path;
    if (kind == QStringLiteral("read-only")) {
        path = base + QStringLiteral("/projekt.lof");
        QVERIFY(writeBytes(path, oldBytes));
        QVERIFY(QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        // The permission bits do not hold root back.
        QFile probe(base + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("the folder is writable for this user despite its permissions");
        }
    } else if (kind == QStringLiteral("folder")) {
        path = base + QStringLiteral("/projekt.lof");
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QStringLiteral("long name")) {
        path = base + u'/' + QString(251, u'p') + QStringLiteral(".lof");   // 255 characters
        if (!writeBytes(path, oldBytes))
            QSKIP("this file system does not take names of 255 characters");
    } else {
        path = base + QStringLiteral("/fehlt/projekt.lof");
    }

    MessageRecorder messages;
    MainWindow window;
    messages.shown.clear();
    QVERIFY(!commands(window)->saveProjectTo(path));
    QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Speichern"));
    QCOMPARE(messages.shown[0].icon, MsgIcon::Warning);
    QVERIFY2(messages.shown[0].text.contains(QDir::toNativeSeparators(path)), qPrintable(messages.shown[0].text));

    if (kind == QStringLiteral("folder"))
        QVERIFY(QFileInfo(path).isDir());
    else if (kind == QStringLiteral("missing"))
        QVERIFY(!QFileInfo::exists(path));
    else
        QCOMPARE(fileBytes(path), oldBytes);
    // No half-written file or leftover copy beside it.
    const QStringList left = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), kind == QStringLiteral("folder") || kind == QStringLiteral("missing") ? 0 : 1);
}

void TestUiProjectFile::menuItemsReachTheCommands_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");

    QTest::newRow("Speichern") << "mnuspeichern" << "Speichern";
    QTest::newRow("\u00D6ffnen") << "mnu\u00F6ffnen" << "\u00D6ffnen";
}

// The items stay disabled, but their commands are connected and complete.
void TestUiProjectFile::menuItemsReachTheCommands()
{
    QFETCH(QString, item);
    QFETCH(QString, title);

    const bool save = item == QStringLiteral("mnuspeichern");
    const QString path = m_dir.filePath(item + QStringLiteral(".lof"));
    if (!save)
        QVERIFY(writeBytes(path, distinctProject()));

    MessageRecorder messages;
    FileDialogRecorder dialogs;
    dialogs.answers << path;
    MainWindow window;
    messages.shown.clear();
    const ProjectTexts before = window.projectTexts();

    QAction *action = window.findChild<QAction *>(item);
    QVERIFY(action);
    QVERIFY(!action->isEnabled());
    emit action->triggered();

    QCOMPARE(dialogs.asked.size(), 1);
    const FileRequest &asked = dialogs.asked[0];
    QCOMPARE(asked.title, title);
    QCOMPARE(asked.filter, QStringLiteral("Dateien (*.lof)"));
    QCOMPARE(asked.mode, save ? FileRequest::Mode::Save : FileRequest::Mode::Open);
    if (save)
        QCOMPARE(asked.defaultSuffix, QStringLiteral("lof"));
    else
        QCOMPARE(asked.start, QCoreApplication::applicationDirPath());
    QVERIFY(messages.shown.isEmpty());

    if (save) {
        QCOMPARE(fileBytes(path), ProjectFileBytes(before));
    } else {
        QCOMPARE(window.projectTexts().lengths[LengthL1], QStringLiteral(" 1.5"));
        QCOMPARE(window.materialDialog()->timberGrade(), 7);
    }
}

void TestUiProjectFile::realDialogs_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("typedName");   // empty: the dialog is cancelled

    QTest::newRow("Speichern, cancelled") << true << QString();
    QTest::newRow("Speichern, name without suffix") << true << "ohne-endung";
    QTest::newRow("\u00D6ffnen, cancelled") << false << QString();
}

// The real file dialog, found as the active modal window and answered there.
void TestUiProjectFile::realDialogs()
{
    QFETCH(bool, save);
    QFETCH(QString, typedName);

    MessageRecorder messages;
    MainWindow window;
    messages.shown.clear();
    const ProjectTexts before = window.projectTexts();
    const QString folder = m_dir.filePath(QStringLiteral("dialog"));
    QVERIFY(QDir().mkpath(folder));

    bool seen = false;
    QString title;
    QStringList filters;
    QString suffix;
    QString directory;
    bool confirmsOverwrite = false;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        seen = true;
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        suffix = dialog->defaultSuffix();
        directory = dialog->directory().absolutePath();
        confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        mode = dialog->acceptMode();
        if (typedName.isEmpty()) {
            dialog->reject();
        } else {
            // Typed into the name field: selectFile() leaves a focused field alone.
            dialog->setDirectory(folder);
            auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(nameField);
            nameField->setText(typedName);
            static_cast<QDialog *>(dialog)->accept();   // QFileDialog::accept is protected
        }
    });
    poll.start();
    // Gives up after a while if no dialog ever comes.
    QTimer::singleShot(10000, &poll, [&] {
        poll.stop();
        if (auto *modal = QApplication::activeModalWidget())
            modal->close();
    });

    if (save)
        commands(window)->save();
    else
        commands(window)->open();

    QVERIFY(seen);
    QCOMPARE(title, save ? QStringLiteral("Speichern") : QStringLiteral("\u00D6ffnen"));
    QCOMPARE(filters, QStringList{QStringLiteral("Dateien (*.lof)")});
    QCOMPARE(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        QCOMPARE(suffix, QStringLiteral("lof"));
        QVERIFY(confirmsOverwrite);
    } else {
        QCOMPARE(directory, QDir(QCoreApplication::applicationDirPath()).absolutePath());
    }

    QVERIFY(messages.shown.isEmpty());
    const QStringList written = QDir(folder).entryList(QDir::Files);
    if (typedName.isEmpty()) {
        QVERIFY(written.isEmpty());
    } else {
        QCOMPARE(written, QStringList{typedName + QStringLiteral(".lof")});
        QCOMPARE(fileBytes(folder + u'/' + written[0]), ProjectFileBytes(before));
        QFile::remove(folder + u'/' + written[0]);
    }
    QCOMPARE(window.projectTexts().lengths, before.lengths);
}

// "varno FILE.lof": the file opens once the main window is shown; a file
// that cannot be read leaves the defaults and says why.
void TestUiProjectFile::fileNamedAtStartOpens_data()
{
    QTest::addColumn<QByteArray>("bytes");   // empty: no such file
    QTest::addColumn<bool>("opens");

    QTest::newRow("project file") << distinctProject() << true;
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("too short") << QByteArray("6\n6\n") << false;
    QTest::newRow("Varno project file") << varnoProject({" 1.5", " 2.5", " 3.5", " 0", " 0"}, 7) << true;
}

void TestUiProjectFile::fileNamedAtStartOpens()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);

    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("start %1.%2")
                                            .arg(QLatin1String(QTest::currentDataTag()),
                                                 bytes.startsWith('{') ? QStringLiteral("varno") : QStringLiteral("lof")));
    if (!bytes.isEmpty())
        QVERIFY(writeBytes(path, bytes));

    MainWindow window;
    const ProjectTexts defaults = window.projectTexts();
    window.openProjectFileWhenShown(path);
    QCOMPARE(window.projectTexts().lengths, defaults.lengths);   // not before it is shown
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (opens) {
        QTRY_COMPARE(window.projectTexts().lengths[LengthL3], QStringLiteral(" 3.5"));
        QCOMPARE(window.materialDialog()->timberGrade(), 7);
        QVERIFY(messages.shown.isEmpty());
    } else {
        QTRY_COMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.first().title, QStringLiteral("\u00D6ffnen"));
        QVERIFY2(messages.shown.first().text.contains(QFileInfo(path).fileName()),
                 qPrintable(messages.shown.first().text));
        QCOMPARE(window.projectTexts().lengths, defaults.lengths);
        QCOMPARE(window.projectTexts().force, defaults.force);
    }
    // Shown again later, the window does not read the file a second time.
    window.hide();
    window.show();
    QTest::qWait(10);
    QCOMPARE(messages.shown.size(), opens ? 0 : 1);
}

void TestUiProjectFile::droppedFileOpens()
{
    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("dropped.lof"));
    QVERIFY(writeBytes(path, distinctProject(3, 1)));
    MainWindow window;

    auto drop = [&](const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    };
    // Two files at once are not taken: which one would the user mean?
    QVERIFY(!drop({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)}));
    QCOMPARE(window.projectTexts().lengths[LengthL1], ProjectTexts::Defaults().lengths[LengthL1]);

    QVERIFY(drop({QUrl::fromLocalFile(path)}));
    QCOMPARE(window.projectTexts().lengths[LengthL1], QStringLiteral(" 1.5"));
    QCOMPARE(window.materialDialog()->timberGrade(), 3);
    QCOMPARE(window.materialDialog()->steelGrade(), 1);
    QVERIFY(messages.shown.isEmpty());
}

void TestUiProjectFile::projectMenu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");   // separators count
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("Öffnen") << "mnuprojektoeffnen" << 0 << "Ö&ffnen…" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
    QTest::newRow("Speichern") << "mnuprojektspeichern" << 1 << "&Speichern"
                               << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    QTest::newRow("Speichern unter") << "mnuprojektspeichernunter" << 2 << "Speichern &unter…" << QKeySequence();
    QTest::newRow(".lof exportieren") << "mnuprojektexport" << 4 << "Als .&lof exportieren…" << QKeySequence();
}

// The menu stands right after "&Datei"; no shortcut of the window is taken
// twice, so Ctrl+O and Ctrl+S of "Datei" keep doing nothing.
void TestUiProjectFile::projectMenu()
{
    QFETCH(QString, name);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);

    MainWindow window;
    QAction *entry = window.menuBar()->actions().at(1);
    QCOMPARE(entry->text(), QStringLiteral("Pro&jekt"));
    auto *item = window.findChild<QAction *>(name);
    QVERIFY(item);
    QCOMPARE(entry->menu()->actions().indexOf(item), position);
    QCOMPARE(item->text(), text);
    QCOMPARE(item->shortcut(), shortcut);
    QVERIFY(item->isEnabled());

    QList<QKeySequence> taken;
    for (QAction *action : window.findChildren<QAction *>())
        if (!action->shortcut().isEmpty()) {
            QVERIFY2(!taken.contains(action->shortcut()), qPrintable(action->shortcut().toString()));
            taken << action->shortcut();
        }
}

void TestUiProjectFile::everySettingSurvivesSaveAndOpen_data()
{
    QTest::addColumn<bool>("windowsMadeBefore");   // in the program that opens the file

    QTest::newRow("results and Eurocode windows made after opening") << false;
    QTest::newRow("results and Eurocode windows open while opening") << true;
}

// An engineer enters a beam and every setting, saves, quits, opens the file
// in a new program: the same state, the same results, the same check.
void TestUiProjectFile::everySettingSurvivesSaveAndOpen()
{
    QFETCH(bool, windowsMadeBefore);

    MessageRecorder messages;
    const QString path = m_dir.filePath(QStringLiteral("alles.varno"));
    QByteArray saved;
    QStringList shown;
    {
        MainWindow window;
        window.show();
        enterEverySetting(window);
        shown = shownResults(window);
        saved = ProjectDocumentBytes(project(window)->currentState());
        QVERIFY(project(window)->saveTo(path));
        QVERIFY(!project(window)->isModified());
    }
    QCOMPARE(fileBytes(path), saved);

    MainWindow window;
    window.show();
    if (windowsMadeBefore) {
        window.showResults();
        window.showEurocode();
    }
    QVERIFY(window.openProjectFile(path));
    // An open results window showed the project before: it is discarded.
    QVERIFY(!window.resultsWindow());
    QCOMPARE(ProjectDocumentBytes(project(window)->currentState()), saved);
    QVERIFY(!project(window)->isModified());
    QCOMPARE(shownResults(window), shown);
    QCOMPARE(ProjectDocumentBytes(project(window)->currentState()), saved);
}

void TestUiProjectFile::unsavedChangesOffer_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MsgResult>("answer");   // to the offer
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("Neu, Verwerfen") << "Neu" << true << MsgResult::Discard << true;
    QTest::newRow("Neu, Speichern") << "Neu" << true << MsgResult::Save << true;
    QTest::newRow("Neu, Abbrechen") << "Neu" << true << MsgResult::Cancel << false;
    QTest::newRow("Neu without a change") << "Neu" << false << MsgResult::Cancel << true;
    QTest::newRow("Öffnen, Verwerfen") << "Öffnen" << true << MsgResult::Discard << true;
    QTest::newRow("Öffnen, Abbrechen") << "Öffnen" << true << MsgResult::Cancel << false;
    QTest::newRow("dropped file, Abbrechen") << "Ziehen" << true << MsgResult::Cancel << false;
    QTest::newRow("Beenden, Speichern") << "Beenden" << true << MsgResult::Save << true;
    QTest::newRow("Beenden, Abbrechen") << "Beenden" << true << MsgResult::Cancel << false;
    QTest::newRow("title bar, Verwerfen") << "Titelleiste" << true << MsgResult::Discard << true;
}

void TestUiProjectFile::unsavedChangesOffer()
{
    QFETCH(QString, command);
    QFETCH(bool, changed);
    QFETCH(MsgResult, answer);
    QFETCH(bool, goesOn);

    const QString first = m_dir.filePath(QStringLiteral("erstes.varno"));
    const QString second = m_dir.filePath(QStringLiteral("zweites.varno"));
    QVERIFY(writeBytes(first, varnoProject({"7.5", "0", "0", "0", "0"})));
    QVERIFY(writeBytes(second, varnoProject({"3.25", "0", "0", "0", "0"})));

    MessageRecorder messages;
    FileDialogRecorder dialogs;
    MainWindow window;
    window.show();
    QVERIFY(window.openProjectFile(first));
    if (changed)
        window.dimensionsDialog()->setLengthText(LengthL2, QStringLiteral("4.5"));
    messages.shown.clear();
    messages.answers << answer << MsgResult::Ok;   // the offer, then the exit question
    dialogs.answers << second;
    QSignalSpy exited(&window, &MainWindow::exitConfirmed);

    if (command == QStringLiteral("Neu"))
        window.findChild<QAction *>(QStringLiteral("mnuneu"))->trigger();
    else if (command == QStringLiteral("Öffnen"))
        window.findChild<QAction *>(QStringLiteral("mnuprojektoeffnen"))->trigger();
    else if (command == QStringLiteral("Ziehen"))
        window.openProjectFile(second);
    else if (command == QStringLiteral("Beenden"))
        window.findChild<QAction *>(QStringLiteral("mnubeenden"))->trigger();
    else
        window.close();

    if (changed) {
        QVERIFY(!messages.shown.isEmpty());
        QCOMPARE(messages.shown[0].title, QStringLiteral("Abfrage"));
        QCOMPARE(messages.shown[0].text, QStringLiteral("Die Änderungen an „erstes.varno“ speichern?"));
        QCOMPARE(messages.shown[0].icon, MsgIcon::Question);
        QCOMPARE(messages.shown[0].buttons, MsgButtons::SaveDiscardCancel);
    }
    // The exit question of old follows the offer, and only when going on.
    const bool exiting = command == QStringLiteral("Beenden") || command == QStringLiteral("Titelleiste");
    QCOMPARE(messages.count(QStringLiteral("Abfrage")), (changed ? 1 : 0) + (exiting && goesOn ? 1 : 0));
    QCOMPARE(exited.count(), exiting && goesOn ? 1 : 0);
    QCOMPARE(dialogs.asked.size(), command == QStringLiteral("Öffnen") && goesOn ? 1 : 0);
    // Saved into the project's own file, only when asked to.
    QCOMPARE(ReadProjectDocument(first).state.texts.lengths[LengthL2],
             answer == MsgResult::Save ? QStringLiteral("4.5") : QStringLiteral("0"));

    const QString L1 = window.dimensionsDialog()->lengthText(LengthL1);
    if (!goesOn) {
        QCOMPARE(L1, QStringLiteral("7.5"));
        QCOMPARE(window.dimensionsDialog()->lengthText(LengthL2), QStringLiteral("4.5"));
        QVERIFY(project(window)->isModified());
    } else if (command == QStringLiteral("Neu")) {
        QCOMPARE(L1, QStringLiteral("6.00"));
        QVERIFY(project(window)->filePath().isEmpty());
    } else if (command == QStringLiteral("Öffnen")) {
        QCOMPARE(L1, QStringLiteral("3.25"));
    }
}

// The title bar names the project's file and marks unsaved changes.
void TestUiProjectFile::titleBar()
{
    MessageRecorder messages;
    MainWindow window;
    auto title = [&] {
        QCoreApplication::processEvents();
        return window.windowTitle();
    };
    QCOMPARE(title(), QStringLiteral("Durchlaufträger"));
    // Windows made with their defaults change nothing.
    window.showResults();
    window.showEurocode();
    QCOMPARE(title(), QStringLiteral("Durchlaufträger"));
    window.loadDialog()->setUniformText(Span1, LoadG, QStringLiteral("3"));
    QCOMPARE(title(), QStringLiteral("Unbenannt* – Durchlaufträger"));
    // Back to what the project held: nothing unsaved.
    window.loadDialog()->setUniformText(Span1, LoadG, QStringLiteral("2.00"));
    QCOMPARE(title(), QStringLiteral("Durchlaufträger"));
    window.chooseThreeSpan();
    QCOMPARE(title(), QStringLiteral("Unbenannt* – Durchlaufträger"));

    const QString path = m_dir.filePath(QStringLiteral("titel.varno"));
    QVERIFY(project(window)->saveTo(path));
    QCOMPARE(title(), QStringLiteral("titel.varno – Durchlaufträger"));
    window.projectInfoDialog()->setInfoText(3, QStringLiteral("Dachsparren"));
    QCOMPARE(title(), QStringLiteral("titel.varno* – Durchlaufträger"));

    const QString lof = m_dir.filePath(QStringLiteral("titel.lof"));
    QVERIFY(writeBytes(lof, distinctProject()));
    QVERIFY(project(window)->openFileNow(lof));
    QCOMPARE(title(), QStringLiteral("titel.lof – Durchlaufträger"));
    // A .lof is not overwritten by "Speichern": it asks for a Varno name.
    FileDialogRecorder dialogs;
    QVERIFY(!project(window)->save());
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(dialogs.asked[0].title, QStringLiteral("Speichern unter"));
    QCOMPARE(dialogs.asked[0].start, m_dir.filePath(QStringLiteral("titel.varno")));
    QCOMPARE(dialogs.asked[0].defaultSuffix, QStringLiteral("varno"));
}

// The old format is written as "Speichern" of old writes it; the project
// keeps its file and its unsaved changes.
void TestUiProjectFile::lofExport()
{
    MessageRecorder messages;
    FileDialogRecorder dialogs;
    MainWindow window;
    typeNonDefaults(window);
    const QString path = m_dir.filePath(QStringLiteral("export.lof"));
    dialogs.answers << path;
    window.findChild<QAction *>(QStringLiteral("mnuprojektexport"))->trigger();
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(dialogs.asked[0].defaultSuffix, QStringLiteral("lof"));
    QCOMPARE(fileBytes(path), ProjectFileBytes(window.projectTexts()));
    QVERIFY(project(window)->filePath().isEmpty());
    QVERIFY(project(window)->isModified());
}

void TestUiProjectFile::recentFiles()
{
    clearRecentFiles();
    MessageRecorder messages;
    const QString first = m_dir.filePath(QStringLiteral("zuerst.varno"));
    const QString second = m_dir.filePath(QStringLiteral("danach.varno"));
    QVERIFY(writeBytes(first, varnoProject({"7.5", "0", "0", "0", "0"})));
    {
        MainWindow window;
        QVERIFY(window.openProjectFile(first));
        window.dimensionsDialog()->setLengthText(LengthL1, QStringLiteral("8"));
        QVERIFY(project(window)->saveTo(second));
    }
    MainWindow window;
    QCOMPARE(project(window)->recentFiles(), (QStringList{second, first}));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("mnuzuletzt1"))->text(), QStringLiteral("&1 danach.varno"));
    window.findChild<QAction *>(QStringLiteral("mnuzuletzt2"))->trigger();
    QCOMPARE(window.dimensionsDialog()->lengthText(LengthL1), QStringLiteral("7.5"));
    QCOMPARE(project(window)->recentFiles(), (QStringList{first, second}));

    // A file that is gone says so and leaves the list.
    QVERIFY(QFile::remove(second));
    messages.shown.clear();
    window.findChild<QAction *>(QStringLiteral("mnuzuletzt2"))->trigger();
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown[0].text.contains(QStringLiteral("kann nicht gelesen werden")), qPrintable(messages.shown[0].text));
    QCOMPARE(project(window)->recentFiles(), QStringList{first});
    QCOMPARE(window.dimensionsDialog()->lengthText(LengthL1), QStringLiteral("7.5"));
}

QTEST_MAIN(TestUiProjectFile)
#include "tst_ui_projectfile.moc"
