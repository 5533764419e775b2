// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/ecreport.h"

#include "eurocode/members.h"
#include "graphics/drawing.h"
#include "graphics/ecdiagrams.h"
#include "graphics/ecsketch.h"
#include "graphics/picturepainter.h"
#include "io/report.h"
#include "presentation/ecpresentation.h"
#include "presentation/ectexts.h"
#include "version.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimeZone>

#include <cmath>

namespace varno {

namespace {

// The page is laid out in tenths of a millimetre.
constexpr double Unit = 0.1;   // mm

// What stands on every page: the project above, the program, the date and
// the page number below.
struct PageFrame
{
    QString project;   // "Nachweis nach Eurocode – Projekt: Neubau EFH – Position: Decke über EG"
    QString firma;
    QString program;   // "Varno 1.2.0 – 08.12.2025"
    int pages = 0;     // of the report; 0 while it is being counted
};

// A project text on one line: the lines of a text typed on several lines
// joined by commas.
QString oneLine(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return text.split(breaks, Qt::SkipEmptyParts).join(QStringLiteral(", ")).trimmed();
}

// A text flow down the pages: every block is placed below the last one, and
// a block that does not fit starts a new page. Without drawing it only
// counts the pages, so that every page can say how many there are.
class Flow
{
public:
    Flow(QPainter &painter, QPagedPaintDevice &device, const PageFrame &frame, bool draw)
        : m_painter(painter), m_device(device), m_frame(frame), m_draw(draw)
    {
        const double perUnitX = device.logicalDpiX() / 25.4 * Unit;
        const double perUnitY = device.logicalDpiY() / 25.4 * Unit;
        if (m_draw) {
            m_painter.resetTransform();
            m_painter.scale(perUnitX, perUnitY);
        }
        m_width = device.width() / perUnitX;
        m_height = device.height() / perUnitY;
        m_bottom = m_height - FooterHeight;
        startPage();
    }

    double width() const { return m_width; }
    int pages() const { return m_page; }
    bool drawing() const { return m_draw; }
    QPainter &painter() { return m_painter; }

    QFont font(double pointSize, bool bold = false) const
    {
        QFont f(QStringLiteral("Arial"));
        f.setStyleHint(QFont::SansSerif);
        // Points to tenths of a millimetre.
        f.setPixelSize(int(std::lround(pointSize * 25.4 / 72 / Unit)));
        f.setBold(bold);
        return f;
    }

    // A paragraph, wrapped to the width from `indent`; `keep` more units
    // must fit below it on the same page (a heading keeps its first line).
    void text(const QString &text, double pointSize, bool bold = false, double indent = 0, double keep = 0)
    {
        const QFont f = font(pointSize, bold);
        const QFontMetricsF metrics(f, &m_device);
        const QRectF box(indent, 0, m_width - indent, 1e6);
        const QRectF needed = metrics.boundingRect(box, Qt::TextWordWrap, text);
        ensure(needed.height() + keep);
        if (m_draw) {
            m_painter.setFont(f);
            m_painter.setPen(Qt::black);
            m_painter.drawText(QRectF(indent, m_y, m_width - indent, needed.height() + 1), Qt::TextWordWrap, text);
        }
        m_y += needed.height();
    }

    void heading(const QString &text, double keep = 150)
    {
        space(40);
        this->text(text, 12, true, 0, keep);
        space(15);
    }
    void space(double units) { m_y += units; }

    // A table: columns at the given left edges, one line per row.
    void table(const std::vector<double> &columns, const std::vector<QStringList> &rows, double pointSize,
               int boldRows = 1)
    {
        const QFont normal = font(pointSize);
        const QFont bold = font(pointSize, true);
        const double line = QFontMetricsF(normal, &m_device).height() * 1.15;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ensure(line);
            if (m_draw) {
                m_painter.setFont(int(r) < boldRows ? bold : normal);
                m_painter.setPen(Qt::black);
                for (int c = 0; c < rows[r].size() && c < int(columns.size()); ++c) {
                    const double right = c + 1 < int(columns.size()) ? columns[c + 1] : m_width;
                    m_painter.drawText(QRectF(columns[c], m_y, right - columns[c] - 10, line),
                                       Qt::AlignLeft | Qt::AlignVCenter, rows[r][c]);
                }
            }
            m_y += line;
        }
    }

