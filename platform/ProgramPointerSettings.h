#pragma once
// This program's own pointer settings: Qt's double-click interval and wheel scroll lines.
// They belong to the GUI thread; a call from another thread is handed to it and takes effect
// when the GUI thread next runs its events. False without a QApplication.
namespace programpointer {

bool setDoubleClickInterval(int ms);
bool setWheelScrollLines(int lines);

}  // namespace programpointer
