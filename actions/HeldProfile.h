#pragma once
// What the mouse holds: per group of settings the values last sent, the profile they were sent
// from, and what the mouse told about itself (sensor, indicator, stage count). The page units
// note every send here, so a switch can send only the groups that differ. The mouse keeps no
// profiles of its own: it holds whatever was last sent, so the profile it holds is the one
// every group was last sent from; a group that already holds a profile's value counts as sent
// from it whenever that profile sends or skips a group. Macros are left out: the twelve macro
// slots are one set for all ten profiles, so no switch changes them.
#include <QObject>
#include <QVariant>
#include <QVariantList>
#include <array>
#include <optional>

class HeldProfile : public QObject {
    Q_OBJECT
public:
    // The groups a switch sends one by one, each with the commands of its own.
    enum Group {
        WheelDirection,   // the function option's wheel bit
        Buttons,          // the sixteen codes
        Palette,          // the lighting colours
        Effect,           // the lighting effect, brightness and speed
        Stages,           // the stage values with the stage count
        StageColors,      // the indicator colours or colour ids
        ReportRate,
        PointerSettings,  // the desktop's pointer speed, scroll lines, double-click speed
        StageInUse,
        GroupCount
    };
    // What the mouse answers about itself; the same until another mouse is plugged in.
    struct MouseFacts {
        int sensorType = -1;
        bool fixedColorsOnly = false;
        int stageCount = 0;
        bool operator==(const MouseFacts &other) const;
    };

    // A profile sent whole, or only what the mouse does not hold yet.
    enum class Sending { Everything, OnlyDifferences };

    explicit HeldProfile(QObject *parent = nullptr);

    // Values as the commands carry them: each one's low eight bits.
    static QVariantList bytes(const QVariantList &values);

    // The profile every group was last sent from; -1 while a group is unknown or the groups
    // came from different profiles.
    int profile() const { return heldProfile; }
    // True when `group` is known to hold `value`.
    bool holds(Group group, const QVariant &value) const;
    // Whether a sending of that kind sends `value` of `profile` to `group`. A group left out
    // because it holds the value counts as sent from `profile`.
    bool needs(Sending sending, Group group, int profile, const QVariant &value);
    // Announces sentFrom(); the profile held is told once the listeners claimed their groups.
    void sent(Group group, int fromProfile, const QVariant &value);
    // `group` counts as sent from `profile` when it holds `value`; true then.
    bool claim(Group group, int profile, const QVariant &value);

    const std::optional<MouseFacts> &facts() const { return mouse; }
    void setFacts(const MouseFacts &facts);

    // Another mouse, or the same one plugged in again: nothing is known any more.
    void forget();

signals:
    void profileChanged(int profile);
    // A group was sent from `profile`: the groups holding that profile's values may claim().
    void sentFrom(int profile);

private:
    struct Entry {
        bool known = false;
        int profile = -1;
        QVariant value;
    };
    void update();

    std::array<Entry, GroupCount> entries;
    std::optional<MouseFacts> mouse;
    int heldProfile = -1;
    bool announcingSend = false;
};
