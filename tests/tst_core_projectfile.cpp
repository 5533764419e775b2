// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/projectdocument.h"
#include "io/projectfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace varno;

namespace {

QList<QByteArray> fileLines(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// 81 values "1" .. "81", one blank apart.
QByteArray numberedValues(int count)
{
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QByteArray::number(i) + (i % 5 == 0 ? "\r\n" : " ");
    return out;
}

// One kind of setting of a project: how it is set, and where and how the
// Varno project file keeps it (a path of members and list positions).
struct Setting
{
    const char *row;
    void (*set)(ProjectState &);
    const char *member;
    QJsonValue stored;
};

const std::vector<Setting> &settings()
{
    static const std::vector<Setting> all = {
        {"length as typed, not a number", [](ProjectState &s) { s.texts.lengths[LengthL2] = QStringLiteral("4,5m"); },
         "lengths/L2", QStringLiteral("4,5m")},
        {"uniform load of one region",
         [](ProjectState &s) { s.texts.uniform[Span3 - 1][LoadQ] = QStringLiteral("1 000"); }, "uniformLoads/q/F3",
         QStringLiteral("1 000")},
        {"copy box cleared", [](ProjectState &s) { s.sameForAll[LoadS] = false; }, "uniformLoads/s/sameForAll", false},
        {"force of a span's third load", [](ProjectState &s) { s.texts.force[9] = QStringLiteral("12.5"); },
         "pointLoads/F2/2/F", QStringLiteral("12.5")},
        {"distance with a tab", [](ProjectState &s) { s.texts.distance[26] = QStringLiteral("\t2"); }, "pointLoads/Kr/2/a",
         QStringLiteral("\t2")},
        {"timber grade", [](ProjectState &s) { s.texts.timberGrade = 13; }, "material/timberGrade", 13},
        {"steel grade", [](ProjectState &s) { s.texts.steelGrade = 2; }, "material/steelGrade", 2},
        {"system name", [](ProjectState &s) { s.systemTypeName = QStringLiteral("Zweifelträger"); }, "systemName",
         QStringLiteral("Zweifelträger")},
        {"company over two lines", [](ProjectState &s) { s.info[0] = QStringLiteral("Zimmerei Maß\nStatik"); },
         "projectInfo/firma", QStringLiteral("Zimmerei Maß\nStatik")},
        {"engineer", [](ProjectState &s) { s.info[4] = QStringLiteral("J. Öztürk"); }, "projectInfo/bearbeiter",
         QStringLiteral("J. Öztürk")},
        {"width of the design", [](ProjectState &s) { s.results.width = QStringLiteral("12"); }, "resultsWindow/width",
         QStringLiteral("12")},
        {"span limit emptied", [](ProjectState &s) { s.results.spanLimit.clear(); }, "resultsWindow/spanLimit",
         QString()},
        {"cantilever limit", [](ProjectState &s) { s.results.cantileverLimit = QStringLiteral("200"); },
         "resultsWindow/cantileverLimit", QStringLiteral("200")},
        {"series of the design", [](ProjectState &s) { s.results.series = 0; }, "resultsWindow/series",
         QStringLiteral("IPE")},
        {"Eurocode class", [](ProjectState &s) { s.eurocode.timberClass = QStringLiteral("GL24h"); },
         "eurocode/timberClass", QStringLiteral("GL24h")},
        {"service class", [](ProjectState &s) { s.eurocode.serviceClass = 3; }, "eurocode/serviceClass", 3},
        {"Eurocode width", [](ProjectState &s) { s.eurocode.width = QStringLiteral("10"); }, "eurocode/width",
         QStringLiteral("10")},
        {"Eurocode height", [](ProjectState &s) { s.eurocode.height = QStringLiteral("24.5"); }, "eurocode/height",
         QStringLiteral("24.5")},
        {"Eurocode steel", [](ProjectState &s) { s.eurocode.steelGrade = QStringLiteral("S355"); },
         "eurocode/steelGrade", QStringLiteral("S355")},
        {"Eurocode profile", [](ProjectState &s) { s.eurocode.series = 0; s.eurocode.profile = QStringLiteral("IPE 240"); },
         "eurocode/profile", QStringLiteral("IPE 240")},
        {"imposed category", [](ProjectState &s) { s.eurocode.imposedCategory = u'E'; }, "eurocode/imposedCategory",
         QStringLiteral("E")},
        {"snow above 1000 m", [](ProjectState &s) { s.eurocode.snowHigh = true; }, "eurocode/snowAltitude",
         QStringLiteral("high")},
        {"point loads as snow", [](ProjectState &s) { s.eurocode.pointLoadAction = 2; }, "eurocode/pointLoads",
         QStringLiteral("s")},
        {"limit typed", [](ProjectState &s) { s.eurocode.limits[6] = QStringLiteral("250"); },
         "eurocode/limits/steel.span.w", QStringLiteral("250")},
        {"limit emptied", [](ProjectState &s) { s.eurocode.limits[1] = QString(); },
         "eurocode/limits/timber.cantilever.w_inst", QString()},
        {"diagram", [](ProjectState &s) { s.eurocode.diagram = 3; }, "eurocode/diagram",
         QStringLiteral("deflectionSteel")},
    };
    return all;
}

// The value at a path of members and list positions.
QJsonValue valueAt(const QByteArray &document, const QString &path)
{
    QJsonValue value = QJsonDocument::fromJson(document).object();
    for (const QString &step : path.split(u'/'))
        value = value.isArray() ? value.toArray().at(step.toInt()) : value.toObject().value(step);
    return value;
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void standardTextForm_data();
    void standardTextForm();
    void standardTextFormReadsBack_data();
    void standardTextFormReadsBack();
    void defaultsRoundTrip();
    void exactLines_data();
    void exactLines();
    void mendedTextsStayInTheirField_data();
    void mendedTextsStayInTheirField();
    void longTextKeepsASeparator();
    void decimalCommaReadsAsTwoValues();
    void separators_data();
    void separators();
    void gradePositionsRound_data();
    void gradePositionsRound();
    void tooFewValues_data();
    void tooFewValues();
    void unreadableFile();
    void writeReplacesWholeFile();
    void writeToMissingFolderFails();
    void projectRoundTrip();

    void documentRoundTrip_data();
    void documentRoundTrip();
    void unstorableStateIsNotWritten_data();
    void unstorableStateIsNotWritten();
};

void TestProjectFile::standardTextForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("six") << 6.0 << " 6";
    QTest::newRow("half") << 0.5 << " .5";
    QTest::newRow("negative") << -1.25 << "-1.25";
    QTest::newRow("negative below one") << -0.25 << "-.25";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("hundred") << 100.0 << " 100";
    QTest::newRow("six and a half") << 6.5 << " 6.5";
    QTest::newRow("fifteen digits") << 123456789012345.0 << " 123456789012345";
    QTest::newRow("1E+15") << 1e15 << " 1E+15";
    QTest::newRow("rounds up to 1E+15") << 999999999999999.9 << " 1E+15";
    QTest::newRow("sixteen digits") << 1234567890123456.0 << " 1.23456789012346E+15";
    QTest::newRow("three exponent digits") << 1e100 << " 1E+100";
    QTest::newRow("negative large") << -2.5e20 << "-2.5E+20";
    QTest::newRow("1E-05 still fixed") << 1e-5 << " .00001";
    QTest::newRow("just below 1E-05") << 9.9e-6 << " 9.9E-06";
    QTest::newRow("1E-07") << 1e-7 << " 1E-07";
    QTest::newRow("1.5E-07") << 1.5e-7 << " 1.5E-07";
    QTest::newRow("one third") << 1.0 / 3.0 << " .333333333333333";
    QTest::newRow("two thirds rounds") << 2.0 / 3.0 << " .666666666666667";
    QTest::newRow("binary fraction noise") << 0.1 + 0.2 << " .3";
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << " 0";
}

void TestProjectFile::standardTextForm()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(StandardTextForm(value), text);
}

