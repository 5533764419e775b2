// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The varno-calc that the command-line tests run: the one CTest names, or
// the one beside the test program.

#include <QCoreApplication>
#include <QString>

namespace varno::test {

inline QString CalcProgram()
{
    const QString fromEnvironment = qEnvironmentVariable("VARNO_CALC");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/varno-calc");
}

} // namespace varno::test
