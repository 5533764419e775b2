// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QSet>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace varno {

struct AnalysisOutcome;
struct CalcSession;
struct ResultsInputs;
class FittingLabel;
class InputWindows;
class PictureArea;
class SystemSchematic;

// Form5 "Ergebnisse": schematic, result lines, design, pictures. Created by
// the first analysis that needs it, discarded by "OK" (and the title-bar
// close); the next use builds it again from its defaults.
class ResultsWindow : public QDialog
{
    Q_OBJECT
public:
    // Runs the creation steps in their order, including the design runs that
    // the field assignments and the series selection start.
    ResultsWindow(CalcSession &session, const InputWindows &inputs, QWidget *parent = nullptr);

    // Writes Label6(0..18) from the session's results and makes the lines of
    // the system visible.
    void writeResultLines(const AnalysisOutcome &outcome);
    // One design run with the current inputs; shows its message when no
    // design was possible.
    void runDesign();

    void drawSystem();   // "System"
    void drawMoment();   // "Moment"
    void drawShear();    // "Querkraft"

    // For the printed report.
    QString resultText(int item) const;    // Label6(item), empty when hidden
    QString designText(int item) const;    // Label7(item)
    QString widthText() const;             // Text1
    PictureArea *picture() const;

    // Width, limits and series as a project keeps them
    // (resultswindowstate.cpp).
    ResultsInputs designInputs() const;

    // A new window takes the room its typical texts need, within the
    // screen's available area; long texts never widen it.
    void setVisible(bool visible) override;

    // How many design runs this window has started (for the tests).
    int designRunCount() const { return m_designRuns; }

signals:
    // Emitted when "OK" or the title-bar close discards the window.
    void discarded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void buildLayout();
    void setSchematicTexts();
    void arrangeSchematic();
    void onDesignInputChanged(const QString &text);
    void describeDiagram(const QString &diagram);

    CalcSession &m_session;
    const InputWindows &m_inputs;

    SystemSchematic *m_schematic = nullptr;
    std::array<FittingLabel *, 19> m_resultLabels{};
    // 0, 2, 3, 5, 7 are fixed captions; the others are written by the design.
    std::array<FittingLabel *, 11> m_designLabels{};
    QLabel *m_heading = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_spanLimit = nullptr;
    QLineEdit *m_cantileverLimit = nullptr;
    QComboBox *m_series = nullptr;
    QListWidget *m_holder = nullptr;
    PictureArea *m_picture = nullptr;

    int m_designRuns = 0;
    bool m_discarded = false;
    QSet<QString> m_shownFailures;
};

} // namespace varno
