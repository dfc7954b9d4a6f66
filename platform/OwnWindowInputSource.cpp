#include "platform/OwnWindowInputSource.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Qt's native scan codes on X11 and Wayland are X11 keycodes: the Linux key code plus 8.
constexpr quint32 kX11KeycodeOffset = 8;

bool buttonFromQt(Qt::MouseButton qtButton, PointerButton &button)
{
    switch (qtButton) {
    case Qt::LeftButton: button = PointerButton::Left; return true;
    case Qt::RightButton: button = PointerButton::Right; return true;
    case Qt::MiddleButton: button = PointerButton::Middle; return true;
    default: return false;
    }
}

}  // namespace

class OwnWindowInputSource::Filter : public QObject {
public:
    explicit Filter(const Handlers &handlers) : handlers_(handlers) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window passes each input event on to its widgets, and the application filter
        // sees every hop: only the window's copy is taken, so each event counts once.
        if (!watched->isWindowType())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            onKey(*static_cast<QKeyEvent *>(event));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            onButton(*static_cast<QMouseEvent *>(event));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void onKey(const QKeyEvent &event)
    {
        // Qt turns a held key into release/press pairs; the key stays down throughout.
        if (event.isAutoRepeat() || event.nativeScanCode() <= kX11KeycodeOffset || !handlers_.key)
            return;
        handlers_.key(int(event.nativeScanCode() - kX11KeycodeOffset),
                      event.type() == QEvent::KeyPress);
    }

    void onButton(const QMouseEvent &event)
    {
        PointerButton button;
        if (!handlers_.button || !buttonFromQt(event.button(), button))
            return;
        handlers_.button(button, event.type() == QEvent::MouseButtonPress, event.globalPos().x(),
                         event.globalPos().y());
    }

    Handlers handlers_;
};

std::unique_ptr<InputSource> OwnWindowInputSource::create(const Handlers &handlers)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    auto filter = std::make_unique<Filter>(handlers);
    QCoreApplication::instance()->installEventFilter(filter.get());
    return std::unique_ptr<InputSource>(new OwnWindowInputSource(std::move(filter)));
}

OwnWindowInputSource::OwnWindowInputSource(std::unique_ptr<Filter> filter)
    : filter_(std::move(filter))
{
}

OwnWindowInputSource::~OwnWindowInputSource() = default;
