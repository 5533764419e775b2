// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/splashwindow.h"

#include "widgets/svgpicture.h"
#include "version.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace varno {

namespace {

// A plain QWidget window is a "client" area to screen readers, a filler
// inside some other window; the splash is a window of its own.
QAccessibleInterface *splashAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(SplashWindow::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

SplashWindow::SplashWindow(QWidget *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmSplash"));
    static const bool accessibleAsWindow = (QAccessible::installFactory(splashAccessible), true);
    Q_UNUSED(accessibleAsWindow);
    const QString title = QString::fromLatin1(ProgramTitle);
    setWindowTitle(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::StrongFocus);

    auto *frame = new QGroupBox(QStringLiteral("Klicken Sie einfach weiter!"), this);
    frame->setObjectName(QStringLiteral("Frame1"));

    auto *logo = new SvgPicture(QStringLiteral(":/assets/logo.svg"), QSize(160, 160), frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setAccessibleName(QStringLiteral("Logo"));
    logo->setFixedSize(150, 150);

    auto *titleLabel = new QLabel(title, frame);
    titleLabel->setObjectName(QStringLiteral("lblProductName"));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 3.0);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);

    auto *version = new QLabel(
        QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision), frame);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *platform = new QLabel(QStringLiteral("Plattform"), frame);
    platform->setObjectName(QStringLiteral("lblPlatform"));
    platform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_progress = new QProgressBar(frame);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setAccessibleName(QStringLiteral("Fortschritt"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    auto *texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(titleLabel, 0, Qt::AlignRight);
    texts->addWidget(version);
    texts->addWidget(platform);
    texts->addStretch(1);

    auto *content = new QHBoxLayout;
    content->setSpacing(32);
    content->addWidget(logo);
    content->addLayout(texts, 1);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(20, 16, 20, 16);
    frameLayout->addLayout(content, 1);
    frameLayout->addWidget(m_progress);

    // Without a title bar the window needs an edge of its own.
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(12, 10, 12, 12);
    panelLayout->addWidget(frame);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);

    resize(sizeHint().expandedTo(QSize(460, 0)));

    m_timer = new QTimer(this);
    m_timer->setInterval(30);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::advance);
    m_timer->start();
}

int SplashWindow::progress() const
{
    return m_progress->value();
}

void SplashWindow::advance()
{
    if (m_progress->value() > 99)
        finish();
    else
        m_progress->setValue(m_progress->value() + 1);
}

void SplashWindow::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer->stop();
    // The main window comes up before the splash goes, so that the program
    // never stands without a window and ends on "last window closed".
    if (m_mainWindow)
        m_mainWindow->show();
    close();
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Keys reach the splash only while it has the focus.
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void SplashWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    finish();
}

void SplashWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    finish();
}

} // namespace varno
