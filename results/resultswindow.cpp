// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/resultswindow.h"

#include "analysis/analysis.h"
#include "widgets/inputwindows.h"
#include "widgets/help.h"
#include "widgets/messages.h"
#include "model/projectmodel.h"
#include "model/projectstate.h"
#include "session/session.h"
#include "design/design.h"
#include "widgets/fittinglabel.h"
#include "results/systemschematic.h"
#include "graphics/drawing.h"
#include "widgets/picturearea.h"
#include "presentation/captions.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace varno {

namespace {

constexpr int PictureLabelCount = 37;

const QString SystemPictureDescription = QStringLiteral("System mit Gleichlasten und Einzellasten");
const QString MomentDescription = QStringLiteral("Momentenlinie");
const QString ShearDescription = QStringLiteral("Querkraftlinie");

// Room a window manager's frame and title bar may take around the window.
const QSize FrameAllowance(16, 48);

const QString RefusalText = QStringLiteral("Geben Sie eine Zahl ein, die größer Null ist.");

QString arrayName(const char *base, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

QLabel *makeLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The widest texts the window asks room for; a longer number is shortened,
// a failed design's text wraps.
const QString TypicalResultLine = QStringLiteral("Auflagerkraft  A = -00000.00  kNm");
const QString TypicalDesignValue = QStringLiteral("Wy erf =  000000.0 cm3");
const QString TypicalVerdict = QStringLiteral("Stahl:  Normalspannung maßgebend!");

FittingLabel *makeFittingLabel(const QString &name, FittingLabel::Mode mode, const QString &typical,
                               QWidget *parent)
{
    auto *label = new FittingLabel(mode, typical, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(text);
    // Enter in one of the fields must not close the window or redraw.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit *makeField(const QString &name, const QString &accessibleName, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    const QFontMetrics fm = field->fontMetrics();
    field->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("00000.0")) + 2 * fm.averageCharWidth());
    field->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("00000000.0")) + 2 * fm.averageCharWidth());
    return field;
}

} // namespace

ResultsWindow::ResultsWindow(CalcSession &session, const InputWindows &inputs, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_inputs(inputs)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Ergebnisse"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();

    // The holder lives as long as the window: a new window starts empty.
    m_session.design.ProfileHolder.clear();
    m_holder->clear();

    for (QLineEdit *field : {m_width, m_spanLimit, m_cantileverLimit})
        connect(field, &QLineEdit::textChanged, this, &ResultsWindow::onDesignInputChanged);

    // Each assignment is a change of its field and starts a design run; the
    // series list is still empty, so these runs design with HE-B. The texts
    // are the defaults, or those of the project opened last.
    const ResultsInputs initial = m_inputs.resultsWindowInputs();
    m_width->setText(initial.width);
    m_spanLimit->setText(initial.spanLimit);
    m_cantileverLimit->setText(initial.cantileverLimit);

    const ProjectTexts texts = m_inputs.projectTexts();
    setSchematicTexts();

    m_designLabels[0]->setText(TimberGradeCaption(texts.timberGrade));
    m_designLabels[5]->setText(SteelGradeCaption(texts.steelGrade));
    m_designLabels[2]->setText(QStringLiteral("b = "));
    m_designLabels[3]->setText(QStringLiteral("cm"));

    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        m_schematic->pointLoadLabel(slot)->hide();
    for (int support = 0; support < 4; ++support)
        m_schematic->supportLetter(support)->hide();
    for (QLabel *label : m_resultLabels)
        label->hide();

    arrangeSchematic();

    // Filling a Qt combo box selects its first item by itself; the series
    // handler is connected only afterwards, so that the one selection of
    // the creation is that of HE-A.
    m_series->addItems({QStringLiteral("IPE"), QStringLiteral("HE-A"), QStringLiteral("HE-B")});
    connect(m_series, &QComboBox::currentIndexChanged, this, [this](int) { runDesign(); });
    // The selection of the creation starts its run also when it falls on
    // the item the filling selected already.
    if (m_series->currentIndex() == initial.series)
        runDesign();
    else
        m_series->setCurrentIndex(initial.series);
    m_designLabels[7]->setText(QStringLiteral("Profil"));
}

