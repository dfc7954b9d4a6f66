#pragma once
// The key page's rules: the sixteen codes the page shows against those the profile holds, the
// wheel direction box, and what APPLY sends. The window's page and w3ctl's `button` command
// both change buttons through here, so both send the same commands in the same order.
#include "actions/HeldProfile.h"
#include "scenelogic/KeyCodeLogic.h"

#include <QObject>
#include <QVariantList>

class Controllers;

class KeyActions : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariantList codes READ codesVariant NOTIFY codesChanged)
    Q_PROPERTY(QVariantList defaultCodes READ defaultCodesVariant NOTIFY codesChanged)
    Q_PROPERTY(bool scrollSwap READ scrollSwap WRITE setScrollSwap NOTIFY scrollSwapChanged)
    // The codes or the wheel direction shown differ from what the profile holds (as read or
    // last applied).
    Q_PROPERTY(bool pending READ pending NOTIFY pendingChanged)

public:
    using Codes = KeyCodeLogic::KeyCodes;
    using Code = KeyCodeLogic::KeyCode;

    KeyActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent = nullptr);

    // The profile's codes; a button the profile lacks keeps its factory code. Nothing pending.
    Q_INVOKABLE void start();
    Q_INVOKABLE void refresh() { start(); }
    Q_INVOKABLE void discard() { start(); }
    // Every button back to its factory code; macros no button plays any more are unbound.
    Q_INVOKABLE void reset();
    // The wheel direction box, then the key matrix; what is shown is then what the profile holds.
    Q_INVOKABLE void apply();
    // As apply(), or leaving out the wheel direction or the matrix the mouse holds already.
    void apply(HeldProfile::Sending sending);

    // Gives `button` the code; a macro the button gave up and no one plays is unbound.
    void assign(int button, const Code &code);
    Q_INVOKABLE void assign(int button, const QVariantList &code);
    Q_INVOKABLE void restore(int button);
    // The button plays macro `name`: its own slot or the lowest free one. The button is left
    // without a function when no slot can be had; returns what MacroSlots::bind returned.
    Q_INVOKABLE int assignMacro(int button, const QString &name, int playMode, int repeat);
    // A deleted macro's slot: the buttons that played it get their factory code back.
    Q_INVOKABLE void forgetMacroSlot(int slot);

    const Codes &codes() const { return shown; }
    const Codes &defaults() const { return factory; }
    bool scrollSwap() const { return swap; }
    void setScrollSwap(bool swapped);
    // The wheel direction and the matrix count as sent from `profile` where the mouse holds
    // what the profile holds (as read or last applied).
    void claimHeldGroups(int profile);
    bool pending() const { return shown != held || swap != heldSwap; }

signals:
    void codesChanged();
    void scrollSwapChanged();
    void pendingChanged();
    // The codes were read or reset as a whole, or a deleted macro's buttons were given their
    // factory code: a view shows the selected button again.
    void codesReplaced();

private:
    QVariantList codesVariant() const;
    QVariantList defaultCodesVariant() const;
    void setCode(int button, const Code &code);
    void markHeld();
    void sendWheelDirection();
    void sendMatrix();
    // Emits pendingChanged when pending() differs from what was last announced.
    void updatePending();
    bool isButton(int button) const { return button >= 0 && button < KeyCodeLogic::kButtonCount; }

    Controllers &controllers;
    HeldProfile &mouseHolds;
    Codes factory;
    Codes shown;
    Codes held;
    bool swap = false;
    bool heldSwap = false;
    bool announcedPending = false;
};
