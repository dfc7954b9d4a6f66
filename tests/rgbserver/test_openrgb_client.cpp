// OpenRGB clients on the program's SDK server, in-process on the virtual mouse, the program in
// the background: the independent openrgb-sdk package lists the controller and sets a mode and
// colours (asserted on the wire and in the profile file); clients that send garbage or vanish
// mid-packet leave the server serving; only loopback peers reach it; the setting switches it.
// Connections beyond the server's bound are closed as they come; a client sending nothing but
// unknown packets is disconnected and logged a bounded number of times; a port taken by
// another program is told by the setting the panel shows and by `w3ctl openrgb status`.
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "app/OpenRgbLink.h"
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/OpenRgbSetting.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "rgbserver/OpenRgbPackets.h"
#include "tests/cli/CliRun.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>
#include <vector>

namespace {

constexpr int kIdleTimeoutMs = 10000;
constexpr int kClientLimitMs = 60000;
constexpr int kAnswerLimitMs = 10000;
const QString kClientDir = QStringLiteral(W3_OPENRGB_CLIENT_DIR);
const char *const kClientMissing = "needs Node.js and the openrgb-sdk package in tests/rgbserver/client "
                                   "(scripts/install-deps.sh runs npm ci there)";

// A port nobody listens on now.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QStringList profileList(const QString &key)
{
    const QSettings profile("./modules/setting/p1.bin", QSettings::IniFormat);
    return profile.value(key).toStringList();
}

// A raw SDK client, for what no well-behaved client sends.
struct RawClient {
    QTcpSocket socket;

    bool connectTo(quint16 port, const QHostAddress &address = QHostAddress::LocalHost)
    {
        socket.connectToHost(address, port);
        return QTest::qWaitFor(
                   [this] {
                       return socket.state() == QAbstractSocket::ConnectedState
                           || socket.state() == QAbstractSocket::UnconnectedState;
                   },
                   kAnswerLimitMs)
            && socket.state() == QAbstractSocket::ConnectedState;
    }
    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    // The controller count the server answers; -1 without an answer.
    int controllerCount()
    {
        send(openrgb::packet(0, openrgb::RequestControllerCount));
        const int answerSize = openrgb::kHeaderSize + 4;
        if (!QTest::qWaitFor([this, answerSize] { return socket.bytesAvailable() >= answerSize; }, kAnswerLimitMs))
            return -1;
        const QByteArray answer = socket.read(answerSize);
        return int(qFromLittleEndian<quint32>(answer.constData() + openrgb::kHeaderSize));
    }
    bool closedByServer()
    {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::UnconnectedState; }, kAnswerLimitMs);
    }
};

// Collects the server's log lines while it lives.
class ServerLog {
public:
    ServerLog()
    {
        collected().clear();
        previous = qInstallMessageHandler(&ServerLog::handle);
    }
    ~ServerLog() { qInstallMessageHandler(previous); }
    ServerLog(const ServerLog &) = delete;
    ServerLog &operator=(const ServerLog &) = delete;

    static QStringList lines() { return collected(); }
    static int count(const QString &part) { return lines().filter(part).size(); }

private:
    static QStringList &collected()
    {
        static QStringList lines;
        return lines;
    }
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        if (message.contains("OpenRGB SDK server"))
            collected().append(message);
    }

    QtMessageHandler previous = nullptr;
};

}  // namespace

