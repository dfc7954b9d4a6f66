#pragma once
// The framing of OpenRGB's network SDK: a 16-byte header (the magic "ORGB", the controller
// index, the packet id and the length of what follows, little-endian) and the bodies this
// server reads and writes. Pure functions and a stream reader, no sockets: the server and the
// fuzz target drive the same code.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace openrgb {

// The newest protocol this server speaks; a client asking for less gets what it asks for.
constexpr quint32 kProtocolVersion = 5;
constexpr int kHeaderSize = 16;
// No request of this server's protocol comes near it: a longer one is refused, not buffered.
constexpr quint32 kMaxPayload = 64 * 1024;

enum PacketId : quint32 {
    RequestControllerCount = 0,
    RequestControllerData = 1,
    RequestProtocolVersion = 40,
    SetClientName = 50,
    DeviceListUpdated = 100,
    RequestRescanDevices = 140,
    RequestProfileList = 150,
    SaveProfile = 151,
    LoadProfile = 152,
    DeleteProfile = 153,
    RequestPluginList = 200,
    PluginSpecific = 201,
    ResizeZone = 1000,
    ClearSegments = 1001,
    AddSegment = 1002,
    UpdateLeds = 1050,
    UpdateZoneLeds = 1051,
    UpdateSingleLed = 1052,
    SetCustomMode = 1100,
    UpdateMode = 1101,
    SaveMode = 1102,
};

bool isKnownPacketId(quint32 id);

struct Packet {
    quint32 device = 0;
    quint32 id = 0;
    QByteArray payload;
};

// Turns a byte stream into packets. A wrong magic or an oversized length leaves the stream
// without a trustworthy boundary: the reader stops there for good. A packet of an unknown id
// is skipped, its payload counted off without being kept.
class PacketReader {
public:
    enum class Refusal { WrongMagic, Oversized, UnknownId };
    struct Event {
        bool isPacket = true;
        Packet packet;  // when isPacket
        Refusal refusal {};  // otherwise
        quint32 refusedId = 0;  // the id of an UnknownId refusal
    };

    // What the bytes completed, in stream order.
    QList<Event> feed(const QByteArray &bytes);
    // A WrongMagic or Oversized refusal happened: nothing more is read.
    bool broken() const { return stopped; }

private:
    QByteArray pending;
    quint32 skipping = 0;
    bool stopped = false;
};

QString refusalText(PacketReader::Refusal refusal);

// A whole packet: header and payload.
QByteArray packet(quint32 device, quint32 id, const QByteArray &payload = {});

struct Color {
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    bool operator==(const Color &other) const { return red == other.red && green == other.green && blue == other.blue; }
};

// Little-endian fields as the SDK lays them out.
class BodyWriter {
public:
    BodyWriter &u16(quint16 value);
    BodyWriter &u32(quint32 value);
    // Length with the terminating zero, the bytes, the zero.
    BodyWriter &text(const QString &value);
    BodyWriter &color(const Color &value);
    BodyWriter &colors(const QList<Color> &values);
    QByteArray bytes() const { return out; }
    // The bytes behind their own total length, as the SDK's longer bodies start.
    QByteArray sized() const;

private:
    QByteArray out;
};

// Reads fields from a body; past the end every read fails and ok() stays false.
class BodyReader {
public:
    explicit BodyReader(const QByteArray &body)
        : body(body)
    {
    }
    bool u16(quint16 &value);
    bool u32(quint32 &value);
    bool text(QString &value);
    bool color(Color &value);
    // A count of 16 bits, then that many colours; a count beyond the body fails before
    // anything is reserved.
    bool colors(QList<Color> &values);
    bool skip(int count);
    bool ok() const { return good; }
    int remaining() const { return body.size() - position; }

private:
    bool take(int count, const char *&data);

    const QByteArray &body;
    int position = 0;
    bool good = true;
};

// A mode as a client sends it with UpdateMode and SaveMode: the fields this server acts on.
struct ModeRequest {
    quint32 index = 0;
    quint32 speed = 0;
    quint32 brightness = 0;
    quint32 colorMode = 0;
    QList<Color> colors;
    bool hasBrightness = false;  // protocol 3 and later send it
};
bool readModeRequest(const QByteArray &payload, quint32 protocolVersion, ModeRequest &request);

// UpdateLeds: all colours; UpdateZoneLeds: a zone's colours; UpdateSingleLed: one LED's.
struct LedRequest {
    quint32 zone = 0;
    quint32 firstLed = 0;
    QList<Color> colors;
};
bool readLedsRequest(const QByteArray &payload, LedRequest &request);
bool readZoneLedsRequest(const QByteArray &payload, LedRequest &request);
bool readSingleLedRequest(const QByteArray &payload, LedRequest &request);

}  // namespace openrgb
