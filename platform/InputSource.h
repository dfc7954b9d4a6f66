#pragma once
// A desktop-wide source of raw key and pointer button events, behind one thin interface so
// that each operating system's back end can sit beside the others. Events arrive on the GUI
// thread; a source only watches and never consumes an event.
#include <QString>
#include <functional>
#include <memory>

enum class PointerButton { Left, Right, Middle };

class InputSource {
public:
    // Keys are Linux input key codes (KEY_A = 30; an X11 keycode is this code + 8). A Windows
    // hook would translate its scan-code set 1 positions into the same codes.
    using KeyHandler = std::function<void(int linuxKey, bool pressed)>;
    // Position in screen (root window) coordinates at the time of the event.
    using ButtonHandler = std::function<void(PointerButton button, bool pressed, int x, int y)>;

    struct Handlers {
        KeyHandler key;
        ButtonHandler button;
    };

    virtual ~InputSource() = default;
    // Short description for the debug output, e.g. "X11 RECORD".
    virtual QString name() const = 0;
    // Whether keys pressed in other programs' windows arrive too.
    virtual bool seesWholeDesktop() const { return true; }

    // The best source this session offers: the X11 RECORD extension, else the readable
    // /dev/input event devices, else the program's own windows. Null when none can start.
    // The handlers must not destroy the source from inside a call.
    static std::unique_ptr<InputSource> create(const Handlers &handlers);
};
