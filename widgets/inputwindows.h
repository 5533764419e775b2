// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/numericbeam.h"
#include "model/projectmodel.h"
#include "model/projectstate.h"

#include <QString>
#include <QStringList>

namespace varno {

// What the results window and the commands read from the input windows at
// the moment they compute. Implemented by the main window, which owns them.
class InputWindows
{
public:
    virtual ~InputWindows() = default;
    virtual ProjectTexts projectTexts() const = 0;   // lengths, loads, grades
    NumericBeam beam() const { return ReadBeam(projectTexts()); }
    virtual QStringList timberValues() const = 0;    // material window List1
    virtual QStringList steelValues() const = 0;     // material window List2
    virtual QString dataDirectory() const = 0;       // folder of wert2/wert3
    // What a new results window puts into its design fields.
    virtual ResultsInputs resultsWindowInputs() const { return {}; }
};

} // namespace varno