    // A block of the given height at the current place: the rectangle to
    // paint in.
    QRectF block(double height)
    {
        ensure(height);
        const QRectF r(0, m_y, m_width, height);
        m_y += height;
        return r;
    }

    // The rest of the page stays empty.
    void newPage()
    {
        if (m_draw)
            m_device.newPage();
        ++m_page;
        startPage();
    }

private:
    static constexpr double HeaderHeight = 80, FooterHeight = 60;

    void startPage()
    {
        m_y = HeaderHeight;
        if (!m_draw)
            return;
        const QFont f = font(8);
        const QFontMetricsF metrics(f, &m_device);
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        // Project and position left, the firm right in at most half the
        // width; each shortened where they would meet.
        const double firma = std::min(metrics.horizontalAdvance(m_frame.firma), m_width / 2 - 20);
        m_painter.drawText(QRectF(0, 0, m_width, 40), Qt::AlignLeft | Qt::AlignBottom,
                           metrics.elidedText(m_frame.project, Qt::ElideRight, m_width - firma - 40));
        m_painter.drawText(QRectF(0, 0, m_width, 40), Qt::AlignRight | Qt::AlignBottom,
                           metrics.elidedText(m_frame.firma, Qt::ElideRight, firma));
        m_painter.setPen(QPen(Qt::black, 2));
        m_painter.drawLine(QPointF(0, 50), QPointF(m_width, 50));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, m_height - 40, m_width, 40), Qt::AlignLeft | Qt::AlignBottom, m_frame.program);
        m_painter.drawText(QRectF(0, m_height - 40, m_width, 40), Qt::AlignRight | Qt::AlignBottom,
                           QStringLiteral("Seite %1 von %2").arg(m_page).arg(m_frame.pages));
    }

    void ensure(double height)
    {
        if (m_y + height <= m_bottom || m_y == HeaderHeight)
            return;
        newPage();
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    const PageFrame &m_frame;
    const bool m_draw;
    double m_width = 0, m_height = 0, m_bottom = 0;
    double m_y = 0;
    int m_page = 1;
};

QString n2(double v, const QLocale &locale)
{
    return FormatFixed(v, 2, locale);
}

void paintPicture(Flow &flow, const DisplayList &list, double height)
{
    const QRectF r = flow.block(height);
    flow.space(20);
    if (!flow.drawing())
        return;
    Picture picture;
    picture.apply(list);
    QPainter &p = flow.painter();
    p.save();
    p.translate(r.topLeft());
    // A picture pixel is 0.2 mm on paper: lines of 0.2 and 0.4 mm, labels
    // of about 10 pt.
    constexpr double PixelUnits = 0.2 / Unit;
    p.scale(PixelUnits, PixelUnits);
    PaintPicture(p, r.size() / PixelUnits, picture, PictureFileFont(), Qt::white);
    // A thin frame where the window's picture has its coloured background.
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(QPointF(0, 0), r.size() / PixelUnits));
    p.restore();
}

void loadsSection(Flow &flow, const EcReportInput &in, const QLocale &loc)
{
    flow.heading(QStringLiteral("Belastung"));
    std::vector<QStringList> rows{{QStringLiteral("Bereich"), QStringLiteral("Länge [m]"), QStringLiteral("g [kN/m]"),
                                   QStringLiteral("q [kN/m]"), QStringLiteral("s [kN/m]"), QStringLiteral("w [kN/m]")}};
    const int order[RegionCount] = {3, 0, 1, 2, 4};
    for (int r : order) {
        if (in.texts.length(r) == 0)
            continue;
        QStringList row{texts::RegionLabels[r], n2(in.texts.length(r), loc)};
        for (int k = 0; k < LoadTypeCount; ++k)
            row << n2(in.texts.uniformLoad(r + 1, k), loc);
        rows.push_back(row);
    }
    flow.table({0, 300, 550, 800, 1050, 1300}, rows, 10);
    flow.space(20);
    std::vector<QStringList> points{{QStringLiteral("Bereich"), QStringLiteral("Nr."), QStringLiteral("F [kN]"),
                                     QStringLiteral("a [m]"), QStringLiteral("Einwirkung")}};
    for (int r : order) {
        if (in.texts.length(r) == 0)
            continue;
        int number = 0;
        for (int slot = FirstSlot(r + 1); slot < EndSlot(r + 1); ++slot) {
            ++number;
            if (in.texts.pointForce(slot) == 0)
                continue;
            points.push_back({texts::RegionLabels[r], QString::number(number), n2(in.texts.pointForce(slot), loc),
                              n2(in.texts.pointDistance(slot), loc),
                              EcActionName(in.run.inputs.options.pointLoadAction)});
        }
    }
    if (points.size() == 1)
        flow.text(QStringLiteral("Keine Einzellasten."), 10);
    else
        flow.table({0, 300, 450, 700, 950}, points, 10);
}