void TestProjectFile::standardTextFormReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("length") << 6.125;
    QTest::newRow("small") << 0.000123456;
    QTest::newRow("tiny") << 3.25e-9;
    QTest::newRow("large") << 4.5e17;
    QTest::newRow("negative") << -1234.5678;
    QTest::newRow("pi") << 3.14159265358979;
}

void TestProjectFile::standardTextFormReadsBack()
{
    // The program reads the form with LeadingNumber: 15 digits must survive.
    QFETCH(double, value);
    const double back = LeadingNumber(StandardTextForm(value));
    QVERIFY2(std::fabs(back - value) <= std::fabs(value) * 1e-14,
             qPrintable(StandardTextForm(value)));
}

void TestProjectFile::defaultsRoundTrip()
{
    const ProjectFileValues values = ParseProjectFile(ProjectFileBytes(ProjectTexts::Defaults()));
    QVERIFY(values.ok);
    const QString lengths[RegionCount] = {" 6", " 6", " 5", " 0", " 0"};
    for (int i = 0; i < RegionCount; ++i)
        QCOMPARE(values.lengths[i], lengths[i]);
    for (int r = 0; r < RegionCount; ++r) {
        QCOMPARE(values.uniform[r][LoadG], QStringLiteral(" 2"));
        QCOMPARE(values.uniform[r][LoadQ], QStringLiteral(" 0"));
        QCOMPARE(values.uniform[r][LoadS], QStringLiteral(" 0"));
        QCOMPARE(values.uniform[r][LoadW], QStringLiteral(" 0"));
    }
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        QCOMPARE(values.distance[slot], QStringLiteral(" 0"));
        QCOMPARE(values.force[slot], QStringLiteral(" 0"));
    }
    QCOMPARE(values.timberGrade, 1);
    QCOMPARE(values.steelGrade, 0);
}

