// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The results window: its creation, the design inputs, the schematic, the
// result lines and the three picture buttons.

#include "analysis/analysis.h"
#include "widgets/inputwindows.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "session/session.h"
#include "design/design.h"
#include "widgets/fittinglabel.h"
#include "results/resultswindow.h"
#include "results/systemschematic.h"
#include "graphics/drawing.h"
#include "widgets/picturearea.h"
#include "presentation/captions.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace varno;

namespace {

const QString RefusalText = QStringLiteral("Geben Sie eine Zahl ein, die größer Null ist.");

class FakeInputs : public InputWindows
{
public:
    ProjectTexts texts = ProjectTexts::Defaults();
    QStringList timber;
    QStringList steel;
    QString directory;

    ProjectTexts projectTexts() const override { return texts; }
    QStringList timberValues() const override { return timber; }
    QStringList steelValues() const override { return steel; }
    QString dataDirectory() const override { return directory; }
};

ProjectTexts withLengths(const QStringList &lengths)
{
    ProjectTexts t = ProjectTexts::Defaults();
    for (int i = 0; i < RegionCount; ++i)
        t.lengths[i] = lengths.value(i, QStringLiteral("0.00"));
    return t;
}

QString pointLabelName(int slot)
{
    return QStringLiteral("Label3(%1)").arg(slot < 24 ? slot : slot + 1);
}

bool sameItems(const std::vector<DisplayItem> &actual, const std::vector<DisplayItem> &expected)
{
    if (actual.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const DisplayItem &a = actual[i];
        const DisplayItem &e = expected[i];
        if (a.kind != e.kind || a.a != e.a || a.b != e.b || a.color != e.color || a.width != e.width)
            return false;
    }
    return true;
}

} // namespace

class ResultsWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ResultsWindow> makeWindow()
    {
        auto window = std::make_unique<ResultsWindow>(m_session, m_inputs);
        // Deleted by the test, not by a close.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        return window;
    }
    template<typename T>
    static T *child(QObject *window, const QString &name)
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qWarning("no child %s", qPrintable(name));
        return found;
    }
    int refusals() const
    {
        int n = 0;
        for (const ShownMessage &m : m_messages)
            n += m.text == RefusalText && m.icon == MsgIcon::None ? 1 : 0;
        return n;
    }
    int warnings() const
    {
        int n = 0;
        for (const ShownMessage &m : m_messages)
            n += m.title == QStringLiteral("Warnung") && m.icon == MsgIcon::Warning ? 1 : 0;
        return n;
    }
    void analyse()
    {
        const AnalysisOutcome outcome = RunAnalysis(m_inputs.texts, m_session.results);
        QVERIFY(!outcome.refused);
    }

    FakeInputs m_inputs;
    CalcSession m_session;
    std::vector<ShownMessage> m_messages;

