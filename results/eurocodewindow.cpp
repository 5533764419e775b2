// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/eurocodewindow.h"

#include "eurocode/members.h"
#include "graphics/ecdiagrams.h"
#include "presentation/ectexts.h"
#include "widgets/fittinglabel.h"
#include "widgets/inputwindows.h"
#include "widgets/picturearea.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace varno {

// The utilisation as a bar: its length up to 1.5, a mark at 1, green up to
// 1 and red above; empty while there is no utilisation.
class UtilisationBar : public QWidget
{
public:
    explicit UtilisationBar(QWidget *parent = nullptr) : QWidget(parent)
    {
        setMinimumSize(60, 12);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    void setValue(bool done, double value)
    {
        m_done = done && std::isfinite(value);
        m_value = value;
        setProperty("overLimit", isRed());
        update();
    }
    bool isRed() const { return m_done && m_value > 1; }
    QSize sizeHint() const override { return {120, fontMetrics().height()}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRectF r = QRectF(rect()).adjusted(0.5, 2.5, -0.5, -2.5);
        p.fillRect(r, palette().base());
        if (m_done) {
            const double share = std::clamp(m_value / 1.5, 0.0, 1.0);
            const QColor fill = m_value > 1 ? QColor(200, 0, 0) : QColor(0, 150, 0);
            p.fillRect(QRectF(r.left(), r.top(), r.width() * share, r.height()), fill);
        }
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(r);
        const double one = r.left() + r.width() / 1.5;
        p.drawLine(QPointF(one, r.top() - 2), QPointF(one, r.bottom() + 2));
    }

private:
    bool m_done = false;
    double m_value = 0;
};

namespace {

const QString Dash = QStringLiteral("\u2013");

const char *const TimberCheckNames[] = {"Biegung", "Schub", "Durchbiegung w_inst", "Durchbiegung w_fin",
                                        "Durchbiegung w_net,fin"};
const char *const SteelCheckNames[] = {"Biegung", "Querkraft", "Biegung mit Querkraft", "Durchbiegung"};
const char *const LimitNames[ec::LimitCount] = {
    "Holz Feld w_inst l/",   "Holz Kragarm w_inst l/",   "Holz Feld w_fin l/",  "Holz Kragarm w_fin l/",
    "Holz Feld w_net,fin l/", "Holz Kragarm w_net,fin l/", "Stahl Feld w l/",     "Stahl Kragarm w l/"};

QComboBox *combo(QWidget *parent, const char *name, const QString &accessible)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessible);
    return box;
}

QLineEdit *edit(QWidget *parent, const QString &name, const QString &accessible)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    return field;
}

const QString NotANumber = QStringLiteral("Diese Eingabe ist keine gültige Zahl größer Null.");

