// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/materialdialog.h"

#include "widgets/messages.h"
#include "dialogs/dialogparts.h"
#include "model/projectmodel.h"
#include "design/design.h"
#include "dialogs/captioncolumn.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include <utility>

namespace varno {

namespace {

const QString TimberNames = QStringLiteral(
    "E II =      E L =       G =        SigBzul = SigZIIzu = SigZLzu = SigDIIzu = SigDL)* = SigDLzu = TauAzul = "
    "TauQzul = TauTzul =  ");
const QString TimberUnits = QStringLiteral(
    "N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm²");
const QString SteelNames = QStringLiteral(
    "E =         G =       Sigzul = BetaP = BetaFl = BetaZu = BetaZo = Tauzul = ");
const QString SteelUnits = QStringLiteral("N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm² N/mm²");

// "E II =      E L = ..." names one row per "=".
QStringList nameRows(const QString &caption)
{
    QStringList rows;
    for (const QString &part : caption.split(u'=')) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            rows << name + QStringLiteral(" =");
    }
    return rows;
}

QStringList unitRows(const QString &caption)
{
    return caption.split(u' ', Qt::SkipEmptyParts);
}


void fillList(QListWidget *list, const QStringList &values)
{
    list->clear();
    const QSize rowSize = list->property("rowSize").toSize();
    for (const QString &value : values) {
        auto *item = new QListWidgetItem(value, list);
        item->setSizeHint(rowSize);
    }
}

QStringList listEntries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

MaterialDialog::MaterialDialog(const QString &dataDirectory, QWidget *parent)
    : QDialog(parent)
    , m_dataDirectory(dataDirectory)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Materialauswahl"));
    setModal(false);

    auto *heading = PlainLabel(QStringLiteral("Wählen Sie hier die Güteklasse aus."), QStringLiteral("Label1"), this);
    // Both parts stand side by side; the open commands hide one of them, so
    // in use the visible part always sits at the same spot.
    m_timberPart = createPart(true);
    m_steelPart = createPart(false);

    const auto [ok, help] = CreateOkHelpButtons(this);

