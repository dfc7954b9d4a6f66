#pragma once
// The one view the Qt Quick tests of the scene run on: the program's own view object (never
// shown) as `ui_View`, its real window controller as `ui_Ctl`, over the virtual mouse in a
// private modules folder. `sceneTest` lets the tests read what the program did: the reports on
// the wire, the files, the sounds asked for, the dialogs and where the window moved.
//
// A test executable ends with
//     W3_SCENE_TEST_MAIN(name)
// and is run with `-input <folder of its tst_*.qml>`.
#include "app/Ui_Controler.h"
#include "controller/myQQuickView.h"
#include "device/Hid_Thread.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QWidget>
#include <QtQuickTest>
#include <memory>

class QQmlEngine;

// What the tests read and script, published to QML as `sceneTest`.
class SceneTestProbe : public QObject {
    Q_OBJECT
    // Sound indexes the view was asked to play while sound was on, oldest first.
    Q_PROPERTY(QVariantList cues READ cues WRITE setCues NOTIFY changed)
    // How often every player was stopped and cleared.
    Q_PROPERTY(int clears READ clears NOTIFY changed)
    Q_PROPERTY(bool audio READ audio NOTIFY changed)
    // The file the next file dialog "chooses"; empty: the dialog is cancelled.
    Q_PROPERTY(QString openFileAnswer READ openFileAnswer WRITE setOpenFileAnswer NOTIFY changed)
    Q_PROPERTY(QString saveFileAnswer READ saveFileAnswer WRITE setSaveFileAnswer NOTIFY changed)
    // "<caption> <filter>" of every file dialog opened, oldest first.
    Q_PROPERTY(QStringList dialogs READ dialogs NOTIFY changed)
    // The window's place and how often it was closed.
    Q_PROPERTY(int windowX READ windowX NOTIFY changed)
    Q_PROPERTY(int windowY READ windowY NOTIFY changed)
    Q_PROPERTY(int closes READ closes NOTIFY changed)
    // The profile the program works on (0..9).
    Q_PROPERTY(int currentProfile READ currentProfile NOTIFY changed)
    // The answer to the program's yes/no questions, and how many it asked since clearRecords().
    Q_PROPERTY(bool confirmAnswer READ confirmAnswer WRITE setConfirmAnswer NOTIFY changed)
    Q_PROPERTY(int confirmations READ confirmations NOTIFY changed)

public:
    SceneTestProbe(myQQuickView &view, QWidget &shell, ModulesSandbox &modules, RecordingPrompts &prompts,
                   Hid_Thread &hid);

    QVariantList cues() const { return cueList; }
    void setCues(const QVariantList &list);
    int clears() const { return clearCount; }
    bool audio() const;
    QString openFileAnswer() const { return prompts.openAnswer; }
    void setOpenFileAnswer(const QString &path);
    QString saveFileAnswer() const { return prompts.saveAnswer; }
    void setSaveFileAnswer(const QString &path);
    QStringList dialogs() const { return prompts.dialogs; }
    int windowX() const { return shell.x(); }
    int windowY() const { return shell.y(); }
    int closes() const { return closeCount; }
    int currentProfile() const;
    bool confirmAnswer() const { return prompts.confirmAnswer; }
    void setConfirmAnswer(bool answer);
    int confirmations() const { return prompts.confirmations.size(); }

    // The application configuration file: `items` stored as the program stores them; an empty
    // list removes the file (a first start).
    Q_INVOKABLE void writeAppConfig(const QVariantList &items);
    // The stored items as text, in order; empty without a file.
    Q_INVOKABLE QStringList storedAppConfig() const;
    // The items of the factory copy that RESET puts back, as text.
    Q_INVOKABLE QStringList factoryAppConfig() const;
    // Leaves only these language files (codes such as "031000") in the modules folder.
    Q_INVOKABLE void keepLanguages(const QStringList &codes);
    // Files by their path below the folder that holds modules/ (the working directory).
    Q_INVOKABLE QString readFile(const QString &relative) const;
    Q_INVOKABLE bool writeFile(const QString &relative, const QString &text);
    Q_INVOKABLE bool copyFile(const QString &from, const QString &to);
    // Renames a file or folder; false when it cannot.
    Q_INVOKABLE bool move(const QString &from, const QString &to);
    Q_INVOKABLE QString path(const QString &relative) const { return modules.path(relative); }
    // The plain command blocks sent to the mouse since the last clearWire(), each as a list
    // of numbers (command code first), after the device thread finished its queue.
    Q_INVOKABLE QVariantList sentCommands() const;
    Q_INVOKABLE void clearWire();
    // The data reports (report IDs removed) that followed the last command block starting with
    // `command`, as numbers; empty when no such command was sent.
    Q_INVOKABLE QVariantList sentData(int command) const;
    // Every transfer with command `code` since the last clearWire(), oldest first:
    // {block: [the plain command block], data: [the data reports that followed, IDs removed]}.
    Q_INVOKABLE QVariantList sentTransfers(int code) const;
    // Entries of the profile in use as the settings file holds them; an undefined value
    // removes the entry.
    Q_INVOKABLE void storeInProfile(const QString &key, const QVariant &value);
    Q_INVOKABLE QVariant storedInProfile(const QString &key) const;
    // Every entry of the profile in use removed.
    Q_INVOKABLE void clearProfile();
    // An entry of the factory profile "pD.bin"; an undefined value removes it.
    Q_INVOKABLE void storeFactoryValue(const QString &key, const QVariant &value);
    // The virtual mouse's sensor, how many DPI stages it has and whether its indicator takes
    // only the fixed colours.
    Q_INVOKABLE void setMouseSensor(int sensorType, int stageCount, bool fixedColorsOnly);
    // Every record of the wire forgotten, every dialog and cue too.
    Q_INVOKABLE void clearRecords();

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    myQQuickView &view;
    QWidget &shell;
    ModulesSandbox &modules;
    RecordingPrompts &prompts;
    Hid_Thread &hid;
    QVariantList cueList;
    int clearCount = 0;
    int closeCount = 0;
};

// The program's side of the test view, built once per test executable.
class SceneTestRig {
public:
    SceneTestRig();
    ~SceneTestRig();

    // Publishes ui_View, ui_Ctl and sceneTest to an engine that loads test files.
    void publish(QQmlEngine &engine);

    myQQuickView &view() { return *viewObject; }
    SceneTestProbe &probe() { return *probeObject; }

private:
    ModulesSandbox modules;
    RecordingPrompts prompts;
    Hid_Thread hid;
    QWidget shell;
    std::unique_ptr<myQQuickView> viewObject;
    Ui_Controler controler;
    std::unique_ptr<SceneTestProbe> probeObject;
};

// Qt Quick Test's setup object: the rig is made with the first engine. Anything the view
// registers for QML when it is built (singletons, types) is therefore in place before the
// first test file is compiled.
class SceneTestSetup : public QObject {
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine);
    void cleanupTestCase();

private:
    std::unique_ptr<SceneTestRig> rig;
};

// The view is a widget: the application object must be a QApplication, made before the setup.
#define W3_SCENE_TEST_MAIN(name) \
    int main(int argc, char **argv) \
    { \
        QApplication app(argc, argv); \
        SceneTestSetup setup; \
        return quick_test_main_with_setup(argc, argv, #name, nullptr, &setup); \
    }
