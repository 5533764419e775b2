// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A beam for the core tests, built up from nothing: every length, load and
// slot "0", then the values a test gives, written with all their digits.

#include "model/projectmodel.h"

#include <QString>

namespace varno::test {

class Beam
{
public:
    Beam()
    {
        t = ProjectTexts::Defaults();
        for (auto &l : t.lengths)
            l = QStringLiteral("0");
        for (auto &region : t.uniform)
            region.fill(QStringLiteral("0"));
    }
    Beam &length(int region, double l)
    {
        t.lengths[region - 1] = number(l);
        return *this;
    }
    Beam &load(int region, double q, int type = LoadG)
    {
        t.uniform[region - 1][type] = number(q);
        return *this;
    }
    Beam &point(int slot, double F, double a)
    {
        t.force[slot] = number(F);
        t.distance[slot] = number(a);
        return *this;
    }
    Beam &text(int region, const QString &length)
    {
        t.lengths[region - 1] = length;
        return *this;
    }
    operator ProjectTexts() const { return t; }

    static QString number(double v) { return QString::number(v, 'g', 17); }

    ProjectTexts t;
};

} // namespace varno::test