void ResultsWindow::buildLayout()
{
    auto *main = new QVBoxLayout(this);

    m_heading = makeLabel(arrayName("Label1", 5), this);
    main->addWidget(m_heading);

    auto *systemFrame = new QGroupBox(QStringLiteral("System"), this);
    systemFrame->setObjectName(QStringLiteral("Frame1"));
    auto *systemLayout = new QVBoxLayout(systemFrame);
    m_schematic = new SystemSchematic(systemFrame);
    systemLayout->addWidget(m_schematic);
    main->addWidget(systemFrame);

    for (int i = 0; i < int(m_resultLabels.size()); ++i)
        m_resultLabels[i] = makeFittingLabel(arrayName("Label6", i), FittingLabel::Mode::Shorten,
                                             TypicalResultLine, this);
    QString longestGrade;
    for (int grade = 0; grade < TimberGradeCount; ++grade)
        if (TimberGradeCaption(grade).size() > longestGrade.size())
            longestGrade = TimberGradeCaption(grade);
    for (int grade = 0; grade < SteelGradeCount; ++grade)
        if (SteelGradeCaption(grade).size() > longestGrade.size())
            longestGrade = SteelGradeCaption(grade);
    for (int i = 0; i < int(m_designLabels.size()); ++i) {
        const bool verdict = i == 9 || i == 10;
        // A grade caption asks room for the longest grade; only numbers and
        // verdicts can outgrow their place.
        const QString typical = verdict ? TypicalVerdict : (i == 0 || i == 5) ? longestGrade : TypicalDesignValue;
        m_designLabels[i] = makeFittingLabel(arrayName("Label7", i),
                                             verdict ? FittingLabel::Mode::Wrap : FittingLabel::Mode::Shorten,
                                             typical, this);
    }

    auto *middle = new QHBoxLayout;
    main->addLayout(middle);

    auto *momentFrame = new QGroupBox(QStringLiteral("Momente"), this);
    momentFrame->setObjectName(QStringLiteral("Frame2"));
    auto *momentLayout = new QVBoxLayout(momentFrame);
    for (int i = 0; i <= 6; ++i)
        momentLayout->addWidget(m_resultLabels[i]);
    momentLayout->addStretch(1);
    middle->addWidget(momentFrame);

    // Shear forces left and right of the supports beside the reactions.
    auto *shearFrame = new QGroupBox(QStringLiteral("Querkräfte"), this);
    shearFrame->setObjectName(QStringLiteral("Frame3"));
    auto *shearLayout = new QGridLayout(shearFrame);
    shearLayout->setHorizontalSpacing(fontMetrics().averageCharWidth() * 3);
    for (int i = 7; i <= 14; ++i)
        shearLayout->addWidget(m_resultLabels[i], i - 7, 0);
    for (int i = 15; i <= 18; ++i)
        shearLayout->addWidget(m_resultLabels[i], i - 15, 1);
    shearLayout->setRowStretch(8, 1);
    middle->addWidget(shearFrame);

    auto *designFrame = new QGroupBox(QStringLiteral("Dimension"), this);
    designFrame->setObjectName(QStringLiteral("Frame4"));
    auto *designLayout = new QGridLayout(designFrame);
    designLayout->setHorizontalSpacing(fontMetrics().averageCharWidth() * 2);

    m_width = makeField(QStringLiteral("Text1"), QStringLiteral("Breite b"), designFrame);
    m_designLabels[2]->setBuddy(m_width);
    auto *widthRow = new QHBoxLayout;
    widthRow->setSpacing(fontMetrics().averageCharWidth());
    widthRow->addWidget(m_designLabels[2]);
    widthRow->addWidget(m_width);
    widthRow->addWidget(m_designLabels[3]);
    widthRow->addStretch(1);

    m_series = new QComboBox(designFrame);
    m_series->setObjectName(QStringLiteral("Combo1"));
    m_series->setAccessibleName(QStringLiteral("Profilreihe"));
    m_designLabels[7]->setBuddy(m_series);
    auto *seriesRow = new QHBoxLayout;
    seriesRow->setSpacing(fontMetrics().averageCharWidth());
    seriesRow->addWidget(m_designLabels[7]);
    seriesRow->addWidget(m_series);
    seriesRow->addStretch(1);

    // Timber on the left, steel on the right, row by row.
    designLayout->addWidget(m_designLabels[0], 0, 0);
    designLayout->addLayout(widthRow, 1, 0);
    designLayout->addWidget(m_designLabels[1], 2, 0);
    designLayout->addWidget(m_designLabels[4], 3, 0);
    designLayout->addWidget(m_designLabels[9], 4, 0);
    designLayout->addWidget(m_designLabels[5], 0, 1);
    designLayout->addLayout(seriesRow, 1, 1);
    designLayout->addWidget(m_designLabels[6], 2, 1);
    designLayout->addWidget(m_designLabels[8], 3, 1);
    designLayout->addWidget(m_designLabels[10], 4, 1);
    designLayout->setRowStretch(5, 1);

    m_holder = new QListWidget(designFrame);
    m_holder->setObjectName(QStringLiteral("List1"));
    m_holder->hide();
    middle->addWidget(designFrame, 1);

    auto *pictureFrame = new QFrame(this);
    pictureFrame->setObjectName(QStringLiteral("Frame5"));
    pictureFrame->setFrameShape(QFrame::StyledPanel);
    auto *pictureLayout = new QVBoxLayout(pictureFrame);
    m_picture = new PictureArea(PictureLabelCount, pictureFrame);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAccessibleName(QStringLiteral("Bild"));
    m_picture->setMinimumSize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 12);
    m_picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    pictureLayout->addWidget(m_picture, 1);

    auto *pictureButtons = new QHBoxLayout;
    auto *systemButton = makeButton(QStringLiteral("Command4"), QStringLiteral("System"), pictureFrame);
    auto *momentButton = makeButton(QStringLiteral("Command5"), QStringLiteral("Moment"), pictureFrame);
    auto *shearButton = makeButton(QStringLiteral("Command6"), QStringLiteral("Querkraft"), pictureFrame);
    pictureButtons->addWidget(systemButton);
    pictureButtons->addWidget(momentButton);
    pictureButtons->addWidget(shearButton);
    pictureButtons->addStretch(1);

    m_spanLimit = makeField(QStringLiteral("Text2"), QStringLiteral("Durchbiegung FeldL"), pictureFrame);
    m_cantileverLimit = makeField(QStringLiteral("Text3"), QStringLiteral("Durchbiegung KragL"), pictureFrame);
    auto *spanCaption = new QLabel(QStringLiteral("Durchbiegung  FeldL /"), pictureFrame);
    spanCaption->setObjectName(QStringLiteral("spanLimitCaption"));
    spanCaption->setBuddy(m_spanLimit);
    auto *cantileverCaption = new QLabel(QStringLiteral("Durchbiegung  KragL /"), pictureFrame);
    cantileverCaption->setObjectName(QStringLiteral("cantileverLimitCaption"));
    cantileverCaption->setBuddy(m_cantileverLimit);
    pictureButtons->addWidget(spanCaption);
    pictureButtons->addWidget(m_spanLimit);
    pictureButtons->addSpacing(fontMetrics().averageCharWidth() * 3);
    pictureButtons->addWidget(cantileverCaption);
    pictureButtons->addWidget(m_cantileverLimit);
    pictureLayout->addLayout(pictureButtons);
    main->addWidget(pictureFrame, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *okButton = makeButton(QStringLiteral("Command1"), QStringLiteral("OK"), this);
    auto *helpButton = makeButton(QStringLiteral("Command2"), QStringLiteral("Hilfe"), this);
    buttons->addWidget(okButton);
    buttons->addWidget(helpButton);
    main->addLayout(buttons);

    connect(systemButton, &QPushButton::clicked, this, &ResultsWindow::drawSystem);
    connect(momentButton, &QPushButton::clicked, this, &ResultsWindow::drawMoment);
    connect(shearButton, &QPushButton::clicked, this, &ResultsWindow::drawShear);
    // Ctrl+C anywhere in the window copies the picture shown; a field or a
    // selected label text takes the keys first for its own text.
    auto *copyPicture = new QAction(this);
    copyPicture->setObjectName(QStringLiteral("copyPicture"));
    copyPicture->setShortcut(QKeySequence::Copy);
    copyPicture->setShortcutContext(Qt::WindowShortcut);
    addAction(copyPicture);
    connect(copyPicture, &QAction::triggered, this,
            [this] { m_picture->copyToClipboard(QStringLiteral("Varno \u2013 Ergebnisse")); });

    connect(okButton, &QPushButton::clicked, this, &QWidget::close);
    connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelp(this); });
}

