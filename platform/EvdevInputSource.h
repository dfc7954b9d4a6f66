#pragma once
// Desktop-wide key and button events read from the /dev/input event devices that the user
// may read (keyboards and mice), for sessions without an X server. Reading never grabs a
// device, so every event still reaches the rest of the system.
#include "platform/InputSource.h"

#include <vector>

class EvdevInputSource : public InputSource {
public:
    // Null when no keyboard or mouse event device can be opened.
    static std::unique_ptr<InputSource> create(const Handlers &handlers);
    ~EvdevInputSource() override;

    QString name() const override { return QStringLiteral("evdev devices"); }

private:
    struct Device;
    explicit EvdevInputSource(const Handlers &handlers);
    void readEvents(Device &device);

    Handlers handlers_;
    std::vector<std::unique_ptr<Device>> devices_;
};