// Marks a field whose text cannot be read, or clears the mark; `why` is
// its tooltip.
void markField(QLineEdit *field, bool readable, const QString &why = NotANumber)
{
    if (field->property("unreadable").toBool() == !readable && field->toolTip() == (readable ? QString() : why))
        return;
    field->setProperty("unreadable", !readable);
    field->setStyleSheet(readable ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
    field->setToolTip(readable ? QString() : why);
    field->setAccessibleDescription(readable ? QString() : QStringLiteral("ungültige Eingabe"));
}

// A positive number typed whole; nothing from a half-typed text. A German
// user types a decimal comma: one comma and no point reads as the point.
std::optional<double> positive(QString text)
{
    if (text.count(u',') == 1 && !text.contains(u'.'))
        text.replace(u',', u'.');
    if (!IsNumericText(text))
        return std::nullopt;
    const double v = LeadingNumber(text);
    if (!(v > 0) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A width or height: readable and within the sizes the check accepts.
std::optional<double> sizeIn(QLineEdit *field)
{
    const std::optional<double> v = positive(field->text());
    const bool accepted = v && EcSizeAccepted(*v);
    markField(field, accepted,
              v ? QStringLiteral("Die Maße liegen zwischen %1 und %2 cm.")
                      .arg(FormatFixed(EcMinSizeCm, 1, QLocale()), FormatFixed(EcMaxSizeCm, 0, QLocale()))
                : NotANumber);
    return accepted ? v : std::nullopt;
}

// A plain QWidget window is a "client" area to screen readers, a filler
// inside some other window; this one is a window of its own.
QAccessibleInterface *windowAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(EurocodeWindow::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

EurocodeWindow::EurocodeWindow(InputWindows &inputs, const std::vector<QWidget *> &watched, QWidget *parent)
    : QWidget(parent, Qt::Window), m_inputs(inputs)
{
    setObjectName(QStringLiteral("frmEurocode"));
    static const bool accessibleAsWindow = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(accessibleAsWindow);
    setWindowTitle(QStringLiteral("Nachweis nach Eurocode"));
    setAccessibleName(QStringLiteral("Nachweis nach Eurocode"));
    buildInputs();
    reloadData();

    // Every field of the input windows: a change there is a change here.
    // Connected after the windows' own rules, so those have run first.
    for (QWidget *window : watched) {
        for (QLineEdit *field : window->findChildren<QLineEdit *>())
            connect(field, &QLineEdit::textChanged, this, &EurocodeWindow::scheduleRecompute);
        for (QComboBox *box : window->findChildren<QComboBox *>())
            connect(box, &QComboBox::currentIndexChanged, this, &EurocodeWindow::scheduleRecompute);
    }
    m_building = false;
    // Room for the places and combinations beside the bars, within a
    // 1280 x 1024 screen.
    const int placeWidth = fontMetrics().horizontalAdvance(QStringLiteral("Kragarm re, x = 1,50 m"));
    resize(QSize(sizeHint().width() + placeWidth, sizeHint().height())
               .expandedTo(QSize(1040, 620))
               .boundedTo(QSize(1260, 960))
               .expandedTo(minimumSizeHint()));
    recompute();
}

EurocodeWindow::~EurocodeWindow() = default;

void EurocodeWindow::buildInputs()
{
    // Inputs.
    auto *timber = new QGroupBox(QStringLiteral("Holz (EN 1995-1-1)"), this);
    auto *timberForm = new QFormLayout(timber);
    m_timberClass = combo(timber, "cboHolzklasse", QStringLiteral("Festigkeitsklasse"));
    m_serviceClass = combo(timber, "cboNutzungsklasse", QStringLiteral("Nutzungsklasse"));
    m_serviceClass->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_width = edit(timber, QStringLiteral("txtBreite"), QStringLiteral("Breite b in cm"));
    m_width->setText(QStringLiteral("8.0"));
    m_height = edit(timber, QStringLiteral("txtHoehe"), QStringLiteral("Höhe h in cm, leer: bemessen"));
    m_height->setPlaceholderText(QStringLiteral("bemessen"));
    timberForm->addRow(QStringLiteral("&Festigkeitsklasse"), m_timberClass);
    timberForm->addRow(QStringLiteral("&Nutzungsklasse"), m_serviceClass);
    timberForm->addRow(QStringLiteral("Breite &b [cm]"), m_width);
    timberForm->addRow(QStringLiteral("Höhe &h [cm]"), m_height);

    auto *steel = new QGroupBox(QStringLiteral("Stahl (EN 1993-1-1)"), this);
    auto *steelForm = new QFormLayout(steel);
    m_steelGrade = combo(steel, "cboStahlsorte", QStringLiteral("Stahlsorte"));
    m_series = combo(steel, "cboReihe", QStringLiteral("Profilreihe"));
    m_series->addItems({QStringLiteral("IPE"), QStringLiteral("HE-A"), QStringLiteral("HE-B")});
    m_series->setCurrentIndex(1);
    m_profile = combo(steel, "cboProfil", QStringLiteral("Profil, leer: bemessen"));
    steelForm->addRow(QStringLiteral("S&tahlsorte"), m_steelGrade);
    steelForm->addRow(QStringLiteral("&Reihe"), m_series);
    steelForm->addRow(QStringLiteral("&Profil"), m_profile);

    auto *actions = new QGroupBox(QStringLiteral("Einwirkungen"), this);
    auto *actionForm = new QFormLayout(actions);
    m_category = combo(actions, "cboKategorie", QStringLiteral("Nutzlastkategorie"));
    for (QChar c = u'A'; c <= u'H'; c = QChar(c.unicode() + 1))
        m_category->addItem(QString(c));
    m_snow = combo(actions, "cboSchnee", QStringLiteral("Schnee, Höhenlage"));
    m_snow->addItems({QStringLiteral("bis 1000 m ü. NN"), QStringLiteral("über 1000 m ü. NN")});
    m_pointAction = combo(actions, "cboEinzellasten", QStringLiteral("Einzellasten gehören zu"));
    for (int a = 0; a < ec::ActionCount; ++a)
        m_pointAction->addItem(EcActionName(a));
    actionForm->addRow(QStringLiteral("Nutzlast&kategorie"), m_category);
    actionForm->addRow(QStringLiteral("&Schnee"), m_snow);
    actionForm->addRow(QStringLiteral("&Einzellasten"), m_pointAction);

    auto *limits = new QGroupBox(QStringLiteral("Durchbiegungsgrenzen l / n"), this);
    auto *limitGrid = new QGridLayout(limits);
    limitGrid->addWidget(new QLabel(QStringLiteral("Feld"), limits), 0, 1);
    limitGrid->addWidget(new QLabel(QStringLiteral("Kragarm"), limits), 0, 2);
    const char *rowNames[4] = {"Holz w_inst", "Holz w_fin", "Holz w_net,fin", "Stahl w"};
    for (int row = 0; row < 4; ++row) {
        limitGrid->addWidget(new QLabel(QString::fromUtf8(rowNames[row]), limits), row + 1, 0);
        for (int col = 0; col < 2; ++col) {
            const int i = row * 2 + col;
            m_limits[i] = edit(limits, QStringLiteral("txtGrenze%1").arg(i), QString::fromUtf8(LimitNames[i]));
            m_limits[i]->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
            limitGrid->addWidget(m_limits[i], row + 1, col + 1);
        }
    }

    auto *inputColumn = new QVBoxLayout;
    inputColumn->addWidget(timber);
    inputColumn->addWidget(steel);
    inputColumn->addWidget(actions);
    inputColumn->addWidget(limits);
    inputColumn->addStretch(1);

    // Results.
    auto resultGroup = [&](const QString &title, const char *prefix, const char *const *names, int count,
                           std::vector<ResultRow> &rows, QLabel *&section, QLabel *&notes) {
        auto *group = new QGroupBox(title, this);
        auto *grid = new QGridLayout(group);
        // Long texts (a huge width typed) are shortened, never widen the window.
        section = new FittingLabel(FittingLabel::Mode::Shorten, QStringLiteral("C24  8,0 × 43,3 cm (bemessen)"), group);
        section->setText(Dash);
        section->setObjectName(QStringLiteral("lbl%1Querschnitt").arg(QLatin1String(prefix)));
        section->setAccessibleName(QStringLiteral("%1 Querschnitt").arg(QLatin1String(prefix)));
        section->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        section->setFocusPolicy(Qt::TabFocus);
        grid->addWidget(new QLabel(QStringLiteral("Querschnitt:"), group), 0, 0);
        grid->addWidget(section, 0, 1, 1, 3);
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(names[i]);
            const QString base = QStringLiteral("%1 %2").arg(QLatin1String(prefix), name);
            ResultRow row;
            row.bar = new UtilisationBar(group);
            row.bar->setObjectName(QStringLiteral("bar%1_%2").arg(QLatin1String(prefix)).arg(i));
            row.bar->setAccessibleName(base + QStringLiteral(" Balken"));
            row.value = new QLabel(Dash, group);
            row.value->setObjectName(QStringLiteral("lbl%1_%2").arg(QLatin1String(prefix)).arg(i));
            row.value->setAccessibleName(base + QStringLiteral(" Ausnutzung"));
            row.value->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
            row.value->setFocusPolicy(Qt::TabFocus);
            row.value->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u03B7 = 00,00")));
            row.verdict = new FittingLabel(FittingLabel::Mode::Shorten, QStringLiteral("nicht erfüllt, Quelle: nicht belegt"),
                                           group);
            row.verdict->setObjectName(QStringLiteral("lbl%1Ergebnis_%2").arg(QLatin1String(prefix)).arg(i));
            row.verdict->setAccessibleName(base + QStringLiteral(" Ergebnis"));
            row.verdict->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
            row.verdict->setFocusPolicy(Qt::TabFocus);
            row.where = new FittingLabel(FittingLabel::Mode::Shorten, QStringLiteral("Kragarm re, x = 1,50 m"), group);
            row.where->setObjectName(QStringLiteral("lbl%1Stelle_%2").arg(QLatin1String(prefix)).arg(i));
            row.where->setAccessibleName(base + QStringLiteral(" maßgebend"));
            row.where->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
            row.where->setFocusPolicy(Qt::TabFocus);
            grid->addWidget(new QLabel(name, group), i + 1, 0);
            grid->addWidget(row.bar, i + 1, 1);
            grid->addWidget(row.value, i + 1, 2);
            grid->addWidget(row.verdict, i + 1, 3);
            grid->addWidget(row.where, i + 1, 4);
            rows.push_back(row);
        }
        // The member's notes and warnings: where the class came from, a web
        // that needs a shear-buckling check.
        notes = new FittingLabel(FittingLabel::Mode::Wrap, QStringLiteral("Festigkeitsklasse C24 aus der Holzsorte"),
                                 group);
        notes->setObjectName(QStringLiteral("lbl%1Hinweise").arg(QLatin1String(prefix)));
        notes->setAccessibleName(QStringLiteral("%1 Hinweise").arg(QLatin1String(prefix)));
        notes->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        notes->setFocusPolicy(Qt::TabFocus);
        notes->hide();
        grid->addWidget(notes, count + 1, 0, 1, 5);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 3);
        grid->setColumnStretch(4, 2);
        return group;
    };
    QGroupBox *timberResults = resultGroup(QStringLiteral("Nachweise Holz"), "Holz", TimberCheckNames, 5,
                                           m_timberRows, m_timberSection, m_timberNotes);
    QGroupBox *steelResults = resultGroup(QStringLiteral("Nachweise Stahl"), "Stahl", SteelCheckNames, 4,
                                          m_steelRows, m_steelSection, m_steelNotes);

    m_status = new FittingLabel(FittingLabel::Mode::Wrap,
                                QStringLiteral("Die Eurocode-Daten sind fehlerhaft; der Nachweis ist nicht möglich:"),
                                this);
    m_status->setObjectName(QStringLiteral("lblHinweis"));
    m_status->setAccessibleName(QStringLiteral("Hinweis"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_status->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));
    m_status->hide();

    m_diagramChoice = combo(this, "cboHuellkurve", QStringLiteral("Hüllkurve"));
    m_diagramChoice->addItems({QStringLiteral("Moment M"), QStringLiteral("Querkraft V"),
                               QStringLiteral("Durchbiegung w Holz"), QStringLiteral("Durchbiegung w Stahl")});
    m_picture = new PictureArea(EnvelopeLabelCount, this);
    m_picture->setObjectName(QStringLiteral("picHuellkurve"));
    m_picture->setAccessibleName(QStringLiteral("Bild der Hüllkurve"));
    m_picture->setMinimumHeight(120);
    m_picture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // The envelope and the table of places share the room below the checks.
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabHuellkurveStellen"));
    auto *envelopePage = new QWidget(tabs);
    auto *envelopeLayout = new QVBoxLayout(envelopePage);
    envelopeLayout->setContentsMargins(4, 4, 4, 4);
    auto *diagramRow = new QHBoxLayout;
    auto *diagramLabel = new QLabel(QStringLiteral("H&üllkurve"), envelopePage);
    diagramLabel->setBuddy(m_diagramChoice);
    diagramRow->addWidget(diagramLabel);
    diagramRow->addWidget(m_diagramChoice);
    diagramRow->addStretch(1);
    m_diagramChoice->setParent(envelopePage);
    m_picture->setParent(envelopePage);
    envelopeLayout->addLayout(diagramRow);
    envelopeLayout->addWidget(m_picture, 1);
    m_places = new QTableWidget(tabs);
    m_places->setObjectName(QStringLiteral("tblStellen"));
    m_places->setAccessibleName(QStringLiteral("Ausnutzung je Stelle"));
    m_places->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_places->verticalHeader()->hide();
    m_places->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_places->setMinimumHeight(120);
    tabs->addTab(envelopePage, QStringLiteral("Hüllkurve"));
    tabs->addTab(m_places, QStringLiteral("&Ausnutzung je Stelle"));

    m_print = new QPushButton(QStringLiteral("Nachweis &drucken…"), this);
    m_print->setObjectName(QStringLiteral("cmdDrucken"));
    m_print->setAccessibleName(QStringLiteral("Nachweis drucken"));
    auto *close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("cmdSchliessen"));
    close->setAccessibleName(QStringLiteral("Schließen"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_print);
    buttons->addWidget(close);

    auto *resultColumn = new QVBoxLayout;
    resultColumn->addWidget(timberResults);
    resultColumn->addWidget(steelResults);
    resultColumn->addWidget(m_status);
    resultColumn->addWidget(tabs, 1);
    resultColumn->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(inputColumn, 0);
    layout->addLayout(resultColumn, 1);

    for (QComboBox *box : {m_timberClass, m_serviceClass, m_steelGrade, m_profile, m_category, m_snow, m_pointAction})
        connect(box, &QComboBox::currentIndexChanged, this, &EurocodeWindow::recompute);
    connect(m_series, &QComboBox::currentIndexChanged, this, [this] {
        fillProfiles();
        recompute();
    });
    connect(m_diagramChoice, &QComboBox::currentIndexChanged, this, &EurocodeWindow::drawDiagram);
    for (QLineEdit *field : {m_width, m_height})
        connect(field, &QLineEdit::textChanged, this, &EurocodeWindow::recompute);
    for (QLineEdit *field : m_limits)
        connect(field, &QLineEdit::textChanged, this, &EurocodeWindow::recompute);
}

void EurocodeWindow::reloadData()
{
    const bool wasBuilding = m_building;
    m_building = true;
    m_dataProblems.clear();
    m_data = ec::ReadData(m_inputs.dataDirectory(), m_dataProblems);

    const int grade = m_inputs.projectTexts().timberGrade;
    const QString fromGrade = ec::TimberClassOfGrade(m_data, grade);
    m_timberClass->clear();
    // The first entry follows the timber grade of the material window.
    m_timberClass->addItem(fromGrade.isEmpty() ? QStringLiteral("nach Holzsorte (keine Zuordnung)")
                                               : QStringLiteral("nach Holzsorte"));
    for (const ec::TimberClass &c : m_data.timber)
        m_timberClass->addItem(c.name, c.name);
    m_steelGrade->clear();
    m_steelGrade->addItem(QStringLiteral("nach Stahlsorte"));
    for (const ec::SteelGrade &g : m_data.steel)
        m_steelGrade->addItem(g.name, g.name);
    fillProfiles();
    for (int i = 0; i < ec::LimitCount; ++i) {
        const std::optional<double> limit = ec::DataLimit(m_data, i);
        m_limits[i]->setText(limit ? QString::number(*limit) : QString());
    }
    m_building = wasBuilding;
    recompute();
}

void EurocodeWindow::fillProfiles()
{
    const bool wasBuilding = m_building;
    m_building = true;
    const QString current = m_profile->currentData().toString();
    m_profile->clear();
    m_profile->addItem(QStringLiteral("bemessen"), QString());
    const QString series = ec::SeriesKey(m_series->currentText());
    for (const ec::Profile &p : m_data.profiles)
        if (p.series == series)
            m_profile->addItem(p.designation, p.designation);
    const int again = m_profile->findData(current);
    m_profile->setCurrentIndex(again > 0 ? again : 0);
    m_building = wasBuilding;
}

bool EurocodeWindow::readInputs(ec::RunInputs &in) const
{
    bool readable = true;
    ec::CheckOptions &o = in.options;
    const ProjectTexts texts = m_inputs.projectTexts();
    o.timberClass = m_timberClass->currentIndex() <= 0 ? ec::TimberClassOfGrade(m_data, texts.timberGrade)
                                                       : m_timberClass->currentData().toString();
    o.timber = !o.timberClass.isEmpty();
    o.serviceClass = m_serviceClass->currentIndex() + 1;
    const std::optional<double> b = sizeIn(m_width);
    readable = readable && b;
    o.bCm = b.value_or(0);
    o.hCm.reset();
    if (!m_height->text().trimmed().isEmpty()) {
        const std::optional<double> h = sizeIn(m_height);
        readable = readable && h;
        o.hCm = h;
    } else {
        markField(m_height, true);
    }
    o.steelGrade = m_steelGrade->currentIndex() <= 0 ? ec::SteelGradeOfGrade(texts.steelGrade)
                                                     : m_steelGrade->currentData().toString();
    o.steel = m_data.steelGrade(o.steelGrade) != nullptr;
    o.series = ec::SeriesKey(m_series->currentText());
    o.profile = m_profile->currentData().toString();
    o.imposedCategory = m_category->currentText().at(0);
    o.snowHigh = m_snow->currentIndex() == 1;
    o.pointLoadAction = std::max(0, m_pointAction->currentIndex());
    for (int i = 0; i < ec::LimitCount; ++i) {
        const std::optional<double> n = positive(m_limits[i]->text());
        markField(m_limits[i], n.has_value());
        readable = readable && n;
        in.limits[i] = n;
    }
    return readable;
}

bool EurocodeWindow::inputWindowsReadable(QString &why) const
{
    const ProjectTexts texts = m_inputs.projectTexts();
    static const char *const lengthNames[RegionCount] = {"Feldlänge L1", "Feldlänge L2", "Feldlänge L3",
                                                         "Kragarm links", "Kragarm rechts"};
    for (int i = 0; i < RegionCount; ++i)
        if (!IsNumericText(texts.lengths[i])) {
            why = QStringLiteral("Die %1 ist keine Zahl.").arg(QString::fromUtf8(lengthNames[i]));
            return false;
        }
    static const char *const loadNames[LoadTypeCount] = {"g", "q", "s", "w"};
    for (int r = 0; r < RegionCount; ++r)
        for (int k = 0; k < LoadTypeCount; ++k)
            if (!IsNumericText(texts.uniform[r][k])) {
                why = QStringLiteral("Die Gleichlast %1 in %2 ist keine Zahl.")
                          .arg(QLatin1String(loadNames[k]), texts::RegionLabels[r]);
                return false;
            }
    for (int slot = 0; slot < PointLoadSlotCount; ++slot)
        if (!IsNumericText(texts.force[slot]) || !IsNumericText(texts.distance[slot])) {
            why = QStringLiteral("Eine Einzellast (F oder a) ist keine Zahl.");
            return false;
        }
    return true;
}

void EurocodeWindow::scheduleRecompute()
{
    if (m_scheduled || !isVisible())
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_scheduled)
                recompute();
        },
        Qt::QueuedConnection);
}

