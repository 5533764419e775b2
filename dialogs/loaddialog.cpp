// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dialogs/loaddialog.h"

#include "widgets/messages.h"
#include "dialogs/dialogparts.h"
#include "dialogs/dimensionsdialog.h"
#include "dialogs/fieldcheck.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTabBar>
#include <QVBoxLayout>

namespace varno {

namespace {

const QString TabCaptions[5] = {QStringLiteral("Eigenlast g"), QStringLiteral("Nutzlast q"),
                                QStringLiteral("Schneelast s"), QStringLiteral("Windlast w"),
                                QStringLiteral("Einzellasten")};
const QString FrameCaptions[5] = {QStringLiteral("Gleichlasten g"), QStringLiteral("Gleichlasten q"),
                                  QStringLiteral("Gleichlasten s"), QStringLiteral("Gleichlasten w"),
                                  QStringLiteral("Einzellasten F")};
const QString LegendResource = QStringLiteral(":/assets/legend.svg");
const QString LegendCaption =
    QStringLiteral("a vom Anfangsknoten des Bereichs (Kragarm li: vom freien Ende)");


QLineEdit *numberField(const QString &text, const QString &name, const QString &accessibleName, int width,
                       QWidget *parent)
{
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setFixedWidth(width);
    return field;
}

// The row of a slot in the point-load frame: a region's loads from row F1
// down; the right cantilever shares the fourth column with the left one and
// stands below it, in rows F5 to F7.
int slotRow(int slot)
{
    const int region = RegionOfSlot(slot);
    return region == RightCantilever ? 4 + slot - FirstSlot(region) : slot - FirstSlot(region);
}

// Named as the screen shows the field: region and row label.
QString slotAccessibleName(int slot, const QString &what)
{
    return QStringLiteral("%1 F%2 %3").arg(texts::RegionLabels[RegionOfSlot(slot) - 1]).arg(slotRow(slot) + 1).arg(what);
}

} // namespace

LoadDialog::LoadDialog(const DimensionsDialog &dimensions, QWidget *parent)
    : QDialog(parent)
    , m_dimensions(dimensions)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Belastung"));
    setModal(false);

    auto *heading = PlainLabel(QStringLiteral("Geben Sie hier die Belastung ein."), QStringLiteral("Label1"), this);

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->setAccessibleName(QStringLiteral("Lastart"));
    m_tabs->setExpanding(false);
    for (const QString &caption : TabCaptions)
        m_tabs->addTab(caption);

    // The five frames share one spot; exactly one of them is shown. The spot
    // is sized for the largest frame so that switching tabs does not make the
    // window jump.
    auto *frameArea = new QWidget(this);
    auto *frameGrid = new QGridLayout(frameArea);
    frameGrid->setContentsMargins(0, 0, 0, 0);
    for (int k = 0; k < LoadTypeCount; ++k)
        m_frames[k] = createUniformFrame(k, frameArea);
    m_frames[PointLoadTab] = createPointLoadFrame(frameArea);
    QSize largest;
    for (int i = 0; i < TabCount; ++i) {
        m_frames[i]->setObjectName(QStringLiteral("Frame1(%1)").arg(i));
        frameGrid->addWidget(m_frames[i], 0, 0);
        largest = largest.expandedTo(m_frames[i]->sizeHint());
    }
    frameArea->setMinimumSize(largest);

    m_legend = createLegend();
    m_legend->setObjectName(QStringLiteral("Picture1"));
    m_legend->setAccessibleName(QStringLiteral("Legende"));
    m_legend->setAccessibleDescription(
        QStringLiteral("Der Abstand a einer Einzellast F wird vom Anfangsknoten ihres Bereichs gemessen."));
    // The picture's words, on screen: where a is measured from.
    m_legendCaption = PlainLabel(LegendCaption, QStringLiteral("legendCaption"), this);
    m_legendCaption->setWordWrap(true);
    m_legendCaption->setFixedWidth(m_legend->width());
    m_legendCaption->setMinimumHeight(m_legendCaption->heightForWidth(m_legend->width()));
    // Their place stays reserved on the other tabs, so the window keeps its size.
    for (QWidget *part : {m_legend, static_cast<QWidget *>(m_legendCaption)}) {
        QSizePolicy policy = part->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        part->setSizePolicy(policy);
    }
    auto *legendColumn = new QVBoxLayout;
    legendColumn->addWidget(m_legend);
    legendColumn->addWidget(m_legendCaption);
    legendColumn->addStretch(1);

    const auto [ok, help] = CreateOkHelpButtons(this);

