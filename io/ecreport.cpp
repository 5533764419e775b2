// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/ecreport.h"

#include "eurocode/members.h"
#include "graphics/drawing.h"
#include "graphics/ecdiagrams.h"
#include "graphics/picturepainter.h"
#include "io/report.h"
#include "presentation/ectexts.h"
#include "session/session.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

namespace varno {

namespace {

// The page is laid out in tenths of a millimetre.
constexpr double Unit = 0.1;   // mm

// A text flow down the pages: every block is placed below the last one, and
// a block that does not fit starts a new page.
class Flow
{
public:
    Flow(QPainter &painter, QPagedPaintDevice &device) : m_painter(painter), m_device(device)
    {
        const double perUnitX = device.logicalDpiX() / 25.4 * Unit;
        const double perUnitY = device.logicalDpiY() / 25.4 * Unit;
        m_painter.resetTransform();
        m_painter.scale(perUnitX, perUnitY);
        m_width = device.width() / perUnitX;
        m_height = device.height() / perUnitY;
        m_bottom = m_height - footerHeight();
        paintFooter();
    }

    double width() const { return m_width; }
    int pages() const { return m_page; }
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
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(indent, m_y, m_width - indent, needed.height() + 1), Qt::TextWordWrap, text);
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
            m_painter.setFont(int(r) < boldRows ? bold : normal);
            m_painter.setPen(Qt::black);
            for (int c = 0; c < rows[r].size() && c < int(columns.size()); ++c) {
                const double right = c + 1 < int(columns.size()) ? columns[c + 1] : m_width;
                m_painter.drawText(QRectF(columns[c], m_y, right - columns[c] - 10, line),
                                   Qt::AlignLeft | Qt::AlignVCenter, rows[r][c]);
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

private:
    double footerHeight() const { return 60; }

    void paintFooter()
    {
        m_painter.setFont(font(8));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, m_height - 40, m_width, 40), Qt::AlignRight | Qt::AlignBottom,
                           QStringLiteral("Nachweis nach Eurocode \u2013 Seite %1").arg(m_page));
    }

    void ensure(double height)
    {
        if (m_y + height <= m_bottom || m_y == 0)
            return;
        m_device.newPage();
        ++m_page;
        m_y = 0;
        paintFooter();
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
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
    Picture picture;
    picture.apply(list);
    const QRectF r = flow.block(height);
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
    flow.space(20);
}

void loadsSection(Flow &flow, const EcReportInput &in)
{
    const QLocale &loc = in.locale;
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
                              EcActionName(in.inputs.options.pointLoadAction)});
        }
    }
    if (points.size() == 1)
        flow.text(QStringLiteral("Keine Einzellasten."), 10);
    else
        flow.table({0, 300, 450, 700, 950}, points, 10);
}

void valuesSection(Flow &flow, const EcReportInput &in)
{
    const QLocale &loc = in.locale;
    const ec::CheckResult &res = in.run.result;
    const ec::CheckOptions &o = in.inputs.options;
    flow.heading(QStringLiteral("Baustoffe und Beiwerte"));
    if (o.timber)
        flow.text(QStringLiteral("Holz: %1, Nutzungsklasse %2, b = %3 cm, h = %4")
                      .arg(o.timberClass)
                      .arg(o.serviceClass)
                      .arg(FormatFixed(o.bCm, 1, loc),
                           o.hCm ? FormatFixed(*o.hCm, 1, loc) + QStringLiteral(" cm") : QStringLiteral("bemessen")),
                  10);
    if (o.steel)
        flow.text(QStringLiteral("Stahl: %1, Reihe %2, Profil %3")
                      .arg(o.steelGrade, o.series, o.profile.isEmpty() ? QStringLiteral("bemessen") : o.profile),
                  10);
    flow.text(QStringLiteral("Nutzlastkategorie %1, Schnee %2, Einzellasten: %3")
                  .arg(QString(o.imposedCategory),
                       o.snowHigh ? QStringLiteral("über 1000 m ü. NN") : QStringLiteral("bis 1000 m ü. NN"),
                       EcActionName(o.pointLoadAction)),
              10);
    flow.space(15);
    flow.text(QStringLiteral("Jeder verwendete Wert mit dem Schlüssel seiner Zeile in den Datendateien:"), 10);
    QStringList lines;
    for (const ec::NamedValue &v : res.actionValues)
        lines << EcValueText(v, loc);
    if (res.timber.done)
        for (const ec::NamedValue &v : res.timber.values)
            lines << QStringLiteral("Holz: ") + EcValueText(v, loc);
    if (res.steel.done)
        for (const ec::NamedValue &v : res.steel.values)
            lines << QStringLiteral("Stahl: ") + EcValueText(v, loc);
    for (const QString &line : lines)
        flow.text(line, 9, false, 40);
    for (int i = 0; i < ec::LimitCount; ++i)
        if (in.run.limitChanged[i])
            flow.text(QStringLiteral("Im Fenster geändert: %1 = %2").arg(QLatin1String(ec::LimitKeys[i]),
                                                                          FormatFixed(*in.inputs.limits[i], 0, loc)),
                      9, false, 40);
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

void diagramsSection(Flow &flow, const EcReportInput &in)
{
    const ec::Envelopes &env = in.run.envelopes;
    const ec::CheckResult &res = in.run.result;
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
                               QStringLiteral("Biegemoment M, Grundkombinationen"), 1, 2, in.locale};
    paintPicture(flow, EnvelopeDiagram(env.M, env, style), height);
    style = {QStringLiteral("V"), QStringLiteral("kN"), QStringLiteral("Querkraft V, Grundkombinationen"), 1, 2,
             in.locale};
    paintPicture(flow, EnvelopeDiagram(env.V, env, style), height);
    if (res.timber.done && res.timber.h > 0 && in.run.timberE > 0) {
        const ec::TimberSection s{res.timber.b * 10, res.timber.h * 10};
        style = {QStringLiteral("w"), QStringLiteral("mm"),
                 QStringLiteral("Durchbiegung w, Holz %1, charakteristisch").arg(EcTimberSection(res.timber, in.locale)),
                 ec::Deflection(1, in.run.timberE, s.I()), 1, in.locale};
        paintPicture(flow, EnvelopeDiagram(env.EIw, env, style), height);
    }
    if (res.steel.done && in.run.steelE > 0 && in.run.steelIy > 0) {
        style = {QStringLiteral("w"), QStringLiteral("mm"),
                 QStringLiteral("Durchbiegung w, Stahl %1, charakteristisch").arg(res.steel.profile),
                 ec::Deflection(1, in.run.steelE, in.run.steelIy * 1e4), 1, in.locale};
        paintPicture(flow, EnvelopeDiagram(env.EIw, env, style), height);
    }
}

