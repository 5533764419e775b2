// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/projectinfodialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varno {

namespace {

const QString Captions[5] = {QStringLiteral("Firma:"), QStringLiteral("Projekt:"), QStringLiteral("Position:"),
                             QStringLiteral("Beschreibung:"), QStringLiteral("Bearbeiter:")};
const QString Defaults[5] = {QStringLiteral("Geben Sie hier Ihren Firmennamen ein"), QStringLiteral("Neubau EFH"),
                             QStringLiteral("Decke über EG"), QString(), QString()};

} // namespace

ProjectInfoDialog::ProjectInfoDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Projektinformationen"));
    setModal(false);

    const int longWidth = fontMetrics().horizontalAdvance(QStringLiteral("Geben Sie hier Ihren Firmennamen ein")) + 24;
    const int shortWidth = longWidth * 3 / 5;
    auto *grid = new QGridLayout;
    for (int i = 0; i < InfoCount; ++i) {
        auto *caption = new QLabel(Captions[i], this);
        caption->setTextFormat(Qt::PlainText);
        caption->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        QWidget *field = nullptr;
        if (i == 0) {
            m_company = new QPlainTextEdit(Defaults[i], this);
            // Tab moves on to the next field instead of typing a tab.
            m_company->setTabChangesFocus(true);
            QLineEdit probe;
            m_company->setFixedHeight(3 * probe.sizeHint().height());
            field = m_company;
        } else {
            m_lines[i] = new QLineEdit(Defaults[i], this);
            field = m_lines[i];
        }
        field->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        field->setAccessibleName(Captions[i].chopped(1));
        // Position and Bearbeiter are short entries.
        field->setFixedWidth(i == 2 || i == 4 ? shortWidth : longWidth);
        caption->setBuddy(field);
        grid->addWidget(caption, i, 0, i == 0 ? Qt::AlignTop : Qt::AlignVCenter);
        grid->addWidget(field, i, 1, Qt::AlignLeft);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // The default QDialog close already only hides, so the title bar keeps
    // the texts as OK does.
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

QString ProjectInfoDialog::infoText(int index) const
{
    return index == 0 ? m_company->toPlainText() : m_lines[index]->text();
}

void ProjectInfoDialog::setInfoText(int index, const QString &text)
{
    if (index == 0)
        m_company->setPlainText(text);
    else
        m_lines[index]->setText(text);
}

} // namespace varno
