// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/projectmodel.h"
#include "design/design.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace varno;

namespace {

const QString DataDir = QStringLiteral(VARNO_SOURCE_DIR "/data");
const QString SourceDir = QStringLiteral(VARNO_SOURCE_DIR "/data/sources");

using CsvRow = QHash<QString, QString>;

// Enough CSV for the source tables: commas, quoted fields with commas and
// doubled quotes, one record per line.
QStringList splitCsvLine(const QString &line)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                current += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << current;
            current.clear();
        } else {
            current += c;
        }
    }
    fields << current;
    return fields;
}

QList<CsvRow> readCsv(const QString &name)
{
    QFile file(SourceDir + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QList<CsvRow> rows;
    if (lines.isEmpty())
        return rows;
    const QStringList header = splitCsvLine(lines[0].trimmed());
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const QStringList fields = splitCsvLine(lines[k].trimmed());
        CsvRow row;
        for (qsizetype c = 0; c < header.size() && c < fields.size(); ++c)
            row.insert(header[c], fields[c]);
        rows << row;
    }
    return rows;
}

// Writes `lines` into a file and returns its path.
QString writeLines(const QTemporaryDir &dir, const QStringList &lines, const QByteArray &lineEnd = "\n",
                   bool latin1 = false)
{
    const QString path = dir.filePath(QStringLiteral("wert2.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (const QString &line : lines)
        file.write((latin1 ? line.toLatin1() : line.toUtf8()) + lineEnd);
    return path;
}

// A blank line of the given length with `text` at 1-based position `at`.
QString lineWith(int length, int at, const QString &text)
{
    QString line(length, u' ');
    line.replace(at - 1, text.size(), text);
    return line.left(length);
}

} // namespace

class DataFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void timberCut_data();
    void timberCut();
    void steelCut_data();
    void steelCut();
    void lineCounts_data();
    void lineCounts();
    void lineEndsAndEncoding_data();
    void lineEndsAndEncoding();
    void missingFile();

    void shippedTimberValues();
    void shippedSteelValues();
    void shippedProfiles_data();
    void shippedProfiles();
    void filesBesideTheProgram_data();
    void filesBesideTheProgram();
};

void DataFilesTest::timberCut_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("expected");

    // Position 84 (the sixth character of the last timber field) is never read.
    const QString full = lineWith(102, 79, QStringLiteral("abcdeX"));
    QTest::newRow("BS 18 Typ 2 u. 3 reads 79 to 83") << full << 13 << "abcde";
    QTest::newRow("S 7 reads 1 to 5") << lineWith(102, 1, "12345X") << 0 << "12345";
    QTest::newRow("S 10 reads 7 to 11") << lineWith(102, 7, "10000X") << 1 << "10000";
    QTest::newRow("blanks kept") << lineWith(102, 7, "  0.9 ") << 1 << "  0.9";
    QTest::newRow("line ends inside the field") << full.left(81) << 13 << "abc";
    QTest::newRow("line ends before the field") << full.left(70) << 13 << "";
    QTest::newRow("empty line") << QString() << 1 << "";
}

void DataFilesTest::timberCut()
{
    QFETCH(QString, line);
    QFETCH(int, grade);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeLines(dir, {line, line});
    bool readable = false;
    const QStringList values = ReadTimberValues(path, grade, &readable);
    QVERIFY(readable);
    QCOMPARE(values, QStringList({expected, expected}));
}

void DataFilesTest::steelCut_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("expected");

    QTest::newRow("St 510 C reads 97 to 102") << lineWith(110, 97, "uvwxyzQ") << 2 << "uvwxyz";
    QTest::newRow("St 360 C reads 85 to 90") << lineWith(102, 84, "X210000Y") << 0 << "210000";
    QTest::newRow("St 430 C reads 91 to 96") << lineWith(102, 91, "   183") << 1 << "   183";
    QTest::newRow("line ends inside the field") << lineWith(100, 97, "uvwxyz") << 2 << "uvwx";
    QTest::newRow("timber line only") << lineWith(84, 79, "abcde") << 0 << "";
}

void DataFilesTest::steelCut()
{
    QFETCH(QString, line);
    QFETCH(int, grade);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = writeLines(dir, QStringList(12, line));
    const QStringList values = ReadSteelValues(path, grade);
    QCOMPARE(values, QStringList(8, expected));
}

