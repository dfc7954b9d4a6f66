#include "actions/KeyActions.h"

#include "controller/Controllers.h"
#include "controller/MacroSlots.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

namespace {

constexpr int kStoredCodeLength = 4;

QVariantList matrixOf(const KeyCodeLogic::KeyCodes &codes)
{
    QVariantList matrix;
    for (int byte : KeyCodeLogic::keyMatrix(codes))
        matrix << byte;
    return matrix;
}

QVariantList toVariants(const KeyCodeLogic::KeyCodes &codes)
{
    QVariantList list;
    for (const KeyCodeLogic::KeyCode &code : codes)
        list << QVariant(KeyCodeLogic::toVariant(code));
    return list;
}

}  // namespace

KeyActions::KeyActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent)
    : QObject(parent),
      controllers(controllers),
      mouseHolds(mouseHolds),
      factory(KeyCodeLogic::builtInDefaults()),
      shown(factory),
      held(factory)
{
}

void KeyActions::start()
{
    factory = KeyCodeLogic::defaultsFromValues(controllers.profiles->loadDefaultProfile(ProfileStore::KeyPage));
    shown = factory;
    for (int button = 0; button < KeyCodeLogic::kButtonCount; ++button) {
        const QVariantList stored = controllers.mouse->getKeydefine(button);
        if (stored.size() >= kStoredCodeLength)
            shown[size_t(button)] = KeyCodeLogic::codeFromVariant(stored);
    }
    emit codesChanged();
    setScrollSwap(controllers.mouse->getScrollPinSwap());
    markHeld();
    updatePending();
    emit codesReplaced();
}

void KeyActions::reset()
{
    shown = factory;
    controllers.macroSlots->releaseUnused(shown);
    emit codesChanged();
    updatePending();
    emit codesReplaced();
}

void KeyActions::apply() { apply(HeldProfile::Sending::Everything); }

void KeyActions::apply(HeldProfile::Sending sending)
{
    const int profile = controllers.profiles->currentProfile();
    if (mouseHolds.needs(sending, HeldProfile::WheelDirection, profile, swap))
        sendWheelDirection();
    if (mouseHolds.needs(sending, HeldProfile::Buttons, profile, matrixOf(shown)))
        sendMatrix();
    markHeld();
    updatePending();
}

void KeyActions::claimHeldGroups(int profile)
{
    mouseHolds.claim(HeldProfile::WheelDirection, profile, heldSwap);
    mouseHolds.claim(HeldProfile::Buttons, profile, matrixOf(held));
}

void KeyActions::sendWheelDirection()
{
    if (controllers.mouse->setScrollPinSwap(swap))
        mouseHolds.sent(HeldProfile::WheelDirection, controllers.profiles->currentProfile(), swap);
}

void KeyActions::sendMatrix()
{
    const QVariantList matrix = matrixOf(shown);
    controllers.mouse->ui_12H_SetKeyMatrix(matrix);
    mouseHolds.sent(HeldProfile::Buttons, controllers.profiles->currentProfile(), matrix);
}

void KeyActions::assign(int button, const Code &code)
{
    if (!isButton(button))
        return;
    setCode(button, code);
    controllers.macroSlots->releaseUnused(shown);
}

void KeyActions::assign(int button, const QVariantList &code) { assign(button, KeyCodeLogic::codeFromVariant(code)); }

void KeyActions::restore(int button)
{
    if (isButton(button))
        assign(button, factory[size_t(button)]);
}

int KeyActions::assignMacro(int button, const QString &name, int playMode, int repeat)
{
    if (!isButton(button))
        return -1;
    // The slot the button gives up is free before a new one is chosen.
    setCode(button, KeyCodeLogic::noCode());
    const int slot = controllers.macroSlots->bind(shown, name, repeat);
    if (slot >= 0)
        setCode(button, KeyCodeLogic::macroCode(playMode, slot));
    return slot;
}

void KeyActions::forgetMacroSlot(int slot)
{
    bool changed = false;
    for (size_t button = 0; button < shown.size(); ++button) {
        if (KeyCodeLogic::macroSlotOf(shown[button]) == slot) {
            shown[button] = factory[button];
            changed = true;
        }
    }
    if (!changed)
        return;
    emit codesChanged();
    updatePending();
    emit codesReplaced();
}

void KeyActions::setScrollSwap(bool swapped)
{
    if (swap == swapped)
        return;
    swap = swapped;
    emit scrollSwapChanged();
    updatePending();
}

QVariantList KeyActions::codesVariant() const { return toVariants(shown); }
QVariantList KeyActions::defaultCodesVariant() const { return toVariants(factory); }

void KeyActions::setCode(int button, const Code &code)
{
    if (shown[size_t(button)] == code)
        return;
    shown[size_t(button)] = code;
    emit codesChanged();
    updatePending();
}

void KeyActions::markHeld()
{
    held = shown;
    heldSwap = swap;
}

void KeyActions::updatePending()
{
    if (pending() == announcedPending)
        return;
    announcedPending = pending();
    emit pendingChanged();
}
