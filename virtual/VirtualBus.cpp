#include "virtual/BusState.h"

#include <QSettings>
#include <QString>
#include <cstring>

namespace vhid {
namespace detail {
namespace {

constexpr const char *kCataloguePath = ":/DevInfo.ini";
constexpr const char *kDefaultSecrecyText = "417306";
constexpr const char *kPathPrefix = "vhid:";
constexpr int kKeyboardId = 0;
constexpr int kMouseId = 1;
constexpr int kKeyboardReportLength = 64;
constexpr int kMouseReportLength = 32;

std::uint16_t hex16(const QSettings &ini, const QString &key)
{
    return static_cast<std::uint16_t>(ini.value(key).toString().toUInt(nullptr, 16) & 0xFFFF);
}

Ids readIds(const QSettings &ini, int deviceId, int fallbackReportLength)
{
    const QString section = QString::number(deviceId) + "/";
    Ids ids;
    ids.vid = hex16(ini, section + "vid");
    ids.pid = hex16(ini, section + "pid");
    ids.usagePage = hex16(ini, section + "usagePage");
    ids.usage = hex16(ini, section + "usage");
    ids.usagePage2 = hex16(ini, section + "usagePage2");
    ids.usage2 = hex16(ini, section + "usage2");
    ids.reportLength = ini.value(section + "reportLength").toString().toInt();
    if (ids.reportLength <= 0)
        ids.reportLength = fallbackReportLength;
    return ids;
}

struct CatalogueIds {
    Ids keyboard;
    Ids mouse;
    bool scrambling;
};

CatalogueIds readCatalogue()
{
    const QSettings ini(kCataloguePath, QSettings::IniFormat);
    return {readIds(ini, kKeyboardId, kKeyboardReportLength), readIds(ini, kMouseId, kMouseReportLength),
            ini.value("common/isEncode", false).toBool()};
}

void restoreFactory(BusState &state, Device &device)
{
    startPlugCycle(state, device, false);
    device.faults = Faults{};
    device.secrecyText = kDefaultSecrecyText;
    device.acknowledges = true;
    device.mouseMemory = firmware::factoryMouse();
    device.keyboardMemory = firmware::factoryKeyboard();
    device.unknownCodes.clear();
}

// Everything to factory state; the catalogue is read outside the lock.
void resetState(BusState &state, const CatalogueIds &catalogue)
{
    state.keyboard.ids = catalogue.keyboard;
    state.mouse.ids = catalogue.mouse;
    state.scrambling = catalogue.scrambling;
    restoreFactory(state, state.keyboard);
    restoreFactory(state, state.mouse);
    state.records.clear();
    state.violations.clear();
}

}  // namespace

BusState &busState()
{
    static BusState *state = [] {
        auto *created = new BusState;  // lives for the whole process: pool threads may outlast main
        resetState(*created, readCatalogue());
        return created;
    }();
    return *state;
}

void startPlugCycle(BusState &state, Device &device, bool plugged)
{
    device.plugged = plugged;
    ++device.generation;
    device.replyReady = false;
    device.inFlight.clear();
    device.dataExpected = 0;
    device.dataReceived.clear();
    // What the old connection delivered goes with it; the program is not to blame.
    for (hid_device *handle : state.handles) {
        if (handle->model == device.model)
            handle->input.clear();
    }
}

bool BusState::isLive(const hid_device *handle) const
{
    if (!handles.count(const_cast<hid_device *>(handle)))
        return false;
    const Device &owner = device(handle->model);
    return owner.plugged && owner.generation == handle->generation;
}

void BusState::violation(const std::string &what)
{
    violations.push_back(what);
}

void BusState::deliverDueReports()
{
    const Clock::time_point now = Clock::now();
    for (Device *owner : {&keyboard, &mouse}) {
        std::deque<PendingReport> waiting;
        for (PendingReport &report : owner->inFlight) {
            if (report.readyAt > now) {
                waiting.push_back(std::move(report));
                continue;
            }
            // A report that finds no open handle is gone. (A data-phase report always finds
            // the handle its command came through; it is lost when that closes unread.)
            auto fate = std::make_shared<ReportFate>();
            fate->dataPhase = report.dataPhase;
            for (hid_device *handle : handles) {
                if (handle->model == owner->model && handle->iface == report.iface && isLive(handle))
                    handle->input.push_back({report.bytes, fate});
            }
        }
        owner->inFlight = std::move(waiting);
    }
}

Clock::time_point BusState::nextArrival() const
{
    Clock::time_point next = Clock::time_point::max();
    for (const Device *owner : {&keyboard, &mouse}) {
        for (const PendingReport &report : owner->inFlight)
            next = std::min(next, report.readyAt);
    }
    return next;
}

void BusState::closeHandle(hid_device *handle)
{
    for (const QueuedReport &report : handle->input) {
        if (report.fate->dataPhase && !report.fate->read && report.fate.use_count() == 1)
            violation("a data-phase input report was never read: its last handle closed");
    }
    handles.erase(handle);
    delete handle;
}

void BusState::record(Op op, const hid_device *handle, const unsigned char *bytes, std::size_t length,
                      int result, std::vector<std::uint8_t> plainBlock)
{
    Record entry{op, handle->model, handle->iface,
                 bytes ? std::vector<std::uint8_t>(bytes, bytes + length) : std::vector<std::uint8_t>(),
                 Clock::now(), std::move(plainBlock), result};
    if (recordSink)
        recordSink(entry);
    records.push_back(std::move(entry));
}

void BusState::record(Op op, Model model, Interface iface, int result)
{
    records.push_back(Record{op, model, iface, {}, Clock::now(), {}, result});
    if (recordSink)
        recordSink(records.back());
}

std::string pathOf(Model model, Interface iface)
{
    return std::string(kPathPrefix) + (model == Model::Mouse ? "mouse" : "keyboard")
           + (iface == Interface::Command ? "/command" : "/event");
}

bool parsePath(const char *path, Model &model, Interface &iface)
{
    if (!path)
        return false;
    for (Model m : {Model::Keyboard, Model::Mouse}) {
        for (Interface i : {Interface::Command, Interface::Event}) {
            if (pathOf(m, i) == path) {
                model = m;
                iface = i;
                return true;
            }
        }
    }
    return false;
}

}  // namespace detail

using detail::busState;
using Lock = std::lock_guard<std::mutex>;

Bus &Bus::instance()
{
    static Bus bus;
    busState();
    return bus;
}

void Bus::reset()
{
    const detail::CatalogueIds catalogue = detail::readCatalogue();
    detail::BusState &state = busState();
    {
        Lock lock(state.mutex);
        detail::resetState(state, catalogue);
    }
    state.changed.notify_all();
}

void Bus::plug(Model model)
{
    detail::BusState &state = busState();
    {
        Lock lock(state.mutex);
        detail::Device &device = state.device(model);
        if (!device.plugged)
            detail::startPlugCycle(state, device, true);
    }
    state.changed.notify_all();
}

void Bus::unplug(Model model)
{
    detail::BusState &state = busState();
    {
        Lock lock(state.mutex);
        detail::Device &device = state.device(model);
        if (device.plugged)
            detail::startPlugCycle(state, device, false);
    }
    state.changed.notify_all();  // readers waiting on the device fail at once
}

bool Bus::isPlugged(Model model) const
{
    const detail::BusState &state = busState();
    Lock lock(state.mutex);
    return state.device(model).plugged;
}

void Bus::setFaults(Model model, const Faults &faults)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    state.device(model).faults = faults;
}