    auto *middle = new QHBoxLayout;
    middle->addWidget(frameArea, 1);
    middle->addLayout(legendColumn);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_tabs);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    // Defaults: g "2.00", the rest "0.00", all copy boxes set, every F and a
    // "0". With the boxes set only region 1 is shown in the uniform frames;
    // the point-load columns start complete until tab 5 first sorts them.
    for (int k = 0; k < LoadTypeCount; ++k) {
        m_sameForAll[k]->setChecked(true);
        for (int region = 2; region <= RegionCount; ++region)
            setRegionRowVisible(k, region, false);
    }
    showTab(0);

    for (int k = 0; k < LoadTypeCount; ++k) {
        connect(m_rows[0][k].field, &QLineEdit::textChanged, this, [this, k] { onRegionOneChanged(k); });
        for (int region = 2; region <= RegionCount; ++region) {
            QLineEdit *field = m_rows[region - 1][k].field;
            connect(field, &QLineEdit::textChanged, this, [this, field] {
                // A copy of region 1 repeats a text whose fault the region-1
                // field has just reported; one box per keystroke is enough.
                if (!m_copying)
                    CheckNumericField(field, this);
            });
        }
        connect(m_sameForAll[k], &QCheckBox::toggled, this, [this, k](bool set) { onSameForAllToggled(k, set); });
    }
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        QLineEdit *force = m_force[slot];
        connect(force, &QLineEdit::textChanged, this, [this, force] { CheckNumericField(force, this); });
        connect(m_distance[slot], &QLineEdit::textChanged, this, [this, slot] { onDistanceChanged(slot); });
    }
    // A click on the tab that is already selected changes nothing in the tab
    // bar but still runs the tab's rule; other selections come through
    // currentChanged, which also covers the keyboard.
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == m_tabs->currentIndex())
            showTab(index);
    });
    connect(m_tabs, &QTabBar::currentChanged, this, &LoadDialog::showTab);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

QGroupBox *LoadDialog::createUniformFrame(int loadType, QWidget *parent)
{
    auto *frame = new QGroupBox(FrameCaptions[loadType], parent);
    auto *grid = new QGridLayout(frame);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 16;
    const QString defaultText = loadType == LoadG ? QStringLiteral("2.00") : QStringLiteral("0.00");
    for (int region = 1; region <= RegionCount; ++region) {
        UniformRow &row = m_rows[region - 1][loadType];
        // Region labels are the arrays Label2..Label6 (one per region), indexed
        // by frame; the units are one array Label7, five per frame.
        row.label = PlainLabel(texts::RegionLabels[region - 1], QStringLiteral("Label%1(%2)").arg(region + 1).arg(loadType),
                               frame);
        row.field = numberField(defaultText, QStringLiteral("Text%1(%2)").arg(region).arg(loadType),
                                TabCaptions[loadType] + u' ' + texts::RegionLabels[region - 1], fieldWidth, frame);
        row.unit = PlainLabel(QStringLiteral("kN/m"), QStringLiteral("Label7(%1)").arg(5 * loadType + region - 1), frame);
        row.label->setBuddy(row.field);
        grid->addWidget(row.label, region - 1, 0);
        grid->addWidget(row.field, region - 1, 1);
        grid->addWidget(row.unit, region - 1, 2);
    }
    auto *box = new QCheckBox(QStringLiteral("für alle Felder gleich?"), frame);
    box->setObjectName(QStringLiteral("Check%1").arg(loadType + 1));
    box->setAccessibleName(QStringLiteral("für alle Felder gleich? ") + TabCaptions[loadType]);
    m_sameForAll[loadType] = box;
    grid->addWidget(box, RegionCount, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(RegionCount + 1, 1);
    return frame;
}

QGroupBox *LoadDialog::createPointLoadFrame(QWidget *parent)
{
    auto *frame = new QGroupBox(FrameCaptions[PointLoadTab], parent);
    auto *grid = new QGridLayout(frame);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12;
    constexpr int FirstRow = 2;   // grid rows 0 and 1 hold the headers
    auto forceColumn = [](int group) { return 1 + 2 * group; };

    // Region headers: Label2(4) to Label6(4), like the region labels of the
    // uniform frames. Unit headers and row labels are our arrays Label8, Label9.
    for (int region = 1; region <= RegionCount; ++region)
        m_regionHeaders[region - 1] = PlainLabel(texts::RegionLabels[region - 1],
                                                 QStringLiteral("Label%1(4)").arg(region + 1), frame);
    for (int group = 0; group < PointLoadColumns; ++group) {
        m_unitHeaders[group] = PlainLabel(QStringLiteral("kN        m"), QStringLiteral("Label8(%1)").arg(group), frame);
        grid->addWidget(m_regionHeaders[group], 0, forceColumn(group), 1, 2);
        grid->addWidget(m_unitHeaders[group], 1, forceColumn(group), 1, 2);
    }
    for (int row = 0; row < 7; ++row)
        grid->addWidget(PlainLabel(QStringLiteral("F%1").arg(row + 1), QStringLiteral("Label9(%1)").arg(row), frame),
                        FirstRow + row, 0);
    // "Kragarm re" stands in the F4 row of the fourth group, its loads below.
    grid->addWidget(m_regionHeaders[RightCantilever - 1], FirstRow + 3, forceColumn(3), 1, 2);

    // Created column by column, so the tab key walks through one region's
    // loads before the next region's.
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        const int region = RegionOfSlot(slot);
        const int group = std::min(region, 4) - 1;
        const int row = slotRow(slot);
        m_force[slot] = numberField(QStringLiteral("0"), QStringLiteral("Text7(%1)").arg(slot),
                                    slotAccessibleName(slot, QStringLiteral("Kraft")), fieldWidth, frame);
        m_distance[slot] = numberField(QStringLiteral("0"), QStringLiteral("Text6(%1)").arg(slot),
                                       slotAccessibleName(slot, QStringLiteral("Abstand")), fieldWidth, frame);
        grid->addWidget(m_force[slot], FirstRow + row, forceColumn(group));
        grid->addWidget(m_distance[slot], FirstRow + row, forceColumn(group) + 1);
    }
    grid->setColumnStretch(2 * PointLoadColumns + 1, 1);
    grid->setRowStretch(FirstRow + 7, 1);
    return frame;
}

