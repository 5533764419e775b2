// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The load window driven like a user, next to a dimensions window that
// supplies the lengths: copy boxes, row and column visibility, distance
// warnings and the restore used by Open.

#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/loaddialog.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTest>

using namespace varno;
using MessageLog = varno::test::MessageRecorder;

namespace {

// The two windows as the main window holds them.
struct Windows
{
    CalcSession session;
    DimensionsDialog dimensions{session};
    LoadDialog loads{dimensions};

    void setLengths(const QStringList &lengths)
    {
        for (int i = 0; i < RegionCount; ++i)
            dimensions.setLengthText(i, lengths.value(i));
    }
    template<class T = QWidget> T *child(const QString &name) const
    {
        auto *w = loads.findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit *uniform(int region, int loadType) const
    {
        return child<QLineEdit>(QStringLiteral("Text%1(%2)").arg(region).arg(loadType));
    }
    QLineEdit *force(int slot) const { return child<QLineEdit>(QStringLiteral("Text7(%1)").arg(slot)); }
    QLineEdit *distance(int slot) const { return child<QLineEdit>(QStringLiteral("Text6(%1)").arg(slot)); }
    QCheckBox *box(int loadType) const { return child<QCheckBox>(QStringLiteral("Check%1").arg(loadType + 1)); }
    QGroupBox *frame(int index) const { return child<QGroupBox>(QStringLiteral("Frame1(%1)").arg(index)); }
    // Visible within its frame, whatever tab is selected.
    bool rowShown(int region, int loadType) const
    {
        QLineEdit *field = uniform(region, loadType);
        const bool shown = field->isVisibleTo(frame(loadType));
        const auto *label = child<QLabel>(QStringLiteral("Label%1(%2)").arg(region + 1).arg(loadType));
        const auto *unit = child<QLabel>(QStringLiteral("Label7(%1)").arg(5 * loadType + region - 1));
        if (label->isVisibleTo(frame(loadType)) != shown || unit->isVisibleTo(frame(loadType)) != shown)
            qFatal("row %d of frame %d only partly shown", region, loadType);
        return shown;
    }
    QSet<int> shownRegions(int loadType) const
    {
        QSet<int> out;
        for (int region = 1; region <= RegionCount; ++region)
            if (rowShown(region, loadType))
                out.insert(region);
        return out;
    }
    void clickTab(int index)
    {
        auto *bar = child<QTabBar>(QStringLiteral("TabStrip1"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    bool slotShown(int slot) const
    {
        const bool shown = force(slot)->isVisibleTo(frame(4));
        if (distance(slot)->isVisibleTo(frame(4)) != shown)
            qFatal("slot %d only partly shown", slot);
        return shown;
    }
    void showAndActivate()
    {
        loads.show();
        loads.activateWindow();
        if (!QTest::qWaitForWindowActive(&loads))
            qFatal("load window not active");
    }
};

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QString warning(const char *what, const QString &length)
{
    return QStringLiteral("Die Kraft liegt außerhalb der %1\r\n\r\nGeben Sie einen Abstand zwischen 0 und %2 ein.")
        .arg(QString::fromUtf8(what), length);
}

using Uniform = std::array<std::array<QString, LoadTypeCount>, RegionCount>;

Uniform distinctUniform()
{
    Uniform u;
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            u[r][k] = QStringLiteral("%1.%2").arg(r + 1).arg(k + 1);
    return u;
}

} // namespace

class TestLoadDialog : public QObject
{
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void accessibleNames_data();
    void accessibleNames();
    void everyInputNamedOnce();
    void defaults();
    void tabShowsOneFrame_data();
    void tabShowsOneFrame();
    void tabKeys_data();
    void tabKeys();
    void regionOneCopiedOnEveryKeystroke();
    void copyCoversEveryLoadTypeWithBoxSet();
    void settingBoxCopiesOverDifferentValues();
    void clearingBox_data();
    void clearingBox();
    void regionOneErrorReportedOnce();
    void otherFieldsOnlyChecked_data();
    void otherFieldsOnlyChecked();
    void pointLoadColumns_data();
    void pointLoadColumns();
    void pointLoadColumnsOnlyOnTabClick();
    void distanceWarnings_data();
    void distanceWarnings();
    void missingRegionWarnsOnEveryDistanceEdit();
    void oneWarningPerOffendingSlot();
    void restoreKeepsStoredTexts();
    void restoreStillChecksNumbers();
    void snapshot();
    void leaving_data();
    void leaving();
    void helpButton();
    void noCaptionClipped_data();
    void noCaptionClipped();
};

void TestLoadDialog::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("heading") << "Label1" << "Geben Sie hier die Belastung ein.";
    QTest::newRow("frame g") << "Frame1(0)" << "Gleichlasten g";
    QTest::newRow("frame w") << "Frame1(3)" << "Gleichlasten w";
    QTest::newRow("frame F") << "Frame1(4)" << "Einzellasten F";
    QTest::newRow("region 1 in q") << "Label2(1)" << "Feld 1";
    QTest::newRow("region 3 in s") << "Label4(2)" << "Feld 3";
    QTest::newRow("region 5 in w") << "Label6(3)" << "Kragarm re";
    QTest::newRow("first unit") << "Label7(0)" << "kN/m";
    QTest::newRow("last unit") << "Label7(19)" << "kN/m";
    QTest::newRow("box s") << "Check3" << "für alle Felder gleich?";
    QTest::newRow("header span 1") << "Label2(4)" << "Feld 1";
    QTest::newRow("header span 3") << "Label4(4)" << "Feld 3";
    QTest::newRow("header left") << "Label5(4)" << "Kragarm li";
    QTest::newRow("header right") << "Label6(4)" << "Kragarm re";
    QTest::newRow("unit header") << "Label8(3)" << "kN        m";
}

void TestLoadDialog::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Windows w;
    QWidget *control = w.child(name);
    const QString shown = qobject_cast<QGroupBox *>(control) ? control->property("title").toString()
                                                             : control->property("text").toString();
    QCOMPARE(shown, caption);
    QCOMPARE(w.loads.objectName(), QStringLiteral("Form3"));
    QCOMPARE(w.loads.windowTitle(), QStringLiteral("Belastung"));
    QVERIFY(!w.loads.isModal());
    auto *bar = w.child<QTabBar>(QStringLiteral("TabStrip1"));
    QCOMPARE(bar->count(), 5);
    const QStringList tabs{"Eigenlast g", "Nutzlast q", "Schneelast s", "Windlast w", "Einzellasten"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(bar->tabText(i), tabs[i]);
}

void TestLoadDialog::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("g span 1") << "Text1(0)" << "Eigenlast g Feld 1";
    QTest::newRow("q span 2") << "Text2(1)" << "Nutzlast q Feld 2";
    QTest::newRow("s left") << "Text4(2)" << "Schneelast s Kragarm li";
    QTest::newRow("w right") << "Text5(3)" << "Windlast w Kragarm re";
    QTest::newRow("force span 1 F1") << "Text7(0)" << "Feld 1 F1 Kraft";
    QTest::newRow("force span 2 F3") << "Text7(9)" << "Feld 2 F3 Kraft";
    QTest::newRow("distance span 2 F3") << "Text6(9)" << "Feld 2 F3 Abstand";
    QTest::newRow("distance span 3 F7") << "Text6(20)" << "Feld 3 F7 Abstand";
    QTest::newRow("force left F1") << "Text7(21)" << "Kragarm li F1 Kraft";
    QTest::newRow("distance left F3") << "Text6(23)" << "Kragarm li F3 Abstand";
    // The right cantilever's loads stand in the rows labelled F5 to F7.
    QTest::newRow("force right F5") << "Text7(24)" << "Kragarm re F5 Kraft";
    QTest::newRow("distance right F7") << "Text6(26)" << "Kragarm re F7 Abstand";
    QTest::newRow("box g") << "Check1" << "für alle Felder gleich? Eigenlast g";
    QTest::newRow("box w") << "Check4" << "für alle Felder gleich? Windlast w";
}

void TestLoadDialog::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    Windows w;
    QCOMPARE(w.child(name)->accessibleName(), accessibleName);
}

// 20 uniform fields, 27 forces, 27 distances and 4 boxes, each with its own
// name, so a screen reader never announces two fields alike.
void TestLoadDialog::everyInputNamedOnce()
{
    Windows w;
    QSet<QString> names;
    int inputs = 0;
    for (QWidget *control : w.loads.findChildren<QWidget *>()) {
        if (!qobject_cast<QLineEdit *>(control) && !qobject_cast<QCheckBox *>(control))
            continue;
        ++inputs;
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        names.insert(control->accessibleName());
    }
    QCOMPARE(inputs, 20 + 27 + 27 + 4);
    QCOMPARE(names.size(), inputs);
}

void TestLoadDialog::defaults()
{
    Windows w;
    for (int k = 0; k < LoadTypeCount; ++k) {
        QVERIFY(w.loads.sameForAll(k));
        QVERIFY(w.box(k)->isChecked());
        QCOMPARE(w.shownRegions(k), QSet<int>{1});
        for (int region = 1; region <= RegionCount; ++region)
            QCOMPARE(w.loads.uniformText(region, k), k == LoadG ? QStringLiteral("2.00") : QStringLiteral("0.00"));
    }
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        QCOMPARE(w.loads.forceText(slot), QStringLiteral("0"));
        QCOMPARE(w.loads.distanceText(slot), QStringLiteral("0"));
        QVERIFY(w.slotShown(slot));
    }
}

