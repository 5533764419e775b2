// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// varno-calc --eurocode: the JSON of a single C24 span and a single IPE 200
// span against the hand calculation (to 0.1 %), the refused names, and a
// damaged data file named with its line.
#include "calcprogram.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// A project file with one span of length l, uniform g and q on it, the
// timber grade at list position 1 (S 10 / MS 10) and steel grade 0.
QByteArray singleSpanFile(double l, double g, double q)
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
    for (int i = 0; i < 27; ++i)
        out += "0             0\n";
    out += " 1             0\n";
    return out;
}

struct Run
{
    int status = -1;
    QByteArray out, err;
};

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
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run r = calc(QStringList{QStringLiteral("--eurocode")} + args + QStringList{c24File});
        QCOMPARE(r.status, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
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