void EurocodeWindow::recompute()
{
    m_scheduled = false;
    // Hidden, nobody sees it: the check runs when the window is shown.
    if (m_building || !isVisible())
        return;
    m_hasResult = false;
    m_print->setEnabled(false);
    const QString fromGrade = ec::TimberClassOfGrade(m_data, m_inputs.projectTexts().timberGrade);
    m_timberClass->setItemText(0, fromGrade.isEmpty() ? QStringLiteral("nach Holzsorte (keine Zuordnung)")
                                                      : QStringLiteral("nach Holzsorte (%1)").arg(fromGrade));
    const QString steelFromGrade = ec::SteelGradeOfGrade(m_inputs.projectTexts().steelGrade);
    m_steelGrade->setItemText(0, QStringLiteral("nach Stahlsorte (%1)").arg(steelFromGrade));
    ec::RunInputs in;
    const bool readable = readInputs(in);
    if (!m_dataProblems.empty()) {
        QStringList lines{QStringLiteral("Die Eurocode-Daten sind fehlerhaft; der Nachweis ist nicht möglich:")};
        for (const ec::DataProblem &p : m_dataProblems)
            lines << EcProblemText(p);
        clearResults(lines.join(u'\n'));
        return;
    }
    if (!readable) {
        clearResults(QStringLiteral("Eine Eingabe in diesem Fenster ist keine gültige Zahl größer Null."));
        return;
    }
    QString why;
    if (!inputWindowsReadable(why)) {
        clearResults(why);
        return;
    }
    if (!in.options.timber && !in.options.steel) {
        clearResults(QStringLiteral("Keine Festigkeitsklasse und keine Stahlsorte gewählt."));
        return;
    }
    const ProjectTexts texts = m_inputs.projectTexts();
    m_run = {};
    m_run.inputs = in;
    m_run.inactiveLoads = InactivePointLoads(ReadBeam(texts));
    // The first entry of the class list follows the material window's grade.
    if (m_timberClass->currentIndex() <= 0)
        EcClassFromGrade(m_run, m_data, texts.timberGrade);
    if (!in.options.steel) {
        m_run.steelOmission = EcOmission::UnknownSteelGrade;
        m_run.steelOmittedName = in.options.steelGrade;
    }
    m_run.output = ec::RunEurocode(texts, m_data, in, true);
    m_run.ran = true;
    m_presentation = PresentEurocode(m_run, QLocale());
    showRun();
}

