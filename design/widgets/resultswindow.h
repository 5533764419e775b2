#pragma once

#include <QDialog>

namespace varno {

struct AnalysisOutcome;
struct CalcSession;
class InputWindows;
class PictureArea;

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

    // Writes Label6(0..18) and makes the lines of the system visible.
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

signals:
    // Emitted when "OK" or the title-bar close discards the window.
    void discarded();
};

} // namespace varno
