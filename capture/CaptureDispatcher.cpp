#include "capture/CaptureDispatcher.h"

namespace {

uchar buttonCode(PointerButton button)
{
    switch (button) {
    case PointerButton::Left: return CaptureDispatcher::kLeftButtonCode;
    case PointerButton::Right: return CaptureDispatcher::kRightButtonCode;
    case PointerButton::Middle: return CaptureDispatcher::kMiddleButtonCode;
    }
    return 0;
}

}  // namespace

void CaptureDispatcher::setKeyCallback(KeyCallback callback, void *context)
{
    keyCallback_ = callback;
    keyContext_ = context;
}

void CaptureDispatcher::setMouseCallback(MouseCallback callback, void *context)
{
    mouseCallback_ = callback;
    mouseContext_ = context;
}

void CaptureDispatcher::onKey(int linuxKey, bool pressed)
{
    const uchar usage = usages_.usage(linuxKey);
    if (usage == 0 || !states_.change(usage, pressed))
        return;
    if (keyCallback_)
        keyCallback_(usage, pressed, keyContext_);
}

void CaptureDispatcher::onButton(PointerButton button, bool pressed, int x, int y)
{
    // No state table for the buttons: every press and release is reported.
    const uchar code = buttonCode(button);
    if (code != 0 && mouseCallback_)
        mouseCallback_(code, pressed, x, y, mouseContext_);
}
