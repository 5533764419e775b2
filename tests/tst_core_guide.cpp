// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The user guide's example against the program: every result the guide
// quotes for docs/beispiel.lof ("MB = −17,48", "h = 41,5 cm", "HE-A 160")
// is what varno-calc computes for that file, to the digits the guide shows.
// A guide that drifts from the program fails here.

#include "analysis/resultquantities.h"

#include "calcprogram.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>

namespace {

QString readGuide()
{
    QFile file(QStringLiteral(VARNO_SOURCE_DIR "/docs/handbuch.md"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The text of the guide from one heading to the next heading of that level.
QString chapter(const QString &guide, const QString &heading)
{
    const qsizetype start = guide.indexOf(heading);
    if (start < 0)
        return {};
    const qsizetype end = guide.indexOf(QStringLiteral("\n## "), start + heading.size());
    return guide.mid(start, end < 0 ? -1 : end - start);
}

// "−17,48" or "8,49" as the guide writes it: German decimal comma, the
// minus sign U+2212 or "-".
double germanNumber(const QString &text)
{
    QString plain = text;
    plain.replace(u'\u2212', u'-').replace(u',', u'.');
    return plain.toDouble();
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QProcess process;
        process.start(varno::test::CalcProgram(),
                      {QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C"),
                       QStringLiteral(VARNO_SOURCE_DIR "/docs/beispiel.lof")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        m_result = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        QVERIFY(m_result.contains(QStringLiteral("results")));
        m_example = chapter(readGuide(), QStringLiteral("## 4. Ein Beispiel"));
        QVERIFY(!m_example.isEmpty());
    }

    // Every "NAME = value" of a result quantity in the example.
    void quotedResultsAreTheProgramsResults()
    {
        QStringList names;
        for (const varno::ResultQuantity &q : varno::ResultQuantities)
            names << QString(q.key());
        const QRegularExpression quoted(QStringLiteral("\\b(%1) = ([\u2212-]?\\d+,(\\d+))").arg(names.join(u'|')));
        const QJsonObject results = m_result.value(QStringLiteral("results")).toObject();
        int compared = 0;
        for (auto it = quoted.globalMatch(m_example); it.hasNext(); ++compared) {
            const QRegularExpressionMatch match = it.next();
            const double shown = germanNumber(match.captured(2));
            const double computed = results.value(match.captured(1)).toDouble();
            const double unit = std::pow(10.0, -match.captured(3).size());
            QVERIFY2(std::fabs(shown - computed) <= unit / 2 + 1e-12,
                     qPrintable(QStringLiteral("%1: the guide says %2, varno-calc computes %3")
                                    .arg(match.captured(1), match.captured(2))
                                    .arg(computed, 0, 'g', 17)));
        }
        // The example quotes the support and span moments and the reactions.
        QVERIFY2(compared >= 11, qPrintable(QString::number(compared)));
    }

    // The design of the example: the timber height and the steel profile.
    void quotedDesignIsTheProgramsDesign()
    {
        const QJsonObject design = m_result.value(QStringLiteral("design")).toObject();
        const QJsonObject timber = design.value(QStringLiteral("timber")).toObject();
        const QJsonObject steel = design.value(QStringLiteral("steel")).toObject();

        static const QRegularExpression height(QStringLiteral("braucht h = (\\d+,\\d) cm"));
        const QRegularExpressionMatch h = height.match(m_example);
        QVERIFY(h.hasMatch());
        QCOMPARE(h.captured(1).replace(u',', u'.'),
                 QString::number(timber.value(QStringLiteral("values")).toObject().value(QStringLiteral("h")).toDouble(),
                                 'f', 1));

        // "„Wy erf“ = 2291,1 cm³" in the chapter on the assumptions.
        static const QRegularExpression modulus(QStringLiteral("\u201EWy erf\u201C = (\\d+,\\d) cm"));
        const QRegularExpressionMatch wy = modulus.match(readGuide());
        QVERIFY(wy.hasMatch());
        QCOMPARE(wy.captured(1).replace(u',', u'.'),
                 QString::number(
                     timber.value(QStringLiteral("values")).toObject().value(QStringLiteral("WyRequired")).toDouble(),
                     'f', 1));

        static const QRegularExpression profile(QStringLiteral("Stahl St 360 ergibt (HE-[AB]|IPE) (\\d+)"));
        const QRegularExpressionMatch p = profile.match(m_example);
        QVERIFY(p.hasMatch());
        const QJsonObject values = steel.value(QStringLiteral("values")).toObject();
        QCOMPARE(p.captured(1), values.value(QStringLiteral("series")).toString());
        QCOMPARE(p.captured(2), values.value(QStringLiteral("designation")).toString());
    }

    // "Ihre Summe, 97,50 kN, ist die gesamte Last"
    void quotedLoadIsTheProgramsLoad()
    {
        static const QRegularExpression sum(QStringLiteral("Ihre Summe,\\s+(\\d+,\\d+)\\s+kN"));
        const QRegularExpressionMatch match = sum.match(m_example);
        QVERIFY(match.hasMatch());
        const QJsonObject equilibrium = m_result.value(QStringLiteral("equilibrium")).toObject();
        QCOMPARE(germanNumber(match.captured(1)),
                 std::round(equilibrium.value(QStringLiteral("reactions")).toDouble() * 100) / 100);
        QCOMPARE(germanNumber(match.captured(1)),
                 std::round(equilibrium.value(QStringLiteral("load")).toDouble() * 100) / 100);
    }

private:
    QJsonObject m_result;
    QString m_example;
};

QTEST_GUILESS_MAIN(TestGuide)
#include "tst_core_guide.moc"
