#pragma once

#include <QDialog>

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
};

} // namespace varno
