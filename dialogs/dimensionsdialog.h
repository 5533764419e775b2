#pragma once

#include "app/model/projectmodel.h"

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
};

} // namespace varno
