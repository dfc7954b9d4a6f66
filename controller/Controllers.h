#pragma once
// The controller concerns, built and wired once: the view's slots and w3ctl's commands go
// through the same objects, in the same arrangement.
#include "controller/ControllerContext.h"

#include <functional>
#include <memory>

class AppConfig;
class Hid_Thread;
class KeyboardOperations;
class KeyNameTable;
class LanguageStore;
class MacroLibrary;
class MacroSlots;
class MouseOperations;
class PointerSettings;
class ProfileStore;
class SystemMouseSettings;

class Controllers {
public:
    using PointerFactory = std::function<std::unique_ptr<PointerSettings>()>;

    Controllers();
    ~Controllers();

    // Where the desktop's pointer settings come from; tests install a fake, an empty factory
    // restores the platform's.
    static void setPointerFactory(PointerFactory factory);

    void setHidThread(Hid_Thread *hid) { context.hidThread = hid; }

    ControllerContext context;
    std::unique_ptr<KeyNameTable> keyNames;
    std::unique_ptr<AppConfig> appConfig;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<LanguageStore> languages;
    std::unique_ptr<MacroLibrary> macros;
    std::unique_ptr<MouseOperations> mouse;
    std::unique_ptr<MacroSlots> macroSlots;
    std::unique_ptr<KeyboardOperations> keyboard;
    std::unique_ptr<PointerSettings> pointer;
    std::unique_ptr<SystemMouseSettings> systemMouse;
};
