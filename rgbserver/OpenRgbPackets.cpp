#include "rgbserver/OpenRgbPackets.h"

#include <QtEndian>

namespace openrgb {

namespace {

const QByteArray kMagic("ORGB", 4);
constexpr int kIdOffset = 8;
constexpr int kLengthOffset = 12;
constexpr int kDeviceOffset = 4;
constexpr int kColorSize = 4;  // red, green, blue, one unused byte
// Protocol 3 added the brightness fields to a mode.
constexpr quint32 kBrightnessVersion = 3;

quint32 readU32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

}  // namespace

bool isKnownPacketId(quint32 id)
{
    switch (id) {
    case RequestControllerCount:
    case RequestControllerData:
    case RequestProtocolVersion:
    case SetClientName:
    case DeviceListUpdated:
    case RequestRescanDevices:
    case RequestProfileList:
    case SaveProfile:
    case LoadProfile:
    case DeleteProfile:
    case RequestPluginList:
    case PluginSpecific:
    case ResizeZone:
    case ClearSegments:
    case AddSegment:
    case UpdateLeds:
    case UpdateZoneLeds:
    case UpdateSingleLed:
    case SetCustomMode:
    case UpdateMode:
    case SaveMode:
        return true;
    default:
        return false;
    }
}

QList<PacketReader::Event> PacketReader::feed(const QByteArray &bytes)
{
    QList<Event> events;
    if (stopped)
        return events;
    pending.append(bytes);
    while (!stopped) {
        if (skipping > 0) {
            const int dropped = int(qMin<qint64>(skipping, pending.size()));
            pending.remove(0, dropped);
            skipping -= quint32(dropped);
            if (skipping > 0)
                break;
        }
        if (pending.size() < kHeaderSize) {
            // A header that starts wrong is refused before the rest of it arrives.
            if (!kMagic.startsWith(pending.left(kMagic.size())))
                stopped = true;
            if (stopped)
                events.append({false, {}, Refusal::WrongMagic, 0});
            break;
        }
        if (!pending.startsWith(kMagic)) {
            stopped = true;
            events.append({false, {}, Refusal::WrongMagic, 0});
            break;
        }
        const quint32 id = readU32(pending, kIdOffset);
        const quint32 length = readU32(pending, kLengthOffset);
        if (length > kMaxPayload) {
            stopped = true;
            events.append({false, {}, Refusal::Oversized, id});
            break;
        }
        if (!isKnownPacketId(id)) {
            pending.remove(0, kHeaderSize);
            skipping = length;
            events.append({false, {}, Refusal::UnknownId, id});
            continue;
        }
        if (pending.size() < kHeaderSize + int(length))
            break;
        Packet complete {readU32(pending, kDeviceOffset), id, pending.mid(kHeaderSize, int(length))};
        pending.remove(0, kHeaderSize + int(length));
        events.append({true, complete, {}, 0});
    }
    if (stopped)
        pending.clear();
    return events;
}

QString refusalText(PacketReader::Refusal refusal)
{
    switch (refusal) {
    case PacketReader::Refusal::WrongMagic:
        return QStringLiteral("a packet without the ORGB magic");
    case PacketReader::Refusal::Oversized:
        return QStringLiteral("a packet longer than %1 bytes").arg(kMaxPayload);
    case PacketReader::Refusal::UnknownId:
        return QStringLiteral("a packet of an unknown id");
    }
    return {};
}

QByteArray packet(quint32 device, quint32 id, const QByteArray &payload)
{
    QByteArray out = kMagic;
    out.append(BodyWriter().u32(device).u32(id).u32(quint32(payload.size())).bytes());
    out.append(payload);
    return out;
}

BodyWriter &BodyWriter::u16(quint16 value)
{
    char raw[sizeof value];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof raw);
    return *this;
}

BodyWriter &BodyWriter::u32(quint32 value)
{
    char raw[sizeof value];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof raw);
    return *this;
}

BodyWriter &BodyWriter::text(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    u16(quint16(utf8.size() + 1));
    out.append(utf8);
    out.append('\0');
    return *this;
}

