// The window on a scaled screen (QT_SCALE_FACTOR, as the desktop's 150 % or 200 %): the scene
// keeps its layout in its own units, the frame has the screen's pixels, and the skin's 2×
// pictures are drawn there instead of the 1× ones enlarged. Saves a screenshot of the key page
// and of the macro page in both skins at the factor it runs under.
#include "actions/MacroActions.h"
#include "controller/myQQuickView.h"
#include "tests/support/SceneDriver.h"

#include <QDirIterator>
#include <algorithm>
#include <QFile>
#include <QImage>
#include <QQuickItem>
#include <QtTest>

namespace {

// Regions in scene units where only skin pictures are drawn at their size: the top bar between
// the wordmark and the web logo, and the shell of the mouse picture on the key page below its
// buttons.
const QVector<QRect> kPictureRegions = {QRect(240, 14, 150, 26), QRect(260, 380, 60, 50)};

void removeDoublePictures()
{
    QDirIterator it(
        QStringLiteral("modules/img"), {QStringLiteral("*@2x.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::remove(it.next());
}

// Share of the 2 × 2 pixel blocks whose four pixels are not all alike, with the blocks laid
// on the grid `offset` pixels off the frame's: none in a picture enlarged from 1× and laid on
// that grid, most in one drawn at 2× (edges, gradients, grain).
double detailShare(const QImage &image, const QRect &region, const QPoint &offset)
{
    const QRect pixels(region.topLeft() * 2 + offset, region.size() * 2);
    int blocks = 0, detailed = 0;
    for (int y = pixels.top(); y + 1 <= pixels.bottom(); y += 2) {
        for (int x = pixels.left(); x + 1 <= pixels.right(); x += 2) {
            const QRgb a = image.pixel(x, y);
            ++blocks;
            if (image.pixel(x + 1, y) != a || image.pixel(x, y + 1) != a || image.pixel(x + 1, y + 1) != a)
                ++detailed;
        }
    }
    return blocks ? double(detailed) / blocks : 0.0;
}

// The least share over the four grids: a picture placed at an odd pixel is doubled on a grid
// one pixel off.
double detailShare(const QImage &frame, const QRect &region)
{
    const QImage image = frame.convertToFormat(QImage::Format_ARGB32);
    double least = 1.0;
    for (const QPoint &offset : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        least = qMin(least, detailShare(image, region, offset));
    return least;
}

// Pictures load in the background, the 2× ones longer: none may still be loading when the
// frame is compared.
bool picturesLoading(const QQuickItem *item)
{
    if (item->inherits("QQuickImage") && item->property("status").toInt() == 2 /* Image.Loading */)
        return true;
    const QList<QQuickItem *> children = item->childItems();
    return std::any_of(children.begin(), children.end(), picturesLoading);
}

QString skinName(int skin)
{
    return skin == 1 ? QStringLiteral("carbon") : QStringLiteral("ember");
}

}  // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
            QSKIP("runs under a scale factor (QT_SCALE_FACTOR)");
    }

    void theWindowIsDrawnAtTheScreensScale_data()
    {
        QTest::addColumn<int>("skin");
        QTest::newRow("Carbon") << 1;
        QTest::newRow("Ember") << 2;
    }
    void theWindowIsDrawnAtTheScreensScale()
    {
        QFETCH(int, skin);
        SceneDriver scene(SceneDriver::inSkin(skin));
        doublePicturesDrawn = true;
        QVERIFY(scene.start());
        const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
        QCOMPARE(scene.view().devicePixelRatioF(), scale);
        QCOMPARE(scene.view().size(), QSize(1000, 600));
        const QImage frame = scene.view().grabFramebuffer();
        QCOMPARE(frame.size(), QSize(qRound(1000 * scale), qRound(600 * scale)));
        const QString percent = QString::number(qRound(scale * 100));
        QVERIFY(!scene.screenshot(QStringLiteral("hidpi-%1-key-page-%2").arg(percent, skinName(skin))).isEmpty());

        // The note about key capture is shown here too, to see it at this scale.
        scene.view().actions().macros->setKeysOnlyInWindow(true);
        QVERIFY(scene.click("Menu_Func_1"));
        QVERIFY(scene.waitFor(
            [&] { return scene.item("Page_Macro")->x() == 0 && !scene.item("Page_Keydefine")->isVisible(); }));
        QVERIFY(scene.waitForItem("keysOnlyInWindowNote"));
        QVERIFY(!scene.screenshot(QStringLiteral("hidpi-%1-macro-page-%2").arg(percent, skinName(skin))).isEmpty());
    }

    // At 200 % the pictures show detail within every pixel pair that a 1× picture cannot
    // have.
    void pictureRegionsHaveDoubleDetail()
    {
        QVector<double> shares;
        measurePictureDetail(SceneDriver::Options(), shares);
        for (const double share : shares)
            QVERIFY2(share > 0.3, qPrintable(QString::number(share) + " of the blocks carry detail"));
    }

    // Without the 2× files the same regions are the 1× pictures doubled. Qt keeps the pictures
    // a process has drawn and hands them back by name, so this runs in a process of its own
    // (test_hidpi_e2e_1x) and is skipped where the 2× pictures were drawn before.
    void withoutDoubleFilesThePicturesAreDoubled()
    {
        if (doublePicturesDrawn)
            QSKIP("this process drew the 2x pictures already; test_hidpi_e2e_1x runs this alone");
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) { removeDoublePictures(); };
        QVector<double> shares;
        measurePictureDetail(options, shares);
        for (const double share : shares)
            QVERIFY2(share < 0.05, qPrintable(QString::number(share) + " of the blocks carry detail"));
    }

private:
    // The share of detailed pixel blocks in each picture region of the key page at 200 %, once
    // every picture has loaded; none when the test was skipped or failed on the way.
    void measurePictureDetail(const SceneDriver::Options &options, QVector<double> &shares)
    {
        if (qEnvironmentVariable("QT_SCALE_FACTOR") != QLatin1String("2"))
            QSKIP("compares pixel pairs at 200 %");
        SceneDriver scene(options);
        doublePicturesDrawn = doublePicturesDrawn || !options.prepare;
        QVERIFY(scene.start());
        QVERIFY(scene.waitFor([&] {
            const QQuickItem *keyPage = scene.item("Page_Keydefine");
            return keyPage && keyPage->isVisible() && !picturesLoading(scene.view().rootObject());
        }));
        const QImage frame = scene.view().grabFramebuffer();
        for (const QRect &region : kPictureRegions)
            shares << detailShare(frame, region);
    }

    bool doublePicturesDrawn = false;
};

QTEST_MAIN(TestHiDpi)
#include "test_hidpi_e2e.moc"