void TestProjectFile::exactLines_data()
{
    QTest::addColumn<int>("line");   // 1-based
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray ten(10, ' ');
    QTest::newRow("line 1, lengths") << 1 << "6.00" + ten + "6.00" + ten + "5.00" + ten + "0.00" + ten + "0.00\r\n";
    QTest::newRow("line 2, g") << 2 << "2.00" + ten + "2.00" + ten + "2.00" + ten + "2.00" + ten + "2.00\r\n";
    QTest::newRow("line 6, slot 0") << 6 << "0" + QByteArray(13, ' ') + "0\r\n";
    QTest::newRow("line 32, slot 26: distance, then force") << 32 << "26.5" + ten + "27\r\n";
    QTest::newRow("line 33, grades") << 33 << " 1" + QByteArray(12, ' ') + " 0\r\n";
}

void TestProjectFile::exactLines()
{
    QFETCH(int, line);
    QFETCH(QByteArray, bytes);
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.distance[26] = QStringLiteral("26.5");
    texts.force[26] = QStringLiteral("27");
    const QList<QByteArray> lines = fileLines(ProjectFileBytes(texts));
    QCOMPARE(lines.size(), ProjectFileLineCount);
    QCOMPARE(lines[line - 1] + '\n', bytes);
}

void TestProjectFile::mendedTextsStayInTheirField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("unit behind the number") << "4.5m" << " 4.5";
    QTest::newRow("empty") << "" << " 0";
    QTest::newRow("inner blank") << "1 000" << " 1000";
    QTest::newRow("decimal comma") << "6,5" << " 6";
    QTest::newRow("word") << "abc" << " 0";
    QTest::newRow("lone sign") << "-" << " 0";
    QTest::newRow("blanks only") << "   " << " 0";
    QTest::newRow("umlaut") << QStringLiteral("\u00E4") << " 0";
    QTest::newRow("plain number with blanks around") << "  7.25 " << " 7.25";
    QTest::newRow("exponent D") << "1D2" << " 100";
    QTest::newRow("line feed after the number") << "6\n" << " 6";
    QTest::newRow("tab before the number") << "\t7" << " 7";
    QTest::newRow("negative") << "-3.5" << "-3.5";
}