void TestLoadDialog::tabShowsOneFrame_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("Eigenlast g") << 0;
    QTest::newRow("Nutzlast q") << 1;
    QTest::newRow("Schneelast s") << 2;
    QTest::newRow("Windlast w") << 3;
    QTest::newRow("Einzellasten") << 4;
}

void TestLoadDialog::tabShowsOneFrame()
{
    QFETCH(int, tab);
    Windows w;
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    // Start from the point-load tab so every row really switches.
    w.clickTab(4);
    w.clickTab(tab);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(w.frame(i)->isVisible(), i == tab);
    QCOMPARE(w.child(QStringLiteral("Picture1"))->isVisible(), tab == 4);
    // The legend says in words where a is measured from.
    auto *caption = w.child<QLabel>(QStringLiteral("legendCaption"));
    QCOMPARE(caption->isVisible(), tab == 4);
    QVERIFY(caption->text().contains(u"Anfangsknoten") && caption->text().contains(u"Kragarm li: vom freien Ende"));
}

void TestLoadDialog::tabKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("inField");   // pressed in a field rather than the window
    QTest::addColumn<int>("to");

    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab") << 0 << int(Qt::Key_Tab) << ctrl << false << 1;
    QTest::newRow("Ctrl+Tab in a field") << 3 << int(Qt::Key_Tab) << ctrl << true << 4;
    QTest::newRow("Ctrl+Tab wraps") << 4 << int(Qt::Key_Tab) << ctrl << false << 0;
    QTest::newRow("Ctrl+Shift+Tab") << 2 << int(Qt::Key_Backtab) << ctrlShift << true << 1;
    QTest::newRow("Ctrl+Shift+Tab wraps") << 0 << int(Qt::Key_Backtab) << ctrlShift << false << 4;
    QTest::newRow("Ctrl+PgDown") << 3 << int(Qt::Key_PageDown) << ctrl << true << 4;
    QTest::newRow("Ctrl+PgUp") << 4 << int(Qt::Key_PageUp) << ctrl << false << 3;
    QTest::newRow("Ctrl+PgUp wraps") << 0 << int(Qt::Key_PageUp) << ctrl << true << 4;
}

