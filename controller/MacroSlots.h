#pragma once
// The mouse holds one set of twelve macros for all ten profiles, and a macro file keeps one
// slot ("config/index") wherever it is played. A slot is therefore in use while a button of any
// profile plays it: the profile in use as the caller holds it (the key page's codes before
// APPLY), the other nine as stored. The window and w3ctl bind, release and delete macros
// through this one rule, so a profile switch never changes what another profile's buttons play.
#include "scenelogic/KeyCodeLogic.h"

#include <QString>
#include <vector>

class MacroLibrary;
class MouseOperations;
class ProfileStore;

class MacroSlots {
public:
    using Codes = KeyCodeLogic::KeyCodes;
    struct Use {
        int profile;  // 0..9
        int button;   // 0..15
        bool operator==(const Use &other) const { return profile == other.profile && button == other.button; }
    };

    MacroSlots(ProfileStore &profiles, MacroLibrary &macros, MouseOperations &mouse);

    // Unbinds every macro whose slot no button of any profile plays.
    void releaseUnused(const Codes &current);
    // After releasing unused slots: the slot of macro `name`, its own or the lowest one no
    // profile uses; stores [slot, repeat] and writes the macro into that slot of the mouse.
    // -1 when the macro does not exist or all twelve slots are in use; kNotSaved, after the
    // user was told, when the macro file could not take its slot.
    static constexpr int kNotSaved = -2;
    int bind(const Codes &current, const QString &name, int repeat);
    // The buttons that play macro `name`, profile by profile; the profile in use counts with
    // both the caller's codes and its stored ones. None when the macro is unbound.
    std::vector<Use> users(const Codes &current, const QString &name) const;
    // Every stored button that plays `name` gets its factory code back; the profile in use
    // then goes to the mouse as APPLY sends it. The macro is unbound. Returns the slot it
    // had, -1 when it had none.
    int unbind(const QString &name);

private:
    int slotOf(const QString &name) const;
    Codes storedCodes(int profile) const;
    // The ten profiles' codes one after another, `current` standing for the profile in use.
    Codes allCodes(const Codes &current) const;
    Codes factoryCodes() const;

    ProfileStore &profiles;
    MacroLibrary &macros;
    MouseOperations &mouse;
};
