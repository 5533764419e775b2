// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/projectstate.h"

namespace varno {

ProjectState ProjectState::Defaults()
{
    ProjectState state;
    for (int i = 0; i < ProjectInfoCount; ++i)
        state.info[i] = texts::DefaultProjectInfo[i];
    return state;
}

bool operator==(const ProjectTexts &a, const ProjectTexts &b)
{
    return a.lengths == b.lengths && a.uniform == b.uniform && a.force == b.force && a.distance == b.distance
        && a.timberGrade == b.timberGrade && a.steelGrade == b.steelGrade;
}

bool operator==(const ProjectState &a, const ProjectState &b)
{
    return a.texts == b.texts && a.sameForAll == b.sameForAll && a.systemTypeName == b.systemTypeName
        && a.info == b.info && a.results == b.results && a.eurocode == b.eurocode;
}

} // namespace varno
