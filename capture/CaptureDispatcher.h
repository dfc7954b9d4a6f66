#pragma once
// Turns raw key and button events into the capture's reports: keys become usage codes and
// pass the key state table, buttons become the mouse button codes; each report goes to the
// registered callback. The state table follows every key event, registered callback or not.
#include "capture/InputCapture.h"
#include "capture/KeyStateTable.h"
#include "capture/KeyUsageTable.h"
#include "platform/InputSource.h"

class CaptureDispatcher {
public:
    // The button codes of the key assignment codes.
    static constexpr uchar kLeftButtonCode = 0xF0;
    static constexpr uchar kRightButtonCode = 0xF1;
    static constexpr uchar kMiddleButtonCode = 0xF2;

    // Rebuilds the usage table; the key states are kept.
    void setIsoKeyboard(bool isoKeyboard) { usages_ = KeyUsageTable(isoKeyboard); }

    void setKeyCallback(KeyCallback callback, void *context);
    void setMouseCallback(MouseCallback callback, void *context);

    void onKey(int linuxKey, bool pressed);
    void onButton(PointerButton button, bool pressed, int x, int y);

private:
    KeyUsageTable usages_;
    KeyStateTable states_;
    KeyCallback keyCallback_ = nullptr;
    void *keyContext_ = nullptr;
    MouseCallback mouseCallback_ = nullptr;
    void *mouseContext_ = nullptr;
};
