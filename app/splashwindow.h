// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

class QProgressBar;
class QTimer;

namespace varno {

// frmSplash: the first window of a run. It closes after about 100 ticks of
// 30 ms, or at once on a key press or a click, and then shows the main
// window, which it does exactly once.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *mainWindow, QWidget *parent = nullptr);

    // One timer tick: past 99 the splash is done, otherwise the bar grows.
    void advance();
    // Shows the main window (first call only) and closes the splash.
    void finish();

    int progress() const;
    QTimer *timer() const { return m_timer; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
    QProgressBar *m_progress = nullptr;
    QTimer *m_timer = nullptr;
    bool m_finished = false;
};

} // namespace varno
