// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;

namespace varno {

// Form6 "Projektinformationen": Firma, Projekt, Position, Beschreibung,
// Bearbeiter (index 0..4).
class ProjectInfoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProjectInfoDialog(QWidget *parent = nullptr);

    QString infoText(int index) const;
    void setInfoText(int index, const QString &text);

private:
    static constexpr int InfoCount = 5;
    // Index 0, the company, may run over several lines.
    QPlainTextEdit *m_company = nullptr;
    std::array<QLineEdit *, InfoCount> m_lines{};   // indices 1..4
};

} // namespace varno
