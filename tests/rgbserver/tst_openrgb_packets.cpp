// The SDK's packet framing as a stream reader sees it, the request bodies, and the mouse's
// controller as each protocol version lays it out and as mode requests change it.
#include "rgbserver/MouseController.h"
#include "rgbserver/OpenRgbPackets.h"

#include <QtTest>

using namespace openrgb;

namespace {

QByteArray u32(quint32 value)
{
    return BodyWriter().u32(value).bytes();
}

// The events of a stream as text: "packet ID:SIZE" or "refused REASON".
QStringList eventsOf(PacketReader &reader, const QList<QByteArray> &reads)
{
    QStringList seen;
    for (const QByteArray &read : reads)
        for (const PacketReader::Event &event : reader.feed(read))
            seen << (event.isPacket ? QString("packet %1:%2").arg(event.packet.id).arg(event.packet.payload.size())
                                    : "refused " + refusalText(event.refusal));
    return seen;
}

LightState pageState()
{
    return {2, 7, 4, true,
        {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 0}, {255, 255, 255},
            {255, 127, 0}},
        8};
}

}  // namespace

class TestOpenRgbPackets : public QObject {
    Q_OBJECT

private slots:
    void theReaderFramesTheStream_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("broken");
        const QByteArray version = packet(0, RequestProtocolVersion, u32(5));
        const QByteArray count = packet(0, RequestControllerCount);
        const QString wrongMagic = "refused " + refusalText(PacketReader::Refusal::WrongMagic);
        const QString oversized = "refused " + refusalText(PacketReader::Refusal::Oversized);
        const QString unknown = "refused " + refusalText(PacketReader::Refusal::UnknownId);
        QTest::newRow("one packet") << QList<QByteArray> {version} << QStringList {"packet 40:4"} << false;
        QTest::newRow("a packet without payload") << QList<QByteArray> {count} << QStringList {"packet 0:0"} << false;
        QTest::newRow("split across reads, header too")
            << QList<QByteArray> {version.left(3), version.mid(3, 10), version.mid(13)} << QStringList {"packet 40:4"}
            << false;
        QTest::newRow("several in one read") << QList<QByteArray> {version + count + version}
                                             << QStringList {"packet 40:4", "packet 0:0", "packet 40:4"} << false;
        QTest::newRow("wrong magic") << QList<QByteArray> {"ORGX" + version.mid(4) + count} << QStringList {wrongMagic}
                                     << true;
        QTest::newRow("wrong magic told before the header is whole")
            << QList<QByteArray> {QByteArray("OX")} << QStringList {wrongMagic} << true;
        QTest::newRow("a length beyond the maximum, nothing buffered for it")
            << QList<QByteArray> {version.left(12) + u32(kMaxPayload + 1) + count} << QStringList {oversized} << true;
        QTest::newRow("the largest length is taken")
            << QList<QByteArray> {packet(0, SetClientName, QByteArray(int(kMaxPayload), 'a'))}
            << QStringList {QString("packet 50:%1").arg(kMaxPayload)} << false;
        QTest::newRow("unknown id: its payload skipped, the next packet read")
            << QList<QByteArray> {packet(0, 77, QByteArray(9, 'x')).left(20), QByteArray(5, 'x') + count}
            << QStringList {unknown, "packet 0:0"} << false;
        QTest::newRow("nothing after a refusal")
            << QList<QByteArray> {QByteArray("xxxx"), count} << QStringList {wrongMagic} << true;
    }
    void theReaderFramesTheStream()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QStringList, events);
        QFETCH(bool, broken);
        PacketReader reader;
        QCOMPARE(eventsOf(reader, reads), events);
        QCOMPARE(reader.broken(), broken);
    }

    void requestBodies_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<quint32>("protocol");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("colors");
        BodyWriter mode;
        mode.u32(9)
            .text("Spotlight")
            .u32(10)
            .u32(0)
            .u32(0)
            .u32(7)
            .u32(0)
            .u32(7)
            .u32(1)
            .u32(8)
            .u32(6)
            .u32(5)
            .u32(0)
            .u32(2);
        const QByteArray modeV3 = BodyWriter(mode).colors({{1, 2, 3}, {4, 5, 6}}).sized();
        QTest::newRow("mode, protocol 3") << modeV3 << 3u << true << 2;
        QTest::newRow("mode cut short") << modeV3.left(modeV3.size() - 3) << 3u << false << 0;
        BodyWriter huge(mode);
        huge.u16(0xffff).color({1, 2, 3});
        QTest::newRow("a colour count beyond the body") << huge.sized() << 3u << false << 0;
        QTest::newRow("an empty body") << QByteArray() << 5u << false << 0;
    }
    void requestBodies()
    {
        QFETCH(QByteArray, payload);
        QFETCH(quint32, protocol);
        QFETCH(bool, accepted);
        QFETCH(int, colors);
        ModeRequest request;
        QCOMPARE(readModeRequest(payload, protocol, request), accepted);
        if (!accepted)
            return;
        QCOMPARE(request.index, 9u);
        QCOMPARE(request.speed, 6u);
        QCOMPARE(request.brightness, 5u);
        QCOMPARE(request.colors.size(), colors);
    }

    // What a request does to the page's state: the steps an effect does not use stay.
    void modeRequests_data()
    {
        QTest::addColumn<quint32>("mode");
        QTest::addColumn<QList<int>>("expected");  // position, brightness, speed, on, first red
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Spotlight: speed, brightness and colours") << 9u << QList<int> {9, 5, 6, 1, 9} << true;
        QTest::newRow("Gliding: none of them") << 5u << QList<int> {5, 7, 4, 1, 255} << true;
        QTest::newRow("Neon: the speed alone") << 3u << QList<int> {3, 7, 6, 1, 255} << true;
        QTest::newRow("Off keeps the effect") << 10u << QList<int> {2, 7, 4, 0, 255} << true;
        QTest::newRow("no such mode") << 11u << QList<int> {2, 7, 4, 1, 255} << false;
    }
    void modeRequests()
    {
        QFETCH(quint32, mode);
        QFETCH(QList<int>, expected);
        QFETCH(bool, accepted);
        LightState state = pageState();
        ModeRequest request {mode, 6, 5, 2, {{9, 9, 9}}, true};
        QCOMPARE(MouseController::applyMode(state, request), accepted);
        QCOMPARE((QList<int> {state.position, state.brightness, state.speed, int(state.on), state.palette.first().red}),
            expected);
    }

    // Each version's layout, read back field by field up to the mode list.
    void theControllerPerProtocol_data()
    {
        QTest::addColumn<quint32>("protocol");
        QTest::addColumn<bool>("vendor");
        QTest::newRow("protocol 0") << 0u << false;
        QTest::newRow("protocol 1") << 1u << true;
        QTest::newRow("protocol 5") << 5u << true;
    }
    void theControllerPerProtocol()
    {
        QFETCH(quint32, protocol);
        QFETCH(bool, vendor);
        const QByteArray body = MouseController::describe(pageState(), {"W3 Mouse", "Maker", "1.0A"}, protocol);
        BodyReader read(body);
        quint32 size = 0, type = 0;
        QString name, text;
        QVERIFY(read.u32(size) && read.u32(type) && read.text(name));
        QCOMPARE(int(size), body.size());
        QCOMPARE(type, 6u);
        QCOMPARE(name, QString("W3 Mouse"));
        if (vendor) {
            QVERIFY(read.text(text));
            QCOMPARE(text, QString("Maker"));
        }
        QString description, version;
        QVERIFY(read.text(description) && read.text(version) && read.text(text) && read.text(text));
        QCOMPARE(version, QString("1.0A"));
        quint16 modes = 0;
        quint32 active = 0;
        QVERIFY(read.u16(modes) && read.u32(active));
        QCOMPARE(int(modes), MouseController::modeCount());
        QCOMPARE(active, 2u);
    }
};

QTEST_GUILESS_MAIN(TestOpenRgbPackets)
#include "tst_openrgb_packets.moc"
