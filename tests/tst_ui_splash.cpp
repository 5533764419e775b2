// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/aboutwindow.h"
#include "widgets/messages.h"
#include "app/splashwindow.h"
#include "widgets/svgpicture.h"
#include "version.h"

#include <QFrame>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace varno;

namespace {

// Stands in for the main window and counts how often it is shown.
class ShowCounter : public QWidget
{
public:
    int shows = 0;

protected:
    void showEvent(QShowEvent *event) override
    {
        ++shows;
        QWidget::showEvent(event);
    }
};

QStringList labelTexts(const QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

const QString VersionLabel = QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void splashContents();
    void versionLabelFollowsProjectVersion();
    void ticks_data();
    void ticks();
    void closesAtOnce_data();
    void closesAtOnce();
    void timerRunsOut();
    void mainWindowGoneBeforeTheEnd();

    void aboutContents();
    void systemInfoMessage();
    void aboutDiscarded_data();
    void aboutDiscarded();
};

void TestSplash::splashContents()
{
    ShowCounter main;
    SplashWindow splash(&main);
    QCOMPARE(splash.objectName(), QStringLiteral("frmSplash"));

    const auto *frame = splash.findChild<QGroupBox *>();
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Klicken Sie einfach weiter!"));

    const QStringList texts = labelTexts(&splash);
    QVERIFY(texts.contains(QStringLiteral("Varno")));
    QVERIFY(texts.contains(VersionLabel));
    QVERIFY(texts.contains(QStringLiteral("Plattform")));

    const auto *bar = splash.findChild<QProgressBar *>();
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->accessibleName().isEmpty());

    QCOMPARE(splash.timer()->interval(), 30);
    QVERIFY(splash.timer()->isActive());

    // Screen readers meet the splash as a window with the program's name.
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&splash);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Varno"));

    const auto *logo = splash.findChild<SvgPicture *>();
    QVERIFY(logo);
    QVERIFY(logo->isLoaded());
    QCOMPARE(main.shows, 0);
}

// The version reaches the labels from the one place it is set, the project
// declaration of the build.
void TestSplash::versionLabelFollowsProjectVersion()
{
    QFile cmake(QStringLiteral(VARNO_SOURCE_DIR "/CMakeLists.txt"));
    QVERIFY(cmake.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(cmake.readAll());
    const QRegularExpression declaration(QStringLiteral(R"(project\(\s*Varno\s+VERSION\s+(\d+)\.(\d+)\.(\d+))"));
    const QRegularExpressionMatch match = declaration.match(text);
    QVERIFY(match.hasMatch());
    const QString expected = QStringLiteral("Version ") + match.captured(1) + u'.' + match.captured(2) + u'.'
        + match.captured(3);

    ShowCounter main;
    SplashWindow splash(&main);
    QVERIFY(labelTexts(&splash).contains(expected));
    AboutWindow about;
    QVERIFY(labelTexts(&about).contains(expected));
}

void TestSplash::ticks_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("stillOpen");

    QTest::newRow("none") << 0 << 0 << true;
    QTest::newRow("one") << 1 << 1 << true;
    QTest::newRow("half") << 50 << 50 << true;
    QTest::newRow("99") << 99 << 99 << true;
    // At 100 the bar is full; the tick after it ends the splash.
    QTest::newRow("full bar") << 100 << 100 << true;
    QTest::newRow("one past") << 101 << 100 << false;
    QTest::newRow("many past") << 130 << 100 << false;
}

void TestSplash::ticks()
{
    QFETCH(int, ticks);
    QFETCH(int, value);
    QFETCH(bool, stillOpen);

    ShowCounter main;
    SplashWindow splash(&main);
    splash.timer()->stop();   // the test drives the ticks
    splash.show();
    for (int i = 0; i < ticks; ++i)
        splash.advance();

    QCOMPARE(splash.progress(), value);
    QCOMPARE(splash.isVisible(), stillOpen);
    QCOMPARE(main.shows, stillOpen ? 0 : 1);
    QCOMPARE(main.isVisible(), !stillOpen);
}

void TestSplash::closesAtOnce_data()
{
    QTest::addColumn<QString>("event");

    QTest::newRow("click on the frame") << "frame";
    QTest::newRow("click on the logo") << "logo";
    QTest::newRow("click on the bar") << "bar";
    QTest::newRow("key A") << "keyA";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Enter") << "enter";
}

