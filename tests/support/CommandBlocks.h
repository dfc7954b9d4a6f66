#pragma once
// What the virtual mouse was told to change, read from the bus record.
#include "virtual/VirtualBus.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <vector>

// The plain command blocks that change something on the mouse (no handshake, no query), as
// hex text without the check byte, oldest first.
inline QStringList mouseCommandBlocks()
{
    QStringList blocks;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op != vhid::Op::SendFeature || record.plainBlock.empty() || record.plainBlock[0] == 0x00
            || record.plainBlock[0] >= 0x80)
            continue;
        const QByteArray block(reinterpret_cast<const char *>(record.plainBlock.data()), int(record.plainBlock.size()));
        blocks << block.left(block.size() - 1).toHex(' ');
    }
    return blocks;
}

// The data reports that followed each command block starting with `code`, report IDs removed,
// oldest first (the key matrix of 0x12, for one).
inline std::vector<QByteArray> mouseDataOf(std::uint8_t code)
{
    std::vector<QByteArray> found;
    bool collecting = false;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.model != vhid::Model::Mouse || record.iface != vhid::Interface::Command)
            continue;
        if (record.op == vhid::Op::SendFeature) {
            collecting = !record.plainBlock.empty() && record.plainBlock[0] == code;
            if (collecting)
                found.emplace_back();
        } else if (record.op == vhid::Op::Write && collecting) {
            found.back().append(reinterpret_cast<const char *>(record.bytes.data()) + 1, int(record.bytes.size()) - 1);
        }
    }
    return found;
}
