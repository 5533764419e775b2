// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The inputs of the window "Nachweis nach Eurocode" as a project keeps them.

#include "results/eurocodewindow.h"

#include "model/projectstate.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace varno {

static_assert(EurocodeLimitCount == ec::LimitCount);

namespace {

// What a limit field shows until one is typed: the data file's value.
QString dataLimitText(const ec::Data &data, int index)
{
    const std::optional<double> limit = ec::DataLimit(data, index);
    return limit ? QString::number(*limit) : QString();
}

int positionOf(const QComboBox *box, const QString &name)
{
    return name.isEmpty() ? 0 : std::max(0, box->findData(name));
}

} // namespace

EurocodeInputs EurocodeWindow::projectInputs() const
{
    EurocodeInputs in;
    in.timberClass = m_timberClass->currentIndex() <= 0 ? QString() : m_timberClass->currentData().toString();
    in.serviceClass = m_serviceClass->currentIndex() + 1;
    in.width = m_width->text();
    in.height = m_height->text();
    in.steelGrade = m_steelGrade->currentIndex() <= 0 ? QString() : m_steelGrade->currentData().toString();
    in.series = std::max(0, m_series->currentIndex());
    in.profile = m_profile->currentData().toString();
    in.imposedCategory = QChar(u'A' + std::max(0, m_category->currentIndex()));
    in.snowHigh = m_snow->currentIndex() == 1;
    in.pointLoadAction = std::max(0, m_pointAction->currentIndex());
    // A limit as the data file gives it stays unset, so that it follows
    // the file.
    for (int i = 0; i < ec::LimitCount; ++i)
        if (m_limits[i]->text() != dataLimitText(m_data, i))
            in.limits[i] = m_limits[i]->text();
    in.diagram = std::max(0, m_diagramChoice->currentIndex());
    return in;
}

void EurocodeWindow::applyProjectInputs(const EurocodeInputs &in)
{
    // Every input is set, then checked once.
    const bool wasBuilding = m_building;
    m_building = true;
    m_timberClass->setCurrentIndex(positionOf(m_timberClass, in.timberClass));
    m_serviceClass->setCurrentIndex(in.serviceClass - 1);
    m_width->setText(in.width);
    m_height->setText(in.height);
    m_steelGrade->setCurrentIndex(positionOf(m_steelGrade, in.steelGrade));
    // The series fills the profile list, so it comes before the profile.
    m_series->setCurrentIndex(in.series);
    m_profile->setCurrentIndex(positionOf(m_profile, in.profile));
    m_category->setCurrentIndex(in.imposedCategory.unicode() - u'A');
    m_snow->setCurrentIndex(in.snowHigh ? 1 : 0);
    m_pointAction->setCurrentIndex(in.pointLoadAction);
    for (int i = 0; i < ec::LimitCount; ++i)
        m_limits[i]->setText(in.limits[i] ? *in.limits[i] : dataLimitText(m_data, i));
    m_building = wasBuilding;
    m_diagramChoice->setCurrentIndex(in.diagram);
    recompute();
}

const ec::Data &EurocodeWindow::data() const
{
    return m_data;
}

} // namespace varno
