// The palette strip, brightness alpha and slider position formulas at their edges.
#include "scenelogic/ScenePalette.h"

#include <QtTest>

class TestScenePalette : public QObject {
    Q_OBJECT

private slots:
    void stripColor_data()
    {
        QTest::addColumn<double>("y");
        QTest::addColumn<QColor>("expected");
        // A strip of 201 pixels: each band is 25 pixels tall.
        QTest::newRow("top is black") << 0.0 << QColor(0, 0, 0);
        QTest::newRow("end of band 0") << 24.0 << QColor(245, 0, 0);
        QTest::newRow("red edge") << 25.0 << QColor(255, 0, 0);
        QTest::newRow("middle of band 1") << 37.5 << QColor(255, 128, 0);
        QTest::newRow("yellow edge") << 50.0 << QColor(255, 255, 0);
        QTest::newRow("green edge") << 75.0 << QColor(0, 255, 0);
        QTest::newRow("cyan edge") << 100.0 << QColor(0, 255, 255);
        QTest::newRow("blue edge") << 125.0 << QColor(0, 0, 255);
        QTest::newRow("magenta edge") << 150.0 << QColor(255, 0, 255);
        QTest::newRow("white edge") << 175.0 << QColor(255, 255, 255);
        QTest::newRow("end of band 7") << 199.0 << QColor(10, 10, 10);
        QTest::newRow("bottom is black") << 200.0 << QColor(0, 0, 0);
        QTest::newRow("above the strip clamps") << -30.0 << QColor(0, 0, 0);
        QTest::newRow("below the strip clamps") << 900.0 << QColor(0, 0, 0);
    }
    void stripColor()
    {
        QFETCH(double, y);
        QFETCH(QColor, expected);
        QCOMPARE(ScenePalette::stripColor(y, 201), expected);
    }

    void brightnessAlpha_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("alpha");
        QTest::newRow("step 0") << 0 << 45;
        QTest::newRow("step 1") << 1 << 75;
        QTest::newRow("step 7") << 7 << 255;
        QTest::newRow("below range") << -3 << 45;
        QTest::newRow("above range") << 12 << 255;
    }
    void brightnessAlpha()
    {
        QFETCH(int, step);
        QFETCH(int, alpha);
        QCOMPARE(ScenePalette::alphaForStep(step), alpha);
        QCOMPARE(ScenePalette().withBrightness(0, 255, 255, step).alpha(), alpha);
    }

    void sliderPositions_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("eight");
        QTest::addColumn<int>("eleven");
        // A track of 241 pixels: x runs 0..240.
        QTest::newRow("left end") << 0.0 << 0 << 0;
        QTest::newRow("first pixel") << 1.0 << 1 << 0;
        QTest::newRow("before Slider_11's first edge") << 21.0 << 1 << 0;
        QTest::newRow("past Slider_11's first edge") << 22.0 << 1 << 1;
        QTest::newRow("Slider's first edge") << 240.0 / 7 << 1 << 1;
        QTest::newRow("past Slider's first edge") << 35.0 << 2 << 1;
        QTest::newRow("middle") << 120.0 << 4 << 5;
        QTest::newRow("right end") << 240.0 << 7 << 10;
        QTest::newRow("left of the track") << -20.0 << 0 << 0;
        QTest::newRow("right of the track") << 400.0 << 7 << 10;
    }
    void sliderPositions()
    {
        QFETCH(double, x);
        QFETCH(int, eight);
        QFETCH(int, eleven);
        QCOMPARE(ScenePalette::sliderPosition(x, 241), eight);
        QCOMPARE(ScenePalette::slider11Position(x, 241), eleven);
    }

    void degenerateSizesReadAsTheStart()
    {
        QCOMPARE(ScenePalette::stripColor(5, 1), QColor(0, 0, 0));
        QCOMPARE(ScenePalette::sliderPosition(5, 1), 0);
        QCOMPARE(ScenePalette::slider11Position(5, 0), 0);
    }

    void presetsAreTheSevenBuiltInColours()
    {
        const QVariantList presets = ScenePalette().presets();
        QCOMPARE(presets.size(), 7);
        QCOMPARE(presets.first().toList(), (QVariantList{0, 255, 255}));
        QCOMPARE(presets.last().toList(), (QVariantList{160, 190, 160}));
    }
};

QTEST_GUILESS_MAIN(TestScenePalette)
#include "tst_scene_palette.moc"