void valuesSection(Flow &flow, const EcPresentation &p)
{
    flow.heading(QStringLiteral("Baustoffe und Beiwerte"));
    for (const EcMember &m : p.members) {
        flow.text(m.checked ? m.heading : QStringLiteral("%1: ausgelassen (%2)").arg(m.label, m.omission), 10);
        for (const QString &note : m.notes)
            flow.text(note, 10, false, 40);
    }
    flow.text(QStringLiteral("Einwirkungen: ") + p.pointLoads, 10);
    flow.space(15);
    flow.text(QStringLiteral("Jeder verwendete Wert mit dem Schlüssel seiner Zeile in den Datendateien:"), 10);
    for (const EcValueRow &v : p.actionValues)
        flow.text(v.text, 9, false, 40);
    for (const EcMember &m : p.members)
        for (const EcValueRow &v : m.values)
            flow.text(QStringLiteral("%1: %2").arg(m.label, v.text), 9, false, 40);
}

void combinationsSection(Flow &flow)
{
    flow.heading(QStringLiteral("Kombinationen"));
    for (const QString &line :
         {QStringLiteral("Tragfähigkeit (EN 1990, 6.10): γG · G + γQ · Q1 + Σ γQ · ψ0,i · Qi, γG = γG,sup oder γG,inf "
                         "auf allen Feldern, jede veränderliche Einwirkung einmal führend."),
          QStringLiteral("Charakteristisch: G + Q1 + Σ ψ0,i · Qi."),
          QStringLiteral("Quasi-ständig: G + Σ ψ2,i · Qi."),
          QStringLiteral("Holz w_fin: G (1 + kdef) + Q1 (1 + ψ2,1 kdef) + Σ Qi (ψ0,i + ψ2,i kdef); "
                         "w_net,fin: (G + Σ ψ2,i Qi)(1 + kdef)."),
          QStringLiteral("Jede veränderliche Einwirkung wirkt feldweise dort, wo sie ungünstig ist; die "
                         "maßgebende Kombination steht bei jedem Nachweis.")})
        flow.text(line, 10, false, 40);
}

void diagramsSection(Flow &flow, const EcReportInput &in, const EcPresentation &p, const QLocale &loc)
{
    const ec::RunOutput &run = in.run.output;
    const ec::Envelopes &env = run.envelopes;
    const ec::CheckResult &res = run.result;
    flow.heading(QStringLiteral("Hüllkurven"));
    flow.text(QStringLiteral("Durchgezogen: Größtwerte, gestrichelt: Kleinstwerte; positive Werte unter der Achse."),
              9);
    flow.space(10);
    if (!env.valid) {
        flow.text(QStringLiteral("Keine Hüllkurven: der Träger hat keine Belastung."), 10);
        return;
    }
    const double height = flow.width() * 0.32;
    EnvelopeDiagramStyle style{QStringLiteral("M"), QStringLiteral("kNm"),
                               QStringLiteral("Biegemoment M, Grundkombinationen"), 1, 2, loc};
    paintPicture(flow, EnvelopeDiagram(env.M, env, style), height);
    style = {QStringLiteral("V"), QStringLiteral("kN"), QStringLiteral("Querkraft V, Grundkombinationen"), 1, 2, loc};
    paintPicture(flow, EnvelopeDiagram(env.V, env, style), height);
    const EcMember *timber = p.member(QStringLiteral("timber"));
    if (timber && timber->checked && res.timber.h > 0 && run.timberE > 0) {
        const ec::TimberSection s{res.timber.b * 10, res.timber.h * 10};
        style = {QStringLiteral("w"), QStringLiteral("mm"),
                 QStringLiteral("Durchbiegung w, Holz %1 %2, charakteristisch").arg(timber->material, timber->section),
                 ec::Deflection(1, run.timberE, s.I()), 1, loc};
        paintPicture(flow, EnvelopeDiagram(env.EIw, env, style), height);
    }
    const EcMember *steel = p.member(QStringLiteral("steel"));
    if (steel && steel->checked && run.steelE > 0 && run.steelIy > 0) {
        style = {QStringLiteral("w"), QStringLiteral("mm"),
                 QStringLiteral("Durchbiegung w, Stahl %1, charakteristisch").arg(res.steel.profile),
                 ec::Deflection(1, run.steelE, run.steelIy * 1e4), 1, loc};
        paintPicture(flow, EnvelopeDiagram(env.EIw, env, style), height);
    }
}