void EurocodeWindow::clearResults(const QString &why)
{
    m_run = {};
    m_presentation = {};
    for (auto *rows : {&m_timberRows, &m_steelRows})
        for (ResultRow &row : *rows) {
            row.value->setText(Dash);
            row.bar->setValue(false, 0);
            row.bar->setAccessibleDescription(Dash);
            row.bar->setToolTip(QString());
            row.verdict->clear();
            row.where->clear();
        }
    m_timberSection->setText(Dash);
    m_steelSection->setText(Dash);
    for (QLabel *notes : {m_timberNotes, m_steelNotes}) {
        notes->clear();
        notes->hide();
    }
    m_status->setText(why);
    m_status->setVisible(!why.isEmpty());
    m_picture->clearPicture();
    showPlaces();
}

void EurocodeWindow::showMember(const EcMember *member, std::vector<ResultRow> &rows, QLabel *section,
                                QLabel *notes, const QString &omitted)
{
    QStringList lines;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ResultRow &row = rows[i];
        const EcCheck *c = member && i < member->checks.size() ? &member->checks[i] : nullptr;
        if (!c) {
            row.value->setText(Dash);
            row.bar->setValue(false, 0);
            row.bar->setAccessibleDescription(Dash);
            row.bar->setToolTip(QString());
            row.verdict->clear();
            row.where->clear();
            continue;
        }
        row.value->setText(c->utilisationText);
        row.bar->setValue(c->utilisation.has_value(), c->utilisation.value_or(0));
        // The bar tells the whole check: verdict, governing combination and
        // the values without a source (the place label keeps its tooltip
        // for its own text when shortened).
        QStringList told{c->summary};
        if (c->done)
            told << c->combinationText;
        if (!c->sourceMark.isEmpty())
            told << c->sourceMark;
        row.bar->setAccessibleDescription(told.join(u'\n'));
        row.bar->setToolTip(told.join(u'\n'));
        row.verdict->setText(c->sourceMark.isEmpty() ? c->verdict
                                                     : QStringLiteral("%1, %2").arg(c->verdict, EcUncited));
        row.where->setText(c->done ? c->where : QString());
        if (!c->reason.isEmpty())
            lines << QStringLiteral("%1: %2").arg(c->name, c->reason);
        for (const QString &w : c->warnings)
            lines << QStringLiteral("%1: %2").arg(c->name, w);
    }
    if (member && member->checked) {
        section->setText(QStringLiteral("%1  %2").arg(member->material, member->section));
        lines = member->notes + member->warnings + lines;
    } else {
        section->setText(member ? member->omission : omitted);
    }
    notes->setText(lines.join(u'\n'));
    notes->setVisible(!lines.isEmpty());
}

