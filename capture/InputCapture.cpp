#include "capture/InputCapture.h"

#include "capture/CaptureDispatcher.h"
#include "platform/InputSource.h"
#include "platform/TextChannel.h"

#include <QDebug>
#include <QWidget>

namespace {

// The process-wide capture: the dispatcher lives from first use to the end of the program;
// the source exists from start() to stop().
struct Capture {
    CaptureDispatcher dispatcher;
    std::unique_ptr<InputSource> source;
    CopyDataHandler copyDataHandler = nullptr;
    void *copyDataContext = nullptr;
};

Capture &capture()
{
    static Capture instance;
    return instance;
}

}  // namespace

namespace InputCapture {

bool start(bool isoFlag)
{
    Capture &c = capture();
    c.source.reset();
    c.dispatcher.setIsoKeyboard(isoFlag);
    InputSource::Handlers handlers;
    handlers.key = [](int linuxKey, bool pressed) { capture().dispatcher.onKey(linuxKey, pressed); };
    handlers.button = [](PointerButton button, bool pressed, int x, int y) {
        capture().dispatcher.onButton(button, pressed, x, y);
    };
    c.source = InputSource::create(handlers);
    if (!c.source) {
        qDebug() << "Input capture: no source available";
        return false;
    }
    qDebug().noquote() << "Input capture:" << c.source->name();
    return true;
}

void stop()
{
    capture().source.reset();
}

QString sourceName()
{
    const Capture &c = capture();
    return c.source ? c.source->name() : QString();
}

bool seesWholeDesktop()
{
    const Capture &c = capture();
    return c.source && c.source->seesWholeDesktop();
}

void setKeyCallback(KeyCallback callback, void *context)
{
    capture().dispatcher.setKeyCallback(callback, context);
}

void setMouseCallback(MouseCallback callback, void *context)
{
    capture().dispatcher.setMouseCallback(callback, context);
}

void setCopyDataHandler(CopyDataHandler handler, QCoreApplication *app, void *context)
{
    Capture &c = capture();
    c.copyDataHandler = handler;
    c.copyDataContext = context;
    if (!handler) {
        TextChannel::setReceiver(app, nullptr);
        return;
    }
    TextChannel::setReceiver(app, [](quintptr tag, const QByteArray &bytes) {
        const Capture &current = capture();
        CopyData data;
        data.dwData = tag;
        data.bytes = bytes;
        current.copyDataHandler(&data, current.copyDataContext);
    });
}

void sendText(const QString &windowTitle, const CopyData &data, QWidget *skip)
{
    TextChannel::send(windowTitle, data.dwData, data.bytes, skip);
}

}  // namespace InputCapture
