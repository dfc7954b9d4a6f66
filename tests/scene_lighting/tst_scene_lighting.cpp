// The lighting and sensor pages under Qt Quick Test, with a stand-in view that keeps ten
// profiles as the profile store does and records every call that reaches the mouse or the
// desktop.
#include <QJSValue>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "scenelogic/LightingLogic.h"
#include "scenelogic/SceneLogic.h"
#include "scenelogic/SensorLogic.h"

class FakeView : public QObject {
    Q_OBJECT
    // What the mouse answers.
    Q_PROPERTY(int sensorType MEMBER sensorType NOTIFY changed)
    Q_PROPERTY(bool logoLedWork MEMBER logoLedWork NOTIFY changed)
    Q_PROPERTY(int maxStage MEMBER maxStage NOTIFY changed)
    // The factory lists of loadDefaultProfile(2) and (3).
    Q_PROPERTY(QVariantList lightingDefaults MEMBER lightingDefaults NOTIFY changed)
    Q_PROPERTY(QVariantList sensorDefaults MEMBER sensorDefaults NOTIFY changed)
    // Every call that sends or stores something: [name, arguments...], in order.
    Q_PROPERTY(QVariantList calls MEMBER calls NOTIFY changed)
    Q_PROPERTY(int currentProfile MEMBER currentProfile NOTIFY changed)
    Q_PROPERTY(bool enabled MEMBER enabled NOTIFY changed)
public:
    // Test set-up: one entry of the current profile, as the settings file would hold it.
    Q_INVOKABLE void store(const QString &key, const QJSValue &value)
    {
        profiles[currentProfile].insert(key, value.toVariant());
    }
    Q_INVOKABLE void clearProfiles()
    {
        profiles.clear();
        currentProfile = 0;
        calls.clear();
        emit changed();
    }
    Q_INVOKABLE void clearCalls()
    {
        calls.clear();
        emit changed();
    }
    // The arguments of the last call of that name; empty when there was none.
    Q_INVOKABLE QVariantList lastCall(const QString &name) const
    {
        for (auto it = calls.crbegin(); it != calls.crend(); ++it) {
            const QVariantList call = it->toList();
            if (call.first().toString() == name)
                return call.mid(1);
        }
        return {};
    }
    Q_INVOKABLE QStringList callNames() const
    {
        QStringList names;
        for (const QVariant &call : calls)
            names.append(call.toList().first().toString());
        return names;
    }

    // The view's slots the pages use. Lists are stored as received and read back as the
    // profile store does: colour and effect lists as numbers, DPI values as text.
    Q_INVOKABLE void setEnabled(bool on) { enabled = on; emit changed(); }
    Q_INVOKABLE void playMedia_Index(int) {}
    Q_INVOKABLE QVariantList loadDefaultProfile(int page) const
    {
        return page == 2 ? lightingDefaults : page == 3 ? sensorDefaults : QVariantList();
    }
    Q_INVOKABLE void ui_02H_SetCurrentProfile(int profile) { currentProfile = profile; emit changed(); }
    Q_INVOKABLE QVariant getSensorType() const { return sensorType; }
    Q_INVOKABLE bool chkIsLogoLedWork() const { return logoLedWork; }
    Q_INVOKABLE int ui_91H_SyncDPI() const { return maxStage; }

    Q_INVOKABLE void ui_0DH_SetRGBLedEffect(int effect, int option1, int option2, const QVariantList &configs)
    {
        write("ledEffect", configs);
        record({"0DH", effect, option1, option2, configs});
    }
    Q_INVOKABLE QVariantList ui_8DH_GetRGBLedEffect() const { return numbers(read("ledEffect").toList()); }
    Q_INVOKABLE void ui_10H_SetLED8StageColor(int type, const QVariantList &src24)
    {
        write("type" + QString::number(type), src24);
        record({"10H", type, src24});
    }
    Q_INVOKABLE QVariantList ui_90H_GetLED8StageColor(int type) const
    {
        return numbers(read("type" + QString::number(type)).toList());
    }
    Q_INVOKABLE void ui_11H_SetDPISet(int stages, const QVariantList &codes, const QVariantList &values)
    {
        write("dpi", values);
        record({"11H", stages, codes, values});
    }
    Q_INVOKABLE QVariantList ui_91H_GetDPISet() const
    {
        QVariantList texts;
        for (const QVariant &value : read("dpi").toList())
            texts.append(value.toString());
        return texts;
    }
    Q_INVOKABLE void ui_0BH_SetCurrentDPIStage(int stage) { write("stage", stage); record({"0BH", stage}); }
    Q_INVOKABLE QVariant ui_8BH_GetCurrentDPIStage() const { return read("stage").toInt(); }
    Q_INVOKABLE void ui_01H_SetReportRate(int rate) { write("reportRate", rate); record({"01H", rate}); }
    Q_INVOKABLE QVariant ui_81H_GetReportRate() const { return read("reportRate").toInt(); }
    Q_INVOKABLE void setCursorSpeed(uint v) { write("cursor", v); record({"cursor", v}); }
    Q_INVOKABLE void setVerticalScrollLines(uint v) { write("scroll", v); record({"scroll", v}); }
    Q_INVOKABLE void setDoubleClickSpeed(uint v) { write("double", v); record({"double", v}); }
    Q_INVOKABLE uint getCursorSpeed() const { return read("cursor").toUInt(); }
    Q_INVOKABLE uint getVerticalScrollLines() const { return read("scroll").toUInt(); }
    Q_INVOKABLE uint getDoubleClickSpeed() const { return read("double").toUInt(); }

