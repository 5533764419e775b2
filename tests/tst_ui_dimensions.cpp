// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The dimensions window driven like a user: keystrokes into the length
// fields, the input-error box, the sketch redrawn on each change, OK and close.

#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "dialogs/dimensionsdialog.h"
#include "widgets/picturearea.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace varno;

namespace {

// Records every box instead of showing it and answers OK. The field's
// selection at the moment of the box tells whether the selection came after.
struct MessageLog
{
    QList<ShownMessage> shown;
    QLineEdit *watched = nullptr;
    QStringList selectionAtBox;

    MessageLog()
    {
        SetMessageHandler([this](const ShownMessage &m) {
            shown.append(m);
            selectionAtBox.append(watched ? watched->selectedText() : QString());
            return MsgResult::Ok;
        });
    }
    ~MessageLog() { SetMessageHandler({}); }
    int count(const QString &title) const
    {
        return int(std::count_if(shown.begin(), shown.end(), [&](const ShownMessage &m) { return m.title == title; }));
    }
};

QLineEdit *field(const QWidget &window, const QString &name)
{
    auto *edit = window.findChild<QLineEdit *>(name);
    if (!edit)
        qFatal("no field %s", qPrintable(name));
    return edit;
}

// Replaces the whole text the way a user does: select all, then type.
void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestDimensionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void fieldsAndCaptions_data();
    void fieldsAndCaptions();
    void inputError_data();
    void inputError();
    void deletingShowsErrorAtOnce();
    void errorSelectsTextAndFocusesField();
    void sketchRedrawnOnEveryKeystroke();
    void sketchRedrawnForNonNumericText();
    void leaving_data();
    void leaving();
    void helpButton();
    void tabOrder();
    void noCaptionClipped_data();
    void noCaptionClipped();
};

void TestDimensionsDialog::fieldsAndCaptions_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("L1") << "Text1" << "6.00" << "Feldlänge   L1 =" << "Feldlänge L1";
    QTest::newRow("L2") << "Text2" << "6.00" << "Feldlänge   L2 =" << "Feldlänge L2";
    QTest::newRow("L3") << "Text3" << "5.00" << "Feldlänge   L3 =" << "Feldlänge L3";
    QTest::newRow("left") << "Text4" << "0.00" << "links" << "Kragarm links";
    QTest::newRow("right") << "Text5" << "0.00" << "rechts" << "Kragarm rechts";
}

void TestDimensionsDialog::fieldsAndCaptions()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, defaultText);
    QFETCH(QString, caption);
    QFETCH(QString, accessibleName);
    CalcSession session;
    DimensionsDialog dialog(session);
    QCOMPARE(dialog.objectName(), QStringLiteral("Form2"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Systemabmessungen"));
    QVERIFY(!dialog.isModal());
    // Screen readers learn what the sketch shows.
    QVERIFY(dialog.sketch()->accessibleDescription().contains(u"Skizze des Systems"));

    QLineEdit *edit = field(dialog, fieldName);
    QCOMPARE(edit->text(), defaultText);
    QCOMPARE(edit->accessibleName(), accessibleName);
    // The caption is the label whose buddy is the field.
    const auto labels = dialog.findChildren<QLabel *>();
    auto captionLabel = std::find_if(labels.begin(), labels.end(), [&](QLabel *l) { return l->buddy() == edit; });
    QVERIFY(captionLabel != labels.end());
    QCOMPARE((*captionLabel)->text(), caption);
    const bool cantilever = fieldName == u"Text4" || fieldName == u"Text5";
    QCOMPARE(edit->parentWidget()->objectName() == u"Frame1", cantilever);
    QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("Frame1"))->title(), QStringLiteral("Kragarme"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Geben Sie hier die Systemabmessungen ein."));
    QCOMPARE(dialog.sketch()->objectName(), QStringLiteral("Picture1"));
    for (int i = 0; i < RegionCount; ++i)
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Label3(%1)").arg(i))->text(), QStringLiteral("m"));
}

void TestDimensionsDialog::inputError_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QString>("finalText");
    QTest::newRow("minus first") << "" << "-" << 1 << "-";
    QTest::newRow("point first") << "" << "." << 1 << ".";
    // The box leaves the text selected, so the next key replaces it.
    QTest::newRow("minus then digit") << "" << "-5" << 1 << "5";
    QTest::newRow("number into empty field") << "" << "7.5" << 0 << "7.5";
    QTest::newRow("letter after number") << "6.00" << "m" << 1 << "6.00m";
    QTest::newRow("second point") << "6.0" << "." << 1 << "6.0.";
    QTest::newRow("decimal comma") << "2" << "," << 1 << "2,";
    QTest::newRow("exponent") << "1" << "E3" << 1 << "3";
    QTest::newRow("trailing digits") << "6.00" << "5" << 0 << "6.005";
}

