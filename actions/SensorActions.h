#pragma once
// The sensor page's state and commands: the stage values and their indicator colours, which
// reach the mouse at once, and the report rate, the desktop's pointer settings and the stage in
// use, which wait for APPLY. The page shows this state, w3ctl and a profile sent whole use the
// same commands, so all send the same blocks in the same order.
#include "actions/HeldProfile.h"

#include <QList>
#include <QObject>
#include <QVariantList>

class Controllers;

class SensorActions : public QObject {
    Q_OBJECT
    Q_PROPERTY(int sensorType READ sensorType NOTIFY stagesChanged)
    // How many stages the mouse has (1..8).
    Q_PROPERTY(int stageCount READ stageCount NOTIFY stagesChanged)
    // Eight values as the mouse takes them, 0 = unused.
    Q_PROPERTY(QVariantList stageValues READ stageValuesVariant NOTIFY stagesChanged)
    // Per stage: the stored value is one the sensor lacks and shows as its nearest one, until
    // the stages are next sent. Empty when none is.
    Q_PROPERTY(QVariantList adjustedStages READ adjustedStages NOTIFY stagesChanged)
    // Counts from 0; always a used stage.
    Q_PROPERTY(int currentStage READ currentStage NOTIFY currentStageChanged)
    // Red, green and blue per stage, and the fixed colour id per stage; the indicator shows the
    // ids when it has only the fixed colours.
    Q_PROPERTY(QVariantList stageColors READ stageColors NOTIFY colorsChanged)
    Q_PROPERTY(QVariantList stageColorIds READ stageColorIds NOTIFY colorsChanged)
    Q_PROPERTY(bool fixedColorsOnly READ fixedColorsOnly NOTIFY colorsChanged)
    // The rate's place in the page's list.
    Q_PROPERTY(int reportRatePosition READ reportRatePosition WRITE setReportRatePosition NOTIFY appliedSettingsChanged)
    // The desktop's pointer settings, steps 0..10.
    Q_PROPERTY(int cursorSpeed READ cursorSpeed WRITE setCursorSpeed NOTIFY appliedSettingsChanged)
    Q_PROPERTY(int scrollLines READ scrollLines WRITE setScrollLines NOTIFY appliedSettingsChanged)
    Q_PROPERTY(int doubleClickSpeed READ doubleClickSpeed WRITE setDoubleClickSpeed NOTIFY appliedSettingsChanged)
    // What APPLY sends differs from what the mouse and the desktop hold.
    Q_PROPERTY(bool pending READ pending NOTIFY pendingChanged)

public:
    static constexpr int kPointerStepMax = 10;
    static constexpr int kDefaultCursorSpeed = 5;
    static constexpr int kDefaultScrollLines = 2;
    static constexpr int kDefaultDoubleClickSpeed = 5;

    SensorActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent = nullptr);

    // Reads the mouse, the profile in use and the desktop.
    Q_INVOKABLE void start();
    Q_INVOKABLE void refresh() { start(); }
    Q_INVOKABLE void discard() { start(); }
    // The factory values: the stages and colours reach the mouse at once, the rest pends.
    // Without the factory stage and colour lists only the report rate and the pointer
    // settings are taken.
    Q_INVOKABLE void reset();
    // Report rate, the desktop's three pointer settings, the stage in use.
    Q_INVOKABLE void apply();

    // Sends the stages with `value` on `stage`. Refused (false, nothing sent) when no stage
    // would stay in use; when the stage in use goes unused the nearest used one takes over.
    Q_INVOKABLE bool setStageValue(int stage, int value);
    // An unused stage cannot be the stage in use: false and nothing changes.
    Q_INVOKABLE bool selectStage(int stage);
    // The stage in use switched at once, as the mouse's own DPI button does: sent and kept in
    // the profile without APPLY; what else is pending stays pending. False for an unused stage.
    bool switchStage(int stage);
    // Send the indicator colours at once, in the mode the indicator has.
    Q_INVOKABLE void setStageColors(const QVariantList &colors);
    Q_INVOKABLE void setStageColorIds(const QVariantList &ids);
    void setReportRatePosition(int position);
    void setCursorSpeed(int step);
    void setScrollLines(int step);
    void setDoubleClickSpeed(int step);

    int sensorType() const { return type; }
    int stageCount() const { return stages; }
    const QList<int> &stageValues() const { return values; }
    QVariantList stageValuesVariant() const;
    QVariantList adjustedStages() const { return adjusted; }
    int currentStage() const { return applied.stage; }
    QVariantList stageColors() const { return colors; }
    QVariantList stageColorIds() const { return ids; }
    bool fixedColorsOnly() const { return fixedOnly; }
    int reportRatePosition() const { return applied.reportRatePosition; }
    int cursorSpeed() const { return applied.cursorSpeed; }
    int scrollLines() const { return applied.scrollLines; }
    int doubleClickSpeed() const { return applied.doubleClickSpeed; }
    bool pending() const;

    // The commands, as w3ctl gives them.
    // The eight stage values (0 = unused) as the mouse takes them, with the number of stages
    // the mouse has.
    Q_INVOKABLE void sendStages(int sensorType, int stageCount, const QVariantList &values);
    // Colour ids when the mouse's indicator shows only the fixed colours, else red, green and
    // blue per stage.
    Q_INVOKABLE void sendStageColors(bool fixedColorsOnly, const QVariantList &colors);
    // position is the rate's place in the page's list.
    Q_INVOKABLE void setReportRate(int reportRatePosition);
    // stage counts from 0, as the page shows it.
    Q_INVOKABLE void useStage(int stage);
    Q_INVOKABLE void apply(int reportRatePosition, int cursorSpeed, int scrollLines, int doubleClickSpeed, int stage);

    // What the mouse holds of the sensor page, sent again as the page sends it: start(), the
    // stages and the colours the profile has, then apply(). Only what the mouse does not hold
    // yet, when so asked; the mouse is then asked about itself only when it has not been yet.
    void sendStored(HeldProfile::Sending sending = HeldProfile::Sending::Everything);
    // The sensor page's groups count as sent from `profile` where the mouse holds what the
    // profile holds (as read or last applied).
    void claimHeldGroups(int profile);

signals:
    void stagesChanged();
    void currentStageChanged();
    void colorsChanged();
    void appliedSettingsChanged();
    void pendingChanged();
    // The stage colours and the stage in use were read anew: a view shows them afresh.
    void reloaded();
    // switchStage() moved the mouse to `stage` (from 0).
    void stageSwitched(int stage);

private:
    // What APPLY sends.
    struct Applied {
        int reportRatePosition;
        int cursorSpeed;
        int scrollLines;
        int doubleClickSpeed;
        int stage;
        bool operator==(const Applied &other) const;
        bool operator!=(const Applied &other) const { return !(*this == other); }
    };

    // What the mouse tells about itself, then what the profile and the desktop hold.
    void readMouse();
    void readProfile();
    void apply(HeldProfile::Sending sending);
    void sendPointerSettings(int cursorSpeed, int scrollLines, int doubleClickSpeed);
    void show(const Applied &next);
    void showPointerSettings(const QVariant &cursor, const QVariant &scroll, const QVariant &doubleClick);
    // The wanted stage when it is used, else the nearest used one.
    int stageInUse(int wanted) const;
    bool isUsed(int stage) const;
    // Returns whether the list had the length of its kind.
    bool takeColors(const QVariantList &list);
    bool takeIds(const QVariantList &list);
    static QVariantList stagesCommand(int sensorType, int stageCount, const QList<int> &stageValues);
    static QVariantList colorsCommand(bool fixedColorsOnly, const QVariantList &list);
    int profileInUse() const;
    void sendShownStages();
    void sendShownColors();
    void markHeld();

    Controllers &controllers;
    HeldProfile &mouseHolds;
    int type = -1;
    int stages;
    QList<int> values;
    QVariantList adjusted;
    QVariantList colors;
    QVariantList ids;
    bool fixedOnly = false;
    bool colorsStored = false;  // the list of the indicator's mode came from the profile
    Applied applied;
    Applied held;
    bool heldKnown = false;
};
