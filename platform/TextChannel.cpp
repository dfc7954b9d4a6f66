#include "platform/TextChannel.h"

#include "platform/PrivateRuntimeFolder.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtEndian>

#include <limits>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

// One text on the wire: the tag, the byte count, the bytes; integers big-endian.
constexpr int kTagOffset = 0;
constexpr int kLengthOffset = 8;
constexpr int kHeaderBytes = 12;
// Texts are short notices; anything larger is refused rather than buffered.
constexpr quint32 kMaxTextBytes = 1u << 20;
// The receiver's single answer byte, sent once the whole text has arrived.
constexpr char kReceivedAnswer = 'H';

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 3000;
constexpr int kProbeTimeoutMs = 200;

QByteArray encodeText(quintptr tag, const QByteArray &bytes)
{
    QByteArray frame(kHeaderBytes, '\0');
    qToBigEndian<quint64>(tag, frame.data() + kTagOffset);
    qToBigEndian<quint32>(quint32(bytes.size()), frame.data() + kLengthOffset);
    return frame + bytes;
}

enum class Parse { Incomplete, Complete, Invalid };

Parse decodeText(const QByteArray &frame, quintptr &tag, QByteArray &bytes)
{
    if (frame.size() < kHeaderBytes)
        return Parse::Incomplete;
    const quint64 wireTag = qFromBigEndian<quint64>(frame.constData() + kTagOffset);
    const quint32 length = qFromBigEndian<quint32>(frame.constData() + kLengthOffset);
    if (length > kMaxTextBytes || wireTag > std::numeric_limits<quintptr>::max())
        return Parse::Invalid;
    const int total = kHeaderBytes + int(length);
    if (frame.size() < total)
        return Parse::Incomplete;
    if (frame.size() > total)
        return Parse::Invalid;
    tag = quintptr(wireTag);
    bytes = frame.mid(kHeaderBytes);
    return Parse::Complete;
}

bool isTopLevelWidget(const QObject *object)
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget && widget->isWindow() && widget->windowType() != Qt::Desktop;
}

// Windows that are not the native window of a widget (a QQuickView, say).
bool isTopLevelPlainWindow(const QObject *object)
{
    const auto *window = qobject_cast<const QWindow *>(object);
    return window && !window->parent() && !window->inherits("QWidgetWindow");
}

QString titleOf(const QObject *object)
{
    if (const auto *widget = qobject_cast<const QWidget *>(object))
        return widget->windowTitle();
    if (const auto *window = qobject_cast<const QWindow *>(object))
        return window->title();
    return {};
}

// The program's titled top-level windows, widgets first, leaving out one being destroyed.
QList<QObject *> localWindows(const QObject *excluded = nullptr)
{
    QList<QObject *> windows;
    const auto consider = [&](QObject *object) {
        if (object != excluded && !titleOf(object).isEmpty())
            windows.append(object);
    };
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (isTopLevelWidget(widget))
            consider(widget);
    }
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            if (isTopLevelPlainWindow(window))
                consider(window);
        }
    }
    return windows;
}

QObject *findLocalWindow(const QString &title)
{
    for (QObject *window : localWindows()) {
        if (titleOf(window) == title)
            return window;
    }
    return nullptr;
}

// True when a live process answers under the name (not a file left by a crashed one).
bool serverAlive(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(kProbeTimeoutMs);
}

// True when anything, even a link to nothing, carries the name.
bool nameTaken(const QString &name)
{
    const QFileInfo file(name);
    return file.exists() || file.isSymLink();
}

// Watches the application's top-level windows and listens under each of their titles.
class Hub : public QObject {
public:
    static Hub &instance()
    {
        static Hub hub;
        return hub;
    }

    void setReceiver(QCoreApplication *app, TextChannel::Receiver receiver)
    {
        receiver_ = std::move(receiver);
        if (app != app_) {
            if (app_)
                app_->removeEventFilter(this);
            app_ = app;
            if (app_) {
                app_->installEventFilter(this);
                // The servers' notifiers must go while the event loop machinery still exists.
                qAddPostRoutine([] { Hub::instance().release(); });
            }
        }
        for (QObject *window : localWindows())
            track(window);
        refresh();
    }

    void release()
    {
        servers_.clear();
        tracked_.clear();
        app_ = nullptr;
    }

    bool hasReceiver() const { return bool(receiver_); }
    void deliver(quintptr tag, const QByteArray &bytes) const
    {
        if (receiver_)
            receiver_(tag, bytes);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool relevant = event->type() == QEvent::WindowTitleChange
                              || event->type() == QEvent::Show;
        if (relevant && (isTopLevelWidget(watched) || isTopLevelPlainWindow(watched))) {
            track(watched);
            refresh();
        }
        return false;
    }

private:
    void track(QObject *window)
    {
        if (tracked_.contains(window))
            return;
        tracked_.insert(window);
        connect(window, &QObject::destroyed, this, [this](QObject *gone) {
            tracked_.remove(gone);
            refresh(gone);
        });
        if (auto *plain = qobject_cast<QWindow *>(window))
            connect(plain, &QWindow::windowTitleChanged, this, [this] { refresh(); });
    }

