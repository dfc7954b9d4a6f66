#pragma once
// The application in front on a wlroots compositor (sway and others): the compositor lists its
// toplevels with their app_id and state, and the one whose state holds `activated` is in front.
// The list comes over a Wayland connection of our own, so it works whether Qt itself runs on
// Wayland or on XWayland; its socket is read in Qt's event loop.
#include "platform/ActiveApplication.h"

#include <QByteArray>
#include <map>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
class QSocketNotifier;

class WlrootsActiveApplication : public ActiveApplication {
    Q_OBJECT
public:
    // Connects to `display` (a socket name in XDG_RUNTIME_DIR or an absolute path; the
    // environment's WAYLAND_DISPLAY when empty).
    explicit WlrootsActiveApplication(const QByteArray &display = QByteArray(), QObject *parent = nullptr);
    ~WlrootsActiveApplication() override;

    // False when no compositor could be reached or it does not list its toplevels.
    bool isAvailable() const { return notifier != nullptr; }
    ApplicationIdentity current() const override { return inFront; }

    // The protocol's callbacks; they record what the compositor says.
    struct Toplevel {
        QString appId;            // as of the last `done`
        QString pendingAppId;     // sent since
        bool activated = false;   // as of the last `done`
        bool pendingActivated = false;
        quint64 activatedOrder = 0;  // when it last became activated; the latest one is in front
    };
    void registryGlobal(wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    void toplevelAdded(zwlr_foreign_toplevel_handle_v1 *handle);
    Toplevel *toplevel(zwlr_foreign_toplevel_handle_v1 *handle);
    void toplevelDone(zwlr_foreign_toplevel_handle_v1 *handle);
    void toplevelClosed(zwlr_foreign_toplevel_handle_v1 *handle);
    void managerFinished();

private:
    void readEvents();
    void disconnectFromCompositor();
    void updateFront();

    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    zwlr_foreign_toplevel_manager_v1 *manager = nullptr;
    std::map<zwlr_foreign_toplevel_handle_v1 *, Toplevel> toplevels;
    quint64 activations = 0;
    QSocketNotifier *notifier = nullptr;
    ApplicationIdentity inFront;
};
