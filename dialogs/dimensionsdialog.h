// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/projectmodel.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;

namespace varno {

struct CalcSession;
class PictureArea;

// Form2 "Systemabmessungen": the five lengths and the system sketch.
class DimensionsDialog : public QDialog
{
    Q_OBJECT
public:
    DimensionsDialog(CalcSession &session, QWidget *parent = nullptr);

    // index = LengthIndex (L1, L2, L3, left, right)
    QString lengthText(int index) const;
    // Goes through the field's change rules, exactly as typing.
    void setLengthText(int index, const QString &text);
    std::array<QString, RegionCount> lengthTexts() const;

    // Rows (caption, field, unit) of L2 and L3; OK shows both again.
    void setSpanRowVisible(int index, bool visible);
    void redrawSketch();
    PictureArea *sketch() const;

public slots:
    // Shows the span rows again and hides the window; the title-bar close
    // and Escape do the same.
    void reject() override;

private:
    void onLengthChanged(int index);
    void confirm();

    CalcSession &m_session;
    std::array<QLineEdit *, RegionCount> m_fields{};
    std::array<QLabel *, RegionCount> m_captions{};
    std::array<QLabel *, RegionCount> m_units{};
    PictureArea *m_picture = nullptr;
};

} // namespace varno