void DataFilesTest::lineCounts_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("timberEntries");
    QTest::addColumn<int>("steelEntries");

    QTest::newRow("12 lines") << 12 << 12 << 8;
    QTest::newRow("13 lines") << 13 << 13 << 8;
    QTest::newRow("8 lines") << 8 << 8 << 8;
    QTest::newRow("5 lines") << 5 << 5 << 5;
    QTest::newRow("empty file") << 0 << 0 << 0;
}

void DataFilesTest::lineCounts()
{
    QFETCH(int, lines);
    QFETCH(int, timberEntries);
    QFETCH(int, steelEntries);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList content;
    for (int k = 1; k <= lines; ++k)
        content << lineWith(96, 7, QStringLiteral("%1").arg(k, 5)) + QStringLiteral("%1").arg(k, 6);
    const QString path = writeLines(dir, content);
    const QStringList timber = ReadTimberValues(path, 1);
    const QStringList steel = ReadSteelValues(path, 2);
    QCOMPARE(timber.size(), timberEntries);
    QCOMPARE(steel.size(), steelEntries);
    // Entry k belongs to line k + 1.
    for (int k = 0; k < timber.size(); ++k)
        QCOMPARE(LeadingNumber(timber[k]), double(k + 1));
    for (int k = 0; k < steel.size(); ++k)
        QCOMPARE(LeadingNumber(steel[k]), double(k + 1));
}

void DataFilesTest::lineEndsAndEncoding_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<bool>("latin1");

    QTest::newRow("LF") << QByteArray("\n") << false;
    QTest::newRow("CR LF") << QByteArray("\r\n") << false;
    QTest::newRow("CR LF, Latin-1") << QByteArray("\r\n") << true;
}

void DataFilesTest::lineEndsAndEncoding()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(bool, latin1);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The umlaut counts as one character in either encoding; the line ends
    // inside the last timber field.
    const QString line = QStringLiteral("ä 0.9 ") + lineWith(75, 73, QStringLiteral("abc"));
    const QString path = writeLines(dir, {line, line, line}, lineEnd, latin1);
    const QStringList s7 = ReadTimberValues(path, 0);
    const QStringList bs18 = ReadTimberValues(path, 13);
    QCOMPARE(s7, QStringList(3, QStringLiteral("ä 0.9")));
    QCOMPARE(bs18, QStringList(3, QStringLiteral("abc")));
}

void DataFilesTest::missingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = MaterialTablePath(dir.path());
    bool readable = true;
    QVERIFY(ReadTimberValues(path, 1, &readable).isEmpty());
    QVERIFY(!readable);
    readable = true;
    QVERIFY(ReadSteelValues(path, 0, &readable).isEmpty());
    QVERIFY(!readable);
}

void DataFilesTest::shippedTimberValues()
{
    const QString path = DataDir + QStringLiteral("/wert2.txt");
    const QList<CsvRow> grades = readCsv(QStringLiteral("timber_grades.csv"));
    QCOMPARE(grades.size(), TimberGradeCount);
    const char *columns[12] = {"E_par_Nmm2",          "E_perp_Nmm2",        "G_Nmm2",
                               "sigB_zul_Nmm2",       "sigZ_par_zul_Nmm2",  "sigZ_perp_zul_Nmm2",
                               "sigD_par_zul_Nmm2",   "sigD_perp_star_Nmm2", "sigD_perp_zul_Nmm2",
                               "tauA_zul_Nmm2",       "tauQ_zul_Nmm2",      "tauT_zul_Nmm2"};
    const QStringList lines = ReadDataFileLines(path);
    QCOMPARE(lines.size(), 12);
    const QList<QLocale> locales = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                    QLocale(QLocale::English, QLocale::UnitedStates),
                                    QLocale(QLocale::French, QLocale::France)};
    for (int g = 0; g < TimberGradeCount; ++g) {
        const CsvRow &row = grades[g];
        QCOMPARE(row.value("position").toInt(), g);
        QCOMPARE(row.value("grade_label"), texts::TimberGrades[g]);
        const QStringList values = ReadTimberValues(path, g);
        QCOMPARE(values.size(), 12);
        for (int k = 0; k < 12; ++k) {
            const double expected = row.value(columns[k]).toDouble();
            QCOMPARE(LeadingNumber(values[k]), expected);
            // The field's sixth character separates it from the next.
            QCOMPARE(lines[k].at(6 * g + 5), u' ');
        }
        // E II and SigBzul are read with the user's locale: they must read
        // the same under every locale.
        for (int k : {0, 3}) {
            for (const QLocale &locale : locales) {
                bool ok = false;
                QCOMPARE(locale.toDouble(values[k].trimmed(), &ok), row.value(columns[k]).toDouble());
                QVERIFY2(ok, qPrintable(locale.name() + ": " + values[k]));
            }
        }
    }
    for (int k = 8; k < 12; ++k)
        QCOMPARE(lines[k].size(), 84);
}