    int sensorType = 0;
    bool logoLedWork = false;
    int maxStage = 8;
    QVariantList lightingDefaults;
    QVariantList sensorDefaults;
    QVariantList calls;
    int currentProfile = 0;
    bool enabled = true;

signals:
    void changed();

private:
    static QVariantList numbers(const QVariantList &items)
    {
        QVariantList result;
        for (const QVariant &item : items)
            result.append(item.toUInt());
        return result;
    }
    QVariant read(const QString &key) const { return profiles.value(currentProfile).value(key); }
    void write(const QString &key, const QVariant &value) { profiles[currentProfile].insert(key, value); }
    void record(const QVariantList &call)
    {
        calls.append(QVariant(call));
        emit changed();
    }

    QMap<int, QVariantMap> profiles;
};

// Stand-ins for the page actions over the stand-in view: the calls the real units make, so
// the records keep their meaning until these tests run on the program's own view.
class FakeSensorActions : public QObject {
    Q_OBJECT
public:
    explicit FakeSensorActions(FakeView &view) : view(view) {}
    Q_INVOKABLE void sendStages(int sensorType, int stageCount, const QVariantList &values)
    {
        QList<int> stages;
        for (const QVariant &value : values)
            stages << value.toInt();
        QVariantList copy;
        for (int value : stages)
            copy << value;
        view.ui_11H_SetDPISet(stageCount, SensorLogic::encodeStages(sensorType, stages), copy);
    }
    Q_INVOKABLE void sendStageColors(bool fixedColorsOnly, const QVariantList &colors)
    {
        view.ui_10H_SetLED8StageColor(fixedColorsOnly ? 2 : 1, colors);
    }
    Q_INVOKABLE void apply(int reportRatePosition, int cursorSpeed, int scrollLines, int doubleClickSpeed, int stage)
    {
        view.ui_01H_SetReportRate(SensorLogic::reportRateValue(reportRatePosition));
        view.setCursorSpeed(uint(cursorSpeed));
        view.setVerticalScrollLines(uint(scrollLines));
        view.setDoubleClickSpeed(uint(doubleClickSpeed));
        view.ui_0BH_SetCurrentDPIStage(stage + 1);
    }

private:
    FakeView &view;
};

class FakeLightingActions : public QObject {
    Q_OBJECT
public:
    explicit FakeLightingActions(FakeView &view) : view(view) {}
    Q_INVOKABLE void sendPalette(const QVariantList &palette) { view.ui_10H_SetLED8StageColor(0, palette); }
    Q_INVOKABLE void apply(int position, int brightnessStep, int speedStep, bool powerOn)
    {
        const QList<int> command = LightingLogic::ledCommand(position, brightnessStep, speedStep, powerOn);
        view.ui_0DH_SetRGBLedEffect(command.at(0), command.at(1), command.at(2),
                                    LightingLogic::storedSettings(position, brightnessStep, speedStep, powerOn));
    }

private:
    FakeView &view;
};

class Setup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        registerSceneLogic();
        engine->rootContext()->setContextProperty("ui_View", &view);
        QQmlEngine::setObjectOwnership(&sensor, QQmlEngine::CppOwnership);
        QQmlEngine::setObjectOwnership(&lighting, QQmlEngine::CppOwnership);
        qmlRegisterSingletonInstance("W3.Actions", 1, 0, "SensorActions", &sensor);
        qmlRegisterSingletonInstance("W3.Actions", 1, 0, "LightingActions", &lighting);
    }

private:
    FakeView view;
    FakeSensorActions sensor{view};
    FakeLightingActions lighting{view};
};

QUICK_TEST_MAIN_WITH_SETUP(scene_lighting, Setup)
#include "tst_scene_lighting.moc"
