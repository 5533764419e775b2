// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The manual pages in docs/man against the programs: every option of
// varno-calc --help has its entry in the English and the German page and
// every entry names an option of --help, the pages carry the sections a
// manual page needs and the program's version, and they render without a
// warning.

#include "version.h"

#include "calcprogram.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <set>

namespace {

QString program()
{
    return varno::test::CalcProgram();
}

QString page(const QString &name)
{
    return QStringLiteral(VARNO_SOURCE_DIR "/docs/man/") + name;
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Option names ("--json", "-h") in a text.
std::set<QString> optionNames(const QString &text)
{
    static const QRegularExpression name(QStringLiteral("(?<![\\w-])(--[a-z][a-z-]*[a-z]|-[a-z])\\b"));
    std::set<QString> names;
    for (auto it = name.globalMatch(text); it.hasNext();)
        names.insert(it.next().captured(1));
    return names;
}

// The options that --help lists: the lines of its option block start with
// two blanks and a dash.
std::set<QString> helpOptions(const QString &help)
{
    std::set<QString> names;
    static const QRegularExpression optionLine(QStringLiteral("^  (-[^ ].*?)(?:  |$)"));
    for (const QString &line : help.split(u'\n')) {
        const QRegularExpressionMatch match = optionLine.match(line);
        if (match.hasMatch())
            names.merge(optionNames(match.captured(1)));
    }
    return names;
}

// The lines of one section (".SH title" up to the next ".SH").
QStringList section(const QString &roff, const QString &title)
{
    QStringList lines;
    bool inside = false;
    for (const QString &line : roff.split(u'\n')) {
        if (line.startsWith(QLatin1String(".SH"))) {
            QString heading = line.mid(3).trimmed();
            heading.remove(u'"');
            inside = heading == title;
            continue;
        }
        if (inside)
            lines << line;
    }
    return lines;
}

// The options that a page describes: the tag line after each ".TP" of its
// option section.
std::set<QString> pageOptions(const QString &roff, const QString &title)
{
    std::set<QString> names;
    const QStringList lines = section(roff, title);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].trimmed() != QLatin1String(".TP"))
            continue;
        QString tag = lines[i + 1];
        tag.replace(QLatin1String("\\-"), QLatin1String("-"));
        names.merge(optionNames(tag));
    }
    return names;
}

QString joined(const std::set<QString> &names)
{
    return QStringList(names.begin(), names.end()).join(QLatin1String(", "));
}

} // namespace

class TestManPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void optionsMatchHelp_data();
    void optionsMatchHelp();
    void sections_data();
    void sections();
    void rendersWithoutWarnings_data();
    void rendersWithoutWarnings();
    void germanWordsAreNotBroken_data();
    void germanWordsAreNotBroken();

private:
    QString m_help;
};

void TestManPages::initTestCase()
{
    QProcess process;
    process.start(program(), {QStringLiteral("--help")});
    QVERIFY2(process.waitForFinished(60000), qPrintable(program()));
    QCOMPARE(process.exitCode(), 0);
    m_help = QString::fromUtf8(process.readAllStandardOutput());
    // The parser sees the options, so a change of the help's layout that it
    // no longer reads fails here rather than passing with nothing compared.
    const std::set<QString> options = helpOptions(m_help);
    QVERIFY2(options.size() >= 15, qPrintable(joined(options)));
    QVERIFY(options.count(QStringLiteral("--pdf")) && options.count(QStringLiteral("-h")));
}

void TestManPages::optionsMatchHelp_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("optionSection");
    QTest::newRow("varno-calc(1) English") << QStringLiteral("varno-calc.1") << QStringLiteral("OPTIONS");
    QTest::newRow("varno-calc(1) German") << QStringLiteral("de/varno-calc.1") << QStringLiteral("OPTIONEN");
}

