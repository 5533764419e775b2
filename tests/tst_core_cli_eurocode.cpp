// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc --eurocode: the JSON of a single C24 span and a single IPE 200
// span against the hand calculation (to 0.1 %), the refused names and
// sizes, a damaged data file named with its line, a status that tells
// whether the check holds, and a report heading without invented texts.
#include "calcprogram.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// A project file with one span of length l, uniform g and q on it, a point
// load F at a, the timber grade at a list position (1: S 10 / MS 10) and
// steel grade 0.
QByteArray singleSpanFile(double l, double g, double q, int timberGrade = 1, double F = 0, double a = 0)
{
    QByteArray out;
    auto row = [&](double first) {
        out += QByteArray::number(first, 'f', 2).leftJustified(14, ' ') + "0.00          0.00          0.00          0.00\n";
    };
    row(l);
    row(g);
    row(q);
    row(0);
    row(0);
    out += QByteArray::number(a).leftJustified(14, ' ') + QByteArray::number(F) + '\n';
    for (int i = 1; i < 27; ++i)
        out += "0             0\n";
    out += ' ' + QByteArray::number(timberGrade) + "             0\n";
    return out;
}

// Two spans of 4 m with g = 1 and q = 2 kN/m on both, timber grade S 10.
QByteArray twoSpanFile()
{
    QByteArray out = "4.00          4.00          0.00          0.00          0.00\n"
                     "1.00          1.00          0.00          0.00          0.00\n"
                     "2.00          2.00          0.00          0.00          0.00\n";
    out += QByteArray("0.00          0.00          0.00          0.00          0.00\n").repeated(2);
    out += QByteArray("0             0\n").repeated(27);
    return out + " 1             0\n";
}