    void refresh(const QObject *dying = nullptr)
    {
        if (!app_)
            return;  // released with the application
        QSet<QString> titles;
        if (receiver_) {  // without a receiver the process does not listen at all
            for (QObject *window : localWindows(dying))
                titles.insert(titleOf(window));
        }
        for (auto it = servers_.begin(); it != servers_.end();) {
            it = titles.contains(it->first) ? std::next(it) : servers_.erase(it);
        }
        for (const QString &title : titles) {
            if (servers_.find(title) == servers_.end())
                servers_[title] = listenUnder(title);
        }
    }

    // Null when another running process of the user already listens under the title, or
    // when the name is not safely the user's own (then the log says why).
    std::unique_ptr<QLocalServer> listenUnder(const QString &title)
    {
        QString whyNot;
        const QString name = TextChannel::serverName(title, &whyNot);
        if (name.isEmpty()) {
            qWarning().noquote() << "Text channel: not listening for" << title << "-" << whyNot;
            return nullptr;
        }
        // Checked before listening: the server takes its name by renaming over whatever is
        // there. A name someone else made is never replaced, or their texts would be lost
        // without a word; one left by a crashed process of the user is.
        if (nameTaken(name)) {
            if (!PrivateRuntimeFolder::isOwnSocket(name, &whyNot)) {
                qWarning().noquote() << "Text channel: not listening for" << title << "-" << whyNot;
                return nullptr;
            }
            if (serverAlive(name))
                return nullptr;
            QLocalServer::removeServer(name);
        }
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(name)) {
            qWarning().noquote() << "Text channel: not listening for" << title << "-"
                                 << server->errorString();
            return nullptr;
        }
        QLocalServer *raw = server.get();
        connect(raw, &QLocalServer::newConnection, this, [this, raw] { accept(raw); });
        return server;
    }

    void accept(QLocalServer *server)
    {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket,
                    [this, socket, buffer] { readText(socket, *buffer); });
            // A sender that never completes its text does not keep the connection open.
            QTimer::singleShot(kAnswerTimeoutMs, socket, [socket] { socket->abort(); });
        }
    }

    void readText(QLocalSocket *socket, QByteArray &buffer)
    {
        buffer += socket->readAll();
        quintptr tag = 0;
        QByteArray bytes;
        switch (decodeText(buffer, tag, bytes)) {
        case Parse::Incomplete:
            return;
        case Parse::Invalid:
            socket->abort();
            return;
        case Parse::Complete:
            break;
        }
        QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);  // one text
        socket->write(&kReceivedAnswer, 1);
        socket->flush();
        socket->disconnectFromServer();
        // The handler may run a nested event loop (a message box) for as long as the user
        // likes; inside this signal, the socket's own timers and teardown would run under it.
        QMetaObject::invokeMethod(
            this, [this, tag, bytes] { deliver(tag, bytes); }, Qt::QueuedConnection);
    }

    TextChannel::Receiver receiver_;
    QPointer<QCoreApplication> app_;
    QSet<QObject *> tracked_;
    std::map<QString, std::unique_ptr<QLocalServer>> servers_;
};

TextChannel::SendResult sendToOtherProcess(const QString &title, const QByteArray &frame)
{
    using TextChannel::SendResult;
    QString whyNot;
    const QString name = TextChannel::serverName(title, &whyNot);
    if (name.isEmpty()) {
        qWarning().noquote() << "Text channel: not sending to" << title << "-" << whyNot;
        return SendResult::NoWindow;
    }
    if (!nameTaken(name))
        return SendResult::NoWindow;
    // Whoever made a name that is not the user's own would take the text instead.
    if (!PrivateRuntimeFolder::isOwnSocket(name, &whyNot)) {
        qWarning().noquote() << "Text channel: not sending to" << title << "-" << whyNot;
        return SendResult::NoWindow;
    }
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return SendResult::NoWindow;
    socket.write(frame);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
            return SendResult::NoAnswer;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return SendResult::NoAnswer;
    }
    char answer = 0;
    const bool answered = socket.getChar(&answer) && answer == kReceivedAnswer;
    return answered ? SendResult::Delivered : SendResult::NoAnswer;
}

}  // namespace

namespace TextChannel {

QString serverName(const QString &title, QString *whyNot)
{
    const QString folder = PrivateRuntimeFolder::path(whyNot);
    if (folder.isEmpty())
        return {};
    const QByteArray hash = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("%1/w3config-text-%2-%3")
        .arg(folder)
        .arg(getuid())
        .arg(QString::fromLatin1(hash.toHex().left(32)));
}

void setReceiver(QCoreApplication *app, Receiver receiver)
{
    Hub::instance().setReceiver(app, std::move(receiver));
}

SendResult send(const QString &title, quintptr tag, const QByteArray &bytes, const QObject *skip)
{
    // A window of this process is served directly: a socket to ourselves would wait on the
    // very event loop that is blocked in this call.
    if (const QObject *local = findLocalWindow(title)) {
        if (local == skip)
            return SendResult::Skipped;
        if (!Hub::instance().hasReceiver())
            return SendResult::Unhandled;
        Hub::instance().deliver(tag, bytes);
        return SendResult::Delivered;
    }
    return sendToOtherProcess(title, encodeText(tag, bytes));
}

}  // namespace TextChannel
