// The real program on the virtual mouse, driven through its scene with real mouse events.
#include "tests/support/SceneDriver.h"

#include <QtTest>

class SceneEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void startsAndShowsTheFrame()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(!scene.screenshot("start").isEmpty());
    }
};

QTEST_MAIN(SceneEndToEndTest)
#include "test_scene_e2e.moc"