struct Run
{
    int status = -1;
    QByteArray out, err;
};

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// A copy of the data files with one text of one file replaced.
bool damagedCopy(const QString &folder, const QString &file, const QByteArray &from, const QByteArray &to)
{
    const QDir bin(QFileInfo(varno::test::CalcProgram()).absolutePath());
    for (const QString &name : bin.entryList({QStringLiteral("*.csv"), QStringLiteral("wert*.txt")}, QDir::Files))
        if (!QFile::copy(bin.filePath(name), QDir(folder).filePath(name)))
            return false;
    QFile f(QDir(folder).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = f.readAll();
    f.close();
    if (!text.contains(from))
        return false;
    return writeFile(f.fileName(), text.replace(from, to));
}

QString pdfText(const QString &path, const QStringList &options = {})
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
                  options + QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

Run calc(const QStringList &args)
{
    QProcess p;
    p.start(varno::test::CalcProgram(), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

void near(const QJsonObject &check, const char *member, double expected)
{
    const double actual = check.value(QLatin1String(member)).toDouble();
    if (std::abs(actual - expected) > 1e-3 * std::abs(expected))
        QFAIL(qPrintable(QStringLiteral("%1: %2, expected %3").arg(QLatin1String(member)).arg(actual).arg(expected)));
}

} // namespace

class TestCliEurocode : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString c24File, ipeFile;
    QStringList reportPages;   // of the two-span report, each line's blanks made one (see report())

    // The report of the two spans under an English locale, with every field
    // of the heading and a fixed date; made once.
    const QStringList &twoSpanReport()
    {
        if (!reportPages.isEmpty())
            return reportPages;
        const QString lof = dir.filePath(QStringLiteral("two.lof")), pdf = dir.filePath(QStringLiteral("two.pdf"));
        if (!writeFile(lof, twoSpanFile()))
            return reportPages;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
        p.setProcessEnvironment(env);
        p.start(varno::test::CalcProgram(),
                {QStringLiteral("--eurocode"), QStringLiteral("--locale"), QStringLiteral("en_US"),
                 QStringLiteral("--width"), QStringLiteral("10"), QStringLiteral("--ec-height"), QStringLiteral("20"),
                 QStringLiteral("--firma"), QStringLiteral("Ingenieurbüro Prüfmann"), QStringLiteral("--projekt"),
                 QStringLiteral("Neubau"), QStringLiteral("--position"), QStringLiteral("Pos. 7"),
                 QStringLiteral("--beschreibung"), QStringLiteral("Decke über EG"), QStringLiteral("--bearbeiter"),
                 QStringLiteral("M. Muster"), QStringLiteral("--pdf"), pdf, lof});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return reportPages;
        const QStringList pages = pdfText(pdf, {QStringLiteral("-layout")}).split(u'\f');
        for (const QString &page : pages.mid(0, pages.size() - 1)) {
            QStringList lines;
            for (const QString &line : page.split(u'\n'))
                lines << line.simplified();
            reportPages << lines.join(u'\n');
        }
        return reportPages;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        c24File = dir.filePath(QStringLiteral("c24.lof"));
        ipeFile = dir.filePath(QStringLiteral("ipe.lof"));
        for (const auto &[path, text] : {std::pair{c24File, singleSpanFile(4, 1, 2)},
                                         std::pair{ipeFile, singleSpanFile(4, 5, 10)}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
    }

    // Hand calculation in tst_core_eurocode: C24, b/h = 10/20 cm, l = 4 m, g = 1, q = 2.
    void timberJson()
    {
        const Run r = calc({QStringLiteral("--json"), QStringLiteral("--eurocode"), QStringLiteral("--width"),
                            QStringLiteral("10"), QStringLiteral("--ec-height"), QStringLiteral("20"), c24File});
        // w_inst exceeds l/300: the given section fails, and the status says so.
        QCOMPARE(r.status, 1);
        const QJsonObject timber = QJsonDocument::fromJson(r.out).object()["eurocode"].toObject()["timber"].toObject();
        // S 10 / MS 10 gives C24 by the mapping without a citable source, and the output says so.
        QCOMPARE(timber["class"].toString(), QStringLiteral("C24"));
        QCOMPARE(timber["classFrom"].toObject()["source"].toString(), QStringLiteral("Quelle: nicht belegt"));
        QCOMPARE(timber["hRequired"].toDouble(), 20.2);
        const QJsonObject checks = timber["checks"].toObject();
        const QJsonObject bending = checks["bending"].toObject();
        near(bending, "design", 13.05);
        near(bending, "resistance", 14.76923);
        near(bending, "utilisation", 0.88359);
        QCOMPARE(bending["kmod"].toDouble(), 0.8);
        // kmod comes from the load-duration class of category A, which has no citable source.
        QVERIFY(bending["uncitedValues"].toArray().contains(QStringLiteral("kled.imposed.A")));
        QCOMPARE(bending["region"].toString(), QStringLiteral("F1"));
        near(bending, "x", 2);
        const QJsonObject shear = checks["shear"].toObject();
        near(shear, "design", 1.305);
        near(shear, "resistance", 2.461538);
        const QJsonObject inst = checks["deflectionInst"].toObject();
        near(inst, "design", 13.63636);
        near(inst, "resistance", 13.33333);
        QVERIFY(inst["uncitedValues"].toArray().contains(QStringLiteral("limit.timber.span.w_inst")));
        near(checks["deflectionFin"].toObject(), "design", 18.0);
        near(checks["deflectionNetFin"].toObject(), "design", 11.63636);
    }

    // IPE 200, S235, l = 4 m, g = 5, q = 10 (hand calculation in tst_core_eurocode).
    void steelJson()
    {
        const Run r = calc({QStringLiteral("--json"), QStringLiteral("--eurocode"), QStringLiteral("--ec-profile"),
                            QStringLiteral("IPE 200"), QStringLiteral("--ec-steel"), QStringLiteral("S235"), ipeFile});
        QCOMPARE(r.status, 0);
        const QJsonObject steel = QJsonDocument::fromJson(r.out).object()["eurocode"].toObject()["steel"].toObject();
        QCOMPARE(steel["class"].toInt(), 1);
        const QJsonObject checks = steel["checks"].toObject();
        near(checks["bending"].toObject(), "design", 43.5);
        near(checks["bending"].toObject(), "resistance", 51.8504);
        near(checks["shear"].toObject(), "design", 43.5);
        near(checks["shear"].toObject(), "resistance", 189.9482);
        near(checks["deflection"].toObject(), "design", 12.2539);
        near(checks["deflection"].toObject(), "resistance", 13.33333);
        // l/300 is a project default, not a cited value.
        QVERIFY(checks["deflection"].toObject()["uncitedValues"].toArray().contains(QStringLiteral("limit.steel.span.w")));
        QVERIFY(checks["bending"].toObject()["combination"].toString().contains(QStringLiteral("1.50·Q (Feld 1)")));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("class") << QStringList{"--ec-class", "C99"} << "unbekannte Festigkeitsklasse";
        QTest::newRow("grade") << QStringList{"--ec-steel", "S460"} << "unbekannte Stahlsorte";
        QTest::newRow("profile") << QStringList{"--ec-profile", "IPE 210"} << "unbekanntes Profil";
        QTest::newRow("category") << QStringList{"--imposed-category", "K"} << "unbekannte Nutzlastkategorie";
        QTest::newRow("service class") << QStringList{"--service-class", "4"} << "--service-class";
        // Sizes that only give numbers beyond any meaning.
        QTest::newRow("height 1e-300") << QStringList{"--ec-height", "1e-300"} << "--ec-height";
        QTest::newRow("width below a millimetre") << QStringList{"--width", "0.0001"} << "Breite";
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run r = calc(QStringList{QStringLiteral("--eurocode")} + args + QStringList{c24File});
        QCOMPARE(r.status, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    }

    // Every Eurocode name is read in one way: case, blanks and hyphens do not count.
    void namesInAnyCase_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("snow altitude") << QStringList{"--snow-altitude", "HIGH"};
        QTest::newRow("class") << QStringList{"--ec-class", "c 24"};
        QTest::newRow("steel grade") << QStringList{"--ec-steel", "s-235"};
    }

    void namesInAnyCase()
    {
        QFETCH(QStringList, args);
        const Run r = calc(QStringList{QStringLiteral("--eurocode"), QStringLiteral("--json")} + args + QStringList{c24File});
        QVERIFY2(r.status != 2, r.err.constData());
        QVERIFY(QJsonDocument::fromJson(r.out).object()["eurocode"].toObject().contains(QStringLiteral("values")));
    }

    // The exit status and the file's JSON status agree, and the error says
    // why, for a given section that fails as for one that cannot be found.
    void statusAgrees_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("damagedFile");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        // IPE 200, l = 5 m, g + q = 10 kN/m: w = 5·10·5000⁴/(384·210000·19430e4) = 19.94 mm > 16.67 mm.
        QTest::newRow("given profile fails") << QStringList{"--ec-profile", "IPE 200", "--ec-steel", "S235"}
                                             << singleSpanFile(5, 4, 6) << "" << QByteArray() << QByteArray() << 1
                                             << "IPE 200, Durchbiegung: η = 1.20";
        QTest::newRow("given profile holds") << QStringList{"--ec-profile", "IPE 300"} << singleSpanFile(5, 4, 6)
                                             << "" << QByteArray() << QByteArray() << 0 << "";
        // 1.35·100 + 1.5·100 = 285 kN/m on 12 m, b = 2 cm: at h = 300 cm, M = 285·12²/8 = 5130 kNm and
        // σ = 5.13e9 / (20·3000²/6) = 171 N/mm² > fm,d = 14.8 N/mm².
        QTest::newRow("no height up to 300 cm") << QStringList{"--width", "2"} << singleSpanFile(12, 100, 100) << ""
                                                << QByteArray() << QByteArray() << 1 << "keine Höhe bis 300 cm";
        QTest::newRow("grade without a class") << QStringList() << singleSpanFile(3, 5, 10, 3) << "" << QByteArray()
                                               << QByteArray() << 1 << "MS 13";
        QTest::newRow("damaged actions.csv") << QStringList() << singleSpanFile(3, 5, 10) << "actions.csv"
                                             << QByteArray("gamma_Q (unfavourable),1.50")
                                             << QByteArray("gamma_Q (unfavourable),x1.50") << 1 << "actions.csv";
    }

    void statusAgrees()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, file);
        QFETCH(QString, damagedFile);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, status);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("beam.lof"));
        QVERIFY(writeFile(path, file));
        if (!damagedFile.isEmpty()) {
            QVERIFY(damagedCopy(folder.path(), damagedFile, from, to));
            args << QStringLiteral("--data-dir") << folder.path();
        }
        const Run r = calc(QStringList{QStringLiteral("--eurocode"), QStringLiteral("--json")} + args + QStringList{path});
        QCOMPARE(r.status, status);
        const QJsonObject object = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(object["status"].toInt(), status);
        QVERIFY2(object["error"].toString().contains(error), qPrintable(object["error"].toString()));
        QCOMPARE(object["eurocode"].toObject()["met"].toBool(), status == 0);
        // No number is null: a height that cannot be found is left out, with its reason.
        QVERIFY(!r.out.contains("null"));
        const QJsonObject timber = object["eurocode"].toObject()["timber"].toObject();
        if (error.startsWith(QLatin1String("keine Höhe")))
            QVERIFY(!timber.contains(QStringLiteral("hRequired")) && timber["reason"].toString().contains(error));
    }

    // V_Ed > Vpl,Rd (IPE 80, 100 kN 0.1 m from the support): the M–V check
    // gives a verdict and a reason, no null and no "n. def.".
    void shearBeyondResistance()
    {
        const QString path = dir.filePath(QStringLiteral("ipe80.lof"));
        QVERIFY(writeFile(path, singleSpanFile(3, 0, 0, 1, 100, 0.1)));
        const Run json = calc({QStringLiteral("--eurocode"), QStringLiteral("--json"), QStringLiteral("--ec-profile"),
                               QStringLiteral("IPE 80"), path});
        QCOMPARE(json.status, 1);
        QVERIFY(!json.out.contains("null"));
        const QJsonObject mv = QJsonDocument::fromJson(json.out)
                                   .object()["eurocode"]
                                   .toObject()["steel"]
                                   .toObject()["checks"]
                                   .toObject()["bendingShear"]
                                   .toObject();
        QCOMPARE(mv["met"].toBool(true), false);
        QVERIFY2(mv.contains(QStringLiteral("utilisation")) || mv["reason"].toString().contains(QStringLiteral("Schub")),
                 qPrintable(QJsonDocument(mv).toJson()));
        const Run text = calc({QStringLiteral("--eurocode"), QStringLiteral("--ec-profile"), QStringLiteral("IPE 80"), path});
        QVERIFY(!text.out.contains("n. def."));
    }

    // A load outside its span does not act in the check either, and the
    // check says so, in its text and in its JSON.
    void loadThatDoesNotAct()
    {
        const QString path = dir.filePath(QStringLiteral("outside.lof"));
        QVERIFY(writeFile(path, singleSpanFile(6, 2, 0, 1, 10, 8)));
        const Run json = calc({QStringLiteral("--eurocode"), QStringLiteral("--json"), path});
        const QJsonArray warnings =
            QJsonDocument::fromJson(json.out).object()["eurocode"].toObject()["warnings"].toArray();
        QVERIFY2(!warnings.isEmpty() && warnings[0].toString().contains(QStringLiteral("wirkt nicht")), json.out);
        const Run text = calc({QStringLiteral("--eurocode"), path});
        QVERIFY(QString::fromUtf8(text.out).contains(QStringLiteral("außerhalb von Feld 1 (l = 6.00 m) und wirkt nicht")));
    }

    // The report of a run without --firma, --projekt, --position prints the
    // heading empty, and says nothing of a window it was not made in.
    void reportHeading()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const QString pdf = dir.filePath(QStringLiteral("nachweis.pdf"));
        const Run r = calc({QStringLiteral("--eurocode"), QStringLiteral("--pdf"), pdf, c24File});
        QCOMPARE(r.status, 0);
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Position:")));
        for (const char *invented : {"Neubau EFH", "Decke über EG", "Firmennamen", "im Fenster"})
            QVERIFY2(!text.contains(QString::fromUtf8(invented)), invented);
    }

    // Every page of the report names the check, project, position and firm
    // above, program, version, date and "Seite n von m" below.
    void reportEveryPage()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const QStringList &pages = twoSpanReport();
        QVERIFY(pages.size() >= 3);
        const QString version = QString::fromUtf8(calc({QStringLiteral("--version")}).out).trimmed().section(u' ', 1);
        QVERIFY(!version.isEmpty());
        // 1700000000 s after 1970 is 14 November 2023, 22:13 UTC.
        const QString foot = QStringLiteral("Varno %1 – 14.11.2023").arg(version);
        for (int i = 0; i < pages.size(); ++i)
            for (const QString &expected :
                 {QStringLiteral("Nachweis nach Eurocode – Projekt: Neubau – Position: Pos. 7 Ingenieurbüro Prüfmann"),
                  foot, QStringLiteral("Seite %1 von %2").arg(i + 1).arg(pages.size())})
                QVERIFY2(pages[i].contains(expected), qPrintable(QStringLiteral("page %1: %2").arg(i + 1).arg(expected)));
    }

    // The report in German symbols and number format whatever the locale,
    // with the values put into the formulas and η at every field and
    // support (the hand values of tst_core_eurocode's two spans).
    void reportTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("present");
        QTest::newRow("heading Beschreibung") << "Beschreibung: Decke über EG" << true;
        QTest::newRow("heading Bearbeiter") << "Bearbeiter: M. Muster" << true;
        QTest::newRow("γG,sup") << "γG,sup = 1,35 [gamma.G.sup]" << true;
        QTest::newRow("ψ0,Q") << "ψ0,Q = 0,7 [psi0.imposed.A]" << true;
        QTest::newRow("kmod (mittel)") << "kmod (mittel) = 0,8" << true;
        QTest::newRow("c/t Gurt Klasse 1") << "c/t Gurt Klasse 1" << true;
        QTest::newRow("no kcr numerator") << "kcr numerator" << false;
        QTest::newRow("no c/t flange class") << "c/t flange class" << false;
        QTest::newRow("no gamma_G") << "gamma_G" << false;
        QTest::newRow("no kmod(medium)") << "kmod(medium)" << false;
        // Support B: M = 4.35 · 4² / 8 = 8.70 kNm, W = 666.67 cm³: σ = 13.05 N/mm².
        QTest::newRow("Md put in") << "Md = 1,35 · (-2,00) + 1,50 · (-4,00) = -8,70 kNm" << true;
        QTest::newRow("W put in") << "W = b · h² / 6 = 10,0 · 20,0² / 6 = 666,67 cm³" << true;
        QTest::newRow("σ with a decimal comma") << "σm,d = Md / W = 8,70 kNm / 666,67 cm³ = 13,05 N/mm²" << true;
        QTest::newRow("no decimal point") << "13.05" << false;
        // kcr = 2 / 4 = 0.5: kcr · b = 5 cm.
        QTest::newRow("kcr · b") << "kcr · b = 0,500 · 10,0 cm = 5,00 cm" << true;
        QTest::newRow("support B row") << "Auflager B 0,88 0,66 – – –" << true;
        QTest::newRow("span 1 row") << "Feld 1 0,62 " << true;
        QTest::newRow("support A row") << "Auflager A 0,00 0,44 – – –" << true;
    }

    void reportTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, present);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const QString report = twoSpanReport().join(u'\n');
        QVERIFY(!report.isEmpty());
        QCOMPARE(report.contains(text), present);
    }

    // A damaged value: the check is left out, file and line named, status 1;
    // the rest of the output stays.
    void damagedData()
    {
        QTemporaryDir data;
        const QDir bin(QFileInfo(varno::test::CalcProgram()).absolutePath());
        for (const QString &name : bin.entryList({QStringLiteral("*.csv"), QStringLiteral("wert*.txt")}, QDir::Files))
            QVERIFY(QFile::copy(bin.filePath(name), data.filePath(name)));
        QFile f(data.filePath(QStringLiteral("steel_grades.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray text = f.readAll();
        f.close();
        text.replace("S235,235,", "S235,abc,");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        const Run r = calc({QStringLiteral("--eurocode"), QStringLiteral("--data-dir"), data.path(), c24File});
        QCOMPARE(r.status, 1);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.contains(QStringLiteral("steel_grades.csv, Zeile 2, Spalte fy_Nmm2: Wert \u201Eabc\u201C")),
                 r.err.constData());
        QVERIFY(QString::fromUtf8(r.out).contains(QStringLiteral("Feldmoment")));
        QVERIFY(!QString::fromUtf8(r.out).contains(QStringLiteral("η =")));
    }
};

QTEST_GUILESS_MAIN(TestCliEurocode)
#include "tst_core_cli_eurocode.moc"