void TestProjectFile::mendedTextsStayInTheirField()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    // The text in a length, a uniform load and a point load; every other
    // field must read back unchanged.
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths[LengthL2] = text;
    texts.uniform[Span3 - 1][LoadS] = text;
    texts.force[8] = text;
    texts.timberGrade = 7;
    texts.steelGrade = 2;
    const QByteArray bytes = ProjectFileBytes(texts);
    QCOMPARE(fileLines(bytes).size(), ProjectFileLineCount);
    QVERIFY(!bytes.contains('\t'));
    const ProjectFileValues values = ParseProjectFile(bytes);
    QVERIFY(values.ok);
    QCOMPARE(values.lengths[LengthL1], QStringLiteral(" 6"));
    QCOMPARE(values.lengths[LengthL2], readBack);
    QCOMPARE(values.lengths[LengthL3], QStringLiteral(" 5"));
    QCOMPARE(values.uniform[Span3 - 1][LoadS], readBack);
    QCOMPARE(values.uniform[LeftCantilever - 1][LoadS], QStringLiteral(" 0"));
    QCOMPARE(values.force[8], readBack);
    QCOMPARE(values.distance[8], QStringLiteral(" 0"));
    QCOMPARE(values.distance[9], QStringLiteral(" 0"));
    QCOMPARE(values.timberGrade, 7);
    QCOMPARE(values.steelGrade, 2);
}

void TestProjectFile::longTextKeepsASeparator()
{
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths[LengthL1] = QStringLiteral("12345678901234");          // exactly one zone
    texts.lengths[LengthL2] = QStringLiteral("0.0000000000000000125");   // more than one zone
    const QList<QByteArray> lines = fileLines(ProjectFileBytes(texts));
    QVERIFY(lines[0].startsWith("12345678901234 "));
    const ProjectFileValues values = ParseProjectFile(ProjectFileBytes(texts));
    QVERIFY(values.ok);
    QCOMPARE(values.lengths[LengthL1], QStringLiteral(" 12345678901234"));
    QCOMPARE(values.lengths[LengthL2], QStringLiteral(" 1.25E-17"));
    QCOMPARE(values.lengths[LengthL3], QStringLiteral(" 5"));
    // The value after a long one still starts at a zone.
    const int third = lines[0].indexOf("5.00");
    QCOMPARE(third % PrintZoneWidth, 0);
}

void TestProjectFile::decimalCommaReadsAsTwoValues()
{
    // A file written by hand (or by an older program) with a decimal comma:
    // every later value moves one field on.
    QByteArray bytes = ProjectFileBytes(ProjectTexts::Defaults());
    bytes.replace(0, 4, "6,5 ");
    const ProjectFileValues values = ParseProjectFile(bytes);
    QVERIFY(values.ok);
    QCOMPARE(values.lengths[LengthL1], QStringLiteral(" 6"));
    QCOMPARE(values.lengths[LengthL2], QStringLiteral(" 5"));
    QCOMPARE(values.lengths[LengthL3], QStringLiteral(" 6"));
    QCOMPARE(values.lengths[LengthLeft], QStringLiteral(" 5"));
    QCOMPARE(values.uniform[Span1 - 1][LoadG], QStringLiteral(" 0"));
    // The last value of the file, the steel position 0, is no longer read;
    // the timber position now holds the last force.
    QCOMPARE(values.timberGrade, 0);
    QCOMPARE(values.steelGrade, 1);
}

void TestProjectFile::separators_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QStringList>("firstThree");
    QTest::newRow("blanks") << QByteArray("1   2 3") << QStringList{" 1", " 2", " 3"};
    QTest::newRow("tabs") << QByteArray("1\t2\t\t3") << QStringList{" 1", " 2", " 3"};
    QTest::newRow("commas") << QByteArray("1,2,3") << QStringList{" 1", " 2", " 3"};
    QTest::newRow("blank before comma") << QByteArray("1 ,2 , 3") << QStringList{" 1", " 2", " 3"};
    QTest::newRow("two commas hold an empty value") << QByteArray("1,,3") << QStringList{" 1", " 0", " 3"};
    QTest::newRow("leading comma") << QByteArray(",2 3") << QStringList{" 0", " 2", " 3"};
    QTest::newRow("line ends") << QByteArray("1\r\n\r\n2\n3") << QStringList{" 1", " 2", " 3"};
    QTest::newRow("word reads 0") << QByteArray("x 2 3") << QStringList{" 0", " 2", " 3"};
    QTest::newRow("unit reads its number") << QByteArray("4.5m 2 3") << QStringList{" 4.5", " 2", " 3"};
    QTest::newRow("exponent forms") << QByteArray("1E+15 1.5E-07 1D2") << QStringList{" 1E+15", " 1.5E-07", " 100"};
    QTest::newRow("overflow reads 0") << QByteArray("1E999 2 3") << QStringList{" 0", " 2", " 3"};
    QTest::newRow("latin-1 byte") << QByteArray("\xE4 2 3") << QStringList{" 0", " 2", " 3"};
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF" "6.00 2 3") << QStringList{" 6", " 2", " 3"};
    QTest::newRow("byte order mark, then line end")
        << QByteArray("\xEF\xBB\xBF\r\n7.5 2 3") << QStringList{" 7.5", " 2", " 3"};
    // Only at the very start: elsewhere the bytes are a value that reads 0.
    QTest::newRow("byte order mark inside") << QByteArray("1 \xEF\xBB\xBF 3") << QStringList{" 1", " 0", " 3"};
}