void TestSplash::closesAtOnce()
{
    QFETCH(QString, event);

    ShowCounter main;
    SplashWindow splash(&main);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    splash.advance();

    if (event == QLatin1String("frame"))
        QTest::mouseClick(splash.findChild<QGroupBox *>(), Qt::LeftButton);
    else if (event == QLatin1String("logo"))
        QTest::mouseClick(splash.findChild<SvgPicture *>(), Qt::LeftButton);
    else if (event == QLatin1String("bar"))
        QTest::mouseClick(splash.findChild<QProgressBar *>(), Qt::LeftButton);
    else if (event == QLatin1String("keyA"))
        QTest::keyClick(&splash, Qt::Key_A);
    else if (event == QLatin1String("escape"))
        QTest::keyClick(&splash, Qt::Key_Escape);
    else
        QTest::keyClick(&splash, Qt::Key_Return);

    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.timer()->isActive());
    QCOMPARE(main.shows, 1);
    QVERIFY(main.isVisible());

    // Whatever comes after (a late tick, another click), the main window is
    // not shown a second time.
    main.hide();
    for (int i = 0; i < 120; ++i)
        splash.advance();
    splash.finish();
    QCOMPARE(main.shows, 1);
    QVERIFY(!main.isVisible());
}

void TestSplash::timerRunsOut()
{
    ShowCounter main;
    SplashWindow splash(&main);
    splash.show();
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 20000);
    QCOMPARE(splash.progress(), 100);
    QCOMPARE(main.shows, 1);
    QVERIFY(main.isVisible());
}

void TestSplash::mainWindowGoneBeforeTheEnd()
{
    auto *main = new ShowCounter;
    SplashWindow splash(main);
    splash.show();
    delete main;
    splash.finish();
    QVERIFY(!splash.isVisible());
}

void TestSplash::aboutContents()
{
    AboutWindow about;
    QCOMPARE(about.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(about.windowTitle(), QStringLiteral("Info zu Varno"));
    QVERIFY(!about.isModal());

    const QStringList texts = labelTexts(&about);
    QVERIFY(texts.contains(QStringLiteral("Varno")));
    QVERIFY(texts.contains(VersionLabel));
    QVERIFY(texts.contains(QStringLiteral("Statik Programm für Ein-, Zwei- und Dreifeldträger mit und ohne Kragarm")));

    auto *ok = about.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    auto *sysInfo = about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
    QVERIFY(ok);
    QVERIFY(sysInfo);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(sysInfo->text(), QStringLiteral("&Systeminfo..."));
    QCOMPARE(ok->nextInFocusChain(), sysInfo);

    int lines = 0;
    for (const QFrame *frame : about.findChildren<QFrame *>())
        if (frame->frameShape() == QFrame::HLine)
            ++lines;
    QVERIFY(lines >= 2);

    const auto *icon = about.findChild<SvgPicture *>();
    QVERIFY(icon);
    QVERIFY(icon->isLoaded());
    QVERIFY(!icon->accessibleName().isEmpty());
}

void TestSplash::systemInfoMessage()
{
#ifdef Q_OS_WIN
    QSKIP("Starts the system's own information tool here");
#else
    QList<ShownMessage> shown;
    SetMessageHandler([&shown](const ShownMessage &message) {
        shown.append(message);
        return MsgResult::Ok;
    });
    AboutWindow about;
    about.show();
    about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
    SetMessageHandler({});

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, QStringLiteral("Varno"));
    QCOMPARE(shown[0].text, QStringLiteral("Systeminformationen sind momentan nicht verfügbar"));
    QCOMPARE(shown[0].icon, MsgIcon::None);
    QCOMPARE(shown[0].buttons, MsgButtons::Ok);
    QVERIFY(about.isVisible());
#endif
}

void TestSplash::aboutDiscarded_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "ok";
    QTest::newRow("title bar") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestSplash::aboutDiscarded()
{
    QFETCH(QString, how);

    QPointer<AboutWindow> about = new AboutWindow;
    about->show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    if (how == QLatin1String("ok"))
        about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    else if (how == QLatin1String("close"))
        about->close();
    else
        QTest::keyClick(about, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!about);
}

QTEST_MAIN(TestSplash)
#include "tst_ui_splash.moc"
