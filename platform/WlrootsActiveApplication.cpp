#include "platform/WlrootsActiveApplication.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <QDebug>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <wayland-client.h>

namespace {

// Version 3 adds the parent of a toplevel; nothing newer is known here.
constexpr uint32_t kManagerVersion = 3;

WlrootsActiveApplication *owner(void *data)
{
    return static_cast<WlrootsActiveApplication *>(data);
}

const wl_registry_listener kRegistryListener = {
    [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version) {
        owner(data)->registryGlobal(registry, name, interface, version);
    },
    [](void *, wl_registry *, uint32_t) {},
};

const zwlr_foreign_toplevel_handle_v1_listener kToplevelListener = {
    [](void *, zwlr_foreign_toplevel_handle_v1 *, const char *) {},  // title
    [](void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId) {
        if (auto *toplevel = owner(data)->toplevel(handle))
            toplevel->pendingAppId = QString::fromUtf8(appId);
    },
    [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {},  // output_enter
    [](void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {},  // output_leave
    [](void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states) {
        auto *toplevel = owner(data)->toplevel(handle);
        if (!toplevel)
            return;
        const auto *first = static_cast<const uint32_t *>(states->data);
        const auto *last = first + states->size / sizeof(uint32_t);
        toplevel->pendingActivated =
            std::find(first, last, uint32_t(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)) != last;
    },
    [](void *data, zwlr_foreign_toplevel_handle_v1 *handle) { owner(data)->toplevelDone(handle); },
    [](void *data, zwlr_foreign_toplevel_handle_v1 *handle) { owner(data)->toplevelClosed(handle); },
    [](void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {},  // parent
};

const zwlr_foreign_toplevel_manager_v1_listener kManagerListener = {
    [](void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle) {
        owner(data)->toplevelAdded(handle);
    },
    [](void *data, zwlr_foreign_toplevel_manager_v1 *) { owner(data)->managerFinished(); },
};

}  // namespace

WlrootsActiveApplication::WlrootsActiveApplication(const QByteArray &displayName, QObject *parent)
    : ActiveApplication(parent)
{
    display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display) {
        qInfo() << "Application in front: no Wayland compositor to follow";
        return;
    }
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, this);
    // The first round trip announces the globals, the second the toplevels open now.
    if (wl_display_roundtrip(display) < 0 || !manager || wl_display_roundtrip(display) < 0) {
        disconnectFromCompositor();
        return;
    }
    notifier = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &WlrootsActiveApplication::readEvents);
    updateFront();
}

WlrootsActiveApplication::~WlrootsActiveApplication()
{
    disconnectFromCompositor();
}

void WlrootsActiveApplication::registryGlobal(wl_registry *from, uint32_t name, const char *interface, uint32_t version)
{
    if (manager || std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
        return;
    manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(wl_registry_bind(
        from, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, kManagerVersion)));
    zwlr_foreign_toplevel_manager_v1_add_listener(manager, &kManagerListener, this);
}

void WlrootsActiveApplication::toplevelAdded(zwlr_foreign_toplevel_handle_v1 *handle)
{
    toplevels[handle] = Toplevel();
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevelListener, this);
}

WlrootsActiveApplication::Toplevel *WlrootsActiveApplication::toplevel(zwlr_foreign_toplevel_handle_v1 *handle)
{
    const auto found = toplevels.find(handle);
    return found == toplevels.end() ? nullptr : &found->second;
}

void WlrootsActiveApplication::toplevelDone(zwlr_foreign_toplevel_handle_v1 *handle)
{
    Toplevel *changed = toplevel(handle);
    if (!changed)
        return;
    changed->appId = changed->pendingAppId;
    if (changed->pendingActivated && !changed->activated)
        changed->activatedOrder = ++activations;
    changed->activated = changed->pendingActivated;
}

void WlrootsActiveApplication::toplevelClosed(zwlr_foreign_toplevel_handle_v1 *handle)
{
    toplevels.erase(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

void WlrootsActiveApplication::managerFinished()
{
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    manager = nullptr;
}

void WlrootsActiveApplication::readEvents()
{
    // Everything the socket holds is read and dispatched before the front is looked at, so
    // that the old window losing `activated` and the new one gaining it count as one change.
    bool healthy = true;
    while (healthy && wl_display_prepare_read(display) != 0)
        healthy = wl_display_dispatch_pending(display) >= 0;
    if (healthy)
        healthy = wl_display_read_events(display) == 0 && wl_display_dispatch_pending(display) >= 0;
    // The destroy requests of closed toplevels go out; a full buffer goes out next time.
    if (healthy && wl_display_flush(display) < 0)
        healthy = errno == EAGAIN;
    if (!healthy || !manager) {
        qInfo() << "Application in front: the Wayland compositor went away or stopped listing its windows";
        disconnectFromCompositor();
    }
    updateFront();
}

void WlrootsActiveApplication::updateFront()
{
    const Toplevel *front = nullptr;
    for (const auto &entry : toplevels) {
        const Toplevel &candidate = entry.second;
        if (candidate.activated && (!front || candidate.activatedOrder > front->activatedOrder))
            front = &candidate;
    }
    ApplicationIdentity application;
    if (front)
        application.applicationId = front->appId;
    if (application == inFront)
        return;
    inFront = application;
    emit changed(inFront);
}

void WlrootsActiveApplication::disconnectFromCompositor()
{
    // Called from the notifier's own signal when the compositor goes away.
    if (notifier) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    notifier = nullptr;
    for (const auto &entry : toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(entry.first);
    toplevels.clear();
    if (manager)
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
    manager = nullptr;
    if (registry)
        wl_registry_destroy(registry);
    registry = nullptr;
    if (display)
        wl_display_disconnect(display);
    display = nullptr;
}