void checksSection(Flow &flow, const QString &title, const QString &section, const std::vector<EcCheckRow> &rows,
                   const QLocale &locale)
{
    flow.heading(title, 400);
    flow.text(QStringLiteral("Querschnitt: ") + section, 10, true);
    for (const EcCheckRow &r : rows) {
        flow.space(12);
        flow.text(QStringLiteral("%1   %2").arg(r.name, EcUtilisationText(r.done, r.utilisation, locale)), 10, true,
                  0, 150);
        if (!r.done) {
            flow.text(QStringLiteral("nicht geführt (keine Belastung)"), 9, false, 40);
            continue;
        }
        flow.text(r.formula, 9, false, 40);
        flow.text(r.numbers, 9, false, 40);
        flow.text(QStringLiteral("Stelle: ") + r.where, 9, false, 40);
        flow.text(QStringLiteral("Kombination: ") + r.combination, 9, false, 40);
    }
}

} // namespace

int PaintEcReport(QPainter &painter, QPagedPaintDevice &device, const EcReportInput &in)
{
    Flow flow(painter, device);
    const QLocale &loc = in.locale;
    const ec::CheckResult &res = in.run.result;

    flow.text(QStringLiteral("Nachweis nach Eurocode"), 16, true);
    flow.space(20);
    const char *labels[5] = {"Firma:", "Projekt:", "Position:", "Beschreibung:", "Bearbeiter:"};
    std::vector<QStringList> heading;
    for (int i = 0; i < 5; ++i)
        heading.push_back({QString::fromUtf8(labels[i]), in.projectInfo[i]});
    flow.table({0, 350}, heading, 10, 0);

    flow.heading(QStringLiteral("System"));
    if (!in.systemTypeName.isEmpty())
        flow.text(in.systemTypeName, 10);
    {
        CalcSession session;
        paintPicture(flow, DrawSystemSketch(in.texts.lengths, session, loc), flow.width() * 0.25);
    }
    loadsSection(flow, in);

    if (!res.problems.empty() || res.refused) {
        flow.heading(QStringLiteral("Kein Nachweis"));
        if (res.refused)
            flow.text(QStringLiteral("Die Berechnung des Trägers ist nicht möglich (siehe Ergebnisse)."), 10);
        for (const ec::DataProblem &p : res.problems)
            flow.text(EcProblemText(p), 10);
        return flow.pages();
    }
    valuesSection(flow, in);
    combinationsSection(flow);
    diagramsSection(flow, in);
    if (in.inputs.options.timber)
        checksSection(flow, QStringLiteral("Nachweise Holz (EN 1995-1-1)"), EcTimberSection(res.timber, loc),
                      EcTimberRows(res.timber, loc), loc);
    if (in.inputs.options.steel)
        checksSection(flow, QStringLiteral("Nachweise Stahl (EN 1993-1-1)"), EcSteelSection(res.steel, loc),
                      EcSteelRows(res.steel, loc), loc);
    flow.heading(QStringLiteral("Annahmen"));
    for (const QString &a : EcAssumptions())
        flow.text(QStringLiteral("\u2022 ") + a, 10, false, 40);
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
                        if (!inputs[i].pictures.empty()) {
                            writer.newPage();
                            // The report's pages leave their scale on the painter.
                            painter.resetTransform();
                            PaintPicturePage(painter, writer, inputs[i].pictures);
                        }
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
