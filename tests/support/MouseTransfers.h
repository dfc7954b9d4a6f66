#pragma once
// The transfers the virtual mouse saw on its command interface, read from the bus record.
#include "virtual/VirtualBus.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

// The plain command block of a feature report and the data reports that followed it on the
// command interface, report IDs removed.
struct Transfer {
    std::vector<std::uint8_t> block;
    QByteArray data;
};

// Every transfer of the mouse whose command block starts with `code`, oldest first.
inline std::vector<Transfer> mouseTransfers(std::uint8_t code)
{
    std::vector<Transfer> found;
    bool collecting = false;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.model != vhid::Model::Mouse || record.iface != vhid::Interface::Command)
            continue;
        if (record.op == vhid::Op::SendFeature) {
            collecting = !record.plainBlock.empty() && record.plainBlock[0] == code;
            if (collecting)
                found.push_back({record.plainBlock, {}});
        } else if (record.op == vhid::Op::Write && collecting) {
            found.back().data.append(reinterpret_cast<const char *>(record.bytes.data()) + 1,
                                     int(record.bytes.size()) - 1);
        }
    }
    return found;
}
