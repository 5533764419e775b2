// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The material window with material files written for the test (every
// field of every line tells where it was cut from) and with the shipped one.

#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "design/design.h"
#include "dialogs/captioncolumn.h"
#include "dialogs/materialdialog.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace varno;
using MessageLog = varno::test::MessageRecorder;

namespace {

// Line n, field f reads e.g. "c07|03": letter of the line, field number,
// separator, line number; 17 fields make the 102 characters of a full line.
QString patternLine(int line, int length)
{
    QString text;
    for (int field = 0; field < 17; ++field)
        text += QStringLiteral("%1%2|%3").arg(QChar(u'a' + line - 1)).arg(field, 2, 10, QChar(u'0')).arg(line, 2, 10, QChar(u'0'));
    return text.left(length);
}

QStringList writeMaterialFile(const QString &directory, int lines, int length = 102)
{
    QStringList written;
    QFile file(QDir(directory).filePath(QStringLiteral("wert2.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the material file");
    for (int line = 1; line <= lines; ++line) {
        written << patternLine(line, length);
        file.write(written.back().toLatin1() + "\r\n");
    }
    return written;
}

// Characters first..first+count-1 (counted from 1) of every line.
QStringList column(const QStringList &lines, int first, int count, int maxLines)
{
    QStringList out;
    for (int i = 0; i < lines.size() && i < maxLines; ++i)
        out << lines[i].mid(first - 1, count);
    return out;
}

template<class T = QWidget> T *child(const QWidget &window, const QString &name)
{
    auto *w = window.findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

} // namespace

class TestMaterialDialog : public QObject
{
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void propertyColumns_data();
    void propertyColumns();
    void namesBesideValues();
    void gradeLists();
    void valuesCut_data();
    void valuesCut();
    void shippedFile();
    void everySelectionReadsTheFile();
    void userChoiceReadsTheFile_data();
    void userChoiceReadsTheFile();
    void missingFileLeavesListsEmpty();
    void parts_data();
    void parts();
    void helpButton();
    void noCaptionClipped_data();
    void noCaptionClipped();
};

void TestMaterialDialog::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("heading") << "Label1" << "Wählen Sie hier die Güteklasse aus.";
    QTest::newRow("timber frame") << "Frame1" << "Holz";
    QTest::newRow("timber heading") << "Label2" << "Rechtecksquerschnitt";
    QTest::newRow("steel frame") << "Frame2" << "Stahl";
    QTest::newRow("steel heading") << "Label3" << "I-Profile";
    QTest::newRow("OK") << "Command1" << "OK";
    QTest::newRow("help") << "Command2" << "Hilfe";
}

void TestMaterialDialog::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    writeMaterialFile(dir.path(), 12);
    MaterialDialog dialog(dir.path());
    QCOMPARE(dialog.objectName(), QStringLiteral("Form4"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Materialauswahl"));
    QWidget *control = child(dialog, name);
    const QString shown = qobject_cast<QGroupBox *>(control) ? control->property("title").toString()
                                                             : control->property("text").toString();
    QCOMPARE(shown, caption);
}

void TestMaterialDialog::propertyColumns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstRow");
    QTest::addColumn<QString>("lastRow");
    QTest::newRow("timber names")
        << "Label5"
        << "E II =      E L =       G =        SigBzul = SigZIIzu = SigZLzu = SigDIIzu = SigDL)* = SigDLzu = "
           "TauAzul = TauQzul = TauTzul =  "
        << 12 << "E II =" << "TauTzul =";
    QTest::newRow("timber units") << "Label6"
                                  << "N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm²" << 12
                                  << "N/mm²" << "N/mm²";
    QTest::newRow("steel names") << "Label4"
                                 << "E =         G =       Sigzul = BetaP = BetaFl = BetaZu = BetaZo = Tauzul = " << 8
                                 << "E =" << "Tauzul =";
    QTest::newRow("steel units") << "Label7" << "N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm²" << 8 << "N/mm²"
                                 << "N/mm²";
}

void TestMaterialDialog::propertyColumns()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, rows);
    QFETCH(QString, firstRow);
    QFETCH(QString, lastRow);
    QTemporaryDir dir;
    MaterialDialog dialog(dir.path());
    auto *columnWidget = child<CaptionColumn>(dialog, name);
    QCOMPARE(columnWidget->property("text").toString(), caption);
    QCOMPARE(columnWidget->accessibleDescription(), caption);
    QCOMPARE(columnWidget->rows().size(), rows);
    QCOMPARE(columnWidget->rows().first(), firstRow);
    QCOMPARE(columnWidget->rows().last(), lastRow);
}

