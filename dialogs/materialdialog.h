// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QListWidget;

namespace varno {

// Form4 "Materialauswahl": timber and steel grade lists with the value lists
// cut from wert2.txt at each selection.
class MaterialDialog : public QDialog
{
    Q_OBJECT
public:
    MaterialDialog(const QString &dataDirectory, QWidget *parent = nullptr);

    int timberGrade() const;            // Combo1 position
    int steelGrade() const;             // Combo2 position
    void setTimberGrade(int position);  // runs the selection handler
    void setSteelGrade(int position);
    QStringList timberValues() const;   // List1 entries
    QStringList steelValues() const;    // List2 entries

    void openForTimber();               // hide the steel part, show
    void openForSteel();                // hide the timber part, show

public slots:
    // Shows both parts again and hides; the title-bar close does the same.
    void reject() override;

private:
    QGroupBox *createPart(bool timber);
    void readTimberValues();
    void readSteelValues();
    void connectGradeList(QComboBox *grades, void (MaterialDialog::*read)(), bool &readByChange);
    void confirm();
    void present();

    QString m_dataDirectory;
    // Set when an index change has just read the file; the user's choice
    // that follows it then does not read it again.
    bool m_timberReadByChange = false;
    bool m_steelReadByChange = false;
    QGroupBox *m_timberPart = nullptr;
    QGroupBox *m_steelPart = nullptr;
    QComboBox *m_timberGrades = nullptr;
    QComboBox *m_steelGrades = nullptr;
    QListWidget *m_timberValues = nullptr;
    QListWidget *m_steelValues = nullptr;
};

} // namespace varno
