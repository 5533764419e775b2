// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up probe: how long a fresh process takes until the splash window is
// on the screen, and what a first results command costs in time and memory.
//
//   bench_startup [--runs N] [--results]
//
// starts itself N times as a child that does what the program's main() does
// and reports the moment its splash is exposed. The time is taken from just
// before the child is spawned, so loading the libraries counts. With
// --results each child then closes the splash, enters the full benchmark
// beam and runs the "&Ergebnisse" command; its peak resident memory is read
// from wait4(), as /usr/bin/time reads it.

#include "app/application.h"
#include "app/mainwindow.h"
#include "widgets/messages.h"
#include "app/splashwindow.h"
#include "bench/beams.h"
#include "bench/enterbeam.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// The child: main() of the program, stopped once the splash is exposed.
int runChild(int argc, char *argv[], bool results)
{
    const long long mainEntered = nowNs();
    QApplication app(argc, argv);
    varno::PrepareApplication();

    varno::MainWindow mainWindow;
    varno::SplashWindow splash(&mainWindow);
    splash.show();
    // An exposed window has been painted and flushed: Qt paints a widget
    // window synchronously while it handles the expose event.
    while (!(splash.windowHandle() && splash.windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const long long exposed = nowNs();

    long long resultsNs = 0;
    if (results) {
        int boxes = 0;
        varno::SetMessageHandler([&boxes](const varno::ShownMessage &) {
            ++boxes;
            return varno::MsgResult::Ok;
        });
        splash.finish();
        QCoreApplication::processEvents();
        varno::bench::EnterBeam(mainWindow, varno::bench::FullBeam(), false);
        QCoreApplication::processEvents();
        const long long start = nowNs();
        mainWindow.showResults();
        QCoreApplication::processEvents();
        resultsNs = nowNs() - start;
        if (boxes != 0 || !mainWindow.resultsWindow()) {
            std::fprintf(stderr, "bench_startup: the results command did not run cleanly\n");
            return 1;
        }
    }
    std::printf("%lld %lld %lld %s\n", mainEntered, exposed, resultsNs,
                qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    // Tearing the windows down is not part of what is measured.
    std::_Exit(0);
}

struct ChildRun
{
    double toMainMs = 0;
    double toSplashMs = 0;
    double resultsMs = 0;
    long maxRssKb = 0;
    std::string platform;
};

bool spawnChild(const char *self, bool results, ChildRun &run)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char *> args{const_cast<char *>(self), const_cast<char *>("--child")};
    if (results)
        args.push_back(const_cast<char *>("--results"));
    args.push_back(nullptr);

    const long long spawned = nowNs();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed) {
        close(fds[0]);
        return false;
    }
    std::string out;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    long long mainEntered = 0, exposed = 0, resultsNs = 0;
    char platform[64] = {};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0
        || std::sscanf(out.c_str(), "%lld %lld %lld %63s", &mainEntered, &exposed, &resultsNs, platform) != 4)
        return false;
    run.platform = platform;
    run.toMainMs = (mainEntered - spawned) / 1e6;
    run.toSplashMs = (exposed - spawned) / 1e6;
    run.resultsMs = resultsNs / 1e6;
    run.maxRssKb = usage.ru_maxrss;
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printFigure(const char *name, const std::vector<double> &values, const char *unit)
{
    std::printf("%-28s median %8.2f %s   min %8.2f   max %8.2f   (%zu runs)\n", name, median(values), unit,
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                values.size());
}

} // namespace

int main(int argc, char *argv[])
{
    bool child = false, results = false;
    int runs = 10;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--child") == 0)
            child = true;
        else if (std::strcmp(argv[i], "--results") == 0)
            results = true;
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
    }
    if (child)
        return runChild(argc, argv, results);

    // The path of this program, so the child finds the data files beside it.
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 2;
    self[length] = '\0';

    ChildRun run;
    // One run unmeasured, so that every measured one finds the libraries
    // in the page cache, as any start but the first after booting does.
    if (!spawnChild(self, results, run)) {
        std::fprintf(stderr, "bench_startup: the child failed (is a display or QT_QPA_PLATFORM set?)\n");
        return 1;
    }
    std::vector<double> toMain, toSplash, resultsMs, rssMb;
    for (int i = 0; i < runs; ++i) {
        if (!spawnChild(self, results, run)) {
            std::fprintf(stderr, "bench_startup: the child failed\n");
            return 1;
        }
        toMain.push_back(run.toMainMs);
        toSplash.push_back(run.toSplashMs);
        resultsMs.push_back(run.resultsMs);
        rssMb.push_back(run.maxRssKb / 1024.0);
    }
    std::printf("Qt platform: %s\n", run.platform.c_str());
    printFigure("start to main()", toMain, "ms");
    printFigure("start to splash exposed", toSplash, "ms");
    if (results) {
        printFigure("first results command", resultsMs, "ms");
        printFigure("peak memory (max RSS)", rssMb, "MB");
    } else {
        printFigure("peak memory at splash", rssMb, "MB");
    }
    return 0;
}