void TestProjectFile::separators()
{
    QFETCH(QByteArray, head);
    QFETCH(QStringList, firstThree);
    const ProjectFileValues values = ParseProjectFile(head + ' ' + numberedValues(78));
    QVERIFY(values.ok);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(values.lengths[i], firstThree[i]);
    QCOMPARE(values.lengths[LengthLeft], QStringLiteral(" 1"));
    QCOMPARE(values.steelGrade, 78);
}

void TestProjectFile::gradePositionsRound_data()
{
    QTest::addColumn<QByteArray>("grades");
    QTest::addColumn<int>("timber");
    QTest::addColumn<int>("steel");
    QTest::newRow("integers") << QByteArray("13 2") << 13 << 2;
    QTest::newRow("fractions") << QByteArray("1.6 0.4") << 2 << 0;
    QTest::newRow("negative") << QByteArray("-1 -0.4") << -1 << 0;
    QTest::newRow("far away") << QByteArray("1E30 -1E30") << INT_MAX << INT_MIN;
}

void TestProjectFile::gradePositionsRound()
{
    QFETCH(QByteArray, grades);
    QFETCH(int, timber);
    QFETCH(int, steel);
    const ProjectFileValues values = ParseProjectFile(numberedValues(79) + grades);
    QVERIFY(values.ok);
    QCOMPARE(values.timberGrade, timber);
    QCOMPARE(values.steelGrade, steel);
}

void TestProjectFile::tooFewValues_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blanks only") << QByteArray("  \r\n \r\n");
    QTest::newRow("80 values") << numberedValues(80);
    QTest::newRow("32 of 33 lines") << ProjectFileBytes(ProjectTexts::Defaults()).chopped(18);
}

void TestProjectFile::tooFewValues()
{
    QFETCH(QByteArray, contents);
    const ProjectFileValues values = ParseProjectFile(contents);
    QVERIFY(!values.ok);
    QVERIFY(!values.error.isEmpty());
    for (const QString &length : values.lengths)
        QVERIFY(length.isEmpty());
    QVERIFY(values.force[0].isEmpty());
    QVERIFY(values.distance[26].isEmpty());
}

void TestProjectFile::unreadableFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ProjectFileValues missing = ReadProjectFile(dir.filePath(QStringLiteral("fehlt.lof")));
    QVERIFY(!missing.ok);
    QVERIFY(missing.error.contains(QStringLiteral("fehlt.lof")));
    QVERIFY2(missing.error.endsWith(QStringLiteral("(Datei oder Ordner nicht vorhanden).")), qPrintable(missing.error));
    QVERIFY(missing.lengths[0].isEmpty());

    const ProjectFileValues folder = ReadProjectFile(dir.path());
    QVERIFY(!folder.ok);
    QVERIFY2(folder.error.endsWith(QStringLiteral("(ist ein Ordner).")), qPrintable(folder.error));
}

void TestProjectFile::writeReplacesWholeFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("projekt.lof"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    QString error;
    QVERIFY(WriteProjectFile(path, ProjectTexts::Defaults(), &error));
    QVERIFY(error.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), ProjectFileBytes(ProjectTexts::Defaults()));
}

