// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/aboutwindow.h"

#include "widgets/messages.h"
#include "widgets/svgpicture.h"
#include "version.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#endif

namespace varno {

namespace {

QFrame *separatorLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

#ifdef Q_OS_WIN
// The path of the system-information tool, from the machine-wide registry:
// first the tool's own entry, then the shared tools folder, which counts only
// if the program is really there.
QString systemInfoProgram()
{
    const QSettings msinfo(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                           QSettings::NativeFormat);
    const QString path = msinfo.value(QStringLiteral("PATH")).toString();
    if (!path.isEmpty())
        return path;

    const QSettings location(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location"), QSettings::NativeFormat);
    const QString folder = location.value(QStringLiteral("MSINFO")).toString();
    if (folder.isEmpty())
        return {};
    const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
    return QFileInfo::exists(program) ? program : QString();
}
#endif

} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString title = QString::fromLatin1(ProgramTitle);
    setWindowTitle(QStringLiteral("Info zu ") + title);

    auto *icon = new SvgPicture(QStringLiteral(":/assets/icon.svg"), QSize(64, 64), this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setAccessibleName(QStringLiteral("Programmsymbol"));
    icon->setMinimumSize(48, 48);

    auto *titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);

    auto *version = new QLabel(QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision),
                               this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto *description =
        new QLabel(QStringLiteral("Statik Programm für Ein-, Zwei- und Dreifeldträger mit und ohne Kragarm"), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(description->fontMetrics().averageCharWidth() * 46);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto *sysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setAccessibleName(QStringLiteral("Systeminfo"));
    sysInfo->setAutoDefault(false);

    auto *heading = new QVBoxLayout;
    heading->addWidget(titleLabel);
    heading->addWidget(version);
    heading->addStretch(1);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(top);
    layout->addWidget(separatorLine(this));
    layout->addWidget(description);
    layout->addWidget(separatorLine(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    setTabOrder(ok, sysInfo);
    ok->setFocus();

    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::showSystemInfo);
}

void AboutWindow::showSystemInfo()
{
#ifdef Q_OS_WIN
    const QString program = systemInfoProgram();
    if (!program.isEmpty() && QProcess::startDetached(program, {}))
        return;
#endif
    ShowMessage(this, QString::fromLatin1(ProgramTitle),
                QStringLiteral("Systeminformationen sind momentan nicht verfügbar"), MsgIcon::None);
}

} // namespace varno
