// W3 Config on the virtual mouse: the same program, with the virtual device in place of the
// USB bus. W3_VIRTUAL_DEVICE=none starts it with nothing plugged in.
#include "app/Startup.h"
#include "virtual/VirtualBus.h"

#include <QByteArray>
#include <QtGlobal>

int main(int argc, char *argv[])
{
    runW3Config(argc, argv, [] {
        vhid::Bus::instance().reset();
        if (qgetenv("W3_VIRTUAL_DEVICE") != "none")
            vhid::Bus::instance().plug(vhid::Model::Mouse);
    });
}