// The legend is drawn once from its SVG at the finest scale of the screens;
// without the picture the spot simply stays empty.
QLabel *LoadDialog::createLegend()
{
    auto *legend = new QLabel(this);
    QSvgRenderer renderer;
    if (!QFile::exists(LegendResource) || !renderer.load(LegendResource)) {
        legend->setFixedSize(160, 120);
        return legend;
    }
    QSize size = renderer.defaultSize();
    if (size.isEmpty())
        size = QSize(160, 120);
    size.scale(180, 180, Qt::KeepAspectRatio);
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap picture(size * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    legend->setPixmap(picture);
    legend->setFixedSize(size);
    return legend;
}

QString LoadDialog::uniformText(int region, int loadType) const
{
    return m_rows[region - 1][loadType].field->text();
}

void LoadDialog::setUniformText(int region, int loadType, const QString &text)
{
    m_rows[region - 1][loadType].field->setText(text);
}

QString LoadDialog::forceText(int slot) const
{
    return m_force[slot]->text();
}

void LoadDialog::setForceText(int slot, const QString &text)
{
    m_force[slot]->setText(text);
}

QString LoadDialog::distanceText(int slot) const
{
    return m_distance[slot]->text();
}

void LoadDialog::setDistanceText(int slot, const QString &text)
{
    m_distance[slot]->setText(text);
}

bool LoadDialog::sameForAll(int loadType) const
{
    return m_sameForAll[loadType]->isChecked();
}

void LoadDialog::setSameForAll(int loadType, bool set)
{
    // Like a click: the rule runs only when the box actually changes.
    m_sameForAll[loadType]->setChecked(set);
}

void LoadDialog::setRegionRowsVisible(int region, bool visible)
{
    for (int k = 0; k < LoadTypeCount; ++k)
        setRegionRowVisible(k, region, visible);
}

void LoadDialog::fillProjectTexts(ProjectTexts &texts) const
{
    for (int region = 1; region <= RegionCount; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            texts.uniform[region - 1][k] = uniformText(region, k);
    for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
        texts.force[slot] = forceText(slot);
        texts.distance[slot] = distanceText(slot);
    }
}

void LoadDialog::restoreUniformTexts(const std::array<std::array<QString, LoadTypeCount>, RegionCount> &uniform)
{
    QScopedValueRollback<bool> restoring(m_restoring, true);
    for (int region = 1; region <= RegionCount; ++region)
        for (int k = 0; k < LoadTypeCount; ++k)
            setUniformText(region, k, uniform[region - 1][k]);
}

void LoadDialog::restorePointLoads(const std::array<QString, PointLoadSlotCount> &distance,
                                   const std::array<QString, PointLoadSlotCount> &force)
{
    {
        QScopedValueRollback<bool> restoring(m_restoring, true);
        for (int slot = 0; slot < PointLoadSlotCount; ++slot) {
            setDistanceText(slot, distance[slot]);
            setForceText(slot, force[slot]);
        }
    }
    warnAboutDistances();
}

void LoadDialog::reject()
{
    hide();
}

// The keys of every tabbed window of the desktop: Ctrl+Tab and Ctrl+PgDown
// select the next tab, Ctrl+Shift+Tab and Ctrl+PgUp the one before, around
// the ends. The selection runs the tab's rule as a click does.
void LoadDialog::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    if (event->modifiers() & Qt::ControlModifier) {
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        switch (event->key()) {
        case Qt::Key_Tab: step = shift ? -1 : 1; break;
        case Qt::Key_Backtab: step = -1; break;
        case Qt::Key_PageDown: step = shift ? 0 : 1; break;
        case Qt::Key_PageUp: step = shift ? 0 : -1; break;
        default: break;
        }
    }
    if (step == 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + TabCount) % TabCount);
    event->accept();
}