class TestOpenRgbClient : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        prompts = std::make_unique<RecordingPrompts>();
        vhid::Bus::instance().reset();
        deviceReady = false;
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>(Widget::Start::InBackground);
        service = std::make_unique<SessionService>(*shell);
        startShell(*shell);
        QVERIFY(deviceReady);
        settle();
        setting = std::make_unique<OpenRgbSetting>();
        setting->watch();
        QVERIFY(setting->setEnabled(true, freePort()));
        link = std::make_unique<OpenRgbLink>(*shell, *service, *setting);
        QVERIFY(link->server().isListening());
        vhid::Bus::instance().clearRecords();
    }

    void cleanup()
    {
        settle();
        link.reset();
        setting.reset();
        service.reset();
        shell.reset();
        prompts.reset();
        sandbox.reset();
    }

    void anSdkClientListsTheMouse_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<int>("negotiated");
        QTest::addColumn<QString>("vendor");
        QTest::newRow("the package's newest protocol") << "newest" << 5 << "Virtual";
        QTest::newRow("an older client: no brightness fields") << "2" << 2 << "Virtual";
        QTest::newRow("the first protocol: no vendor") << "0" << 0 << "";
    }
    void anSdkClientListsTheMouse()
    {
        QFETCH(QString, protocol);
        QFETCH(int, negotiated);
        QFETCH(QString, vendor);
        if (!clientInstalled())
            QSKIP(kClientMissing);
        const QJsonObject seen = runClient(protocol, "list");
        QCOMPARE(seen.value("protocol").toInt(), negotiated);
        const QJsonArray devices = seen.value("devices").toArray();
        QCOMPARE(devices.size(), 1);
        const QJsonObject mouse = devices.first().toObject();
        QCOMPARE(mouse.value("name").toString(), QString("W3 Mouse"));
        QCOMPARE(mouse.value("type").toInt(), 6);
        QCOMPARE(mouse.value("vendor").toString(), vendor);
        QCOMPARE(mouse.value("version").toString(), service->firmware());
        QVERIFY(mouse.value("description").toString().contains("no Direct mode"));
        QStringList modes;
        for (const QJsonValue &mode : mouse.value("modes").toArray())
            modes << mode.toObject().value("name").toString();
        QCOMPARE(modes,
            (QStringList {"Static", "Twinkling", "Breathing", "Neon", "Wave", "Gliding", "Finger Moving",
                "Vertical Flipping", "Yo-Yo", "Spotlight", "Off"}));
        QVERIFY(!modes.contains("Direct"));
        const QJsonObject spotlight = mouse.value("modes").toArray().at(9).toObject();
        const QStringList flags = spotlight.value("flags").toVariant().toStringList();
        QVERIFY2(flags.contains("speed") && flags.contains("modeSpecificColor") && flags.contains("automaticSave"),
            qPrintable(flags.join(' ')));
        QCOMPARE(spotlight.value("colors").toInt(), 8);
        QCOMPARE(mouse.value("modes").toArray().at(5).toObject().value("colors").toInt(), 0);  // Gliding
        QCOMPARE(mouse.value("zones").toVariant().toStringList(), QStringList {"Mouse"});
        QCOMPARE(mouse.value("leds").toVariant().toStringList(), QStringList {"Light zones"});
        QVERIFY(mouseCommandBlocks().isEmpty());
    }

    // The bytes of the lighting page's colour change and APPLY, and what APPLY stores.
    void anSdkClientSetsAModeAndColours_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QStringList>("storedEffect");
        QTest::addColumn<QStringList>("storedColorsStart");
        const QString palette = "10 00 18 00 00 00 00";
        // Spotlight: effect 10; brightness step 5 is 10 + 35 * 5 = 185; speed step 6 is
        // 20 + round(1 * 10 / 7) = 21.
        QTest::newRow("mode with speed, brightness and two colours")
            << "newest"
            << "mode" << QStringList {palette, "0d 0a b9 15 00 00 00"} << QStringList {"9", "5", "6", "1"}
            << QStringList {"255", "255", "0", "0", "255", "255"};
        QTest::newRow("the LED's colour: the palette's first colour")
            << "newest"
            << "leds" << QStringList {palette} << QStringList() << QStringList {"0", "0", "255"};
    }
    void anSdkClientSetsAModeAndColours()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, action);
        QFETCH(QStringList, blocks);
        QFETCH(QStringList, storedEffect);
        QFETCH(QStringList, storedColorsStart);
        const QStringList effectBefore = profileList("color_W3/ledEffect");
        if (!clientInstalled())
            QSKIP(kClientMissing);
        const QJsonObject seen = runClient(protocol, action);
        QVERIFY(QTest::qWaitFor([] { return vhid::Bus::instance().records().size() > 0; }, kIdleTimeoutMs));
        settle();
        QTest::qWait(0);
        settle();
        QCOMPARE(mouseCommandBlocks(), blocks);
        QVERIFY(shell->view()->profiles().flush());
        QCOMPARE(profileList("color_W3/ledEffect"), storedEffect.isEmpty() ? effectBefore : storedEffect);
        QCOMPARE(profileList("color_W3/type0").mid(0, storedColorsStart.size()), storedColorsStart);
        // What the client reads back is what it set.
        const QJsonObject after = seen.value("after").toObject();
        if (action == "mode")
            QCOMPARE(after.value("activeMode").toInt(), 9);
        const QJsonObject first = after.value("colors").toArray().first().toObject();
        QCOMPARE(QStringList({QString::number(first.value("red").toInt()),
                     QString::number(first.value("green").toInt()), QString::number(first.value("blue").toInt())}),
            storedColorsStart.mid(0, 3));
    }

    // Colours streamed faster than the mouse takes them: only the newest reaches it.
    void aStreamOfColoursIsCoalesced()
    {
        RawClient client;
        QVERIFY(client.connectTo(link->server().port()));
        QByteArray burst;
        constexpr int kPackets = 20;
        for (int i = 1; i <= kPackets; ++i)
            burst += openrgb::packet(0, openrgb::UpdateSingleLed,
                openrgb::BodyWriter().u32(0).color({quint8(i), 0, quint8(255 - i)}).bytes());
        client.send(burst);
        QVERIFY(QTest::qWaitFor([] { return !mouseCommandBlocks().isEmpty(); }, kIdleTimeoutMs));
        settle();
        QTest::qWait(0);
        settle();
        QVERIFY2(mouseCommandBlocks().size() < kPackets, qPrintable(mouseCommandBlocks().join(" | ")));
        QVERIFY(shell->view()->profiles().flush());
        QCOMPARE(profileList("color_W3/type0").mid(0, 3),
            (QStringList {QString::number(kPackets), "0", QString::number(255 - kPackets)}));
    }

    void brokenClientsLeaveTheServerServing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("serverCloses");
        const QByteArray header = openrgb::packet(0, openrgb::UpdateLeds, QByteArray(40, '\0'));
        QTest::newRow("garbage") << QByteArray("GET / HTTP/1.1\r\n\r\n") << true;
        QTest::newRow("an oversized length")
            << openrgb::packet(0, openrgb::UpdateLeds).left(12) + QByteArray("\xff\xff\xff\x7f", 4) << true;
        QTest::newRow("gone after half a header") << header.left(7) << false;
        QTest::newRow("gone in the middle of a payload") << header.left(openrgb::kHeaderSize + 10) << false;
    }
    void brokenClientsLeaveTheServerServing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, serverCloses);
        {
            RawClient broken;
            QVERIFY(broken.connectTo(link->server().port()));
            broken.send(bytes);
            if (serverCloses)
                QVERIFY(broken.closedByServer());
            else
                broken.socket.abort();
        }
        RawClient next;
        QVERIFY(next.connectTo(link->server().port()));
        QCOMPARE(next.controllerCount(), 1);
        QVERIFY(mouseCommandBlocks().isEmpty());
    }

    // Bound to the loopback address: another address of this computer finds nobody there.
    void onlyLoopbackPeersReachTheServer()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        QCOMPARE(link->server().port() != 0, true);
        RawClient local;
        QVERIFY(local.connectTo(link->server().port(), QHostAddress::LocalHost));
        QHostAddress outside;
        for (const QHostAddress &address : QNetworkInterface::allAddresses())
            if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol)
                outside = address;
        if (outside.isNull())
            QSKIP("this computer has no address but loopback to try from");
        RawClient remote;
        QVERIFY2(!remote.connectTo(link->server().port(), outside), qPrintable(outside.toString()));
    }

    // Clients are told when the mouse goes and comes; without it the list is empty and writes
    // reach nothing.
    void theMouseComingAndGoingIsTold()
    {
        RawClient client;
        QVERIFY(client.connectTo(link->server().port()));
        const QByteArray told = openrgb::packet(0, openrgb::DeviceListUpdated);
        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(QTest::qWaitFor(
            [&client, &told] { return client.socket.bytesAvailable() >= told.size(); }, kAnswerLimitMs));
        QCOMPARE(client.socket.read(told.size()), told);
        QCOMPARE(client.controllerCount(), 0);
        client.send(openrgb::packet(0, openrgb::SetCustomMode));
        QCOMPARE(client.controllerCount(), 0);
        QVERIFY(mouseCommandBlocks().isEmpty());
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(QTest::qWaitFor(
            [&client, &told] { return client.socket.bytesAvailable() >= told.size(); }, kAnswerLimitMs));
        QCOMPARE(client.socket.read(told.size()), told);
        QCOMPARE(client.controllerCount(), 1);
    }

    void theSettingSwitchesTheServer()
    {
        const quint16 port = link->server().port();
        QVERIFY(setting->setEnabled(false));
        QVERIFY(!link->server().isListening());
        RawClient refused;
        QVERIFY(!refused.connectTo(port));
        QVERIFY(setting->setEnabled(true));
        QCOMPARE(link->server().port(), port);
        RawClient served;
        QVERIFY(served.connectTo(port));
        QCOMPARE(served.controllerCount(), 1);
    }

    // Beyond the bound each connection is accepted and closed at once, told once in the log;
    // the clients within it go on being served, and a place that frees up is taken again.
    void connectionsBeyondTheBoundAreClosed()
    {
        constexpr int kExtra = 20;
        const ServerLog log;
        std::vector<std::unique_ptr<RawClient>> clients;
        for (int i = 0; i < openrgb::OpenRgbServer::kMaxClients; ++i) {
            clients.push_back(std::make_unique<RawClient>());
            QVERIFY(clients.back()->connectTo(link->server().port()));
        }
        // Closed so soon that a client may see the connection refused rather than ended.
        std::vector<std::unique_ptr<RawClient>> extra;
        for (int i = 0; i < kExtra; ++i) {
            extra.push_back(std::make_unique<RawClient>());
            extra.back()->socket.connectToHost(QHostAddress::LocalHost, link->server().port());
        }
        for (const auto &client : extra)
            QVERIFY(client->closedByServer());
        QCOMPARE(link->server().clientCount(), openrgb::OpenRgbServer::kMaxClients);
        QCOMPARE(clients.front()->controllerCount(), 1);
        QCOMPARE(clients.at(openrgb::OpenRgbServer::kMaxClients - 1)->controllerCount(), 1);
        QCOMPARE(ServerLog::count("further connections are closed"), 1);

        clients.front()->socket.disconnectFromHost();
        QVERIFY(QTest::qWaitFor(
            [this] { return link->server().clientCount() < openrgb::OpenRgbServer::kMaxClients; }, kAnswerLimitMs));
        RawClient next;
        QVERIFY(next.connectTo(link->server().port()));
        QCOMPARE(next.controllerCount(), 1);
        QVERIFY2(ServerLog::lines().size() <= 3, qPrintable(ServerLog::lines().join('\n')));
    }

    // Zero-length packets of an id no SDK has: a few are logged, the rest counted, and the
    // client is disconnected once they come in a long row; a known packet between them starts
    // the row again.
    void aFloodOfUnknownPacketsIsCutShort_data()
    {
        QTest::addColumn<int>("packets");
        QTest::addColumn<bool>("knownBetween");
        QTest::addColumn<bool>("disconnected");
        QTest::newRow("a flood") << 1000 << false << true;
        QTest::newRow("just below the bound") << openrgb::OpenRgbServer::kMaxUnknownInARow - 1 << false << false;
        QTest::newRow("known packets between") << 1000 << true << false;
    }
    void aFloodOfUnknownPacketsIsCutShort()
    {
        QFETCH(int, packets);
        QFETCH(bool, knownBetween);
        QFETCH(bool, disconnected);
        constexpr quint32 kUnknownId = 9999;
        const ServerLog log;
        RawClient client;
        QVERIFY(client.connectTo(link->server().port()));
        QByteArray flood;
        for (int i = 1; i <= packets; ++i) {
            flood += openrgb::packet(0, kUnknownId);
            if (knownBetween && i % (openrgb::OpenRgbServer::kMaxUnknownInARow / 2) == 0)
                flood += openrgb::packet(0, openrgb::SetClientName, QByteArray("flood\0", 6));
        }
        client.send(flood);
        if (disconnected) {
            QVERIFY(client.closedByServer());
        } else {
            QCOMPARE(client.controllerCount(), 1);
            client.socket.disconnectFromHost();
            QVERIFY(QTest::qWaitFor([this] { return link->server().clientCount() == 0; }, kAnswerLimitMs));
        }
        // Three refusals one by one, one line with the rest counted, and the disconnection.
        QVERIFY2(ServerLog::lines().size() <= 5, qPrintable(ServerLog::lines().join('\n')));
        QCOMPARE(ServerLog::count("disconnected"), disconnected ? 1 : 0);
        RawClient next;
        QVERIFY(next.connectTo(link->server().port()));
        QCOMPARE(next.controllerCount(), 1);
    }

    // A port another program holds: the setting the panel shows and `w3ctl openrgb status`
    // say why nothing is served; switched on again once the port is free, the server serves.
    void aTakenPortIsTold()
    {
        OpenRgbSetting::share(setting.get());
        const auto unshare = qScopeGuard([] { OpenRgbSetting::share(nullptr); });
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        const QString port = QString::number(other.serverPort());
        QVERIFY(setting->setEnabled(true, other.serverPort()));
        QVERIFY(!link->server().isListening());
        const QString problem = QString("port %1 is in use by another program").arg(port);
        QCOMPARE(setting->problem(), problem);
        const CliRun status = CliRun::of({"openrgb", "status"});
        QCOMPARE(status.code, 0);
        QCOMPARE(status.out, QString("openrgb server: on, but %1\n").arg(problem));
        const CliRun json = CliRun::of({"--json", "openrgb", "status"});
        const QJsonObject fields = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(fields.value("enabled").toBool(), true);
        QCOMPARE(fields.value("problem").toString(), problem);

        other.close();
        const CliRun again = CliRun::of({"openrgb", "on"});
        QCOMPARE(again.code, 0);
        QVERIFY(link->server().isListening());
        QCOMPARE(setting->problem(), QString());
        QCOMPARE(CliRun::of({"openrgb", "status"}).out, QString("openrgb server: on, 127.0.0.1 port %1\n").arg(port));
        QCOMPARE(CliRun::of({"openrgb", "off"}).code, 0);
        QVERIFY(!link->server().isListening());
    }

private:
    static QString node() { return QStandardPaths::findExecutable("node"); }
    static bool clientInstalled()
    {
        return !node().isEmpty() && QFileInfo::exists(kClientDir + "/node_modules/openrgb-sdk");
    }

    QJsonObject runClient(const QString &protocol, const QString &action)
    {
        QProcess client;
        client.setWorkingDirectory(kClientDir);
        client.start(node(), {"drive.js", QString::number(link->server().port()), protocol, action});
        // The server answers on this thread: wait while serving events.
        if (!QTest::qWaitFor([&client] { return client.state() == QProcess::NotRunning; }, kClientLimitMs))
            client.kill();
        const QByteArray output = client.readAllStandardOutput();
        const QByteArray errors = client.readAllStandardError();
        if (client.exitCode() != 0)
            qWarning("the client said: %s", errors.constData());
        return QJsonDocument::fromJson(output).object();
    }

    void settle() { QVERIFY(shell->device().waitUntilIdle(kIdleTimeoutMs)); }

    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
    std::unique_ptr<OpenRgbSetting> setting;
    std::unique_ptr<OpenRgbLink> link;
};

W3_PRIVATE_BUS_TEST_MAIN(TestOpenRgbClient)
#include "test_openrgb_client.moc"
