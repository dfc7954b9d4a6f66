#include "controller/ControllerContext.h"

#include "device/Hid_Thread.h"

uint ControllerContext::deviceId() const
{
    return hidThread ? hidThread->currentDeviceId() : kNoDevice;
}
