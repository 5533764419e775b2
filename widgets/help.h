// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// "Hilfe" of every window and of the menu: the user guide installed with
// the program opens in the desktop's browser; where no guide is installed
// (a build that was not installed), the box "Derzeit noch keine Hilfe
// installiert!" shows.

#include <QString>

#include <functional>

class QUrl;
class QWidget;

namespace varno {

void ShowHelp(QWidget *parent);

// The guide of an installation whose programs lie in `programFolder`
// (lib/varno/ under the prefix; the guide is share/doc/varno/handbuch.html);
// empty when there is none.
QString InstalledGuide(const QString &programFolder);

// Test hooks. The folder help takes as the program's (empty: the program's
// own), and what opens the guide, true when it could (unset: the desktop's
// browser).
void SetHelpProgramFolder(const QString &folder);
using GuideOpener = std::function<bool(const QUrl &)>;
void SetGuideOpener(GuideOpener opener);

} // namespace varno