void DataFilesTest::shippedSteelValues()
{
    const QString path = DataDir + QStringLiteral("/wert2.txt");
    const QList<CsvRow> grades = readCsv(QStringLiteral("steel_grades.csv"));
    QCOMPARE(grades.size(), SteelGradeCount);
    // Load case H.
    const char *columns[8] = {"E_Nmm2",      "G_Nmm2",           "sig_zul_H_Nmm2",   "betaP_Nmm2",
                              "betaFl_Nmm2", "betaZ_lower_Nmm2", "betaZ_upper_Nmm2", "tau_zul_H_Nmm2"};
    for (int g = 0; g < SteelGradeCount; ++g) {
        const CsvRow &row = grades[g];
        QCOMPARE(row.value("program_label"), texts::SteelGrades[g]);
        const QStringList values = ReadSteelValues(path, g);
        QCOMPARE(values.size(), 8);
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(values[k].size(), 6);
            QCOMPARE(LeadingNumber(values[k]), row.value(columns[k]).toDouble());
        }
        for (int k : {0, 2}) {
            bool ok = false;
            QCOMPARE(QLocale(QLocale::German).toDouble(values[k].trimmed(), &ok), row.value(columns[k]).toDouble());
            QVERIFY(ok);
        }
    }
}

void DataFilesTest::shippedProfiles_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<int>("start");     // character position from 1
    QTest::addColumn<int>("columns");

    QTest::newRow("IPE") << "IPE" << 1 << 17;
    QTest::newRow("HE-A") << "HEA" << 103 << 24;
    QTest::newRow("HE-B") << "HEB" << 247 << 24;
}

void DataFilesTest::shippedProfiles()
{
    QFETCH(QString, series);
    QFETCH(int, start);
    QFETCH(int, columns);

    const QStringList lines = ReadDataFileLines(DataDir + QStringLiteral("/wert3.txt"));
    QCOMPARE(lines.size(), 4);
    for (const QString &line : lines)
        QCOMPARE(line.size(), 6 * (17 + 24 + 24));

    QList<CsvRow> rows;
    for (const CsvRow &row : readCsv(QStringLiteral("steel_profiles.csv")))
        if (row.value("series") == series)
            rows << row;
    QCOMPARE(rows.size(), columns);
    for (int c = 0; c < columns; ++c) {
        const CsvRow &row = rows[c];
        const int at = start - 1 + 6 * c;
        // Plain web area, rounded half up to whole mm2.
        const double web = std::floor(row.value("Aweb_hw_tw_mm2").toDouble() + 0.5);
        QCOMPARE(LeadingNumber(lines[0].mid(at, 6)), web);
        QCOMPARE(LeadingNumber(lines[1].mid(at, 6)), row.value("Iy_cm4").toDouble());
        QCOMPARE(LeadingNumber(lines[2].mid(at, 6)), row.value("Wel_y_cm3").toDouble());
        QCOMPARE(lines[3].mid(at, 6).trimmed(), row.value("nominal_size"));
        // Shown after the series prefix without a gap.
        QVERIFY(!lines[3].at(at).isSpace());
    }
    // Ascending sizes: the first passing profile is the lightest adequate one.
    for (int c = 1; c < columns; ++c)
        QVERIFY(rows[c].value("Wel_y_cm3").toDouble() > rows[c - 1].value("Wel_y_cm3").toDouble());
}

void DataFilesTest::filesBesideTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("material file") << "wert2.txt";
    QTest::newRow("profile table") << "wert3.txt";
}

void DataFilesTest::filesBesideTheProgram()
{
    QFETCH(QString, name);
    QFile shipped(DataDir + u'/' + name);
    QFile beside(QDir(DefaultDataDirectory()).filePath(name));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QVERIFY2(beside.open(QIODevice::ReadOnly), qPrintable(beside.fileName()));
    QCOMPARE(beside.readAll(), shipped.readAll());
}

QTEST_GUILESS_MAIN(DataFilesTest)
#include "tst_core_datafiles.moc"