// The desktop's keys for tabbed windows select tabs, with the tab's rule.
void TestLoadDialog::tabKeys()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, inField);
    QFETCH(int, to);
    Windows w;
    w.setLengths({"6", "6", "5", "1", "0"});
    w.showAndActivate();
    w.clickTab(from);
    QWidget *target = &w.loads;
    if (inField) {
        target = from == 4 ? static_cast<QWidget *>(w.force(0)) : w.uniform(1, from);
        target->setFocus();
    }
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.child<QTabBar>(QStringLiteral("TabStrip1"))->currentIndex(), to);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(w.frame(i)->isVisible(), i == to);
    QCOMPARE(w.child(QStringLiteral("Picture1"))->isVisible(), to == 4);
    // The point-load rule ran: the left cantilever's column is there.
    if (to == 4)
        QVERIFY(w.slotShown(21));
}

void TestLoadDialog::regionOneCopiedOnEveryKeystroke()
{
    Windows w;
    MessageLog log;
    QLineEdit *regionOne = w.uniform(1, LoadG);
    regionOne->selectAll();
    for (const QString &expected : {QStringLiteral("3"), QStringLiteral("3."), QStringLiteral("3.5")}) {
        QTest::keyClick(regionOne, expected.back().toLatin1());
        for (int region = 2; region <= RegionCount; ++region)
            QCOMPARE(w.loads.uniformText(region, LoadG), expected);
    }
    QCOMPARE(log.shown.size(), 0);
    // The other load types keep their own values.
    QCOMPARE(w.loads.uniformText(2, LoadQ), QStringLiteral("0.00"));
}

