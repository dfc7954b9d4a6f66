// The scene's frame, settings page and common controls under Qt Quick Test, with stand-ins
// for the view and the window controller that record the scene's calls.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "scenelogic/SceneLogic.h"

// Answers the scene's calls from scriptable values and records what the scene asked for.
class FakeView : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled MEMBER enabled NOTIFY changed)
    Q_PROPERTY(bool audio MEMBER audio NOTIFY changed)
    Q_PROPERTY(bool skinShow MEMBER skinShow NOTIFY changed)
    Q_PROPERTY(QVariantList cues MEMBER cues NOTIFY changed)
    Q_PROPERTY(QVariantList apConfig MEMBER apConfig NOTIFY changed)
    Q_PROPERTY(QVariantList savedApConfig MEMBER savedApConfig NOTIFY changed)
    Q_PROPERTY(QVariantMap languages MEMBER languages NOTIFY changed)
    Q_PROPERTY(QStringList loadedLanguages MEMBER loadedLanguages NOTIFY changed)
    Q_PROPERTY(QString customFilePath MEMBER customFilePath NOTIFY changed)
    Q_PROPERTY(QVariantList profileCalls MEMBER profileCalls NOTIFY changed)
    Q_PROPERTY(int resets MEMBER resets NOTIFY changed)
    Q_PROPERTY(int clears MEMBER clears NOTIFY changed)
public:
    Q_INVOKABLE void setEnabled(bool on) { enabled = on; emit changed(); }
    Q_INVOKABLE void playMedia_Index(int index) { cues.append(index); emit changed(); }
    Q_INVOKABLE void setEnableAudio(bool on) { audio = on; emit changed(); }
    Q_INVOKABLE void clearAllMedia() { ++clears; emit changed(); }
    Q_INVOKABLE QVariantList loadApConfig() const { return apConfig; }
    Q_INVOKABLE void saveApConfig(const QVariantList &list)
    {
        // As the settings file does: items come back as text.
        savedApConfig.clear();
        for (const QVariant &item : list)
            savedApConfig.append(item.toString());
        emit changed();
    }
    Q_INVOKABLE void resetApconfig() { ++resets; emit changed(); }
    Q_INVOKABLE bool getIsSkinShow() const { return skinShow; }
    Q_INVOKABLE QVariantMap chkLanguages() const { return languages; }
    Q_INVOKABLE QStringList getGlobalStrings(const QString &code)
    {
        loadedLanguages.append(code);
        emit changed();
        QStringList strings{"DejaVu Sans"};
        for (int i = 1; i <= 116; ++i)
            strings.append(code + ":" + QString::number(i));
        return strings;
    }
    Q_INVOKABLE QStringList getProductLayoutStrings_W3(const QString &code) const
    {
        QStringList names;
        for (int i = 0; i < 16; ++i)
            names.append(code);
        return names;
    }
    Q_INVOKABLE QString getCustomFilePath() const { return customFilePath; }
    Q_INVOKABLE QVariantList loadDeviceApConfig() const { return {8}; }
    Q_INVOKABLE QString ui_80H_GetFWVersion() const { return "1.0A"; }
    Q_INVOKABLE void ui_02H_SetCurrentProfile(int profile) { record("select", profile); }
    Q_INVOKABLE void loadProfile(int profile) { record("load", profile); }
    Q_INVOKABLE void saveProfile(int profile) { record("save", profile); }
    Q_INVOKABLE void resetProfile(int profile) { record("reset", profile); }

    bool enabled = true;
    bool audio = true;
    bool skinShow = true;
    QVariantList cues;
    QVariantList apConfig;
    QVariantList savedApConfig;
    QVariantMap languages;
    QStringList loadedLanguages;
    QString customFilePath;
    QVariantList profileCalls;
    int resets = 0;
    int clears = 0;

signals:
    void changed();

private:
    void record(const QString &what, int profile)
    {
        profileCalls.append(what + " " + QString::number(profile));
        emit changed();
    }
};

// The window controller: records the moves and the close.
class FakeControler : public QObject {
    Q_OBJECT
    Q_PROPERTY(int dx MEMBER dx NOTIFY changed)
    Q_PROPERTY(int dy MEMBER dy NOTIFY changed)
    Q_PROPERTY(int minimized MEMBER minimized NOTIFY changed)
public:
    Q_INVOKABLE void onXChanged(int x) { dx += x; emit changed(); }
    Q_INVOKABLE void onYChanged(int y) { dy += y; emit changed(); }
    Q_INVOKABLE void onMinimize() { ++minimized; emit changed(); }

    int dx = 0;
    int dy = 0;
    int minimized = 0;

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
        engine->rootContext()->setContextProperty("ui_Ctl", &controler);
    }

private:
    FakeView view;
    FakeControler controler;
};

QUICK_TEST_MAIN_WITH_SETUP(scene, Setup)
#include "tst_scene.moc"