// Name k, value k and unit k share one line on screen.
void TestMaterialDialog::namesBesideValues()
{
    QTemporaryDir dir;
    writeMaterialFile(dir.path(), 12);
    MaterialDialog dialog(dir.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const struct
    {
        const char *list, *names, *units;
    } parts[] = {{"List1", "Label5", "Label6"}, {"List2", "Label4", "Label7"}};
    for (const auto &part : parts) {
        auto *list = child<QListWidget>(dialog, QString::fromLatin1(part.list));
        const auto names = child(dialog, QString::fromLatin1(part.names))->findChildren<QLabel *>();
        const auto units = child(dialog, QString::fromLatin1(part.units))->findChildren<QLabel *>();
        QCOMPARE(names.size(), list->count());
        QCOMPARE(units.size(), list->count());
        for (int i = 0; i < list->count(); ++i) {
            const QRect item = list->visualItemRect(list->item(i));
            QVERIFY2(list->viewport()->rect().contains(item), "value row scrolled out of sight");
            const int valueY = list->viewport()->mapTo(&dialog, item.center()).y();
            QVERIFY(qAbs(names[i]->mapTo(&dialog, names[i]->rect().center()).y() - valueY) <= 1);
            QVERIFY(qAbs(units[i]->mapTo(&dialog, units[i]->rect().center()).y() - valueY) <= 1);
        }
    }
}

void TestMaterialDialog::gradeLists()
{
    QTemporaryDir dir;
    MaterialDialog dialog(dir.path());
    auto *timber = child<QComboBox>(dialog, QStringLiteral("Combo1"));
    auto *steel = child<QComboBox>(dialog, QStringLiteral("Combo2"));
    QCOMPARE(timber->count(), 14);
    QCOMPARE(timber->itemText(0), QStringLiteral("S 7 / MS 7"));
    QCOMPARE(timber->itemText(9), QStringLiteral("BS 14  Typ 2 u. 3"));
    QCOMPARE(timber->itemText(13), QStringLiteral("BS 18  Typ 2 u. 3"));
    QCOMPARE(steel->count(), 3);
    QCOMPARE(steel->itemText(0), QStringLiteral("St 360 C (S235JO)"));
    QCOMPARE(steel->itemText(2), QStringLiteral("St 510 C (S355JO)"));
    QCOMPARE(dialog.timberGrade(), 1);
    QCOMPARE(dialog.steelGrade(), 0);
    QCOMPARE(timber->accessibleName(), QStringLiteral("Holzgüte"));
    QCOMPARE(steel->accessibleName(), QStringLiteral("Stahlgüte"));
    QVERIFY(!child(dialog, QStringLiteral("List1"))->accessibleName().isEmpty());
    QVERIFY(!child(dialog, QStringLiteral("List2"))->accessibleName().isEmpty());
}

void TestMaterialDialog::valuesCut_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("lineLength");
    QTest::addColumn<int>("timberGrade");   // -1: as after creation
    QTest::addColumn<int>("steelGrade");
    QTest::addColumn<int>("timberFirst");   // first character, counted from 1
    QTest::addColumn<int>("steelFirst");
    QTest::newRow("after creation") << 12 << 102 << -1 << -1 << 7 << 85;
    QTest::newRow("BS 18 Typ 2 u. 3, St 510 C") << 12 << 102 << 13 << 2 << 79 << 97;
    QTest::newRow("S 7 / MS 7, St 430 C") << 12 << 102 << 0 << 1 << 1 << 91;
    QTest::newRow("13 lines") << 13 << 102 << -1 << -1 << 7 << 85;
    QTest::newRow("8 lines") << 8 << 102 << 5 << 1 << 31 << 91;
    QTest::newRow("5 lines") << 5 << 102 << -1 << -1 << 7 << 85;
    QTest::newRow("timber part only") << 12 << 84 << 13 << 2 << 79 << 97;
    QTest::newRow("lines end inside a field") << 12 << 81 << 13 << 0 << 79 << 85;
}

