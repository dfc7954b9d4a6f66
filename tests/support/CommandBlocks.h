#pragma once
// What the virtual mouse was told to change, read from the bus record.
#include "virtual/VirtualBus.h"

#include <QByteArray>
#include <QStringList>

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
