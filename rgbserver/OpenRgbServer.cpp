#include "rgbserver/OpenRgbServer.h"

#include "rgbserver/LightWriter.h"

#include <QDebug>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace openrgb {

struct OpenRgbServer::Session {
    PacketReader reader;
    quint32 version = 0;  // until the client asks, the first protocol
    QString name;
    int unknownInARow = 0;
    int refusalsLogged = 0;
    int refusalsNotLogged = 0;

    QString who() const { return name.isEmpty() ? QStringLiteral("a client") : name; }
};

namespace {

// Answers a client has asked for and not read: beyond this it only fills memory.
constexpr qint64 kMaxUnsentBytes = 4 * 1024 * 1024;
// A client's refused packets that are logged one by one; the rest are counted.
constexpr int kLoggedRefusals = 3;
// How long the server stops taking connections once the process has no descriptor left.
constexpr int kAcceptPauseMs = 1000;

QString describeListenFailure(const QTcpServer &listener, quint16 port)
{
    switch (listener.serverError()) {
    case QAbstractSocket::AddressInUseError:
        return QStringLiteral("port %1 is in use by another program").arg(port);
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("the system does not permit port %1").arg(port);
    default:
        return QStringLiteral("port %1 cannot be served: %2").arg(port).arg(listener.errorString());
    }
}

quint32 askedVersion(const QByteArray &payload)
{
    quint32 version = 0;
    BodyReader body(payload);
    return body.u32(version) ? qMin(version, kProtocolVersion) : 0;
}

}  // namespace

OpenRgbServer::OpenRgbServer(LightingActions &lighting, std::function<std::optional<DeviceText>()> device,
    std::function<int()> colorCount, QObject *parent)
    : QObject(parent)
    , lights(std::make_unique<LightWriter>(lighting))
    , device(std::move(device))
    , colorCount(std::move(colorCount))
{
    acceptAgain.setSingleShot(true);
    acceptAgain.setInterval(kAcceptPauseMs);
    connect(&acceptAgain, &QTimer::timeout, this, [this] {
        if (listener)
            listener->resumeAccepting();
    });
}

OpenRgbServer::~OpenRgbServer()
{
    stop();
}

bool OpenRgbServer::start(quint16 port)
{
    if (listener && listener->isListening() && (port == 0 || listener->serverPort() == port))
        return true;
    stop();
    listener = std::make_unique<QTcpServer>();
    connect(listener.get(), &QTcpServer::newConnection, this, &OpenRgbServer::accept);
    connect(listener.get(), &QTcpServer::acceptError, this, &OpenRgbServer::pauseAccepting);
    if (listener->listen(QHostAddress::LocalHost, port)) {
        startProblem.clear();
        qInfo() << "OpenRGB SDK server on 127.0.0.1 port" << listener->serverPort();
        return true;
    }
    startProblem = describeListenFailure(*listener, port);
    qWarning().noquote() << "The OpenRGB SDK server is not serving:" << startProblem;
    return false;
}

void OpenRgbServer::stop()
{
    const auto sockets = sessions.keys();
    for (QTcpSocket *socket : sockets)
        drop(socket, QString());
    acceptAgain.stop();
    startProblem.clear();
    if (listener)
        listener->close();
}

bool OpenRgbServer::isListening() const
{
    return listener && listener->isListening();
}

quint16 OpenRgbServer::port() const
{
    return isListening() ? listener->serverPort() : 0;
}

void OpenRgbServer::setTurnTaker(std::function<void(std::function<void()> work)> taker)
{
    lights->setTurnTaker(std::move(taker));
}

void OpenRgbServer::deviceListChanged()
{
    for (auto it = sessions.begin(); it != sessions.end(); ++it)
        it.key()->write(packet(0, DeviceListUpdated));
}

void OpenRgbServer::accept()
{
    while (QTcpSocket *socket = listener->nextPendingConnection()) {
        // The listening address keeps others out already; a peer that is not this computer
        // is still never served.
        if (!socket->peerAddress().isLoopback()) {
            qWarning() << "OpenRGB SDK server: refused a peer from" << socket->peerAddress().toString();
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (sessions.size() >= kMaxClients) {
            refuseWhileFull(socket);
            continue;
        }
        sessions.insert(socket, std::make_shared<Session>());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket, QString()); });
    }
}

// Accepted and closed at once: left unaccepted, they would wait in the system's queue and be
// served later, long after their client gave up.
void OpenRgbServer::refuseWhileFull(QTcpSocket *socket)
{
    if (refusedWhileFull++ == 0)
        qWarning() << "OpenRGB SDK server:" << kMaxClients
                   << "clients are connected; further connections are closed until one leaves";
    socket->abort();
    socket->deleteLater();
}

