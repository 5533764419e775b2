// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// "Nachweis nach Eurocode": the inputs of the Eurocode check (timber class,
// service class, b and h; steel grade, series and profile; the category of
// q, the snow altitude, the action of the point loads, the deflection
// limits) and its results, each check's utilisation as a number and a bar,
// and in a second tab beside the envelope diagram the utilisation of every
// check at every field and support.
// It computes again on every change of its own fields and of the input
// windows' fields, and shows the presentation of that run: utilisation,
// verdict and source mark of every check, the warnings of each member. A
// text it cannot read is marked in its field and the utilisations show
// "–"; it never shows a message box while the user types. Its fields read
// a decimal comma as well as a point ("4,5").

#include "eurocode/ecrun.h"
#include "io/ecreport.h"
#include "presentation/ecpresentation.h"

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace varno {

struct EurocodeInputs;
class InputWindows;
class PictureArea;
class UtilisationBar;

class EurocodeWindow : public QWidget
{
    Q_OBJECT
public:
    // `watched`: the input windows whose field changes start a new check.
    EurocodeWindow(InputWindows &inputs, const std::vector<QWidget *> &watched, QWidget *parent = nullptr);
    ~EurocodeWindow() override;

    // Reads the data files again and checks.
    void reloadData();
    // Checks now with the current inputs.
    void recompute();
    // Checks once the present event is handled: a keystroke in the load
    // window that changes five fields checks once.
    void scheduleRecompute();

    // The inputs as the fields read; false when one cannot be read.
    bool readInputs(ec::RunInputs &inputs) const;
    // The report of the last check (heading left empty).
    EcReportInput reportInput() const;
    // Whether the last check produced utilisations.
    bool hasResult() const { return m_hasResult; }
    const EcRun &lastRun() const { return m_run; }
    const EcPresentation &presentation() const { return m_presentation; }
    QPushButton *printButton() const { return m_print; }
    QTableWidget *placeTable() const { return m_places; }

    // The inputs as a project keeps them, and back; the names must be known
    // to the data (eurocodewindowstate.cpp).
    EurocodeInputs projectInputs() const;
    void applyProjectInputs(const EurocodeInputs &inputs);
    const ec::Data &data() const;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct ResultRow
    {
        QLabel *value = nullptr;
        UtilisationBar *bar = nullptr;
        QLabel *verdict = nullptr;
        QLabel *where = nullptr;
    };

    void buildInputs();
    void fillProfiles();
    void showRun();
    void showMember(const EcMember *member, std::vector<ResultRow> &rows, QLabel *section, QLabel *notes,
                    const QString &omitted);
    void clearResults(const QString &why);
    void drawDiagram();
    void showPlaces();
    bool inputWindowsReadable(QString &why) const;

    InputWindows &m_inputs;
    ec::Data m_data;
    std::vector<ec::DataProblem> m_dataProblems;
    EcRun m_run;
    EcPresentation m_presentation;
    bool m_hasResult = false;
    bool m_building = true;
    bool m_scheduled = false;

    QComboBox *m_timberClass = nullptr, *m_serviceClass = nullptr, *m_steelGrade = nullptr, *m_series = nullptr,
              *m_profile = nullptr, *m_category = nullptr, *m_snow = nullptr, *m_pointAction = nullptr,
              *m_diagramChoice = nullptr;
    QLineEdit *m_width = nullptr, *m_height = nullptr;
    std::array<QLineEdit *, ec::LimitCount> m_limits{};
    std::vector<ResultRow> m_timberRows, m_steelRows;
    QLabel *m_timberSection = nullptr, *m_steelSection = nullptr, *m_status = nullptr;
    QLabel *m_timberNotes = nullptr, *m_steelNotes = nullptr;
    PictureArea *m_picture = nullptr;
    QTableWidget *m_places = nullptr;
    QPushButton *m_print = nullptr;
};

} // namespace varno