    auto *parts = new QHBoxLayout;
    parts->addWidget(m_timberPart, 0, Qt::AlignTop);
    parts->addWidget(m_steelPart, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(parts, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (const QString &grade : texts::TimberGrades)
        m_timberGrades->addItem(grade);
    for (const QString &grade : texts::SteelGrades)
        m_steelGrades->addItem(grade);
    connectGradeList(m_timberGrades, &MaterialDialog::readTimberValues, m_timberReadByChange);
    connectGradeList(m_steelGrades, &MaterialDialog::readSteelValues, m_steelReadByChange);
    connect(ok, &QPushButton::clicked, this, &MaterialDialog::confirm);

    setTimberGrade(1);
    setSteelGrade(0);
}

QGroupBox *MaterialDialog::createPart(bool timber)
{
    auto *part = new QGroupBox(timber ? QStringLiteral("Holz") : QStringLiteral("Stahl"), this);
    part->setObjectName(timber ? QStringLiteral("Frame1") : QStringLiteral("Frame2"));
    auto *subHeading = PlainLabel(timber ? QStringLiteral("Rechtecksquerschnitt") : QStringLiteral("I-Profile"),
                                  timber ? QStringLiteral("Label2") : QStringLiteral("Label3"), part);

    auto *grades = new QComboBox(part);
    grades->setObjectName(timber ? QStringLiteral("Combo1") : QStringLiteral("Combo2"));
    grades->setAccessibleName(timber ? QStringLiteral("Holzgüte") : QStringLiteral("Stahlgüte"));
    grades->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    const QString namesCaption = timber ? TimberNames : SteelNames;
    const QString unitsCaption = timber ? TimberUnits : SteelUnits;
    auto *names = new CaptionColumn(namesCaption, nameRows(namesCaption), part);
    names->setObjectName(timber ? QStringLiteral("Label5") : QStringLiteral("Label4"));
    auto *units = new CaptionColumn(unitsCaption, unitRows(unitsCaption), part);
    units->setObjectName(timber ? QStringLiteral("Label6") : QStringLiteral("Label7"));

    // The values keep the blanks cut from the file, so a fixed-width font
    // lines them up as they stand there.
    auto *values = new QListWidget(part);
    values->setObjectName(timber ? QStringLiteral("List1") : QStringLiteral("List2"));
    values->setAccessibleName(timber ? QStringLiteral("Holz Kennwerte") : QStringLiteral("Stahl Kennwerte"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    values->setFont(fixed);
    values->setUniformItemSizes(true);
    values->setSelectionMode(QAbstractItemView::SingleSelection);

    // Every value row gets the same fixed height, and the captions beside the
    // list take exactly that height per row.
    const int rowCount = static_cast<int>(names->rows().size());
    const int rowHeight = std::max(values->fontMetrics().height(), fontMetrics().height()) + 4;
    const int valueWidth = values->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 8;
    values->setProperty("rowSize", QSize(valueWidth, rowHeight));
    const int frame = values->frameWidth();
    values->setFixedHeight(rowCount * rowHeight + 2 * frame);
    values->setFixedWidth(valueWidth + 2 * frame + values->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    names->setRowGeometry(rowHeight, frame);
    units->setRowGeometry(rowHeight, frame);

    auto *table = new QHBoxLayout;
    table->addWidget(names, 0, Qt::AlignTop);
    table->addWidget(values, 0, Qt::AlignTop);
    table->addWidget(units, 0, Qt::AlignTop);
    table->addStretch(1);
    auto *layout = new QVBoxLayout(part);
    layout->addWidget(subHeading);
    layout->addWidget(grades, 0, Qt::AlignLeft);
    layout->addLayout(table);
    layout->addStretch(1);

    (timber ? m_timberGrades : m_steelGrades) = grades;
    (timber ? m_timberValues : m_steelValues) = values;
    return part;
}

int MaterialDialog::timberGrade() const
{
    return m_timberGrades->currentIndex();
}

int MaterialDialog::steelGrade() const
{
    return m_steelGrades->currentIndex();
}

// Choosing the grade that is already selected reads the file again, as any
// selection does.
void MaterialDialog::setTimberGrade(int position)
{
    if (position == m_timberGrades->currentIndex())
        readTimberValues();
    else
        m_timberGrades->setCurrentIndex(position);
    m_timberReadByChange = false;
}

void MaterialDialog::setSteelGrade(int position)
{
    if (position == m_steelGrades->currentIndex())
        readSteelValues();
    else
        m_steelGrades->setCurrentIndex(position);
    m_steelReadByChange = false;
}

// Every selection reads the file, by code or by the user. A user's choice of
// the grade already selected changes no index, so the choice itself reads it
// too; a choice that changes the index reports the change first and the
// choice after it, and the file is read once for both.
void MaterialDialog::connectGradeList(QComboBox *grades, void (MaterialDialog::*read)(), bool &readByChange)
{
    connect(grades, &QComboBox::currentIndexChanged, this, [this, read, &readByChange] {
        (this->*read)();
        readByChange = true;
    });
    connect(grades, &QComboBox::activated, this, [this, read, &readByChange] {
        if (!std::exchange(readByChange, false))
            (this->*read)();
    });
}

QStringList MaterialDialog::timberValues() const
{
    return listEntries(m_timberValues);
}

QStringList MaterialDialog::steelValues() const
{
    return listEntries(m_steelValues);
}

void MaterialDialog::openForTimber()
{
    m_steelPart->hide();
    present();
}

void MaterialDialog::openForSteel()
{
    m_timberPart->hide();
    present();
}

void MaterialDialog::reject()
{
    confirm();
}

// A missing or short material file leaves the lists empty or short; the
// design names the file when it cannot find its values, so the window stays
// silent here.
void MaterialDialog::readTimberValues()
{
    fillList(m_timberValues, ReadTimberValues(MaterialTablePath(m_dataDirectory), timberGrade()));
}

void MaterialDialog::readSteelValues()
{
    fillList(m_steelValues, ReadSteelValues(MaterialTablePath(m_dataDirectory), steelGrade()));
}

void MaterialDialog::confirm()
{
    m_timberPart->show();
    m_steelPart->show();
    hide();
}

void MaterialDialog::present()
{
    show();
    raise();
    activateWindow();
}

} // namespace varno