// The process has no descriptor left for the connection: the server waits a moment instead
// of trying again at once, or of stopping for good as the listener would.
void OpenRgbServer::pauseAccepting(QAbstractSocket::SocketError error)
{
    if (acceptAgain.isActive())
        return;
    qWarning().noquote() << "OpenRGB SDK server: cannot take a connection now:" << listener->errorString() << "-"
                         << error;
    listener->pauseAccepting();
    acceptAgain.start();
}

void OpenRgbServer::serve(QTcpSocket *socket)
{
    const std::shared_ptr<Session> session = sessions.value(socket);
    if (!session)
        return;
    for (const PacketReader::Event &event : session->reader.feed(socket->readAll())) {
        if (event.isPacket) {
            session->unknownInARow = 0;
            answer(socket, *session, event.packet);
            continue;
        }
        noteRefusal(*session, refusalText(event.refusal));
        if (event.refusal == PacketReader::Refusal::UnknownId && ++session->unknownInARow >= kMaxUnknownInARow) {
            drop(socket, QStringLiteral("it sends nothing but packets this server does not know"));
            return;
        }
    }
    if (session->reader.broken())
        drop(socket, QStringLiteral("its packets cannot be told apart any more"));
    else if (socket->bytesToWrite() > kMaxUnsentBytes)
        drop(socket, QStringLiteral("it asks without reading the answers"));
}

void OpenRgbServer::noteRefusal(Session &session, const QString &what)
{
    if (session.refusalsLogged == kLoggedRefusals) {
        ++session.refusalsNotLogged;
        return;
    }
    ++session.refusalsLogged;
    qWarning().noquote() << "OpenRGB SDK server: refused" << what << "from" << session.who();
}

void OpenRgbServer::drop(QTcpSocket *socket, const QString &why)
{
    const std::shared_ptr<Session> session = sessions.take(socket);
    if (!session)
        return;
    if (session->refusalsNotLogged > 0)
        qWarning().noquote() << "OpenRGB SDK server:" << session->refusalsNotLogged << "more packets refused from"
                             << session->who();
    if (!why.isEmpty())
        qWarning().noquote() << "OpenRGB SDK server: disconnected" << session->who() << "-" << why;
    if (refusedWhileFull > 0 && sessions.size() < kMaxClients) {
        qInfo() << "OpenRGB SDK server: closed" << refusedWhileFull << "connections while full; taking them again";
        refusedWhileFull = 0;
    }
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

LightState OpenRgbServer::currentState() const
{
    return lights->state(colorCount());
}

bool OpenRgbServer::hasController(quint32 index) const
{
    return index == 0 && device().has_value();
}

void OpenRgbServer::answer(QTcpSocket *socket, Session &session, const Packet &request)
{
    switch (request.id) {
    case RequestProtocolVersion:
        session.version = askedVersion(request.payload);
        socket->write(packet(request.device, request.id, BodyWriter().u32(session.version).bytes()));
        return;
    case SetClientName:
        session.name = QString::fromUtf8(request.payload.left(request.payload.indexOf('\0')));
        return;
    case RequestControllerCount:
        socket->write(packet(request.device, request.id, BodyWriter().u32(device() ? 1 : 0).bytes()));
        return;
    case RequestControllerData:
        if (const std::optional<DeviceText> text = device(); text && request.device == 0)
            socket->write(packet(request.device, request.id,
                MouseController::describe(currentState(), *text, askedVersion(request.payload))));
        return;
    case RequestProfileList:
    case RequestPluginList:
        // Profiles and plugins live in OpenRGB itself: this server has none to list.
        socket->write(packet(request.device, request.id, BodyWriter().u16(0).sized()));
        return;
    case RequestRescanDevices:
        socket->write(packet(0, DeviceListUpdated));
        return;
    case UpdateMode:
    case SaveMode: {
        ModeRequest mode;
        LightState next = currentState();
        if (hasController(request.device) && readModeRequest(request.payload, session.version, mode)
            && MouseController::applyMode(next, mode))
            lights->want(next, true, next.palette != currentState().palette);
        return;
    }
    case SetCustomMode: {
        LightState next = currentState();
        MouseController::applyCustomMode(next);
        if (hasController(request.device))
            lights->want(next, true, false);
        return;
    }
    case UpdateLeds:
    case UpdateZoneLeds:
    case UpdateSingleLed: {
        LedRequest leds;
        const bool read = request.id == UpdateLeds ? readLedsRequest(request.payload, leds)
            : request.id == UpdateZoneLeds         ? readZoneLedsRequest(request.payload, leds)
                                                   : readSingleLedRequest(request.payload, leds);
        LightState next = currentState();
        if (hasController(request.device) && read && MouseController::applyLeds(next, leds)
            && next.palette != currentState().palette)
            lights->want(next, false, true);
        return;
    }
    default:
        // Profiles, plugins, zone sizes and segments: nothing of the mouse to change.
        return;
    }
}

}  // namespace openrgb