BodyWriter &BodyWriter::color(const Color &value)
{
    out.append(char(value.red));
    out.append(char(value.green));
    out.append(char(value.blue));
    out.append('\0');
    return *this;
}

BodyWriter &BodyWriter::colors(const QList<Color> &values)
{
    u16(quint16(values.size()));
    for (const Color &value : values)
        color(value);
    return *this;
}

QByteArray BodyWriter::sized() const
{
    return BodyWriter().u32(quint32(out.size() + sizeof(quint32))).bytes() + out;
}

bool BodyReader::take(int count, const char *&data)
{
    if (!good || count < 0 || count > remaining()) {
        good = false;
        return false;
    }
    data = body.constData() + position;
    position += count;
    return true;
}

bool BodyReader::u16(quint16 &value)
{
    const char *data = nullptr;
    if (!take(sizeof value, data))
        return false;
    value = qFromLittleEndian<quint16>(data);
    return true;
}

bool BodyReader::u32(quint32 &value)
{
    const char *data = nullptr;
    if (!take(sizeof value, data))
        return false;
    value = qFromLittleEndian<quint32>(data);
    return true;
}

bool BodyReader::text(QString &value)
{
    quint16 length = 0;
    const char *data = nullptr;
    if (!u16(length) || !take(length, data))
        return false;
    const int withoutZero = length > 0 && data[length - 1] == '\0' ? length - 1 : length;
    value = QString::fromUtf8(data, withoutZero);
    return true;
}

bool BodyReader::color(Color &value)
{
    const char *data = nullptr;
    if (!take(kColorSize, data))
        return false;
    value = {quint8(data[0]), quint8(data[1]), quint8(data[2])};
    return true;
}

bool BodyReader::colors(QList<Color> &values)
{
    quint16 count = 0;
    if (!u16(count))
        return false;
    if (int(count) * kColorSize > remaining()) {
        good = false;
        return false;
    }
    values.clear();
    values.reserve(count);
    Color value;
    for (int i = 0; i < count && color(value); ++i)
        values.append(value);
    return good;
}

bool BodyReader::skip(int count)
{
    const char *data = nullptr;
    return take(count, data);
}

bool readModeRequest(const QByteArray &payload, quint32 protocolVersion, ModeRequest &request)
{
    BodyReader body(payload);
    quint32 ignored = 0;
    QString name;
    const bool withBrightness = protocolVersion >= kBrightnessVersion;
    // size, index, name, value, flags, speed min and max
    body.u32(ignored);
    body.u32(request.index);
    body.text(name);
    body.u32(ignored);
    body.u32(ignored);
    body.u32(ignored);
    body.u32(ignored);
    if (withBrightness) {
        body.u32(ignored);
        body.u32(ignored);
    }
    // colours min and max, speed, brightness, direction, colour mode, colours
    body.u32(ignored);
    body.u32(ignored);
    body.u32(request.speed);
    if (withBrightness)
        body.u32(request.brightness);
    request.hasBrightness = withBrightness;
    body.u32(ignored);
    body.u32(request.colorMode);
    body.colors(request.colors);
    return body.ok();
}

bool readLedsRequest(const QByteArray &payload, LedRequest &request)
{
    BodyReader body(payload);
    quint32 size = 0;
    body.u32(size);
    body.colors(request.colors);
    request.zone = 0;
    request.firstLed = 0;
    return body.ok();
}

bool readZoneLedsRequest(const QByteArray &payload, LedRequest &request)
{
    BodyReader body(payload);
    quint32 size = 0;
    body.u32(size);
    body.u32(request.zone);
    body.colors(request.colors);
    request.firstLed = 0;
    return body.ok();
}

bool readSingleLedRequest(const QByteArray &payload, LedRequest &request)
{
    BodyReader body(payload);
    Color value;
    body.u32(request.firstLed);
    body.color(value);
    request.colors = {value};
    return body.ok();
}

}  // namespace openrgb
