#pragma once
// One run of a w3ctl command: the invocation, the controllers and the mouse it works on. Each
// command reads or changes a setting through the window's controller classes and the scene's
// rules (KeyCodeLogic, SensorLogic, LightingLogic), in the order the scene's pages call them,
// so the profile and the bytes on the wire are the window's. The handlers live in the command
// files (cli/*Command.cpp) beside their rows of the command table. The bench (w3ctl's own, or
// the running program's) holds the controllers and the mouse the command works on.
#include "actions/PageActions.h"
#include "cli/CommandBench.h"
#include "cli/CommandLine.h"
#include "controller/Controllers.h"
#include "cli/Output.h"
#include "cli/TerminalPrompts.h"
#include "scenelogic/KeyCodeLogic.h"
#include "scenelogic/LightingLogic.h"

#include <QJsonObject>
#include <memory>
#include <optional>
#include <vector>

class Commands {
public:
    Commands(const Invocation &invocation, Output &output, CommandBench &bench);

    // Runs the invocation's command; CliFailure for what goes wrong.
    ExitCode run();

    // The handlers of the command table (cli/CommandTable.h), one file each.
    void status();
    void profile();
    void dpi();
    void rate();
    void button();
    void light();
    void wheel();
    void macro();
    void pointer();
    void openRgb();
    void app();

private:
    // Profiles and macros (no device needed).
    void showProfile();
    void switchProfile(int profile);
    void exportProfile(int profile, const QString &file);
    void importProfile(int profile, const QString &file);
    void resetProfile(int profile);
    void listMacros();
    void showMacro(const QString &name);
    void importMacro(const QString &file, QString name);
    QString macroNameProblem(const QString &name) const;
    void exportMacro(const QString &name, const QString &file);
    QString exportTarget(const QString &file) const;
    CliFailure exportFailure(const QString &file);
    // Application links (no device needed).
    void listApplicationLinks();
    QString linkMatchOption(bool required) const;
    static QString optionOfMatch(const QString &match);
    void settleLinkChange(int outcome);

    // The mouse, ready to be written (exit code 2 or 3 otherwise): the command changes it.
    CommandDevice &device();
    // The mouse, there and answering, for a command that only reads it.
    CommandDevice &deviceToRead();
    void requireArguments(int low, int high);
    [[noreturn]] void usageError(const QString &message) const;
    // Exit code 3 for a settings file that cannot be written, with the reasons told.
    [[noreturn]] void writeFailure(const QString &what);
    // 1..10 as the user writes it, to the index 0..9.
    int profileArgument(const QString &text) const;
    int stepOption(const QString &option, int high) const;

    KeyCodeLogic::KeyCodes storedButtons();
    void showButtons(const std::vector<int> &shown);
    void setButton(int slot, const QString &functionText);
    std::vector<int> namedButtons() const;
    int buttonArgument(const QString &text) const;
    int buttonNumber(int slot) const;
    QString buttonLabel(int slot) const;
    QString macroNameOfSlot(int slot) const;
    void assignMacro(int slot, const QString &name, int playMode, std::optional<int> repeatCount);

    struct LightState {
        int position = 0;  // effect menu position
        int brightness = LightingLogic::kDefaultBrightnessStep;
        int speed = LightingLogic::kDefaultSpeedStep;
        bool powerOn = false;
        QList<int> palette;  // red, green, blue per colour
        int colorCount = LightingLogic::kColorCount;
    };
    LightState storedLight();
    void showLight(const LightState &light);
    void takeLightColors(LightState &light) const;

    struct StageColors {
        bool fixedOnly = false;  // colour ids 0..7, else red, green, blue per stage
        QList<int> values;
    };
    StageColors storedStageColors();
    void showDpi(int type, int stages);
    void useStage(const QString &text, int type, int stages);
    void setStages(const QStringList &items, int type, int stages);
    QStringList stageColors(int stages);
    void setStageColors(const QStringList &items, int stages);

    int sensorType();
    int stageCount();
    QList<int> stageValues(int sensorType);
    int stageInUse(const QList<int> &values, int stages);
    QList<int> adjustedStages(int sensorType, int stages);
    void reportWarnings();

    const Invocation &invocation;
    Output &output;
    TerminalPrompts prompts;
    CommandBench &bench;
    Controllers &controllers;
    PageActions &actions;
    bool deviceOpened = false;
    bool changing = false;
};