void ResultsWindow::setSchematicTexts()
{
    const ProjectTexts texts = m_inputs.projectTexts();
    const NumericBeam beam = ReadBeam(texts);
    const QLocale locale;

    m_heading->setText(QStringLiteral("Das Programm hat folgende Ergebnisse berechnet."));
    for (int region = 1; region <= RegionCount; ++region) {
        // The length as typed, the loads as numbers.
        m_schematic->lengthLabel(region)->setText(texts.lengths[region - 1] + QStringLiteral(" m"));
        const QString unit = region <= Span2 ? QStringLiteral("  kN/m") : QStringLiteral(" kN/m");
        m_schematic->loadLabel(region)->setText(QStringLiteral("Gleichlast =  ")
                                                + FormatFixed(beam.uniformSum(region), 2, locale) + unit);
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot) {
            const int number = slot - FirstSlot(region) + 1;
            const SlotLoad &load = beam.point[std::size_t(slot)];
            m_schematic->pointLoadLabel(slot)->setText(
                QStringLiteral("F%1 = ").arg(number) + FormatFixed(load.F, 2, locale)
                + QStringLiteral("  kN  a = ") + FormatFixed(load.a, 2, locale) + QStringLiteral(" m"));
        }
    }
    const QString letters[4] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    for (int support = 0; support < 4; ++support)
        m_schematic->supportLetter(support)->setText(letters[support]);
}

