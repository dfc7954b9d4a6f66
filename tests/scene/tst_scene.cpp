// Scene components under Qt Quick Test, with a stand-in for the view the scene calls.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "scenelogic/SceneLogic.h"

// Answers the scene's calls as a mouse with known settings would, and records the rest.
class FakeView : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled MEMBER enabled NOTIFY changed)
    Q_PROPERTY(int sensorType MEMBER sensorType NOTIFY changed)
    Q_PROPERTY(QVariant reportRate MEMBER reportRate NOTIFY changed)
    Q_PROPERTY(int lastCue MEMBER lastCue NOTIFY changed)
public:
    Q_INVOKABLE QString ui_80H_GetFWVersion() const { return "1.0A"; }
    Q_INVOKABLE QVariant getSensorType() const { return sensorType; }
    Q_INVOKABLE QVariant ui_8BH_GetCurrentDPIStage() const { return QString("3"); }
    Q_INVOKABLE QVariant ui_81H_GetReportRate() const { return reportRate; }
    Q_INVOKABLE void setEnabled(bool on) { enabled = on; emit changed(); }
    Q_INVOKABLE void playMedia_Index(int index) { lastCue = index; emit changed(); }

    bool enabled = true;
    int sensorType = 0;
    QVariant reportRate = 1;
    int lastCue = -1;

signals:
    void changed();
};

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        registerSceneLogic();
        engine->rootContext()->setContextProperty("ui_View", &view);
    }

private:
    FakeView view;
};

QUICK_TEST_MAIN_WITH_SETUP(scene, Setup)
#include "tst_scene.moc"