void Bus::setSecrecyText(Model model, const std::string &text)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    state.device(model).secrecyText = text;
}

void Bus::setAcknowledges(Model model, bool sendsAcks)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    state.device(model).acknowledges = sendsAcks;
}

void Bus::withMouse(const std::function<void(MouseMemory &)> &fn)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    fn(state.mouse.mouseMemory);
}

void Bus::withKeyboard(const std::function<void(KeyboardMemory &)> &fn)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    fn(state.keyboard.keyboardMemory);
}

std::vector<Record> Bus::records() const
{
    const detail::BusState &state = busState();
    Lock lock(state.mutex);
    return state.records;
}

void Bus::setRecordSink(std::function<void(const Record &)> sink)
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    state.recordSink = std::move(sink);
}

void Bus::clearRecords()
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    state.records.clear();
}

std::vector<std::uint8_t> Bus::unknownCodes(Model model) const
{
    const detail::BusState &state = busState();
    Lock lock(state.mutex);
    return state.device(model).unknownCodes;
}

std::vector<std::string> Bus::takeViolations()
{
    detail::BusState &state = busState();
    Lock lock(state.mutex);
    std::vector<std::string> taken;
    taken.swap(state.violations);
    return taken;
}

std::string Bus::violationReport()
{
    std::string report;
    for (const std::string &violation : takeViolations())
        report += (report.empty() ? "" : "; ") + violation;
    return report;
}

int Bus::openHandles() const
{
    const detail::BusState &state = busState();
    Lock lock(state.mutex);
    return int(state.handles.size());
}

}  // namespace vhid
