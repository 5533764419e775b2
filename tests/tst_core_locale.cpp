// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Input texts read the same whatever the user's locale: "." is the decimal
// point of every input, also when the C library runs under a German locale.
#include "model/projectmodel.h"

#include <QtTest>

#include <clocale>
#include <cmath>

using namespace varno;

class TestLocale : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            QSKIP("German locale not installed");
    }

    void readsPointUnderGermanLocale_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal") << "6.5" << 6.5;
        QTest::newRow("leading point") << ".25" << 0.25;
        QTest::newRow("exponent") << "1.5E3" << 1500.0;
        QTest::newRow("D exponent") << "2.5D-1" << 0.25;
        QTest::newRow("comma stops") << "6,5" << 6.0;
    }
    void readsPointUnderGermanLocale()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingNumber(text), value);
    }

    void outOfRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("overflow") << "1e400" << qInf();
        QTest::newRow("negative overflow") << "-1e400" << -qInf();
        QTest::newRow("underflow") << "1e-400" << 0.0;
        QTest::newRow("zero with huge exponent") << "0e999" << 0.0;
    }
    void outOfRange()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingNumber(text), value);
    }
};

QTEST_GUILESS_MAIN(TestLocale)
#include "tst_core_locale.moc"
