// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/projectmodel.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QWidget;

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
    // Open: puts the 27 point loads in slot by slot, distance then force,
    // each through its numeric check, and compares the distances with their
    // regions once when all are in rather than after every single slot.
    void restorePointLoads(const std::array<QString, PointLoadSlotCount> &distance,
                           const std::array<QString, PointLoadSlotCount> &force);

public slots:
    // OK only hides; the title-bar close and Escape do the same.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // One row of a uniform-load frame: region label, field, unit label.
    struct UniformRow
    {
        QLabel *label = nullptr;
        QLineEdit *field = nullptr;
        QLabel *unit = nullptr;
    };
    static constexpr int TabCount = 5;
    static constexpr int PointLoadTab = 4;
    static constexpr int PointLoadColumns = 4;

    QGroupBox *createUniformFrame(int loadType, QWidget *parent);
    QGroupBox *createPointLoadFrame(QWidget *parent);
    QLabel *createLegend();
    void showTab(int index);
    void applyPointLoadVisibility();
    void setRegionRowVisible(int loadType, int region, bool visible);
    void onSameForAllToggled(int loadType, bool set);
    void onRegionOneChanged(int loadType);
    void onDistanceChanged(int slot);
    void warnAboutDistances();
    void copyRegionOne(int loadType);
    bool regionExists(int region) const;
    double regionLength(int region) const;

    const DimensionsDialog &m_dimensions;
    QTabBar *m_tabs = nullptr;
    std::array<QGroupBox *, TabCount> m_frames{};
    QWidget *m_legend = nullptr;
    QLabel *m_legendCaption = nullptr;
    // [region - 1][load type]
    std::array<std::array<UniformRow, LoadTypeCount>, RegionCount> m_rows{};
    std::array<QCheckBox *, LoadTypeCount> m_sameForAll{};
    std::array<QLineEdit *, PointLoadSlotCount> m_force{};
    std::array<QLineEdit *, PointLoadSlotCount> m_distance{};
    // Point-load frame: region headers (index = region - 1) and the
    // "kN        m" headers of the four column groups.
    std::array<QLabel *, RegionCount> m_regionHeaders{};
    std::array<QLabel *, PointLoadColumns> m_unitHeaders{};
    // Set while the program fills region fields itself (copy rule, Open).
    bool m_copying = false;
    bool m_restoring = false;
};

} // namespace varno
