#pragma once
// Desktop-wide key and mouse button capture, and the text channel between program windows.
// One process-wide component; every callback runs on the GUI thread. Nothing is consumed.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QCoreApplication;
class QWidget;

// A tagged text travelling over the channel (dwData, cbData = bytes.size(), lpData).
struct CopyData {
    quintptr dwData = 0;
    QByteArray bytes;
};

using KeyCallback = void (*)(uchar usage, bool pressed, void *context);
using MouseCallback = void (*)(uchar code, bool pressed, int x, int y, void *context);
using CopyDataHandler = void (*)(const CopyData *data, void *context);

namespace InputCapture {

// Remembers the ISO flag, rebuilds the key tables and starts the desktop-wide sources;
// false when no source could be started (the program goes on without capture).
bool start(bool isoFlag);
void stop();
// The source in use ("X11 RECORD", "evdev devices", "own window events only"); empty when
// stopped or when none could start.
QString sourceName();
// Whether keys pressed in other programs' windows are captured too; false when only the
// program's own window reports them (Wayland without readable input devices) or when stopped.
bool seesWholeDesktop();

// Each replaces the pair registered before. Before registration events pass unreported.
void setKeyCallback(KeyCallback callback, void *context);
void setMouseCallback(MouseCallback callback, void *context);
// Every text that reaches one of the program's windows goes to the handler.
void setCopyDataHandler(CopyDataHandler handler, QCoreApplication *app, void *context);

// Hands the text to the top-level window with exactly this title, in this process or
// another; returns after the receiver handled it. Nothing is sent when no window carries the
// title or when the window found is `skip`.
void sendText(const QString &windowTitle, const CopyData &data, QWidget *skip = nullptr);

}  // namespace InputCapture