void TestLoadDialog::copyCoversEveryLoadTypeWithBoxSet()
{
    Windows w;
    // Region fields can differ from region 1 while a box is set: editing
    // them does not copy anything.
    w.loads.setUniformText(3, LoadQ, QStringLiteral("9"));
    w.loads.setSameForAll(LoadS, false);
    w.loads.setUniformText(2, LoadS, QStringLiteral("4"));
    QCOMPARE(w.loads.uniformText(3, LoadQ), QStringLiteral("9"));

    QTest::keyClicks(w.uniform(1, LoadG), QStringLiteral("5"));   // g: "2.005"
    QCOMPARE(w.loads.uniformText(5, LoadG), QStringLiteral("2.005"));
    QCOMPARE(w.loads.uniformText(3, LoadQ), QStringLiteral("0.00"));   // q follows its region 1 again
    QCOMPARE(w.loads.uniformText(2, LoadS), QStringLiteral("4"));      // s has its box cleared
}

void TestLoadDialog::settingBoxCopiesOverDifferentValues()
{
    Windows w;
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    w.clickTab(LoadQ);
    QTest::mouseClick(w.box(LoadQ), Qt::LeftButton);
    QVERIFY(!w.loads.sameForAll(LoadQ));
    for (int region = 2; region <= RegionCount; ++region)
        w.loads.setUniformText(region, LoadQ, QString::number(region));
    retype(w.uniform(1, LoadQ), QStringLiteral("1.5"));
    QCOMPARE(w.loads.uniformText(4, LoadQ), QStringLiteral("4"));

    QTest::mouseClick(w.box(LoadQ), Qt::LeftButton);
    QVERIFY(w.loads.sameForAll(LoadQ));
    for (int region = 2; region <= RegionCount; ++region)
        QCOMPARE(w.loads.uniformText(region, LoadQ), QStringLiteral("1.5"));
    QCOMPARE(w.shownRegions(LoadQ), QSet<int>{1});
}

void TestLoadDialog::clearingBox_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QSet<int>>("shown");
    QTest::newRow("three spans") << QStringList{"6.00", "6.00", "5.00", "0.00", "0.00"} << QSet<int>{1, 2, 3};
    QTest::newRow("middle span 0") << QStringList{"6.00", "0", "5.00", "0.00", "0.00"} << QSet<int>{1, 2, 3};
    QTest::newRow("two spans, both cantilevers")
        << QStringList{"6.00", "4.00", "0.00", "1.00", "2.00"} << QSet<int>{1, 2, 4, 5};
    QTest::newRow("one span, left cantilever") << QStringList{"6.00", "0.00", "0.00", "1.5", "0.00"} << QSet<int>{1, 4};
    QTest::newRow("lengths not numbers") << QStringList{"6.00", "abc", "0.00", "0.00", "x"} << QSet<int>{1};
}