void TestMaterialDialog::valuesCut()
{
    QFETCH(int, lines);
    QFETCH(int, lineLength);
    QFETCH(int, timberGrade);
    QFETCH(int, steelGrade);
    QFETCH(int, timberFirst);
    QFETCH(int, steelFirst);
    QTemporaryDir dir;
    const QStringList written = writeMaterialFile(dir.path(), lines, lineLength);
    MessageLog log;
    MaterialDialog dialog(dir.path());
    if (timberGrade >= 0)
        dialog.setTimberGrade(timberGrade);
    if (steelGrade >= 0)
        dialog.setSteelGrade(steelGrade);

    const QStringList timber = column(written, timberFirst, 5, lines);
    const QStringList steel = column(written, steelFirst, 6, 8);
    QCOMPARE(dialog.timberValues(), timber);
    QCOMPARE(dialog.steelValues(), steel);
    QCOMPARE(dialog.timberValues().size(), lines);
    QCOMPARE(dialog.steelValues().size(), std::min(lines, 8));
    // What the list shows is what the design reads.
    auto *list1 = child<QListWidget>(dialog, QStringLiteral("List1"));
    QCOMPARE(list1->count(), timber.size());
    if (!timber.isEmpty())
        QCOMPARE(list1->item(0)->text(), timber[0]);
    QCOMPARE(log.shown.size(), 0);
}