void ResultsWindow::arrangeSchematic()
{
    const NumericBeam beam = m_inputs.beam();
    const int spans = beam.spans();
    const bool left = beam.length[LengthLeft] != 0;
    const bool right = beam.length[LengthRight] != 0;

    auto exists = [&](int region) {
        switch (region) {
        case Span2: return spans >= 2;
        case Span3: return spans >= 3;
        case LeftCantilever: return left;
        case RightCantilever: return right;
        default: return true;
        }
    };

    for (int support = 0; support < 4; ++support)
        m_schematic->supportLetter(support)->setVisible(support <= spans);

    for (int region = 1; region <= RegionCount; ++region) {
        const bool shown = exists(region);
        m_schematic->lengthLabel(region)->setVisible(shown);
        m_schematic->loadLabel(region)->setVisible(shown);
        if (!shown)
            continue;
        // The loads of a region count up to its first empty slot.
        for (int slot = FirstSlot(region); slot < EndSlot(region); ++slot) {
            if (beam.point[std::size_t(slot)].F == 0)
                break;
            m_schematic->pointLoadLabel(slot)->show();
        }
    }
    // Placed after the visibility is known, so the columns fit the labels.
    m_schematic->arrange(spans, left, right);
}

void ResultsWindow::onDesignInputChanged(const QString &text)
{
    if (LeadingNumber(text) > 0)
        runDesign();
    else
        ShowMessage(this, QStringLiteral("Varno"), RefusalText, MsgIcon::None);
}