void TestLoadDialog::clearingBox()
{
    QFETCH(QStringList, lengths);
    QFETCH(QSet<int>, shown);
    Windows w;
    MessageLog log;   // non-numeric lengths bring their own boxes
    w.setLengths(lengths);
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    retype(w.uniform(1, LoadG), QStringLiteral("3.5"));

    QTest::mouseClick(w.box(LoadG), Qt::LeftButton);
    QVERIFY(!w.loads.sameForAll(LoadG));
    QCOMPARE(w.shownRegions(LoadG), shown);
    for (int region = 2; region <= RegionCount; ++region)
        QCOMPARE(w.loads.uniformText(region, LoadG), QStringLiteral("3.5"));
    // Only the clicked load type changes its rows.
    QCOMPARE(w.shownRegions(LoadQ), QSet<int>{1});

    // Setting it again hides the rows of the existing regions.
    QTest::mouseClick(w.box(LoadG), Qt::LeftButton);
    QCOMPARE(w.shownRegions(LoadG), QSet<int>{1});
}

// With the box set the region-1 text also lands in the hidden regions; the
// fault is reported once, by the field being typed in.
void TestLoadDialog::regionOneErrorReportedOnce()
{
    Windows w;
    w.showAndActivate();
    w.clickTab(LoadQ);
    w.child<QPushButton>(QStringLiteral("Command1"))->setFocus();
    MessageLog log;
    QLineEdit *regionOne = w.uniform(1, LoadQ);
    regionOne->selectAll();
    QTest::keyClick(regionOne, Qt::Key_Delete);
    QCOMPARE(log.titles(), QStringList{"Eingabefehler"});
    QVERIFY(regionOne->hasFocus());
    for (int region = 2; region <= RegionCount; ++region)
        QCOMPARE(w.loads.uniformText(region, LoadQ), QString());
}

void TestLoadDialog::otherFieldsOnlyChecked_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("region 2 of g") << "Text2(0)";
    QTest::newRow("right cantilever of w") << "Text5(3)";
    QTest::newRow("force span 2") << "Text7(8)";
    QTest::newRow("force right cantilever") << "Text7(26)";
}

void TestLoadDialog::otherFieldsOnlyChecked()
{
    QFETCH(QString, name);
    Windows w;
    const ProjectTexts before = [&] {
        ProjectTexts t;
        w.loads.fillProjectTexts(t);
        return t;
    }();
    MessageLog log;
    auto *edit = w.child<QLineEdit>(name);
    QTest::keyClicks(edit, QStringLiteral("k"));
    QCOMPARE(log.titles(), QStringList{"Eingabefehler"});
    QCOMPARE(edit->selectedText(), edit->text());

    // Nothing else changed: no copy, no other field touched.
    edit->setText(QStringLiteral("0"));
    ProjectTexts after;
    w.loads.fillProjectTexts(after);
    after.uniform[1][LoadG] = before.uniform[1][LoadG];
    after.uniform[4][LoadW] = before.uniform[4][LoadW];
    after.force[8] = before.force[8];
    after.force[26] = before.force[26];
    QCOMPARE(after.uniform, before.uniform);
    QCOMPARE(after.force, before.force);
    QCOMPARE(after.distance, before.distance);
}

