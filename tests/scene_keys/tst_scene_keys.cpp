// The key and macro pages under Qt Quick Test, with a stand-in for the view.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "FakeKeyView.h"
#include "scenelogic/SceneLogic.h"

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        registerSceneLogic();
        engine->rootContext()->setContextProperty("ui_View", &view);
    }

private:
    FakeKeyView view;
};

QUICK_TEST_MAIN_WITH_SETUP(scene_keys, Setup)
#include "tst_scene_keys.moc"