void TestProjectFile::writeToMissingFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("gibt-es-nicht/projekt.lof"));
    QString error;
    QVERIFY(!WriteProjectFile(path, ProjectTexts::Defaults(), &error));
    QVERIFY(error.contains(QStringLiteral("projekt.lof")));
    QVERIFY2(error.endsWith(QStringLiteral("(Datei oder Ordner nicht vorhanden).")), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

void TestProjectFile::projectRoundTrip()
{
    ProjectTexts texts = ProjectTexts::Defaults();
    texts.lengths = {QStringLiteral("4.25"), QStringLiteral("0.00"), QStringLiteral("0"), QStringLiteral("1.5"),
                     QStringLiteral("-0.00")};
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        texts.force[slot] = QString::number(slot * 3);
        texts.distance[slot] = QStringLiteral("0.") + QString::number(slot + 1);
    }
    texts.uniform[RightCantilever - 1][LoadW] = QStringLiteral("-1.75");
    texts.timberGrade = 13;
    texts.steelGrade = 2;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("runde.lof"));
    QVERIFY(WriteProjectFile(path, texts));
    const ProjectFileValues values = ReadProjectFile(path);
    QVERIFY2(values.ok, qPrintable(values.error));
    const ProjectTexts back = values.toProjectTexts();
    QCOMPARE(back.lengths, (std::array<QString, RegionCount>{" 4.25", " 0", " 0", " 1.5", " 0"}));
    QCOMPARE(back.uniform[RightCantilever - 1][LoadW], QStringLiteral("-1.75"));
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        QCOMPARE(back.pointForce(slot), texts.pointForce(slot));
        QCOMPARE(back.pointDistance(slot), texts.pointDistance(slot));
    }
    QCOMPARE(back.distance[9], QStringLiteral(" .1"));
    QCOMPARE(back.timberGrade, 13);
    QCOMPARE(back.steelGrade, 2);
}

void TestProjectFile::documentRoundTrip_data()
{
    QTest::addColumn<int>("setting");
    for (int i = 0; i < int(settings().size()); ++i)
        QTest::newRow(settings()[i].row) << i;
}

// Every kind of setting, changed alone: it stands in the documented member
// exactly as the field held it, and the file read back gives the same
// state and, written again, the same bytes.
void TestProjectFile::documentRoundTrip()
{
    QFETCH(int, setting);
    const Setting &row = settings()[setting];

    ProjectState state = ProjectState::Defaults();
    row.set(state);
    QString error;
    const QByteArray bytes = ProjectDocumentBytes(state, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    QCOMPARE(valueAt(bytes, QString::fromLatin1(row.member)), row.stored);
    QVERIFY(valueAt(ProjectDocumentBytes(ProjectState::Defaults()), QString::fromLatin1(row.member)) != row.stored);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("projekt.varno"));
    QVERIFY(WriteProjectDocument(path, state, &error));
    const ProjectDocument read = ReadProjectDocument(path);
    QVERIFY2(read.ok, qPrintable(read.error));
    QVERIFY(read.ignored.isEmpty());
    QVERIFY(read.state == state);
    QCOMPARE(ProjectDocumentBytes(read.state), bytes);
}

void TestProjectFile::unstorableStateIsNotWritten_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");

    QTest::newRow("overlong length") << 0 << "„lengths.L1“ ist länger als 32767 Zeichen.";
    QTest::newRow("bell in the description") << 1 << "„projectInfo.beschreibung“ enthält ein Steuerzeichen (U+0007).";
    QTest::newRow("steel grade outside its list") << 2 << "„material.steelGrade“ ist 3 und liegt außerhalb seiner Liste.";
}

// What the reader would refuse is not written: the earlier file stays.
void TestProjectFile::unstorableStateIsNotWritten()
{
    QFETCH(int, fault);
    QFETCH(QString, message);

    ProjectState state = ProjectState::Defaults();
    switch (fault) {
    case 0: state.texts.lengths[LengthL1] = QString(ProjectTextLimit + 1, u'6'); break;
    case 1: state.info[3] = QStringLiteral("Achtung\a"); break;
    default: state.texts.steelGrade = SteelGradeCount; break;
    }
    QString error;
    QVERIFY(ProjectDocumentBytes(state, &error).isEmpty());
    QCOMPARE(error, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("alt.varno"));
    QVERIFY(WriteProjectDocument(path, ProjectState::Defaults()));
    const QByteArray before = ProjectDocumentBytes(ProjectState::Defaults());
    QVERIFY(!WriteProjectDocument(path, state, &error));
    QVERIFY2(error.endsWith(message), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_core_projectfile.moc"
