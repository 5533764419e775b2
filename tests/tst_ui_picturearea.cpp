// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphics/drawing.h"
#include "widgets/picturearea.h"

#include <QLabel>
#include <QtTest>

using namespace varno;

namespace {

DisplayList singleLine(const QLineF &line, const QColor &color, bool clears)
{
    DisplayList list;
    list.clears = clears;
    list.items.push_back({DisplayItem::Line, line.p1(), line.p2(), color, 2});
    return list;
}

QColor pixel(PictureArea &area, int x, int y)
{
    return area.grab().toImage().pixelColor(x, y);
}

} // namespace

class tst_UiPictureArea : public QObject
{
    Q_OBJECT

private slots:
    void labelChildren_data();
    void labelChildren();
    void linesStretchWithTheArea_data();
    void linesStretchWithTheArea();
    void diagramsDrawOverThePicture();
    void labelsFollowTheFrame();
    void labelsStayReadable();
    void filePainterDrawsWhatTheWindowShows_data();
    void filePainterDrawsWhatTheWindowShows();
};

void tst_UiPictureArea::labelChildren_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("system sketch") << 5;
    QTest::newRow("results picture") << 37;
}

void tst_UiPictureArea::labelChildren()
{
    QFETCH(int, count);
    PictureArea area(count);
    for (int i = 0; i < count; ++i) {
        auto *label = area.findChild<QLabel *>(QStringLiteral("Label8(%1)").arg(i));
        QVERIFY2(label, qPrintable(QString::number(i)));
        QCOMPARE(area.label(i), label);
        QVERIFY(!label->isVisibleTo(&area));
    }
    QVERIFY(!area.findChild<QLabel *>(QStringLiteral("Label8(%1)").arg(count)));
    QVERIFY(!area.label(count));
}

void tst_UiPictureArea::linesStretchWithTheArea_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("onLine");     // device pixel of the line (100,150)-(900,150)
    QTest::addColumn<QPoint>("offLine");

    QTest::newRow("400 x 300") << QSize(400, 300) << QPoint(200, 150) << QPoint(200, 100);
    QTest::newRow("y stretched twice") << QSize(400, 600) << QPoint(200, 300) << QPoint(200, 150);
    QTest::newRow("x stretched, left end") << QSize(1000, 300) << QPoint(102, 150) << QPoint(95, 150);
}

void tst_UiPictureArea::linesStretchWithTheArea()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, onLine);
    QFETCH(QPoint, offLine);

    PictureArea area(0);
    area.resize(size);
    area.apply(singleLine({100, 150, 900, 150}, PaletteRed, true));
    const QImage image = area.grab().toImage();
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixelColor(onLine), PaletteRed);
    QCOMPARE(image.pixelColor(offLine), PictureBackground);
}

void tst_UiPictureArea::diagramsDrawOverThePicture()
{
    PictureArea area(0);
    area.resize(400, 300);
    area.apply(singleLine({100, 150, 900, 150}, PaletteRed, true));
    area.apply(singleLine({500, 0, 500, 300}, PaletteGreen, false));
    QCOMPARE(int(area.items().size()), 2);
    QCOMPARE(pixel(area, 300, 150), PaletteRed);
    QCOMPARE(pixel(area, 200, 50), PaletteGreen);

    area.apply(singleLine({100, 250, 900, 250}, PaletteBlack, true));
    QCOMPARE(int(area.items().size()), 1);
    QCOMPARE(pixel(area, 300, 150), PictureBackground);
    QCOMPARE(pixel(area, 300, 250), PaletteBlack);

    area.clearPicture();
    QVERIFY(area.items().empty());
    QCOMPARE(pixel(area, 300, 250), PictureBackground);
}

void tst_UiPictureArea::labelsFollowTheFrame()
{
    PictureArea area(5);
    area.resize(1000, 300);
    area.show();
    CalcSession session;
    std::array<QString, RegionCount> lengths{"6", "0", "0", "0", "2"};
    area.apply(DrawSystemSketch(lengths, session, QLocale::c()));

    QLabel *span = area.label(1);
    QLabel *cantilever = area.label(4);
    QVERIFY(span->isVisibleTo(&area));
    QVERIFY(cantilever->isVisibleTo(&area));
    for (int i : {0, 2, 3})
        QVERIFY(!area.label(i)->isVisibleTo(&area));
    QCOMPARE(span->text(), QStringLiteral("6.00"));
    QCOMPARE(span->geometry().topLeft(), QPoint(370, 159));
    QCOMPARE(cantilever->geometry().topLeft(), QPoint(770, 159));

    area.resize(500, 600);
    QCOMPARE(span->geometry().topLeft(), QPoint(185, 318));

    // A load picture's labels carry their colour on the picture's background.
    PictureArea results(37);
    results.resize(761, 201);
    results.apply(DrawSystemAndLoadPicture(ReadBeam(ProjectTexts::Defaults()), session, QLocale::c()));
    QCOMPARE(results.label(6)->palette().color(QPalette::WindowText), LabelBlue);
    QCOMPARE(results.label(1)->palette().color(QPalette::WindowText), PaletteBlack);
    QCOMPARE(results.label(1)->palette().color(QPalette::Window), PictureBackground);
    QVERIFY(results.label(1)->autoFillBackground());
}

void tst_UiPictureArea::labelsStayReadable()
{
    // The results picture at its design size, with the widest captions.
    PictureArea area(37);
    area.resize(761, 201);
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {"12.5", "10.25", "8.75", "1.5", "2.5"};
    t.force[0] = "125.5";
    t.distance[0] = "2";
    CalcSession session;
    area.apply(DrawSystemAndLoadPicture(ReadBeam(t), session, QLocale::c()));
    for (int i : {0, 1, 5, 10}) {
        QLabel *label = area.label(i);
        QVERIFY(label->isVisibleTo(&area));
        QVERIFY(label->font().pixelSize() >= 9);
        QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                 qPrintable(label->text()));
        QVERIFY(label->height() >= label->fontMetrics().height());
    }
}

void tst_UiPictureArea::filePainterDrawsWhatTheWindowShows_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("withMoment");
    QTest::newRow("design size, system") << QSize(761, 201) << false;
    QTest::newRow("design size, moment over it") << QSize(761, 201) << true;
    QTest::newRow("wide, moment over it") << QSize(1200, 300) << true;
}

void tst_UiPictureArea::filePainterDrawsWhatTheWindowShows()
{
    QFETCH(QSize, size);
    QFETCH(bool, withMoment);

    // The image the copy and the files are made from, against the area's
    // own paint with its label widgets on top: pixel for pixel the same.
    PictureArea area(37);
    area.resize(size);
    ProjectTexts t = ProjectTexts::Defaults();
    t.lengths = {"5", "6.5", "4.5", "1.5", "2"};
    t.force[0] = "12.5";
    t.distance[0] = "2";
    t.force[22] = "4";
    t.distance[22] = "1";
    CalcSession session;
    session.design.GoverningMoment = 40;
    session.results.MA = -10;
    session.results.Are = 20;
    area.apply(DrawSystemAndLoadPicture(ReadBeam(t), session, QLocale::c()));
    if (withMoment)
        area.apply(DrawMomentDiagram(ReadBeam(t), session));
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    const QImage shown = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = area.toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawn.size(), shown.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += shown.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
    QCOMPARE(differing, 0);
    QVERIFY(area.label(10)->isVisible());
}

QTEST_MAIN(tst_UiPictureArea)
#include "tst_ui_picturearea.moc"
