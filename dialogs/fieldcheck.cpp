// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/fieldcheck.h"

#include "widgets/messages.h"
#include "model/projectmodel.h"

#include <QLineEdit>

namespace varno {

// Only "." counts as decimal point: a comma would pass here but LeadingNumber
// stops at it, so the value used would silently differ from what was typed.
bool CheckNumericField(QLineEdit *field, QWidget *window)
{
    if (IsNumericText(field->text()))
        return true;
    ShowInputError(window);
    field->setSelection(0, field->text().size());
    field->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace varno
