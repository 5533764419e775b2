// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/dimensionsdialog.h"

#include "widgets/messages.h"
#include "dialogs/dialogparts.h"
#include "session/session.h"
#include "dialogs/fieldcheck.h"
#include "graphics/drawing.h"
#include "widgets/picturearea.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace varno {

namespace {

const QString FieldNames[RegionCount] = {QStringLiteral("Text1"), QStringLiteral("Text2"), QStringLiteral("Text3"),
                                         QStringLiteral("Text4"), QStringLiteral("Text5")};
const QString Captions[RegionCount] = {QStringLiteral("Feldlänge   L1 ="), QStringLiteral("Feldlänge   L2 ="),
                                       QStringLiteral("Feldlänge   L3 ="), QStringLiteral("links"),
                                       QStringLiteral("rechts")};
const QString AccessibleNames[RegionCount] = {QStringLiteral("Feldlänge L1"), QStringLiteral("Feldlänge L2"),
                                              QStringLiteral("Feldlänge L3"), QStringLiteral("Kragarm links"),
                                              QStringLiteral("Kragarm rechts")};

// The sketch area's design size is 6135 x 1455 twips (15 twips a pixel).
constexpr int SketchWidth = 409;
constexpr int SketchHeight = 97;


} // namespace

DimensionsDialog::DimensionsDialog(CalcSession &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Systemabmessungen"));
    setModal(false);

    auto *heading = PlainLabel(QStringLiteral("Geben Sie hier die Systemabmessungen ein."), QStringLiteral("Label1"), this);

    auto *cantilevers = new QGroupBox(QStringLiteral("Kragarme"), this);
    cantilevers->setObjectName(QStringLiteral("Frame1"));

    // The row captions and the five "m" units are our own arrays Label2(0..4)
    // and Label3(0..4), indexed like the fields (L1, L2, L3, left, right).
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 16;
    for (int i = 0; i < RegionCount; ++i) {
        QWidget *owner = i >= LengthLeft ? static_cast<QWidget *>(cantilevers) : this;
        m_captions[i] = PlainLabel(Captions[i], QStringLiteral("Label2(%1)").arg(i), owner);
        auto *field = new QLineEdit(texts::DefaultLengths[i], owner);
        field->setObjectName(FieldNames[i]);
        field->setAccessibleName(AccessibleNames[i]);
        field->setMinimumWidth(fieldWidth);
        field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        m_captions[i]->setBuddy(field);
        m_fields[i] = field;
        m_units[i] = PlainLabel(QStringLiteral("m"), QStringLiteral("Label3(%1)").arg(i), owner);
    }

    auto *spans = new QGridLayout;
    for (int i = LengthL1; i <= LengthL3; ++i) {
        spans->addWidget(m_captions[i], i, 0);
        spans->addWidget(m_fields[i], i, 1);
        spans->addWidget(m_units[i], i, 2);
    }
    spans->setColumnStretch(3, 1);

    m_picture = new PictureArea(5, this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAccessibleName(QStringLiteral("Skizze"));
    m_picture->setAccessibleDescription(
        QStringLiteral("Skizze des Systems: Felder und Kragarme mit ihren Längen und den Auflagern"));
    m_picture->setMinimumSize(SketchWidth, SketchHeight);
    m_picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto *cantileverRow = new QHBoxLayout(cantilevers);
    for (int i = LengthLeft; i <= LengthRight; ++i) {
        cantileverRow->addWidget(m_captions[i]);
        cantileverRow->addWidget(m_fields[i]);
        cantileverRow->addWidget(m_units[i]);
        cantileverRow->addSpacing(fontMetrics().horizontalAdvance(QStringLiteral("mm")));
        cantileverRow->addStretch(1);
    }

    const auto [ok, help] = CreateOkHelpButtons(this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(spans);
    layout->addWidget(m_picture, 1);
    layout->addWidget(cantilevers);
    layout->addLayout(buttons);

    // The frame was created before the span fields; spell out the order in
    // which the window is read.
    setTabOrder(m_fields[LengthL1], m_fields[LengthL2]);
    setTabOrder(m_fields[LengthL2], m_fields[LengthL3]);
    setTabOrder(m_fields[LengthL3], m_fields[LengthLeft]);
    setTabOrder(m_fields[LengthLeft], m_fields[LengthRight]);
    setTabOrder(m_fields[LengthRight], ok);
    setTabOrder(ok, help);

    for (int i = 0; i < RegionCount; ++i)
        connect(m_fields[i], &QLineEdit::textChanged, this, [this, i] { onLengthChanged(i); });
    connect(ok, &QPushButton::clicked, this, &DimensionsDialog::confirm);

    redrawSketch();
}

QString DimensionsDialog::lengthText(int index) const
{
    return m_fields[index]->text();
}

void DimensionsDialog::setLengthText(int index, const QString &text)
{
    m_fields[index]->setText(text);
}

std::array<QString, RegionCount> DimensionsDialog::lengthTexts() const
{
    std::array<QString, RegionCount> texts;
    for (int i = 0; i < RegionCount; ++i)
        texts[i] = m_fields[i]->text();
    return texts;
}

void DimensionsDialog::setSpanRowVisible(int index, bool visible)
{
    m_captions[index]->setVisible(visible);
    m_fields[index]->setVisible(visible);
    m_units[index]->setVisible(visible);
}

void DimensionsDialog::redrawSketch()
{
    m_picture->apply(DrawSystemSketch(lengthTexts(), m_session, QLocale()));
}

PictureArea *DimensionsDialog::sketch() const
{
    return m_picture;
}

void DimensionsDialog::onLengthChanged(int index)
{
    CheckNumericField(m_fields[index], this);
    redrawSketch();
}

void DimensionsDialog::confirm()
{
    setSpanRowVisible(LengthL2, true);
    setSpanRowVisible(LengthL3, true);
    hide();
}

// The texts must outlive the window, so closing it by its title bar is just
// another way of pressing OK.
void DimensionsDialog::reject()
{
    confirm();
}

} // namespace varno