void TestManPages::optionsMatchHelp()
{
    QFETCH(QString, file);
    QFETCH(QString, optionSection);
    const QString roff = readText(page(file));
    QVERIFY2(!roff.isEmpty(), qPrintable(page(file)));
    const std::set<QString> help = helpOptions(m_help);
    const std::set<QString> described = pageOptions(roff, optionSection);
    std::set<QString> missing, unknown;
    std::set_difference(help.begin(), help.end(), described.begin(), described.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(described.begin(), described.end(), help.begin(), help.end(),
                        std::inserter(unknown, unknown.end()));
    QVERIFY2(missing.empty(), qPrintable(QStringLiteral("docs/man/%1 lacks an entry for %2 of varno-calc --help")
                                             .arg(file, joined(missing))));
    QVERIFY2(unknown.empty(), qPrintable(QStringLiteral("docs/man/%1 describes %2, which varno-calc --help lacks")
                                             .arg(file, joined(unknown))));
}

void TestManPages::sections_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("titles");
    const QStringList english{QStringLiteral("NAME"), QStringLiteral("SYNOPSIS"), QStringLiteral("DESCRIPTION"),
                              QStringLiteral("OPTIONS"), QStringLiteral("EXIT STATUS"), QStringLiteral("FILES"),
                              QStringLiteral("EXAMPLES"), QStringLiteral("SEE ALSO")};
    const QStringList german{QStringLiteral("BEZEICHNUNG"), QStringLiteral("\u00DCBERSICHT"),
                             QStringLiteral("BESCHREIBUNG"), QStringLiteral("OPTIONEN"),
                             QStringLiteral("R\u00DCCKGABEWERT"), QStringLiteral("DATEIEN"),
                             QStringLiteral("BEISPIELE"), QStringLiteral("SIEHE AUCH")};
    QTest::newRow("varno(1) English") << QStringLiteral("varno.1") << english;
    QTest::newRow("varno(1) German") << QStringLiteral("de/varno.1") << german;
    QTest::newRow("varno-calc(1) English") << QStringLiteral("varno-calc.1")
                                           << english + QStringList{QStringLiteral("PROJECT FILE FORMAT")};
    QTest::newRow("varno-calc(1) German") << QStringLiteral("de/varno-calc.1")
                                          << german + QStringList{QStringLiteral("PROJEKTDATEI")};
}

void TestManPages::sections()
{
    QFETCH(QString, file);
    QFETCH(QStringList, titles);
    const QString roff = readText(page(file));
    QVERIFY2(!roff.isEmpty(), qPrintable(page(file)));
    for (const QString &title : titles)
        QVERIFY2(!section(roff, title).join(QString()).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("no section %1").arg(title)));
    // The files section names both data files.
    const QString files = section(roff, titles[5]).join(u'\n');
    QVERIFY(files.contains(QLatin1String("wert2.txt")));
    QVERIFY(files.contains(QLatin1String("wert3.txt")));
    // The header carries the program's version.
    static const QRegularExpression header(QStringLiteral("^\\.TH \\S+ 1 \\S+ \"Varno ([^\"]+)\""),
                                           QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = header.match(roff);
    QVERIFY2(match.hasMatch(), "no .TH line");
    QCOMPARE(match.captured(1), QString::fromLatin1(varno::VersionText));
}

void TestManPages::rendersWithoutWarnings_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"varno.1", "varno-calc.1", "de/varno.1", "de/varno-calc.1"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void TestManPages::rendersWithoutWarnings()
{
    QFETCH(QString, file);
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        QSKIP("man is not installed (Debian package man-db)");
    // As lintian checks a page: every warning of groff on standard error.
    QProcess process;
    process.start(man, {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                        QStringLiteral("-l"), QStringLiteral("-Tutf8"), QStringLiteral("-Z"), page(file)});
    QVERIFY(process.waitForFinished(60000));
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(err.isEmpty(), err.constData());
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!process.readAllStandardOutput().isEmpty());
}

void TestManPages::germanWordsAreNotBroken_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    for (const char *file : {"de/varno.1", "de/varno-calc.1"})
        for (const int width : {50, 65, 80})
            QTest::addRow("%s, %d columns", file, width) << QString::fromLatin1(file) << width;
}

// Rendered as a German reader sees it, a line may end in a hyphen only where
// the page itself writes one ("HE-A", "Ein-"): groff's English patterns must
// not break German words ("Au-flagerkräfte").
void TestManPages::germanWordsAreNotBroken()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        QSKIP("man is not installed (Debian package man-db)");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    environment.insert(QStringLiteral("MANWIDTH"), QString::number(width));
    environment.remove(QStringLiteral("MAN_KEEP_FORMATTING"));
    process.setProcessEnvironment(environment);
    process.start(man, {QStringLiteral("-E"), QStringLiteral("UTF-8"), QStringLiteral("-l"), page(file)});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    QVERIFY(lines.size() > 20);

    QString source = readText(page(file));
    source.replace(QLatin1String("\\-"), QLatin1String("-"));
    static const QRegularExpression lastWord(QStringLiteral("(\\w+)[\u2010-]$"),
                                              QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression firstWord(QStringLiteral("^\\s*(\\w+)"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    QStringList broken;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QRegularExpressionMatch end = lastWord.match(lines[i].trimmed());
        if (!end.hasMatch())
            continue;
        const QRegularExpressionMatch next = firstWord.match(lines[i + 1]);
        if (!next.hasMatch())
            continue;
        if (!source.contains(end.captured(1) + u'-' + next.captured(1)))
            broken << end.captured(1) + u'-' + next.captured(1);
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1String(", "))));
}

QTEST_GUILESS_MAIN(TestManPages)
#include "tst_core_manpages.moc"
