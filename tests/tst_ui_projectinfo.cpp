// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The project information window: captions, defaults, field sizes, typing
// and leaving it.

#include "dialogs/projectinfodialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace varno;

namespace {

QWidget *infoField(const QWidget &window, int index)
{
    auto *w = window.findChild<QWidget *>(QStringLiteral("Text1(%1)").arg(index));
    if (!w)
        qFatal("no field %d", index);
    return w;
}

} // namespace

class TestProjectInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void fieldSizes();
    void typedTextsKept_data();
    void typedTextsKept();
    void tabOrder();
};

void TestProjectInfoDialog::rows_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("Firma") << 0 << "Firma:" << "Geben Sie hier Ihren Firmennamen ein" << "Firma";
    QTest::newRow("Projekt") << 1 << "Projekt:" << "Neubau EFH" << "Projekt";
    QTest::newRow("Position") << 2 << "Position:" << "Decke über EG" << "Position";
    QTest::newRow("Beschreibung") << 3 << "Beschreibung:" << "" << "Beschreibung";
    QTest::newRow("Bearbeiter") << 4 << "Bearbeiter:" << "" << "Bearbeiter";
}

void TestProjectInfoDialog::rows()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, defaultText);
    QFETCH(QString, accessibleName);
    ProjectInfoDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("Form6"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Projektinformationen"));
    QVERIFY(!dialog.isModal());
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("Label1(%1)").arg(index));
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->buddy(), infoField(dialog, index));
    QCOMPARE(dialog.infoText(index), defaultText);
    QCOMPARE(infoField(dialog, index)->accessibleName(), accessibleName);
}

// Firma about three times as high as the others; Position and Bearbeiter
// shorter than Firma, Projekt and Beschreibung.
void TestProjectInfoDialog::fieldSizes()
{
    ProjectInfoDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int lineHeight = infoField(dialog, 1)->height();
    for (int i = 2; i < 5; ++i)
        QCOMPARE(infoField(dialog, i)->height(), lineHeight);
    const double ratio = double(infoField(dialog, 0)->height()) / lineHeight;
    QVERIFY2(ratio >= 2.5 && ratio <= 3.5, qPrintable(QString::number(ratio)));
    for (int shortField : {2, 4})
        for (int longField : {0, 1, 3})
            QVERIFY(infoField(dialog, shortField)->width() < infoField(dialog, longField)->width());
    // The longest default fits its field.
    auto *company = static_cast<QPlainTextEdit *>(infoField(dialog, 0));
    QVERIFY(company->viewport()->width()
            >= company->fontMetrics().horizontalAdvance(QStringLiteral("Geben Sie hier Ihren Firmennamen ein")));
    for (QLabel *label : dialog.findChildren<QLabel *>())
        QVERIFY(label->width() >= label->sizeHint().width());
}

void TestProjectInfoDialog::typedTextsKept_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("title bar") << "close";
}

void TestProjectInfoDialog::typedTextsKept()
{
    QFETCH(QString, how);
    ProjectInfoDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Free text: no number check, no limit.
    QTest::keyClicks(infoField(dialog, 3), QStringLiteral("Stahltraeger ueber Garage, -5 %"));
    QTest::keyClick(infoField(dialog, 0), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(infoField(dialog, 0), QStringLiteral(" GmbH"));
    QTest::keyClick(infoField(dialog, 0), Qt::Key_Return);
    QTest::keyClicks(infoField(dialog, 0), QStringLiteral("Abteilung B"));
    QVERIFY(dialog.isVisible());   // Return in the company field is a new line, not OK

    if (how == u"ok")
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    else
        QVERIFY(dialog.close());
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.infoText(3), QStringLiteral("Stahltraeger ueber Garage, -5 %"));
    QCOMPARE(dialog.infoText(0), QStringLiteral("Geben Sie hier Ihren Firmennamen ein GmbH\nAbteilung B"));
    QCOMPARE(dialog.infoText(1), QStringLiteral("Neubau EFH"));
}

void TestProjectInfoDialog::tabOrder()
{
    ProjectInfoDialog dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    infoField(dialog, 0)->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)", "Command1"}));
}

QTEST_MAIN(TestProjectInfoDialog)
#include "tst_ui_projectinfo.moc"
