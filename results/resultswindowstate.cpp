// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The design inputs of the results window as a project keeps them.

#include "results/resultswindow.h"

#include "model/projectstate.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace varno {

ResultsInputs ResultsWindow::designInputs() const
{
    ResultsInputs inputs;
    inputs.width = m_width->text();
    inputs.spanLimit = m_spanLimit->text();
    inputs.cantileverLimit = m_cantileverLimit->text();
    inputs.series = std::max(0, m_series->currentIndex());
    return inputs;
}

} // namespace varno
