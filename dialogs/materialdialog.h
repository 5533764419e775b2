#pragma once

#include <QDialog>
#include <QStringList>

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
};

} // namespace varno
