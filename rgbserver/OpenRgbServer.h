#pragma once
// OpenRGB's network SDK on the loopback interface: OpenRGB (its SDK client tab) and other SDK
// clients see the mouse as one controller, while this program alone talks to the hardware.
// Only peers on this computer are served, at most kMaxClients at once: OpenRGB takes one
// connection, and every connection holds one of the process's file descriptors, so further
// ones are closed as they come. A client that breaks the framing, or sends nothing but
// packets this server does not know, is disconnected and the server goes on serving the
// others; what a client does wrong is logged a few times, then counted.
#include "rgbserver/MouseController.h"

#include <QAbstractSocket>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class LightingActions;
class QTcpServer;
class QTcpSocket;

namespace openrgb {

class LightWriter;

class OpenRgbServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 6743;
    static constexpr int kMaxClients = 32;
    // Unknown packets in a row after which a client is taken for something else than an SDK
    // client.
    static constexpr int kMaxUnknownInARow = 64;

    // `device` tells the mouse's name, vendor and firmware, or nothing while no mouse is
    // connected (the controller list is then empty); `colorCount` how many palette colours the
    // mouse shows.
    OpenRgbServer(LightingActions &lighting, std::function<std::optional<DeviceText>()> device,
        std::function<int()> colorCount, QObject *parent = nullptr);
    ~OpenRgbServer() override;

    // Listens on the loopback address; false, with the reason in problem(), when the port is
    // taken or not permitted. Port 0 takes any free one.
    bool start(quint16 port);
    void stop();
    bool isListening() const;
    quint16 port() const;
    // Why the last start() could not listen, in words for the user; empty while listening.
    QString problem() const { return startProblem; }
    int clientCount() const { return sessions.size(); }

    // Tells every client that the controller list changed (the mouse came or went).
    void deviceListChanged();
    // Where the clients' colours and effects wait for the mouse (LightWriter::setTurnTaker).
    void setTurnTaker(std::function<void(std::function<void()> work)> taker);

private:
    struct Session;

    void accept();
    void refuseWhileFull(QTcpSocket *socket);
    void pauseAccepting(QAbstractSocket::SocketError error);
    void serve(QTcpSocket *socket);
    void noteRefusal(Session &session, const QString &what);
    void answer(QTcpSocket *socket, Session &session, const Packet &request);
    void drop(QTcpSocket *socket, const QString &why);
    LightState currentState() const;
    bool hasController(quint32 index) const;

    std::unique_ptr<QTcpServer> listener;
    std::unique_ptr<LightWriter> lights;
    std::function<std::optional<DeviceText>()> device;
    std::function<int()> colorCount;
    QHash<QTcpSocket *, std::shared_ptr<Session>> sessions;
    QString startProblem;
    int refusedWhileFull = 0;  // connections closed since the server last filled up
    QTimer acceptAgain;
};

}  // namespace openrgb
