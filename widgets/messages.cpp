// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/messages.h"

#include "model/projectmodel.h"

#include <QMessageBox>
#include <QPushButton>

namespace varno {

namespace {

MessageHandler &handler()
{
    static MessageHandler h;
    return h;
}

QMessageBox::Icon toQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgResult ShowMessage(QWidget *parent, const QString &title, const QString &text, MsgIcon icon,
                      MsgButtons buttons)
{
    const ShownMessage message{title, text, icon, buttons};
    if (handler())
        return handler()(message);

    // Texts keep their CR LF line breaks for the record; the box shows plain line feeds.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(toQtIcon(icon), title, shown, QMessageBox::NoButton, parent);
    // The German captions are set here so they hold whatever the system language.
    if (buttons == MsgButtons::SaveDiscardCancel) {
        QPushButton *save = box.addButton(QStringLiteral("&Speichern"), QMessageBox::AcceptRole);
        QPushButton *discard = box.addButton(QStringLiteral("&Verwerfen"), QMessageBox::DestructiveRole);
        QPushButton *cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        box.setDefaultButton(save);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == save      ? MsgResult::Save
            : box.clickedButton() == discard ? MsgResult::Discard
                                             : MsgResult::Cancel;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = nullptr;
    if (buttons == MsgButtons::OkCancel)
        cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel ? static_cast<QAbstractButton *>(cancel) : ok);
    box.exec();
    return box.clickedButton() == ok ? MsgResult::Ok : MsgResult::Cancel;
}

void ShowHelpMessage(QWidget *parent)
{
    ShowMessage(parent, texts::HelpTitle, texts::HelpText, MsgIcon::Information);
}

void ShowInputError(QWidget *parent)
{
    ShowMessage(parent, texts::InputErrorTitle, texts::InputErrorText, MsgIcon::None);
}

void SetMessageHandler(MessageHandler h)
{
    handler() = std::move(h);
}

} // namespace varno
