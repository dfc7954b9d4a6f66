// OpenRGB SDK bytes from a client that owes nothing: the stream reader, fed in two reads split
// where the input's first byte says, and every request body reader on what it frames. Packets
// stay within the fixed maximum, and one stream gives the same events however it is split.
#include "rgbserver/OpenRgbPackets.h"

#include <cstdint>
#include <cstdlib>

using namespace openrgb;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList framed(const QList<QByteArray> &reads)
{
    PacketReader reader;
    QStringList events;
    for (const QByteArray &read : reads) {
        for (const PacketReader::Event &event : reader.feed(read)) {
            if (!event.isPacket) {
                events << refusalText(event.refusal);
                continue;
            }
            const Packet &packet = event.packet;
            require(quint32(packet.payload.size()) <= kMaxPayload);
            require(isKnownPacketId(packet.id));
            events << QString("%1:%2").arg(packet.id).arg(packet.payload.size());
            ModeRequest mode;
            LedRequest leds;
            for (quint32 version = 0; version <= kProtocolVersion; ++version)
                if (readModeRequest(packet.payload, version, mode))
                    require(mode.colors.size() * 4 < packet.payload.size());
            readLedsRequest(packet.payload, leds);
            readZoneLedsRequest(packet.payload, leds);
            readSingleLedRequest(packet.payload, leds);
        }
    }
    return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray stream(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const int split = data[0] % (stream.size() + 1);
    require(framed({stream.left(split), stream.mid(split)}) == framed({stream}));
    return 0;
}