private slots:
    void initTestCase()
    {
        SetMessageHandler([this](const ShownMessage &m) {
            m_messages.push_back(m);
            return MsgResult::Ok;
        });
    }
    void cleanupTestCase() { SetMessageHandler({}); }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_messages.clear();
        m_session = CalcSession{};
        m_inputs = FakeInputs{};
        m_inputs.directory = DefaultDataDirectory();
        bool readable = false;
        m_inputs.timber = ReadTimberValues(MaterialTablePath(m_inputs.directory), 1, &readable);
        QVERIFY2(readable, "wert2.txt beside the test program");
        m_inputs.steel = ReadSteelValues(MaterialTablePath(m_inputs.directory), 0, &readable);
        QVERIFY(readable);
    }

    void creationSetsDefaults()
    {
        auto window = makeWindow();
        QCOMPARE(window->objectName(), QStringLiteral("Form5"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Ergebnisse"));
        QVERIFY(!window->isModal());
        QCOMPARE(child<QLineEdit>(window.get(), "Text1")->text(), QStringLiteral("8.0"));
        QCOMPARE(child<QLineEdit>(window.get(), "Text2")->text(), QStringLiteral("300"));
        QCOMPARE(child<QLineEdit>(window.get(), "Text3")->text(), QStringLiteral("150"));
        auto *series = child<QComboBox>(window.get(), "Combo1");
        QCOMPARE(series->count(), 3);
        QCOMPARE(series->itemText(0), QStringLiteral("IPE"));
        QCOMPARE(series->itemText(2), QStringLiteral("HE-B"));
        QCOMPARE(series->currentText(), QStringLiteral("HE-A"));
        // Three field assignments and the one selection of HE-A.
        QCOMPARE(window->designRunCount(), 4);
        QCOMPARE(window->widthText(), QStringLiteral("8.0"));

        QCOMPARE(child<QLabel>(window.get(), "Label1(5)")->text(),
                 QStringLiteral("Das Programm hat folgende Ergebnisse berechnet."));
        QCOMPARE(window->designText(0), QStringLiteral("Holz   S 10 / MS 10"));
        QCOMPARE(window->designText(2), QStringLiteral("b = "));
        QCOMPARE(window->designText(3), QStringLiteral("cm"));
        QCOMPARE(window->designText(5), QStringLiteral("Stahl   St 360 C (S235JO)"));
        QCOMPARE(window->designText(7), QStringLiteral("Profil"));
        for (int i = 0; i < ResultLineCount; ++i)
            QVERIFY2(window->resultText(i).isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(m_messages.empty());

        QCOMPARE(child<QLineEdit>(window.get(), "Text1")->accessibleName(), QStringLiteral("Breite b"));
        QCOMPARE(child<QLineEdit>(window.get(), "Text2")->accessibleName(), QStringLiteral("Durchbiegung FeldL"));
        QCOMPARE(child<QLineEdit>(window.get(), "Text3")->accessibleName(), QStringLiteral("Durchbiegung KragL"));
        QCOMPARE(series->accessibleName(), QStringLiteral("Profilreihe"));
        QCOMPARE(window->picture()->objectName(), QStringLiteral("Picture1"));
        QVERIFY(window->picture()->label(36));
    }

    void gradeCaptionsFollowTheMaterialChoice()
    {
        m_inputs.texts.timberGrade = 13;
        m_inputs.texts.steelGrade = 2;
        auto window = makeWindow();
        QCOMPARE(window->designText(0), QStringLiteral("Holz   BS 18  Typ 2 u. 3"));
        QCOMPARE(window->designText(5), QStringLiteral("Stahl   St 510 C (S355JO)"));
    }

    void creationDesignsTheSelectedSeries()
    {
        m_inputs.texts = withLengths({"6.00"});
        analyse();
        auto window = makeWindow();
        // The field runs design with HE-B while the list is empty; the last
        // run of the creation is the one of the selected HE-A.
        QVERIFY2(window->designText(8).startsWith(QStringLiteral("HE-A  ")), qPrintable(window->designText(8)));
        QVERIFY(window->designText(1).startsWith(QStringLiteral("Wy erf =  ")));
        QVERIFY(window->designText(9).startsWith(QStringLiteral("Holz:  ")));
        auto *holder = child<QListWidget>(window.get(), "List1");
        QVERIFY(holder->isHidden());
        QVERIFY(!m_session.design.ProfileHolder.isEmpty());
        QCOMPARE(holder->count(), m_session.design.ProfileHolder.size());
        for (int i = 0; i < holder->count(); ++i)
            QCOMPARE(holder->item(i)->text(), m_session.design.ProfileHolder.at(i));
    }

    void okDiscardsAndNextWindowStartsFromDefaults()
    {
        auto *first = new ResultsWindow(m_session, m_inputs);
        QPointer<ResultsWindow> guard(first);
        QSignalSpy discarded(first, &ResultsWindow::discarded);
        child<QLineEdit>(first, "Text1")->setText(QStringLiteral("12"));
        child<QLineEdit>(first, "Text2")->setText(QStringLiteral("250"));
        child<QComboBox>(first, "Combo1")->setCurrentIndex(0);
        QTest::mouseClick(child<QPushButton>(first, "Command1"), Qt::LeftButton);
        QCOMPARE(discarded.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());

        // A stale designation in the holder must not reach the new window:
        // with no load the search passes at once and shows what the holder has.
        m_session.design.ProfileHolder = {"1", "2", "3", "HEB 300"};
        m_session.results = ResultSet{};
        auto second = makeWindow();
        QCOMPARE(second->widthText(), QStringLiteral("8.0"));
        QCOMPARE(child<QLineEdit>(second.get(), "Text2")->text(), QStringLiteral("300"));
        QCOMPARE(child<QLineEdit>(second.get(), "Text3")->text(), QStringLiteral("150"));
        QCOMPARE(child<QComboBox>(second.get(), "Combo1")->currentText(), QStringLiteral("HE-A"));
        QCOMPARE(second->designText(8), QStringLiteral("HE-A  "));
    }

    void titleBarCloseDiscards()
    {
        auto *window = new ResultsWindow(m_session, m_inputs);
        QPointer<ResultsWindow> guard(window);
        QSignalSpy discarded(window, &ResultsWindow::discarded);
        window->show();
        QVERIFY(window->close());
        QCOMPARE(discarded.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    void typingIntoADesignField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("refused");

        // Emptying the field is refused once before the first key.
        QTest::newRow("width 12") << "Text1" << "12" << 2 << 1;
        QTest::newRow("width 0") << "Text1" << "0" << 0 << 2;
        QTest::newRow("width -5") << "Text1" << "-5" << 0 << 3;
        QTest::newRow("width 2.5") << "Text1" << "2.5" << 3 << 1;
        QTest::newRow("width .5") << "Text1" << ".5" << 1 << 2;
        QTest::newRow("width 0.5") << "Text1" << "0.5" << 1 << 3;
        QTest::newRow("span limit 12") << "Text2" << "12" << 2 << 1;
        QTest::newRow("span limit -5") << "Text2" << "-5" << 0 << 3;
        QTest::newRow("cantilever limit 0") << "Text3" << "0" << 0 << 2;
        QTest::newRow("cantilever limit 200") << "Text3" << "200" << 3 << 1;
    }
    void typingIntoADesignField()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, runs);
        QFETCH(int, refused);

        auto window = makeWindow();
        auto *edit = child<QLineEdit>(window.get(), field);
        const int before = window->designRunCount();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, typed);

        QCOMPARE(window->designRunCount() - before, runs);
        QCOMPARE(refusals(), refused);
        QCOMPARE(int(m_messages.size()), refused);
        QCOMPARE(edit->text(), typed);
    }

    void designFailureShownOncePerWindow()
    {
        m_inputs.texts = withLengths({"6.00"});
        analyse();
        m_inputs.directory = QStringLiteral(VARNO_TEST_DATA_DIR "/no-such-folder");
        auto window = makeWindow();
        QCOMPARE(warnings(), 1);
        QVERIFY(!m_messages.back().text.isEmpty());

        QTest::keyClicks(child<QLineEdit>(window.get(), "Text1"), QStringLiteral("5"));
        window->runDesign();
        QCOMPARE(warnings(), 1);

        window.reset();
        auto again = makeWindow();
        QCOMPARE(warnings(), 2);
    }

    void pointLoadLabelVisibility_data()
    {
        QTest::addColumn<QStringList>("lengths");
        QTest::addColumn<QList<int>>("slotList");
        QTest::addColumn<QStringList>("forces");
        QTest::addColumn<QList<int>>("shown");

        const QStringList single{"6.00", "0.00", "0.00", "0.00", "0.00"};
        QTest::newRow("forces 5, 0, 7 show F1 only") << single << QList<int>{0, 1, 2} << QStringList{"5", "0", "7"}
                                                     << QList<int>{0};
        QTest::newRow("first slot empty hides the region")
            << single << QList<int>{0, 1} << QStringList{"0", "5"} << QList<int>{};
        QTest::newRow("negative force is a load") << single << QList<int>{0} << QStringList{"-3"} << QList<int>{0};
        QTest::newRow("text without number reads 0")
            << single << QList<int>{0, 1} << QStringList{"4", "kN"} << QList<int>{0};
        QTest::newRow("all seven of span 2")
            << QStringList{"6", "6", "5", "0", "0"} << QList<int>{7, 8, 9, 10, 11, 12, 13}
            << QStringList{"1", "2", "3", "4", "5", "6", "7"} << QList<int>{7, 8, 9, 10, 11, 12, 13};
        QTest::newRow("right cantilever slots 24 to 26")
            << QStringList{"6", "0", "0", "0", "2"} << QList<int>{24, 25, 26} << QStringList{"1", "2", "3"}
            << QList<int>{24, 25, 26};
        QTest::newRow("left cantilever of length 0")
            << single << QList<int>{21, 22} << QStringList{"4", "4"} << QList<int>{};
        QTest::newRow("span 3 of a two-span beam")
            << QStringList{"6", "6", "0", "0", "0"} << QList<int>{14, 7} << QStringList{"4", "2"} << QList<int>{7};
    }
    void pointLoadLabelVisibility()
    {
        QFETCH(QStringList, lengths);
        QFETCH(QList<int>, slotList);
        QFETCH(QStringList, forces);
        QFETCH(QList<int>, shown);

        m_inputs.texts = withLengths(lengths);
        for (int i = 0; i < slotList.size(); ++i) {
            m_inputs.texts.force[slotList[i]] = forces[i];
            m_inputs.texts.distance[slotList[i]] = QStringLiteral("1");
        }
        auto window = makeWindow();
        for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
            auto *label = child<QLabel>(window.get(), pointLabelName(slot));
            QVERIFY(label);
            QCOMPARE(!label->isHidden(), shown.contains(slot));
        }
        QVERIFY(!window->findChild<QLabel *>(QStringLiteral("Label3(24)")));
    }

    void pointLoadLabelText_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("force");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");

        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("span 1 first slot") << 0 << "10" << "2.5" << c << "F1 = 10.00  kN  a = 2.50 m";
        QTest::newRow("span 2 third slot") << 9 << "3" << "1" << c << "F3 = 3.00  kN  a = 1.00 m";
        QTest::newRow("span 3 seventh slot") << 20 << "0.004" << "4.996" << c << "F7 = 0.00  kN  a = 5.00 m";
        QTest::newRow("left cantilever first slot") << 21 << "1.5" << "0" << c << "F1 = 1.50  kN  a = 0.00 m";
        QTest::newRow("right cantilever second slot") << 25 << "-2" << "1.25" << c << "F2 = -2.00  kN  a = 1.25 m";
        QTest::newRow("german decimal comma") << 0 << "10" << "2.5" << german << "F1 = 10,00  kN  a = 2,50 m";
        QTest::newRow("no group separator") << 1 << "1234.5" << "2" << german << "F2 = 1234,50  kN  a = 2,00 m";
    }
    void pointLoadLabelText()
    {
        QFETCH(int, slot);
        QFETCH(QString, force);
        QFETCH(QString, distance);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);

        QLocale::setDefault(locale);
        m_inputs.texts = withLengths({"6", "6", "5", "2", "2"});
        m_inputs.texts.force[slot] = force;
        m_inputs.texts.distance[slot] = distance;
        auto window = makeWindow();
        QCOMPARE(child<QLabel>(window.get(), pointLabelName(slot))->text(), expected);
    }

    void regionLoadLabel_data()
    {
        QTest::addColumn<int>("region");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");

        const QLocale c = QLocale::c();
        QTest::newRow("span 1, two blanks") << 1 << c << "Gleichlast =  3.50  kN/m";
        QTest::newRow("span 2, two blanks") << 2 << c << "Gleichlast =  3.50  kN/m";
        QTest::newRow("span 3, one blank") << 3 << c << "Gleichlast =  3.50 kN/m";
        QTest::newRow("left cantilever, one blank") << 4 << c << "Gleichlast =  3.50 kN/m";
        QTest::newRow("right cantilever, one blank") << 5 << c << "Gleichlast =  3.50 kN/m";
        QTest::newRow("german span 1") << 1 << QLocale(QLocale::German, QLocale::Germany)
                                       << "Gleichlast =  3,50  kN/m";
    }
    void regionLoadLabel()
    {
        QFETCH(int, region);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);

        QLocale::setDefault(locale);
        m_inputs.texts = withLengths({"6", "6", "5", "1", "1"});
        m_inputs.texts.uniform[region - 1] = {"2", "1.5", "0", "0"};
        auto window = makeWindow();
        QCOMPARE(child<QLabel>(window.get(), QStringLiteral("Label2(%1)").arg(region - 1))->text(), expected);
    }

    void lengthLabelKeepsTheTypedText()
    {
        m_inputs.texts = withLengths({"6.00", "4.5m", "5", "0.00", "1.75"});
        auto window = makeWindow();
        QCOMPARE(child<QLabel>(window.get(), "Label1(0)")->text(), QStringLiteral("6.00 m"));
        QCOMPARE(child<QLabel>(window.get(), "Label1(1)")->text(), QStringLiteral("4.5m m"));
        QCOMPARE(child<QLabel>(window.get(), "Label1(2)")->text(), QStringLiteral("5 m"));
        QCOMPARE(child<QLabel>(window.get(), "Label1(4)")->text(), QStringLiteral("1.75 m"));
    }

    void schematicPerSystem_data()
    {
        QTest::addColumn<QStringList>("lengths");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QList<int>>("regions");   // left to right

        QTest::newRow("single span") << QStringList{"6", "0", "0", "0", "0"} << "AB" << QList<int>{1};
        QTest::newRow("two spans") << QStringList{"6", "6", "0", "0", "0"} << "ABC" << QList<int>{1, 2};
        QTest::newRow("three spans") << QStringList{"6", "6", "5", "0", "0"} << "ABCD" << QList<int>{1, 2, 3};
        QTest::newRow("single span, right cantilever")
            << QStringList{"6", "0", "0", "0", "1.5"} << "AB" << QList<int>{1, 5};
        QTest::newRow("two spans, left cantilever")
            << QStringList{"6", "6", "0", "2", "0.00"} << "ABC" << QList<int>{4, 1, 2};
        QTest::newRow("three spans, both cantilevers")
            << QStringList{"6", "6", "5", "1", "1.5"} << "ABCD" << QList<int>{4, 1, 2, 3, 5};
        QTest::newRow("L3 without L2 is three spans")
            << QStringList{"6", "0", "5", "0", "0"} << "ABCD" << QList<int>{1, 2, 3};
    }
    void schematicPerSystem()
    {
        QFETCH(QStringList, lengths);
        QFETCH(QString, letters);
        QFETCH(QList<int>, regions);

        m_inputs.texts = withLengths(lengths);
        m_inputs.texts.force[0] = QStringLiteral("10");
        m_inputs.texts.force[24] = QStringLiteral("10");
        auto window = makeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *schematic = window->findChild<SystemSchematic *>();
        QVERIFY(schematic);

        const QString all = QStringLiteral("ABCD");
        for (int s = 0; s < 4; ++s) {
            QLabel *letter = schematic->supportLetter(s);
            QCOMPARE(letter->text(), all.mid(s, 1));
            QCOMPARE(letter->isVisible(), letters.contains(all[s]));
        }
        double previousRight = -1;
        for (int region = 1; region <= RegionCount; ++region) {
            const bool present = regions.contains(region);
            QCOMPARE(schematic->lengthLabel(region)->isVisible(), present);
            QCOMPARE(schematic->loadLabel(region)->isVisible(), present);
            QCOMPARE(schematic->regionBeam(region).isNull(), !present);
        }
        // Left to right without gaps, labels over their own stretch of beam.
        for (int region : regions) {
            const QLineF beam = schematic->regionBeam(region);
            if (previousRight >= 0)
                QCOMPARE(beam.x1(), previousRight);
            previousRight = beam.x2();
            QVERIFY(beam.x2() <= schematic->width());
            for (QLabel *label : {schematic->lengthLabel(region), schematic->loadLabel(region)}) {
                const double centre = label->geometry().center().x();
                QVERIFY2(centre > beam.x1() && centre < beam.x2(), qPrintable(label->objectName()));
                QVERIFY2(label->geometry().width() >= label->sizeHint().width(), qPrintable(label->objectName()));
            }
            const int first = FirstSlot(region);
            QLabel *point = schematic->pointLoadLabel(first);
            if (point->isVisible())
                QVERIFY(point->geometry().left() >= beam.x1() && point->geometry().right() <= beam.x2() + 1);
        }
        // The support letters sit under the ends of the spans.
        const QLineF span1 = schematic->regionBeam(Span1);
        QVERIFY(qAbs(schematic->supportLetter(0)->geometry().center().x() - span1.x1()) <= 1);
        QVERIFY(qAbs(schematic->supportLetter(1)->geometry().center().x() - span1.x2()) <= 1);
    }

    // Long texts neither widen the window nor push its controls off the
    // screen: a number too long for its place is shortened with "…" and
    // keeps its whole text in the tooltip and the accessible description; a
    // failed design's text wraps. Once the texts are short again, the
    // window looks as before.
    void longTextsKeepTheWindowSize_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<qreal>("fontScale");
        const QStringList triggers = {QStringLiteral("empty width"), QStringLiteral("width 1e308"),
                                      QStringLiteral("load 1e200"), QStringLiteral("no material file"),
                                      QStringLiteral("no profile table")};
        for (const qreal scale : {1.0, 2.0})
            for (const QString &trigger : triggers)
                QTest::addRow("%s, font x%g", qPrintable(trigger), scale) << trigger << scale;
    }
    void longTextsKeepTheWindowSize()
    {
        QFETCH(QString, trigger);
        QFETCH(qreal, fontScale);
        varno::test::ScaledApplicationFont font(fontScale);
        QTemporaryDir emptyFolder;

        auto window = makeWindow();
        auto run = [&] {
            const AnalysisOutcome outcome = RunAnalysis(m_inputs.texts, m_session.results);
            window->writeResultLines(outcome);
            window->runDesign();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            return ResultLines(m_session.results, outcome.spans, QLocale());
        };
        auto shortened = [&] {
            QStringList out;
            for (const FittingLabel *label : window->findChildren<FittingLabel *>()) {
                if (!label->isVisible())
                    continue;
                // Shortened exactly when the tooltip carries the whole text.
                if (label->isShortened() != !label->toolTip().isEmpty()
                    || (label->isShortened()
                        && (label->toolTip() != label->text() || label->accessibleDescription() != label->text())))
                    out << QStringLiteral("tooltip of ") + label->objectName();
                if (label->isShortened())
                    out << label->objectName();
            }
            return out;
        };
        run();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize normalSize = window->size();
        const QStringList normallyShortened = shortened();
        // The double font stands for 200 % scaling of a screen half as large
        // in logical pixels; there the window only must not grow.
        const QRect screen = window->screen()->availableGeometry();
        if (fontScale == 1.0)
            QVERIFY(normalSize.width() <= screen.width() && normalSize.height() <= screen.height());

        const ProjectTexts normalTexts = m_inputs.texts;
        const FakeInputs normalInputs = m_inputs;
        auto *width = child<QLineEdit>(window.get(), "Text1");
        if (trigger == QLatin1String("empty width"))
            width->setText(QString());
        else if (trigger == QLatin1String("width 1e308"))
            width->setText(QStringLiteral("1e308"));
        else if (trigger == QLatin1String("load 1e200"))
            m_inputs.texts.uniform[0][LoadG] = QStringLiteral("1e200");
        else if (trigger == QLatin1String("no material file"))
            m_inputs.timber = m_inputs.steel = {};
        else
            m_inputs.directory = emptyFolder.path();
        const ResultLineTexts outcome = run();
        QTest::qWait(1);

        QCOMPARE(window->size(), normalSize);
        QVERIFY(window->minimumSizeHint().width() <= normalSize.width());
        const QStringList now = shortened();
        QVERIFY2(!now.join(u' ').contains(QLatin1String("tooltip")), qPrintable(now.join(u' ')));
        // The texts themselves are whole, as the report prints them.
        for (int n = 0; n < ResultLineCount; ++n)
            if (outcome.visible[n])
                QCOMPARE(window->resultText(n), outcome.lines[n]);
        if (trigger == QLatin1String("load 1e200"))
            QVERIFY(now.contains(QStringLiteral("Label6(1)")));
        else if (trigger != QLatin1String("width 1e308"))
            QVERIFY((window->designText(9) + window->designText(10)).contains(u"keine Bemessung möglich"));

        m_inputs = normalInputs;
        m_inputs.texts = normalTexts;
        width->setText(QStringLiteral("8.0"));
        run();
        QTest::qWait(1);
        QCOMPARE(window->size(), normalSize);
        QCOMPARE(shortened(), normallyShortened);
    }

    // The label's text changes through QLabel's own setText and clear(),
    // which it is not told of; what it shows and its tooltip must agree all
    // the same once it is on screen.
    void shortenedLabelFollowsEveryTextChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("long text stays") << QStringLiteral("none") << true;
        QTest::newRow("short text after a long one") << QStringLiteral("short") << false;
        QTest::newRow("clear after a long text") << QStringLiteral("clear") << false;
    }
    void shortenedLabelFollowsEveryTextChange()
    {
        QFETCH(QString, change);
        QFETCH(bool, shortened);
        QWidget host;
        auto *fitting = new FittingLabel(FittingLabel::Mode::Shorten, QStringLiteral("0.00 m"), &host);
        fitting->setGeometry(0, 0, 60, 20);
        host.resize(60, 20);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        QLabel *label = fitting;
        const QString longText = QStringLiteral("Auflagerkraft  B = 123456789.00  kN");
        label->setText(longText);
        QTRY_VERIFY(fitting->isShortened());
        QCOMPARE(fitting->toolTip(), longText);
        if (change == QLatin1String("short"))
            label->setText(QStringLiteral("1"));
        else if (change == QLatin1String("clear"))
            label->clear();
        QTRY_COMPARE(fitting->isShortened(), shortened);
        QCOMPARE(fitting->toolTip(), shortened ? longText : QString());
        QCOMPARE(fitting->accessibleDescription(), shortened ? longText : QString());
    }

    void resultLinesPerSystem_data()
    {
        QTest::addColumn<QStringList>("lengths");
        QTest::addColumn<QList<int>>("visible");

        QTest::newRow("single span") << QStringList{"6", "0", "0", "0", "0"}
                                     << QList<int>{0, 1, 4, 7, 8, 9, 10, 15, 16};
        QTest::newRow("single span, cantilevers") << QStringList{"6", "0", "0", "1", "1"}
                                                  << QList<int>{0, 1, 4, 7, 8, 9, 10, 15, 16};
        QTest::newRow("two spans") << QStringList{"5", "5", "0", "0", "0"}
                                   << QList<int>{0, 1, 2, 4, 5, 7, 8, 9, 10, 11, 12, 15, 16, 17};
        QTest::newRow("three spans") << QStringList{"6", "6", "5", "0", "0"}
                                     << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    }
    void resultLinesPerSystem()
    {
        QFETCH(QStringList, lengths);
        QFETCH(QList<int>, visible);

        m_inputs.texts = withLengths(lengths);
        auto window = makeWindow();
        const AnalysisOutcome outcome = RunAnalysis(m_inputs.texts, m_session.results);
        QVERIFY(!outcome.refused);
        window->writeResultLines(outcome);
        const ResultLineTexts shown = ResultLines(m_session.results, outcome.spans, QLocale());
        for (int n = 0; n < ResultLineCount; ++n) {
            auto *label = child<QLabel>(window.get(), QStringLiteral("Label6(%1)").arg(n));
            QCOMPARE(!label->isHidden(), visible.contains(n));
            QCOMPARE(window->resultText(n), visible.contains(n) ? shown.lines[n] : QString());
        }
    }

    void smallerSystemHidesLinesOfALargerOne()
    {
        auto window = makeWindow();
        m_inputs.texts = withLengths({"6", "6", "5"});
        window->writeResultLines(RunAnalysis(m_inputs.texts, m_session.results));
        QVERIFY(!window->resultText(18).isEmpty());

        m_inputs.texts = withLengths({"6"});
        window->writeResultLines(RunAnalysis(m_inputs.texts, m_session.results));
        for (int n : {2, 3, 5, 6, 11, 12, 13, 14, 17, 18})
            QVERIFY2(window->resultText(n).isEmpty(), qPrintable(QString::number(n)));
        QVERIFY(!window->resultText(16).isEmpty());
    }

    void refusedRunKeepsTheLines()
    {
        auto window = makeWindow();
        m_inputs.texts = withLengths({"6"});
        window->writeResultLines(RunAnalysis(m_inputs.texts, m_session.results));
        const QString before = window->resultText(8);
        QVERIFY(!before.isEmpty());

        AnalysisOutcome refused;
        refused.refused = true;
        refused.refusal = QStringLiteral("abgelehnt");
        window->writeResultLines(refused);
        QCOMPARE(window->resultText(8), before);
    }

    void pictureButtons_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QStringList>("layers");

        QTest::newRow("System") << QStringList{"Command4"} << QStringList{"system"};
        QTest::newRow("Moment over the system") << QStringList{"Command4", "Command5"}
                                                << QStringList{"system", "moment"};
        QTest::newRow("Querkraft over the system") << QStringList{"Command4", "Command6"}
                                                   << QStringList{"system", "shear"};
        QTest::newRow("both diagrams") << QStringList{"Command4", "Command5", "Command6"}
                                       << QStringList{"system", "moment", "shear"};
        QTest::newRow("Moment twice") << QStringList{"Command4", "Command5", "Command5"}
                                      << QStringList{"system", "moment", "moment"};
        QTest::newRow("System clears the diagrams") << QStringList{"Command4", "Command6", "Command4"}
                                                    << QStringList{"system"};
        QTest::newRow("Moment on an empty area") << QStringList{"Command5"} << QStringList{"moment"};
    }
    void pictureButtons()
    {
        QFETCH(QStringList, presses);
        QFETCH(QStringList, layers);

        m_inputs.texts = withLengths({"6", "0", "0", "0", "2"});
        m_inputs.texts.uniform[0] = {"2", "3", "0", "0"};
        m_inputs.texts.force[0] = QStringLiteral("10");
        m_inputs.texts.distance[0] = QStringLiteral("2");
        m_inputs.texts.force[24] = QStringLiteral("5");
        m_inputs.texts.distance[24] = QStringLiteral("2");
        analyse();
        auto window = makeWindow();
        window->runDesign();
        QVERIFY(m_session.design.GoverningMoment != 0);

        // What each procedure draws for the same inputs and results.
        CalcSession scratch = m_session;
        const DisplayList system = DrawSystemAndLoadPicture(ReadBeam(m_inputs.texts), scratch, QLocale());
        const DisplayList moment = DrawMomentDiagram(ReadBeam(m_inputs.texts), scratch);
        const DisplayList shear = DrawShearDiagram(ReadBeam(m_inputs.texts), scratch);
        QVERIFY(!system.items.empty() && !moment.items.empty() && !shear.items.empty());

        for (const QString &name : presses)
            QTest::mouseClick(child<QPushButton>(window.get(), name), Qt::LeftButton);

        std::vector<DisplayItem> expected;
        for (const QString &layer : layers) {
            const DisplayList &part = layer == QLatin1String("system") ? system
                : layer == QLatin1String("moment")                   ? moment
                                                                     : shear;
            expected.insert(expected.end(), part.items.begin(), part.items.end());
        }
        QVERIFY(sameItems(window->picture()->items(), expected));
        // Its description names exactly what is drawn.
        const QString description = window->picture()->accessibleDescription();
        QCOMPARE(description.contains(u"System mit"), layers.contains(QStringLiteral("system")));
        QCOMPARE(description.contains(u"Momentenlinie"), layers.contains(QStringLiteral("moment")));
        QCOMPARE(description.contains(u"Querkraftlinie"), layers.contains(QStringLiteral("shear")));

        // The diagrams leave the labels of the load picture as they are.
        const bool systemDrawn = presses.contains(QStringLiteral("Command4"));
        const std::vector<DisplayLabel> &labels = window->picture()->labelStates();
        QCOMPARE(labels.size(), std::size_t(37));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const bool shown = systemDrawn && system.labels[i].visible;
            QCOMPARE(labels[i].visible, shown);
            if (shown)
                QCOMPARE(labels[i].text, system.labels[i].text);
        }
        QVERIFY(m_messages.empty());
    }

    void ctrlCCopiesThePictureShown_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("picture");      // false: the field copies its own text
        QTest::addColumn<QColor>("diagram");    // a colour the copied image shows

        QTest::newRow("system, focus on OK") << QStringList{"Command4"} << "Command1" << true << PaletteDarkBlue;
        QTest::newRow("moment over the system") << QStringList{"Command4", "Command5"} << "Command5" << true
                                                << PaletteRed;
        QTest::newRow("shear over the system") << QStringList{"Command4", "Command6"} << "Combo1" << true
                                               << PaletteGreen;
        QTest::newRow("width field copies its text") << QStringList{"Command4"} << "Text1" << false << QColor();
    }
    void ctrlCCopiesThePictureShown()
    {
        QFETCH(QStringList, presses);
        QFETCH(QString, focus);
        QFETCH(bool, picture);
        QFETCH(QColor, diagram);

        m_inputs.texts = withLengths({"6", "0", "0", "0", "2"});
        m_inputs.texts.uniform[0] = {"2", "3", "0", "0"};
        m_inputs.texts.force[0] = QStringLiteral("10");
        m_inputs.texts.distance[0] = QStringLiteral("2");
        analyse();
        auto window = makeWindow();
        window->runDesign();
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const QString &name : presses)
            QTest::mouseClick(child<QPushButton>(window.get(), name), Qt::LeftButton);

        QClipboard *clipboard = QApplication::clipboard();
        clipboard->setText(QStringLiteral("vorher"));
        auto *target = child<QWidget>(window.get(), focus);
        target->setFocus();
        if (auto *field = qobject_cast<QLineEdit *>(target))
            field->selectAll();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);

        const QMimeData *data = clipboard->mimeData();
        QVERIFY(data);
        if (!picture) {
            QVERIFY(!data->hasImage());
            QCOMPARE(clipboard->text(), QStringLiteral("8.0"));
            return;
        }
        QVERIFY(data->hasImage());
        const QImage image = qvariant_cast<QImage>(data->imageData());
        PictureArea *area = window->picture();
        QCOMPARE(image.size(), area->size() * area->devicePixelRatioF());
        QCOMPARE(image.pixelColor(2, 2), PictureBackground);
        bool found = false;
        for (int y = 0; y < image.height() && !found; ++y)
            for (int x = 0; x < image.width() && !found; ++x)
                found = image.pixelColor(x, y) == diagram;
        QVERIFY2(found, qPrintable(diagram.name()));

        const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
        QVERIFY(svg.contains("<svg"));
        // The labels as text: the span length and the force.
        QVERIFY(svg.contains(">6.00</text>"));
        QVERIFY(svg.contains(">10.00</text>"));
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "tst_ui_results.moc"