void checksSection(Flow &flow, const EcMember &m)
{
    flow.heading(m.title, 400);
    if (!m.checked) {
        flow.text(QStringLiteral("Nicht geführt: ") + m.omission, 10, true);
        return;
    }
    flow.text(QStringLiteral("Querschnitt: %1 %2").arg(m.material, m.section), 10, true);
    for (const QString &line : m.notes + m.facts)
        flow.text(line, 9, false, 40);
    for (const QString &w : m.warnings)
        flow.text(QStringLiteral("Warnung: ") + w, 9, true, 40);
    for (const EcCheck &c : m.checks) {
        flow.space(12);
        flow.text(QStringLiteral("%1   %2").arg(c.name, c.summary), 10, true, 0, 150);
        if (!c.done)
            continue;
        flow.text(c.formula, 9, false, 40);
        flow.text(c.numbers, 9, false, 40);
        for (const QString &step : c.steps)
            flow.text(step, 9, false, 80);
        flow.text(QStringLiteral("Stelle: ") + c.where, 9, false, 40);
        flow.text(QStringLiteral("Kombination: ") + c.combinationText, 9, false, 40);
        for (const QString &w : c.warnings)
            flow.text(QStringLiteral("Warnung: ") + w, 9, true, 40);
        if (!c.sourceMark.isEmpty())
            flow.text(c.sourceMark, 9, false, 40);
    }
    // Every check at every field and support.
    const std::vector<QStringList> table = EcPlaceTable(m);
    if (table.empty())
        return;
    flow.space(25);
    flow.text(QStringLiteral("Ausnutzung η je Stelle"), 10, true, 0, 200);
    flow.space(10);
    std::vector<double> columns{0};
    const int checks = int(table.front().size()) - 1;
    const double first = 300, each = std::min(250.0, (flow.width() - first) / std::max(checks, 1));
    for (int i = 0; i < checks; ++i)
        columns.push_back(first + i * each);
    flow.table(columns, table, 9);
    flow.text(QStringLiteral("Feld: die Schnitte zwischen den Auflagern (am Kragarm mit seinem freien Ende), "
                             "Auflager: die Schnitte über dem Auflager, links und rechts; – : dort kein Wert "
                             "(die Durchbiegung ist über den Auflagern null)."),
              8, false, 0);
}