void TestDimensionsDialog::inputError()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(int, boxes);
    QFETCH(QString, finalText);
    CalcSession session;
    DimensionsDialog dialog(session);
    QLineEdit *edit = field(dialog, QStringLiteral("Text2"));
    {
        // An empty start text itself is an input error; only the typing counts.
        MessageLog setup;
        dialog.setLengthText(LengthL2, start);
    }
    MessageLog log;
    QTest::keyClicks(edit, typed);
    QCOMPARE(log.shown.size(), boxes);
    for (const ShownMessage &m : log.shown) {
        QCOMPARE(m.title, QStringLiteral("Eingabefehler"));
        QCOMPARE(m.text, QStringLiteral("Geben Sie bitte eine Zahl ein!"));
        QCOMPARE(m.icon, MsgIcon::None);
        QCOMPARE(m.buttons, MsgButtons::Ok);
    }
    QCOMPARE(dialog.lengthText(LengthL2), finalText);
}

void TestDimensionsDialog::deletingShowsErrorAtOnce()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    QLineEdit *edit = field(dialog, QStringLiteral("Text1"));
    MessageLog log;
    // "6.0", "6." and "6" are numbers; the box comes with the empty text.
    const int expected[] = {0, 0, 0, 1};
    for (int boxes : expected) {
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(log.shown.size(), boxes);
    }
    QCOMPARE(dialog.lengthText(LengthL1), QString());

    // A new number afterwards is accepted silently.
    QTest::keyClicks(edit, QStringLiteral("4.5"));
    QCOMPARE(log.shown.size(), 1);
    QCOMPARE(dialog.lengthText(LengthL1), QStringLiteral("4.5"));
}

void TestDimensionsDialog::errorSelectsTextAndFocusesField()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->setFocus();

    QLineEdit *edit = field(dialog, QStringLiteral("Text3"));
    MessageLog log;
    log.watched = edit;
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(log.shown.size(), 1);
    // Nothing was selected while the box was up; afterwards all of it is.
    QCOMPARE(log.selectionAtBox.value(0), QString());
    QCOMPARE(edit->selectedText(), QStringLiteral("5.00x"));
    QCOMPARE(edit->selectionStart(), 0);
    QVERIFY(edit->hasFocus());
    QCOMPARE(dialog.lengthText(LengthL3), QStringLiteral("5.00x"));
}

void TestDimensionsDialog::sketchRedrawnOnEveryKeystroke()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    QLineEdit *edit = field(dialog, QStringLiteral("Text2"));
    PictureArea *sketch = dialog.sketch();
    dialog.setLengthText(LengthL2, QStringLiteral("1"));

    struct Step
    {
        QChar key;
        const char *label;   // caption of the L2 label, Label8(2)
        double total;        // L1 + L2 + L3 + cantilevers
    };
    const Step steps[] = {{u'7', "17.00", 6 + 17 + 5}, {u'.', "17.00", 6 + 17 + 5},
                          {u'2', "17.20", 6 + 17.2 + 5}, {u'5', "17.25", 6 + 17.25 + 5}};
    MessageLog log;
    for (const Step &step : steps) {
        sketch->clearPicture();
        QTest::keyClick(edit, step.key.toLatin1());
        QVERIFY2(!sketch->items().empty(), "sketch not redrawn");
        QCOMPARE(sketch->labelStates().at(2).text, QString::fromLatin1(step.label));
        QVERIFY(sketch->labelStates().at(2).visible);
        QCOMPARE(session.TotalLength, step.total);
    }
    QCOMPARE(log.shown.size(), 0);
}

