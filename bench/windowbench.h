// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmarks of the windows share: the offscreen application with
// the German locale, a count of the message boxes shown, and a keystroke
// typed and taken back in turn.

#include "widgets/assets.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace varno::bench {

// Message boxes shown since the start; a benchmark that shows one measured
// the wrong thing.
inline int ShownMessages = 0;

// Deleted widgets go, posted events are handled.
inline void FlushEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A "5" typed into the field (which has the focus, the cursor at its end)
// and deleted again, in turn, each followed by everything it starts.
inline void TypeAndDelete(benchmark::State &state, QLineEdit *field)
{
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(field, typed ? Qt::Key_Backspace : Qt::Key_5);
        typed = !typed;
        FlushEvents();
    }
}

// The offscreen platform says for every window it shows that it cannot
// raise it or pass on size hints; those lines would bury the figures.
inline void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// main() of a window benchmark: offscreen unless told otherwise, German
// numbers, the program's pictures, every message box counted and answered.
inline int RunWindowBenchmarks(int argc, char **argv)
{
    qInstallMessageHandler(QuietOffscreenNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LoadAssets();
    SetMessageHandler([](const ShownMessage &) {
        ++ShownMessages;
        return MsgResult::Ok;
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetMessageHandler({});
    return 0;
}

} // namespace varno::bench
