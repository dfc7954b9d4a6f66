// w3ctl on the virtual mouse: the same program, with the virtual device in place of the USB
// bus. W3_VIRTUAL_DEVICE=none runs it with nothing plugged in; W3_VIRTUAL_WIRE_LOG names a
// file that gets what crosses the virtual bus (virtual/WireLog.h).
#include "cli/W3ctl.h"
#include "virtual/VirtualBus.h"
#include "virtual/WireLog.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdio>

int main(int argc, char *argv[])
{
    return w3ctlMain(argc, argv, [] {
        vhid::Bus::instance().reset();
        if (qgetenv("W3_VIRTUAL_DEVICE") != "none")
            vhid::Bus::instance().plug(vhid::Model::Mouse);
        if (!vhid::logWireFromEnvironment())
            std::fprintf(stderr, "cannot write the wire log %s\n", qgetenv("W3_VIRTUAL_WIRE_LOG").constData());
    });
}