void TestDimensionsDialog::sketchRedrawnForNonNumericText()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    QLineEdit *edit = field(dialog, QStringLiteral("Text4"));
    MessageLog log;
    QTest::keyClicks(edit, QStringLiteral("1"));   // "0.001"
    QVERIFY(dialog.sketch()->labelStates().at(0).visible);

    // "-" reads as 0: the box comes first, then the sketch loses the
    // cantilever label.
    retype(edit, QStringLiteral("-"));
    QCOMPARE(log.shown.size(), 1);
    QVERIFY(!dialog.sketch()->labelStates().at(0).visible);
    QCOMPARE(session.TotalLength, 17.0);
}

void TestDimensionsDialog::leaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("title bar") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestDimensionsDialog::leaving()
{
    QFETCH(QString, how);
    CalcSession session;
    DimensionsDialog dialog(session);
    // As after the single-span command.
    dialog.setLengthText(LengthL2, QStringLiteral("0.00"));
    dialog.setLengthText(LengthL3, QStringLiteral("0.00"));
    dialog.setSpanRowVisible(LengthL2, false);
    dialog.setSpanRowVisible(LengthL3, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!field(dialog, QStringLiteral("Text2"))->isVisible());
    QVERIFY(!field(dialog, QStringLiteral("Text3"))->isVisible());
    QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("Label3(1)"))->isVisible());
    QVERIFY(field(dialog, QStringLiteral("Text1"))->isVisible());
    QVERIFY(field(dialog, QStringLiteral("Text4"))->isVisible());
    field(dialog, QStringLiteral("Text1"))->setText(QStringLiteral("4.25"));

    if (how == u"ok")
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    else if (how == u"close")
        QVERIFY(dialog.close());
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);

    QVERIFY(dialog.isHidden());
    for (int i = LengthL1; i <= LengthL3; ++i) {
        QVERIFY(!field(dialog, QStringLiteral("Text%1").arg(i + 1))->isHidden());
        QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("Label2(%1)").arg(i))->isHidden());
        QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("Label3(%1)").arg(i))->isHidden());
    }
    QCOMPARE(dialog.lengthTexts(), (std::array<QString, RegionCount>{"4.25", "0.00", "0.00", "0.00", "0.00"}));
}

void TestDimensionsDialog::helpButton()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    MessageLog log;
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(log.shown.size(), 1);
    QCOMPARE(log.shown[0].title, QStringLiteral("Hilfe"));
    QCOMPARE(log.shown[0].text, QStringLiteral("Derzeit noch keine Hilfe installiert!"));
    QCOMPARE(log.shown[0].icon, MsgIcon::Information);
    QCOMPARE(log.shown[0].buttons, MsgButtons::Ok);
}

void TestDimensionsDialog::tabOrder()
{
    CalcSession session;
    DimensionsDialog dialog(session);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    field(dialog, QStringLiteral("Text1"))->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"Text1", "Text2", "Text3", "Text4", "Text5", "Command1", "Command2"}));
}

void TestDimensionsDialog::noCaptionClipped_data()
{
    test::AddFontScaleRows();
}

// Every label and button gets at least the room its text asks for, also with
// a large font.
void TestDimensionsDialog::noCaptionClipped()
{
    QFETCH(qreal, fontScale);
    {
        const test::ScaledApplicationFont scaled(fontScale);
        CalcSession session;
        DimensionsDialog dialog(session);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            if (qobject_cast<PictureArea *>(label->parentWidget()))
                continue;   // the sketch sizes its own labels
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            QVERIFY(button->width() >= button->sizeHint().width());
        for (int i = 0; i < RegionCount; ++i) {
            QLineEdit *edit = field(dialog, QStringLiteral("Text%1").arg(i + 1));
            QVERIFY(edit->width() >= edit->fontMetrics().horizontalAdvance(QStringLiteral("000.00")));
        }
    }
}

QTEST_MAIN(TestDimensionsDialog)
#include "tst_ui_dimensions.moc"