void TestLoadDialog::pointLoadColumns_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<bool>("span2");
    QTest::addColumn<bool>("span3");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("three spans") << QStringList{"6.00", "6.00", "5.00", "0.00", "0.00"} << true << true << false << false;
    QTest::newRow("two spans") << QStringList{"6.00", "6.00", "0.00", "0.00", "0.00"} << true << false << false << false;
    QTest::newRow("one span") << QStringList{"6.00", "0.00", "0.00", "0.00", "0.00"} << false << false << false << false;
    QTest::newRow("middle span 0") << QStringList{"6.00", "0.00", "4.00", "0.00", "0.00"} << true << true << false << false;
    QTest::newRow("left cantilever") << QStringList{"6.00", "0.00", "0.00", "1.00", "0.00"} << false << false << true << false;
    QTest::newRow("right cantilever") << QStringList{"6.00", "5.00", "0.00", "0.00", "1.2"} << true << false << false << true;
    QTest::newRow("negative cantilever") << QStringList{"6.00", "5.00", "4.00", "-1", "2"} << true << true << true << true;
}

void TestLoadDialog::pointLoadColumns()
{
    QFETCH(QStringList, lengths);
    QFETCH(bool, span2);
    QFETCH(bool, span3);
    QFETCH(bool, left);
    QFETCH(bool, right);
    Windows w;
    w.setLengths(lengths);
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    w.clickTab(4);

    const bool expected[RegionCount] = {true, span2, span3, left, right};
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        QVERIFY2(w.slotShown(slot) == expected[RegionOfSlot(slot) - 1], qPrintable(QString::number(slot)));
    QWidget *frame = w.frame(4);
    for (int region = 1; region <= RegionCount; ++region)
        QCOMPARE(w.child(QStringLiteral("Label%1(4)").arg(region + 1))->isVisibleTo(frame), expected[region - 1]);
    for (int group = 0; group < 4; ++group)
        QCOMPARE(w.child(QStringLiteral("Label8(%1)").arg(group))->isVisibleTo(frame), expected[group]);
    // The row labels stay.
    QVERIFY(w.child(QStringLiteral("Label9(6)"))->isVisibleTo(frame));
}

void TestLoadDialog::pointLoadColumnsOnlyOnTabClick()
{
    Windows w;
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    w.clickTab(4);
    QVERIFY(w.slotShown(7));

    w.dimensions.setLengthText(LengthL2, QStringLiteral("0.00"));
    w.dimensions.setLengthText(LengthL3, QStringLiteral("0.00"));
    QVERIFY(w.slotShown(7));
    // Neither a check box nor a uniform-load tab sorts the columns.
    w.loads.setSameForAll(LoadG, false);
    w.clickTab(0);
    QVERIFY(w.slotShown(7));

    w.clickTab(4);
    QVERIFY(!w.slotShown(7));
    QVERIFY(!w.slotShown(14));

    // A click on the point-load tab while it is selected runs the rule again.
    w.dimensions.setLengthText(LengthL2, QStringLiteral("6.00"));
    QVERIFY(!w.slotShown(7));
    w.clickTab(4);
    QVERIFY(w.slotShown(7));
    QVERIFY(!w.slotShown(14));
}

void TestLoadDialog::distanceWarnings_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("warnings");
    const QStringList standard{"6.00", "6.00", "5.00", "0.00", "0.00"};
    QTest::newRow("7 in a 6.00 span") << standard << 0 << "7" << QStringList{warning("Feldlänge", "6.00")};
    QTest::newRow("6 in a 6.00 span") << standard << 0 << "6" << QStringList{};
    QTest::newRow("6.00 typed out") << standard << 6 << "6.00" << QStringList{};
    QTest::newRow("12 warns at the second key") << standard << 3 << "12" << QStringList{warning("Feldlänge", "6.00")};
    QTest::newRow("length quoted as typed")
        << QStringList{"6.5", "6.00", "5.00", "0.00", "0.00"} << 2 << "7" << QStringList{warning("Feldlänge", "6.5")};
    QTest::newRow("span 2") << standard << 13 << "8" << QStringList{warning("Feldlänge", "6.00")};
    QTest::newRow("span 3") << standard << 20 << "5.5" << QStringList{warning("Feldlänge", "5.00")};
    QTest::newRow("left cantilever")
        << QStringList{"6.00", "6.00", "5.00", "1.50", "0.00"} << 22 << "2" << QStringList{warning("Kraglänge", "1.50")};
    QTest::newRow("right cantilever")
        << QStringList{"6.00", "6.00", "5.00", "0.00", "2.00"} << 26 << "3" << QStringList{warning("Kraglänge", "2.00")};
    QTest::newRow("missing cantilever") << standard << 24 << "0.5" << QStringList{warning("Kraglänge", "0.00")};
    QTest::newRow("inside cantilever")
        << QStringList{"6.00", "6.00", "5.00", "0.00", "2.00"} << 25 << "1.9" << QStringList{};
}

