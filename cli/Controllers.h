#pragma once
// The window's controller concerns, built and wired as the view builds them, without a view:
// every setting w3ctl changes goes through the same classes as the scene's slots.
#include "controller/ControllerContext.h"

#include <QStringList>
#include <functional>
#include <memory>

class AppConfig;
class Hid_Thread;
class KeyboardOperations;
class KeyNameTable;
class LanguageStore;
class MacroLibrary;
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
    // Loads the language the window uses, as the scene does at start: the message list, and
    // the check whose failure keeps the mouse untouched.
    void loadLanguage();
    // The product's 16 button names in the window's language ("" for buttons it lacks), and
    // in English for the command line.
    QStringList buttonNames() const;
    QStringList englishButtonNames() const;

    ControllerContext context;
    std::unique_ptr<KeyNameTable> keyNames;
    std::unique_ptr<AppConfig> appConfig;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<LanguageStore> languages;
    std::unique_ptr<MacroLibrary> macros;
    std::unique_ptr<MouseOperations> mouse;
    std::unique_ptr<KeyboardOperations> keyboard;
    std::unique_ptr<PointerSettings> pointer;
    std::unique_ptr<SystemMouseSettings> systemMouse;

private:
    QString languageCode() const;
};