void ResultsWindow::runDesign()
{
    DesignInputs in;
    in.widthText = m_width->text();
    in.spanLimitText = m_spanLimit->text();
    in.cantileverLimitText = m_cantileverLimit->text();
    in.series = m_series->currentIndex();
    in.timberValues = m_inputs.timberValues();
    in.steelValues = m_inputs.steelValues();
    in.profileTablePath = ProfileTablePath(m_inputs.dataDirectory());

    const DesignTexts outcome =
        DesignCaptions(RunDesign(m_session.results, in, m_session.design, QLocale()), QLocale());
    ++m_designRuns;

    // A text the run did not write keeps the caption of the earlier run.
    auto write = [this](int item, const std::optional<QString> &text) {
        if (text)
            m_designLabels[item]->setText(*text);
    };
    write(1, outcome.timberWy);
    write(4, outcome.timberHeight);
    write(6, outcome.steelWy);
    write(8, outcome.steelProfile);
    write(9, outcome.timberVerdict);
    write(10, outcome.steelVerdict);

    m_holder->clear();
    m_holder->addItems(m_session.design.ProfileHolder);

    // The creation alone starts four runs and an analysis adds one more; a
    // missing table or material value would fail them all alike. So each
    // distinct failure text is shown once while this window exists; a new
    // window, or a different cause, shows it again.
    if (!outcome.failure.isEmpty() && !m_shownFailures.contains(outcome.failure)) {
        m_shownFailures.insert(outcome.failure);
        ShowMessage(this, QStringLiteral("Warnung"), outcome.failure, MsgIcon::Warning);
    }
}

void ResultsWindow::writeResultLines(const AnalysisOutcome &outcome)
{
    // A refused run has no lines to write; the window keeps what it shows.
    if (outcome.refused)
        return;
    const ResultLineTexts shown = ResultLines(m_session.results, outcome.spans, QLocale());
    // Lines outside the current system are hidden too: after a three-span
    // run followed by a single-span one, MC, MD and the rest would otherwise
    // stay on screen (and in the printed report) with stale values.
    for (int n = 0; n < ResultLineCount; ++n) {
        if (shown.visible[n]) {
            m_resultLabels[n]->setText(shown.lines[n]);
            m_resultLabels[n]->show();
        } else {
            m_resultLabels[n]->hide();
        }
    }
}

void ResultsWindow::drawSystem()
{
    m_picture->apply(DrawSystemAndLoadPicture(m_inputs.beam(), m_session, QLocale()));
    m_picture->setAccessibleDescription(SystemPictureDescription);
}

// The diagrams are drawn over what the area shows; the description names
// everything that is on it.
void ResultsWindow::drawMoment()
{
    m_picture->apply(DrawMomentDiagram(m_inputs.beam(), m_session));
    describeDiagram(MomentDescription);
}

void ResultsWindow::drawShear()
{
    m_picture->apply(DrawShearDiagram(m_inputs.beam(), m_session));
    describeDiagram(ShearDescription);
}

void ResultsWindow::describeDiagram(const QString &diagram)
{
    QString description = m_picture->accessibleDescription();
    if (description.contains(diagram))
        return;
    description += (description.isEmpty() ? QString() : QStringLiteral(", ")) + diagram;
    m_picture->setAccessibleDescription(description);
}

QString ResultsWindow::resultText(int item) const
{
    if (item < 0 || item >= int(m_resultLabels.size()) || m_resultLabels[item]->isHidden())
        return {};
    return m_resultLabels[item]->text();
}

QString ResultsWindow::designText(int item) const
{
    if (item < 0 || item >= int(m_designLabels.size()))
        return {};
    return m_designLabels[item]->text();
}

QString ResultsWindow::widthText() const
{
    return m_width->text();
}

PictureArea *ResultsWindow::picture() const
{
    return m_picture;
}

void ResultsWindow::setVisible(bool visible)
{
    // Qt gives a new top-level window at most two thirds of the screen; this
    // window asks for its full size instead, but no more than the screen's
    // available area leaves after a window frame.
    if (visible && !isVisible() && !testAttribute(Qt::WA_Resized)) {
        QSize size = sizeHint();
        if (const QScreen *screen = this->screen())
            size = size.boundedTo(screen->availableGeometry().size() - FrameAllowance);
        resize(size.expandedTo(minimumSizeHint()));
    }
    QDialog::setVisible(visible);
}

void ResultsWindow::closeEvent(QCloseEvent *event)
{
    // WA_DeleteOnClose discards the window once the event is accepted.
    if (!m_discarded) {
        m_discarded = true;
        emit discarded();
    }
    event->accept();
}

void ResultsWindow::reject()
{
    // Escape closes like the title bar: the window is discarded, not hidden.
    close();
}

} // namespace varno
