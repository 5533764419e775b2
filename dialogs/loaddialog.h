#pragma once

#include "app/model/projectmodel.h"

#include <QDialog>

#include <array>

namespace varno {

class DimensionsDialog;

// Form3 "Belastung": uniform loads per region and load type, the four
// "für alle Felder gleich?" boxes and the 27 point-load slots.
class LoadDialog : public QDialog
{
    Q_OBJECT
public:
    // Reads the lengths of the dimensions window for its visibility rules
    // and distance checks.
    LoadDialog(const DimensionsDialog &dimensions, QWidget *parent = nullptr);

    // region 1..5, loadType 0..3; setters go through the change rules.
    QString uniformText(int region, int loadType) const;
    void setUniformText(int region, int loadType, const QString &text);
    QString forceText(int slot) const;
    void setForceText(int slot, const QString &text);
    QString distanceText(int slot) const;
    void setDistanceText(int slot, const QString &text);

    bool sameForAll(int loadType) const;
    // As a click on the box: setting it copies region 1 and hides rows.
    void setSameForAll(int loadType, bool set);

    // Rows (label, field, unit) of a region in all four uniform-load frames;
    // used by the single-span and two-span commands.
    void setRegionRowsVisible(int region, bool visible);

    // Fills uniform, force and distance of a snapshot.
    void fillProjectTexts(ProjectTexts &texts) const;

    // Open: puts all 20 uniform texts in exactly as stored, so that a set
    // copy box cannot overwrite values read from the file; every field still
    // runs its numeric check.
    void restoreUniformTexts(const std::array<std::array<QString, LoadTypeCount>, RegionCount> &uniform);
};

} // namespace varno