void EurocodeWindow::showRun()
{
    const EcPresentation &p = m_presentation;
    if (!p.problems.isEmpty()) {
        clearResults(p.problems.join(u'\n'));
        return;
    }
    showMember(p.member(QStringLiteral("timber")), m_timberRows, m_timberSection, m_timberNotes,
               QStringLiteral("keine Festigkeitsklasse gewählt"));
    showMember(p.member(QStringLiteral("steel")), m_steelRows, m_steelSection, m_steelNotes,
               QStringLiteral("keine Stahlsorte gewählt"));
    m_status->setText(p.warnings.join(u'\n'));
    m_status->setVisible(!p.warnings.isEmpty());
    m_hasResult = true;
    m_print->setEnabled(true);
    drawDiagram();
    showPlaces();
}

void EurocodeWindow::showPlaces()
{
    // One row per field and support where a check has a value; the columns
    // are the checks of both members, as the report's tables of places.
    std::vector<int> places;
    QStringList headings{QStringLiteral("Stelle")};
    std::vector<const EcCheck *> columns;
    for (const EcMember &m : m_presentation.members) {
        if (!m.checked)
            continue;
        for (const EcCheck &c : m.checks) {
            headings << QStringLiteral("%1\n%2").arg(m.label, c.shortName);
            columns.push_back(&c);
        }
        for (int place : m.places)
            if (std::find(places.begin(), places.end(), place) == places.end())
                places.push_back(place);
    }
    std::vector<int> ordered;
    for (int place : EcPlaceOrder)
        if (std::find(places.begin(), places.end(), place) != places.end())
            ordered.push_back(place);
    m_places->clear();
    m_places->setColumnCount(int(headings.size()));
    m_places->setRowCount(int(ordered.size()));
    m_places->setHorizontalHeaderLabels(headings);
    for (int row = 0; row < int(ordered.size()); ++row) {
        const int place = ordered[std::size_t(row)];
        m_places->setItem(row, 0, new QTableWidgetItem(EcPlaceName(place)));
        for (std::size_t col = 0; col < columns.size(); ++col) {
            const EcCheck &c = *columns[col];
            const EcPlaceValue *v = c.at(place);
            auto *item = new QTableWidgetItem(v ? v->text : Dash);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Not met: red as the bars; the text says it to a screen reader.
            if (v && !v->met) {
                item->setForeground(QColor(200, 0, 0));
                item->setData(Qt::AccessibleTextRole, v->text + QStringLiteral(" nicht erfüllt"));
            }
            m_places->setItem(row, int(col) + 1, item);
        }
    }
    m_places->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

void EurocodeWindow::drawDiagram()
{
    const ec::RunOutput &run = m_run.output;
    const ec::Envelopes &env = run.envelopes;
    if (!m_hasResult || !env.valid) {
        m_picture->clearPicture();
        return;
    }
    const QLocale locale;
    const ec::CheckResult &res = run.result;
    EnvelopeDiagramStyle style{QStringLiteral("M"), QStringLiteral("kNm"),
                               QStringLiteral("Biegemoment M, Grundkombinationen"), 1, 2, locale};
    const ec::EnvelopeCurve *curve = &env.M;
    switch (m_diagramChoice->currentIndex()) {
    case 1:
        style = {QStringLiteral("V"), QStringLiteral("kN"), QStringLiteral("Querkraft V, Grundkombinationen"), 1, 2,
                 locale};
        curve = &env.V;
        break;
    case 2:
        if (!res.timber.done || run.timberE <= 0) {
            m_picture->clearPicture();
            return;
        }
        style = {QStringLiteral("w"), QStringLiteral("mm"), QStringLiteral("Durchbiegung w, Holz, charakteristisch"),
                 ec::Deflection(1, run.timberE, ec::TimberSection{res.timber.b * 10, res.timber.h * 10}.I()), 1,
                 locale};
        curve = &env.EIw;
        break;
    case 3:
        if (!res.steel.done || run.steelE <= 0 || run.steelIy <= 0) {
            m_picture->clearPicture();
            return;
        }
        style = {QStringLiteral("w"), QStringLiteral("mm"),
                 QStringLiteral("Durchbiegung w, Stahl %1, charakteristisch").arg(res.steel.profile),
                 ec::Deflection(1, run.steelE, run.steelIy * 1e4), 1, locale};
        curve = &env.EIw;
        break;
    default:
        break;
    }
    m_picture->apply(EnvelopeDiagram(*curve, env, style));
}

EcReportInput EurocodeWindow::reportInput() const
{
    // The run the window shows, not a new one.
    EcReportInput in;
    in.texts = m_inputs.projectTexts();
    in.run = m_run;
    if (!m_dataProblems.empty() && in.run.output.result.problems.empty())
        in.run.output.result.problems = m_dataProblems;
    return in;
}

void EurocodeWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    recompute();
}

void EurocodeWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window; an open list of a combo box takes its own
    // Escape first and only closes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace varno
