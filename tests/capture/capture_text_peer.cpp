// A second process of the program for the text channel tests.
//   capture_text_peer receive <title>: a window with that title; prints "ready", then one
//     line "received <tag> <hex bytes>" per text, half a second after the text arrived.
//   capture_text_peer send <title> <tag> <hex bytes>: sends one text; the exit code is the
//     TextChannel::SendResult.
//   capture_text_peer name <title>: prints the local socket the title is reached under.
#include "capture/InputCapture.h"
#include "platform/TextChannel.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace {

// The handler takes its time, so a sender that returned early would be caught out.
constexpr int kHandlingTimeMs = 500;

void printReceived(const CopyData *data, void *)
{
    QThread::msleep(kHandlingTimeMs);
    std::printf("received %llu %s\n", static_cast<unsigned long long>(data->dwData),
                data->bytes.toHex().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "receive") {
        QWidget window;
        window.setWindowTitle(args[2]);
        InputCapture::setCopyDataHandler(&printReceived, &app, nullptr);
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (args.size() == 5 && args[1] == "send") {
        const auto result = TextChannel::send(args[2], args[3].toULongLong(),
                                              QByteArray::fromHex(args[4].toLatin1()));
        return int(result);
    }
    if (args.size() == 3 && args[1] == "name") {
        std::printf("%s\n", qPrintable(TextChannel::serverName(args[2])));
        return 0;
    }
    std::fprintf(stderr, "usage: capture_text_peer receive <title> | send <title> <tag> <hex>"
                         " | name <title>\n");
    return 64;
}
