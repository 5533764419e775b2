// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

namespace varno {

// frmAbout "Info zu Varno": title, version and a short description. "OK"
// (and the title-bar close) discards the window; "Info" builds it anew.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // "&Systeminfo...": starts the system's information tool where there is
    // one, otherwise says that none is available.
    void showSystemInfo();
};

} // namespace varno
