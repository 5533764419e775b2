// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/dialogparts.h"

#include "widgets/help.h"

#include <QLabel>
#include <QPushButton>

namespace varno {

QLabel *PlainLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    return label;
}

OkHelpButtons CreateOkHelpButtons(QWidget *window)
{
    OkHelpButtons buttons;
    buttons.ok = new QPushButton(QStringLiteral("OK"), window);
    buttons.ok->setObjectName(QStringLiteral("Command1"));
    buttons.ok->setDefault(true);
    buttons.help = new QPushButton(QStringLiteral("Hilfe"), window);
    buttons.help->setObjectName(QStringLiteral("Command2"));
    buttons.help->setAutoDefault(false);
    QObject::connect(buttons.help, &QPushButton::clicked, window, [window] { ShowHelp(window); });
    return buttons;
}

} // namespace varno
