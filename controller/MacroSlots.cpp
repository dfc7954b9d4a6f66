#include "controller/MacroSlots.h"

#include "controller/MacroLibrary.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

#include <QSettings>

namespace {

constexpr int kKeyCodeLength = 4;
const QVariantList kUnbound{-1, 1};

QString macroName(const QString &fileName)
{
    return fileName.chopped(4);  // ".bin"
}

QVariantList matrixOf(const KeyCodeLogic::KeyCodes &codes)
{
    QVariantList matrix;
    for (int byte : KeyCodeLogic::keyMatrix(codes))
        matrix << byte;
    return matrix;
}

}  // namespace

MacroSlots::MacroSlots(ProfileStore &profiles, MacroLibrary &macros, MouseOperations &mouse)
    : profiles(profiles), macros(macros), mouse(mouse)
{
}

int MacroSlots::slotOf(const QString &name) const
{
    const QVariantList config = macros.loadMacroIniConfig(name);
    return config.isEmpty() ? -1 : config.at(0).toInt();
}

KeyCodeLogic::KeyCodes MacroSlots::factoryCodes() const
{
    return KeyCodeLogic::defaultsFromValues(profiles.loadDefaultProfile(ProfileStore::KeyPage));
}

// As the key page loads a profile: a button the profile lacks has its factory code.
KeyCodeLogic::KeyCodes MacroSlots::storedCodes(int profile) const
{
    Codes codes = factoryCodes();
    const QSettings *settings = profiles.profile(profile);
    for (int button = 0; settings && button < KeyCodeLogic::kButtonCount; ++button) {
        const QVariantList stored = ProfileStore::storedList(*settings, MouseOperations::buttonKey(button));
        if (stored.size() == kKeyCodeLength)
            codes[size_t(button)] = KeyCodeLogic::codeFromVariant(stored);
    }
    return codes;
}

KeyCodeLogic::KeyCodes MacroSlots::allCodes(const Codes &current) const
{
    Codes all;
    for (int profile = 0; profile < ProfileStore::kProfileCount; ++profile) {
        const Codes codes = profile == profiles.currentProfile() ? current : storedCodes(profile);
        all.insert(all.end(), codes.begin(), codes.end());
    }
    return all;
}

void MacroSlots::releaseUnused(const Codes &current)
{
    const Codes all = allCodes(current);
    for (const QString &file : macros.getMacroIniNames()) {
        const QString name = macroName(file);
        const int slot = slotOf(name);
        if (slot >= 0 && !KeyCodeLogic::isSlotUsed(all, slot))
            macros.setMacroIniConfig(name, kUnbound);
    }
}

int MacroSlots::bind(const Codes &current, const QString &name, int repeat)
{
    // A slot nobody plays any more is free before a new one is chosen, so two macro files
    // never claim the same slot.
    releaseUnused(current);
    const QVariantList config = macros.loadMacroIniConfig(name);
    if (config.size() < 2)
        return -1;
    int slot = config.at(0).toInt();
    if (slot < 0 || slot >= KeyCodeLogic::kMacroSlotCount)
        slot = KeyCodeLogic::freeMacroSlot(allCodes(current));
    if (slot < 0)
        return -1;
    if (!macros.setMacroIniConfig(name, {slot, repeat}))
        return kNotSaved;
    macros.ui_13H_SetMacroKey(slot + 1, name);
    return slot;
}

std::vector<MacroSlots::Use> MacroSlots::users(const Codes &current, const QString &name) const
{
    std::vector<Use> found;
    const int slot = slotOf(name);
    if (slot < 0)
        return found;
    for (int profile = 0; profile < ProfileStore::kProfileCount; ++profile) {
        const Codes stored = storedCodes(profile);
        const bool inUse = profile == profiles.currentProfile();
        for (int button = 0; button < KeyCodeLogic::kButtonCount; ++button) {
            const bool held = inUse && size_t(button) < current.size()
                              && KeyCodeLogic::macroSlotOf(current[size_t(button)]) == slot;
            const bool plays = held || KeyCodeLogic::macroSlotOf(stored[size_t(button)]) == slot;
            if (plays)
                found.push_back({profile, button});
        }
    }
    return found;
}

int MacroSlots::unbind(const QString &name)
{
    const int slot = slotOf(name);
    if (slot < 0)
        return -1;
    const Codes factory = factoryCodes();
    for (int profile = 0; profile < ProfileStore::kProfileCount; ++profile) {
        Codes codes = storedCodes(profile);
        std::vector<int> reset;
        for (int button = 0; button < KeyCodeLogic::kButtonCount; ++button) {
            if (KeyCodeLogic::macroSlotOf(codes[size_t(button)]) == slot) {
                codes[size_t(button)] = factory[size_t(button)];
                reset.push_back(button);
            }
        }
        if (reset.empty())
            continue;
        if (profile == profiles.currentProfile()) {
            mouse.ui_12H_SetKeyMatrix(matrixOf(codes));
            continue;
        }
        QSettings *settings = profiles.profile(profile);
        for (int button : reset)
            settings->setValue(MouseOperations::buttonKey(button), KeyCodeLogic::toVariant(codes[size_t(button)]));
    }
    macros.setMacroIniConfig(name, kUnbound);
    profiles.flush();
    return slot;
}