// The file the build puts beside the programs, read as the program does.
void TestMaterialDialog::shippedFile()
{
    QFile source(QStringLiteral(VARNO_SOURCE_DIR "/data/wert2.txt"));
    QVERIFY(source.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromLatin1(source.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 12);

    MaterialDialog dialog(DefaultDataDirectory());
    QCOMPARE(dialog.timberValues(), column(lines, 7, 5, 12));
    QCOMPARE(dialog.steelValues(), column(lines, 85, 6, 8));
    // Modulus of elasticity and allowable bending stress read as numbers.
    QVERIFY(LeadingNumber(dialog.timberValues()[0]) > 1000);
    QVERIFY(LeadingNumber(dialog.timberValues()[3]) > 1);
    QVERIFY(LeadingNumber(dialog.steelValues()[0]) > 100000);
}

void TestMaterialDialog::everySelectionReadsTheFile()
{
    QTemporaryDir dir;
    writeMaterialFile(dir.path(), 12);
    MaterialDialog dialog(dir.path());
    const QStringList second = writeMaterialFile(dir.path(), 9, 60);

    // The same grade chosen again reads the new file.
    dialog.setTimberGrade(1);
    QCOMPARE(dialog.timberValues(), column(second, 7, 5, 9));
    QCOMPARE(dialog.steelValues().size(), 8);   // steel not chosen yet

    // A choice made with the keyboard in the list runs the same handler.
    auto *combo = child<QComboBox>(dialog, QStringLiteral("Combo1"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(dialog.timberGrade(), 2);
    QCOMPARE(dialog.timberValues(), column(second, 13, 5, 9));
    QTest::keyClick(child<QComboBox>(dialog, QStringLiteral("Combo2")), Qt::Key_Down);
    QCOMPARE(dialog.steelGrade(), 1);
    QCOMPARE(dialog.steelValues(), QStringList(8, QString()));
}

void TestMaterialDialog::userChoiceReadsTheFile_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("downs");   // Down presses in the open list before Return
    QTest::addColumn<int>("grade");
    QTest::newRow("timber grade already chosen") << "Combo1" << 0 << 1;
    QTest::newRow("steel grade already chosen") << "Combo2" << 0 << 0;
    QTest::newRow("another timber grade") << "Combo1" << 2 << 3;
    QTest::newRow("another steel grade") << "Combo2" << 1 << 1;
}

// A choice in the open list reads the file again, also when it picks the
// grade that is already selected.
void TestMaterialDialog::userChoiceReadsTheFile()
{
    QFETCH(QString, combo);
    QFETCH(int, downs);
    QFETCH(int, grade);
    QTemporaryDir dir;
    const QStringList first = writeMaterialFile(dir.path(), 12);
    MaterialDialog dialog(dir.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The file changes under the window: new values in every column.
    QStringList changed = first;
    for (QString &line : changed)
        line.replace(u'0', u'7');
    QFile file(MaterialTablePath(dir.path()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(changed.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    file.close();

    auto *box = child<QComboBox>(dialog, combo);
    box->showPopup();
    QVERIFY(box->view()->isVisible());
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(box->currentIndex(), grade);
    if (combo == QLatin1String("Combo1"))
        QCOMPARE(dialog.timberValues(), column(changed, 1 + 6 * grade, 5, 12));
    else
        QCOMPARE(dialog.steelValues(), column(changed, 85 + 6 * grade, 6, 8));
}

// Without its file the window shows empty lists and no message; the design
// reports the missing values when it needs them.
void TestMaterialDialog::missingFileLeavesListsEmpty()
{
    QTemporaryDir dir;
    MessageLog log;
    MaterialDialog dialog(dir.path());
    QVERIFY(dialog.timberValues().isEmpty());
    QVERIFY(dialog.steelValues().isEmpty());
    QCOMPARE(dialog.timberGrade(), 1);
    QCOMPARE(dialog.steelGrade(), 0);
    dialog.setTimberGrade(4);
    QVERIFY(dialog.timberValues().isEmpty());
    QCOMPARE(log.shown.size(), 0);

    // Once the file is there, the next choice fills the list.
    writeMaterialFile(dir.path(), 12);
    dialog.setTimberGrade(4);
    QCOMPARE(dialog.timberValues().size(), 12);
}

void TestMaterialDialog::parts_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("timberShown");
    QTest::addColumn<bool>("steelShown");
    QTest::addColumn<bool>("windowShown");
    QTest::newRow("Holz") << QStringList{"Holz"} << true << false << true;
    QTest::newRow("Stahl") << QStringList{"Stahl"} << false << true << true;
    QTest::newRow("Holz, OK, Stahl") << QStringList{"Holz", "OK", "Stahl"} << false << true << true;
    QTest::newRow("Holz, Stahl") << QStringList{"Holz", "Stahl"} << false << false << true;
    QTest::newRow("Holz, Stahl, OK") << QStringList{"Holz", "Stahl", "OK"} << true << true << false;
    QTest::newRow("Stahl, title bar") << QStringList{"Stahl", "close"} << true << true << false;
    QTest::newRow("Stahl, title bar, Holz") << QStringList{"Stahl", "close", "Holz"} << true << false << true;
}

void TestMaterialDialog::parts()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, timberShown);
    QFETCH(bool, steelShown);
    QFETCH(bool, windowShown);
    QTemporaryDir dir;
    writeMaterialFile(dir.path(), 12);
    MaterialDialog dialog(dir.path());
    for (const QString &step : steps) {
        if (step == u"Holz")
            dialog.openForTimber();
        else if (step == u"Stahl")
            dialog.openForSteel();
        else if (step == u"OK")
            QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("Command1")), Qt::LeftButton);
        else
            QVERIFY(dialog.close());
    }
    QCOMPARE(dialog.isVisible(), windowShown);
    QCOMPARE(!child(dialog, QStringLiteral("Frame1"))->isHidden(), timberShown);
    QCOMPARE(!child(dialog, QStringLiteral("Frame2"))->isHidden(), steelShown);
    // Hiding a part keeps its choice and values.
    QCOMPARE(dialog.timberGrade(), 1);
    QCOMPARE(dialog.timberValues().size(), 12);
    QCOMPARE(dialog.steelValues().size(), 8);
}

void TestMaterialDialog::helpButton()
{
    QTemporaryDir dir;
    MaterialDialog dialog(dir.path());
    MessageLog log;
    QTest::mouseClick(child<QPushButton>(dialog, QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(log.shown.size(), 1);
    QCOMPARE(log.shown[0].title, QStringLiteral("Hilfe"));
    QCOMPARE(log.shown[0].text, QStringLiteral("Derzeit noch keine Hilfe installiert!"));
    QCOMPARE(log.shown[0].icon, MsgIcon::Information);
}

void TestMaterialDialog::noCaptionClipped_data()
{
    test::AddFontScaleRows();
}

void TestMaterialDialog::noCaptionClipped()
{
    QFETCH(qreal, fontScale);
    {
        const test::ScaledApplicationFont scaled(fontScale);
        QTemporaryDir dir;
        writeMaterialFile(dir.path(), 12);
        MaterialDialog dialog(dir.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (QLabel *label : dialog.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->sizeHint().width() && label->height() >= label->sizeHint().height(),
                     qPrintable(label->text()));
        for (auto *combo : dialog.findChildren<QComboBox *>())
            QVERIFY(combo->width() >= combo->sizeHint().width());
        for (auto *list : dialog.findChildren<QListWidget *>()) {
            // The values follow the size of the window's text.
            QCOMPARE(list->font().pointSizeF(), dialog.font().pointSizeF());
            const QRect item = list->visualItemRect(list->item(0));
            QVERIFY(list->viewport()->width() >= list->fontMetrics().horizontalAdvance(list->item(0)->text()));
            QVERIFY(item.height() >= list->fontMetrics().height());
        }
    }
}

QTEST_MAIN(TestMaterialDialog)
#include "tst_ui_material.moc"