void TestLoadDialog::distanceWarnings()
{
    QFETCH(QStringList, lengths);
    QFETCH(int, slot);
    QFETCH(QString, typed);
    QFETCH(QStringList, warnings);
    Windows w;
    w.setLengths(lengths);
    MessageLog log;
    retype(w.distance(slot), typed);
    QStringList texts;
    for (const ShownMessage &m : log.shown) {
        QCOMPARE(m.title, QStringLiteral("Warnung"));
        QCOMPARE(m.icon, MsgIcon::Warning);
        QCOMPARE(m.buttons, MsgButtons::Ok);
        texts << m.text;
    }
    QCOMPARE(texts, warnings);
    QCOMPARE(w.loads.distanceText(slot), typed);   // never changed
}

void TestLoadDialog::missingRegionWarnsOnEveryDistanceEdit()
{
    Windows w;
    w.setLengths({"6.00", "0.00", "0.00", "0.00", "0.00"});
    MessageLog log;
    w.loads.setDistanceText(9, QStringLiteral("1"));
    QCOMPARE(log.shown.size(), 1);
    QCOMPARE(log.shown[0].text, warning("Feldlänge", "0.00"));

    // Any later distance edit, anywhere, reports slot 9 again.
    for (int slot : {0, 2, 5}) {
        log.shown.clear();
        retype(w.distance(slot), QStringLiteral("1"));
        QCOMPARE(log.shown.size(), 1);
        QCOMPARE(log.shown[0].text, warning("Feldlänge", "0.00"));
    }
    // Forces and uniform loads do not look at distances.
    log.shown.clear();
    retype(w.force(9), QStringLiteral("5"));
    retype(w.uniform(2, LoadG), QStringLiteral("1"));
    QCOMPARE(log.shown.size(), 0);
}

void TestLoadDialog::oneWarningPerOffendingSlot()
{
    Windows w;
    w.setLengths({"6.00", "4.00", "5.00", "1.00", "0.00"});
    MessageLog log;
    w.loads.setDistanceText(21, QStringLiteral("1.5"));
    w.loads.setDistanceText(16, QStringLiteral("5.01"));
    w.loads.setDistanceText(3, QStringLiteral("-2"));   // before the start: accepted
    log.shown.clear();

    // A faulty text is reported first, then the distances in slot order.
    QTest::keyClicks(w.distance(8), QStringLiteral("x"));
    QCOMPARE(log.titles(), (QStringList{"Eingabefehler", "Warnung", "Warnung"}));
    QCOMPARE(log.shown[1].text, warning("Feldlänge", "5.00"));
    QCOMPARE(log.shown[2].text, warning("Kraglänge", "1.00"));
}