void LoadDialog::showTab(int index)
{
    for (int i = 0; i < TabCount; ++i)
        m_frames[i]->setVisible(i == index);
    m_legend->setVisible(index == PointLoadTab);
    m_legendCaption->setVisible(index == PointLoadTab);
    if (index == PointLoadTab)
        applyPointLoadVisibility();
}

// Runs only when tab 5 is chosen: the columns follow the lengths as they are
// at that moment and stay so while the lengths change elsewhere.
void LoadDialog::applyPointLoadVisibility()
{
    const bool region2 = regionExists(Span2);
    const bool region3 = regionExists(Span3);
    const bool left = regionExists(LeftCantilever);
    const bool right = regionExists(RightCantilever);

    m_regionHeaders[Span2 - 1]->setVisible(region2);
    m_unitHeaders[1]->setVisible(region2);
    m_regionHeaders[Span3 - 1]->setVisible(region3);
    m_unitHeaders[2]->setVisible(region3);
    m_regionHeaders[LeftCantilever - 1]->setVisible(left);
    m_unitHeaders[3]->setVisible(left);
    m_regionHeaders[RightCantilever - 1]->setVisible(right);

    const bool shown[RegionCount] = {true, region2, region3, left, right};
    for (int slot = FirstSlot(Span2); slot < PointLoadSlotCount; ++slot) {
        const bool visible = shown[RegionOfSlot(slot) - 1];
        m_force[slot]->setVisible(visible);
        m_distance[slot]->setVisible(visible);
    }
}

void LoadDialog::setRegionRowVisible(int loadType, int region, bool visible)
{
    const UniformRow &row = m_rows[region - 1][loadType];
    row.label->setVisible(visible);
    row.field->setVisible(visible);
    row.unit->setVisible(visible);
}

void LoadDialog::onSameForAllToggled(int loadType, bool set)
{
    if (set)
        copyRegionOne(loadType);
    for (int region = 2; region <= RegionCount; ++region)
        if (regionExists(region))
            setRegionRowVisible(loadType, region, !set);
}

void LoadDialog::onRegionOneChanged(int loadType)
{
    CheckNumericField(m_rows[0][loadType].field, this);
    if (m_restoring)
        return;
    // Every load type whose box is set follows its region 1, not only the one
    // just edited.
    for (int k = 0; k < LoadTypeCount; ++k)
        if (sameForAll(k))
            copyRegionOne(k);
}

void LoadDialog::copyRegionOne(int loadType)
{
    QScopedValueRollback<bool> copying(m_copying, true);
    const QString text = uniformText(Span1, loadType);
    for (int region = 2; region <= RegionCount; ++region)
        setUniformText(region, loadType, text);
}

void LoadDialog::onDistanceChanged(int slot)
{
    CheckNumericField(m_distance[slot], this);
    if (!m_restoring)
        warnAboutDistances();
}

void LoadDialog::warnAboutDistances()
{
    for (int i = 0; i < PointLoadSlotCount; ++i) {
        const int region = RegionOfSlot(i);
        // A distance equal to the length is still on the region.
        if (LeadingNumber(distanceText(i)) <= regionLength(region))
            continue;
        const QString first = region <= Span3 ? QStringLiteral("Die Kraft liegt außerhalb der Feldlänge")
                                              : QStringLiteral("Die Kraft liegt außerhalb der Kraglänge");
        ShowMessage(this, QStringLiteral("Warnung"),
                    first + QStringLiteral("\r\n\r\nGeben Sie einen Abstand zwischen 0 und ")
                        + m_dimensions.lengthText(region - 1) + QStringLiteral(" ein."),
                    MsgIcon::Warning);
    }
}

// Spans 2 and 3 both exist when L3 is not 0; otherwise span 2 exists when L2
// is not 0. A cantilever exists when its length is not 0.
bool LoadDialog::regionExists(int region) const
{
    switch (region) {
    case Span1: return true;
    case Span2: return regionLength(Span3) != 0 || regionLength(Span2) != 0;
    case Span3: return regionLength(Span3) != 0;
    default: return regionLength(region) != 0;
    }
}

double LoadDialog::regionLength(int region) const
{
    return LeadingNumber(m_dimensions.lengthText(region - 1));
}

} // namespace varno