// The pages of the report, drawn or only counted.
void paintContent(Flow &flow, const EcReportInput &in, const EcPresentation &p, const QLocale &loc,
                  const QDate &date)
{
    flow.text(QStringLiteral("Nachweis nach Eurocode"), 16, true);
    flow.space(20);
    const char *labels[5] = {"Firma:", "Projekt:", "Position:", "Beschreibung:", "Bearbeiter:"};
    std::vector<QStringList> heading;
    for (int i = 0; i < 5; ++i)
        heading.push_back({QString::fromUtf8(labels[i]), oneLine(in.projectInfo[i])});
    heading.push_back({QStringLiteral("Datum:"), loc.toString(date, QStringLiteral("dd.MM.yyyy"))});
    heading.push_back({QStringLiteral("Programm:"), QStringLiteral("Varno %1").arg(QLatin1String(VersionText))});
    flow.table({0, 350}, heading, 10, 0);

    flow.heading(QStringLiteral("System und Belastung"));
    if (!in.systemTypeName.isEmpty())
        flow.text(in.systemTypeName, 10);
    paintPicture(flow, EcSystemSketch(in.texts, loc), flow.width() * FrameHeight / FrameWidth);
    loadsSection(flow, in, loc);

    if (!p.problems.isEmpty()) {
        flow.heading(QStringLiteral("Kein Nachweis"));
        for (const QString &problem : p.problems)
            flow.text(problem, 10);
    } else {
        valuesSection(flow, p);
        combinationsSection(flow);
        diagramsSection(flow, in, p, loc);
        for (const EcMember &m : p.members)
            checksSection(flow, m);
        flow.heading(QStringLiteral("Ergebnis"));
        if (p.met())
            flow.text(QStringLiteral("Alle Nachweise sind erfüllt."), 10, true);
        for (const QString &error : p.errors)
            flow.text(error, 10, true);
        for (const QString &w : p.warnings)
            flow.text(QStringLiteral("Warnung: ") + w, 10);
        flow.heading(QStringLiteral("Annahmen"));
        for (const QString &a : p.assumptions)
            flow.text(QStringLiteral("\u2022 ") + a, 10, false, 40);
    }
    if (!in.pictures.empty()) {
        flow.newPage();
        if (flow.drawing()) {
            QPainter &painter = flow.painter();
            painter.save();
            painter.resetTransform();
            PaintPicturePage(painter, *painter.device(), in.pictures);
            painter.restore();
        }
    }
}

} // namespace

QDate EcReportDate()
{
    // A document made again from the same sources says the same date.
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").trimmed().toLongLong(&ok);
    if (ok)
        return QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc()).date();
    return QDate::currentDate();
}

int PaintEcReport(QPainter &painter, QPagedPaintDevice &device, const EcReportInput &in)
{
    const QLocale loc = EcReportLocale();
    const EcPresentation p = PresentEurocode(in.run, loc);
    const QDate date = in.date.isValid() ? in.date : EcReportDate();

    PageFrame frame;
    QStringList project{QStringLiteral("Nachweis nach Eurocode")};
    if (const QString t = oneLine(in.projectInfo[1]); !t.isEmpty())
        project << QStringLiteral("Projekt: ") + t;
    if (const QString t = oneLine(in.projectInfo[2]); !t.isEmpty())
        project << QStringLiteral("Position: ") + t;
    frame.project = project.join(QStringLiteral(" \u2013 "));
    frame.firma = oneLine(in.projectInfo[0]);
    frame.program = QStringLiteral("Varno %1 \u2013 %2")
                        .arg(QLatin1String(VersionText), loc.toString(date, QStringLiteral("dd.MM.yyyy")));
    // Counted first, so that every page says how many there are.
    {
        Flow counting(painter, device, frame, false);
        paintContent(counting, in, p, loc, date);
        frame.pages = counting.pages();
    }
    Flow flow(painter, device, frame, true);
    paintContent(flow, in, p, loc, date);
    return flow.pages();
}

bool WriteEcReportPdf(const QString &path, const EcReportInput &input, QString *error)
{
    return WriteEcReportPdf(path, std::vector<EcReportInput>{input}, error);
}

QByteArray EcReportPdfBytes(const std::vector<EcReportInput> &inputs, QString *error)
{
    return PdfBytes(QStringLiteral("Nachweis nach Eurocode"), inputs.size(),
                    [&](QPainter &painter, QPdfWriter &writer, std::size_t i) {
                        PaintEcReport(painter, writer, inputs[i]);
                        // The report's pages leave their scale on the painter.
                        painter.resetTransform();
                    },
                    error);
}

bool WriteEcReportPdf(const QString &path, const std::vector<EcReportInput> &inputs, QString *error)
{
    QString reason;
    // Made in memory and written in one checked go, as the one-page report.
    const QByteArray bytes = EcReportPdfBytes(inputs, &reason);
    return WritePdfFile(path, QStringLiteral("Der Nachweis"), bytes, reason, error);
}

} // namespace varno
