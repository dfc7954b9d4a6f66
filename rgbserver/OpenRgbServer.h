#pragma once
// OpenRGB's network SDK on the loopback interface: OpenRGB (its SDK client tab) and other SDK
// clients see the mouse as one controller, while this program alone talks to the hardware.
// Only peers on this computer are served; a client that breaks the framing is disconnected
// and the server goes on serving the others.
#include "rgbserver/MouseController.h"

#include <QHash>
#include <QObject>
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

    // `device` tells the mouse's name, vendor and firmware, or nothing while no mouse is
    // connected (the controller list is then empty); `colorCount` how many palette colours the
    // mouse shows.
    OpenRgbServer(LightingActions &lighting, std::function<std::optional<DeviceText>()> device,
        std::function<int()> colorCount, QObject *parent = nullptr);
    ~OpenRgbServer() override;

    // Listens on the loopback address; false, with the reason in errorString(), when the port
    // is taken. Port 0 takes any free one.
    bool start(quint16 port);
    void stop();
    bool isListening() const;
    quint16 port() const;
    QString errorString() const;

    // Tells every client that the controller list changed (the mouse came or went).
    void deviceListChanged();
    // Where the clients' colours and effects wait for the mouse (LightWriter::setTurnTaker).
    void setTurnTaker(std::function<void(std::function<void()> work)> taker);

private:
    struct Session;

    void accept();
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, Session &session, const Packet &request);
    void drop(QTcpSocket *socket, const QString &why);
    LightState currentState() const;
    bool hasController(quint32 index) const;

    std::unique_ptr<QTcpServer> listener;
    std::unique_ptr<LightWriter> lights;
    std::function<std::optional<DeviceText>()> device;
    std::function<int()> colorCount;
    QHash<QTcpSocket *, std::shared_ptr<Session>> sessions;
};

}  // namespace openrgb