void TestLoadDialog::restoreKeepsStoredTexts()
{
    Windows w;
    MessageLog log;
    const Uniform stored = distinctUniform();
    w.loads.restoreUniformTexts(stored);
    for (int region = 1; region <= RegionCount; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            QCOMPARE(w.loads.uniformText(region, k), stored[region - 1][k]);
    QCOMPARE(log.shown.size(), 0);
    for (int k = 0; k < LoadTypeCount; ++k)
        QVERIFY(w.loads.sameForAll(k));

    // Afterwards the boxes work as before.
    QTest::keyClicks(w.uniform(1, LoadS), QStringLiteral("0"));
    QCOMPARE(w.loads.uniformText(4, LoadS), QStringLiteral("1.30"));
    QCOMPARE(w.loads.uniformText(4, LoadQ), QStringLiteral("1.2"));
}

void TestLoadDialog::restoreStillChecksNumbers()
{
    Windows w;
    MessageLog log;
    Uniform stored = distinctUniform();
    stored[0][LoadW] = QStringLiteral("zwei");
    stored[3][LoadQ] = QString();
    w.loads.restoreUniformTexts(stored);
    QCOMPARE(log.titles(), (QStringList{"Eingabefehler", "Eingabefehler"}));
    QCOMPARE(w.loads.uniformText(1, LoadW), QStringLiteral("zwei"));
    QCOMPARE(w.loads.uniformText(5, LoadW), QStringLiteral("5.4"));
}

void TestLoadDialog::snapshot()
{
    Windows w;
    w.setLengths({"6.00", "6.00", "5.00", "1.00", "1.00"});
    const Uniform stored = distinctUniform();
    w.loads.restoreUniformTexts(stored);
    MessageLog log;
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        w.loads.setForceText(slot, QStringLiteral("%1").arg(slot + 100));
        w.loads.setDistanceText(slot, QStringLiteral("0.0%1").arg(slot));
    }
    QCOMPARE(log.shown.size(), 0);
    ProjectTexts texts;
    texts.lengths[0] = QStringLiteral("untouched");
    w.loads.fillProjectTexts(texts);
    QCOMPARE(texts.uniform, stored);
    QCOMPARE(texts.force[26], QStringLiteral("126"));
    QCOMPARE(texts.distance[21], QStringLiteral("0.021"));
    QCOMPARE(texts.force[0], QStringLiteral("100"));
    QCOMPARE(texts.lengths[0], QStringLiteral("untouched"));
}

void TestLoadDialog::leaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("title bar") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestLoadDialog::leaving()
{
    QFETCH(QString, how);
    Windows w;
    w.loads.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
    w.loads.setSameForAll(LoadW, false);
    w.loads.setForceText(5, QStringLiteral("12.5"));
    if (how == u"ok")
        QTest::mouseClick(w.child<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    else if (how == u"close")
        QVERIFY(w.loads.close());
    else
        QTest::keyClick(&w.loads, Qt::Key_Escape);
    QVERIFY(w.loads.isHidden());
    QVERIFY(!w.loads.sameForAll(LoadW));
    QCOMPARE(w.loads.forceText(5), QStringLiteral("12.5"));
}

void TestLoadDialog::helpButton()
{
    Windows w;
    MessageLog log;
    QTest::mouseClick(w.child<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(log.shown.size(), 1);
    QCOMPARE(log.shown[0].title, QStringLiteral("Hilfe"));
    QCOMPARE(log.shown[0].text, QStringLiteral("Derzeit noch keine Hilfe installiert!"));
    QCOMPARE(log.shown[0].icon, MsgIcon::Information);
}

void TestLoadDialog::noCaptionClipped_data()
{
    test::AddFontScaleRows();
}

void TestLoadDialog::noCaptionClipped()
{
    QFETCH(qreal, fontScale);
    {
        const test::ScaledApplicationFont scaled(fontScale);
        Windows w;
        w.loads.setSameForAll(LoadG, false);   // show every row of frame 0
        w.loads.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.loads));
        for (int tab = 0; tab < 5; ++tab) {
            w.clickTab(tab);
            QApplication::processEvents();
            for (QLabel *label : w.loads.findChildren<QLabel *>()) {
                if (!label->isVisible())
                    continue;
                // A wrapping label needs the height of its lines at its width.
                if (label->wordWrap())
                    QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
                else
                    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            }
            for (QCheckBox *box : w.loads.findChildren<QCheckBox *>())
                if (box->isVisible())
                    QVERIFY(box->width() >= box->sizeHint().width());
            QVERIFY(w.frame(tab)->width() >= w.frame(tab)->minimumSizeHint().width());
        }
    }
}

QTEST_MAIN(TestLoadDialog)
#include "tst_ui_loads.moc"
