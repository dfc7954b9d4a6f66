#include "platform/LinuxPointerSettings.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

// Xlib last: its macros (Bool, None, Status) would clash with Qt's headers.
#include <X11/Xlib.h>

namespace {

const char *const kGsettings = "gsettings";
const char *const kMouseSchema = "org.gnome.desktop.peripherals.mouse";
const char *const kSpeedKey = "speed";
const char *const kAccelProfileKey = "accel-profile";
const char *const kDoubleClickKey = "double-click";
const char *const kFlatProfile = "flat";
const char *const kAdaptiveProfile = "adaptive";
constexpr int kGsettingsTimeoutMs = 3000;

constexpr int kMinSpeed = 1;
constexpr int kNeutralSpeed = 10;
constexpr int kMaxSpeed = 20;
// GNOME has no acceleration thresholds: report the usual desktop defaults.
constexpr int kDefaultThreshold1 = 6;
constexpr int kDefaultThreshold2 = 10;
// X's own default threshold, used when acceleration is switched on without one.
constexpr int kDefaultXThreshold = 4;

// One connection to the X server for the length of a call; null without a display.
class XConnection {
public:
    XConnection() : display(XOpenDisplay(nullptr)) {}
    ~XConnection()
    {
        if (display)
            XCloseDisplay(display);
    }
    XConnection(const XConnection &) = delete;
    XConnection &operator=(const XConnection &) = delete;

    Display *const display;
};

}  // namespace

PointerSettings::~PointerSettings() = default;

std::unique_ptr<PointerSettings> PointerSettings::create()
{
    return std::make_unique<LinuxPointerSettings>();
}

LinuxPointerSettings::LinuxPointerSettings()
{
    hasGnomeSchema = !QStandardPaths::findExecutable(kGsettings).isEmpty()
                     && runGsettings({"list-keys", kMouseSchema});
}

double LinuxPointerSettings::gnomeSpeed(int systemSpeed)
{
    const int speed = std::clamp(systemSpeed, kMinSpeed, kMaxSpeed);
    if (speed <= kNeutralSpeed)
        return double(speed - kNeutralSpeed) / (kNeutralSpeed - kMinSpeed);
    return double(speed - kNeutralSpeed) / (kMaxSpeed - kNeutralSpeed);
}

bool LinuxPointerSettings::runGsettings(const QStringList &arguments, QString *output) const
{
    QProcess process;
    process.start(kGsettings, arguments);
    if (!process.waitForFinished(kGsettingsTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
        || !process.readAllStandardError().trimmed().isEmpty())
        return false;
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return true;
}

bool LinuxPointerSettings::setGnome(const QString &key, const QString &value) const
{
    return hasGnomeSchema && runGsettings({"set", kMouseSchema, key, value});
}

bool LinuxPointerSettings::setPointerSpeed(int systemSpeed)
{
    if (hasGnomeSchema)
        return setGnome(kSpeedKey, QString::number(gnomeSpeed(systemSpeed), 'f', 4));
    return setXPointerSpeed(std::clamp(systemSpeed, kMinSpeed, kMaxSpeed));
}

bool LinuxPointerSettings::setWheelScrollLines(int lines)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;
    QApplication::setWheelScrollLines(lines);
    return true;
}

bool LinuxPointerSettings::setDoubleClickTime(int ms)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setDoubleClickInterval(ms);
    return setGnome(kDoubleClickKey, QString::number(ms));
}

bool LinuxPointerSettings::readMouse(int values[MouseValueCount])
{
    if (!hasGnomeSchema)
        return readXMouse(values);
    QString profile;
    if (!runGsettings({"get", kMouseSchema, kAccelProfileKey}, &profile))
        return false;
    values[Threshold1] = kDefaultThreshold1;
    values[Threshold2] = kDefaultThreshold2;
    values[AccelerationLevel] = profile.contains(kFlatProfile) ? 0 : 1;
    return true;
}

bool LinuxPointerSettings::writeMouse(const int values[MouseValueCount])
{
    if (!hasGnomeSchema)
        return writeXMouse(values);
    const char *profile = values[AccelerationLevel] == 0 ? kFlatProfile : kAdaptiveProfile;
    return setGnome(kAccelProfileKey, QString("'%1'").arg(profile));
}

bool LinuxPointerSettings::setXPointerSpeed(int systemSpeed) const
{
    XConnection x;
    if (!x.display)
        return false;
    XChangePointerControl(x.display, True, False, systemSpeed, kNeutralSpeed, 0);
    XSync(x.display, False);
    return true;
}

bool LinuxPointerSettings::readXMouse(int values[MouseValueCount]) const
{
    XConnection x;
    if (!x.display)
        return false;
    int numerator = 0, denominator = 0, threshold = 0;
    XGetPointerControl(x.display, &numerator, &denominator, &threshold);
    values[Threshold1] = threshold;
    values[Threshold2] = threshold;
    values[AccelerationLevel] = threshold > 0 ? 1 : 0;
    return true;
}

bool LinuxPointerSettings::writeXMouse(const int values[MouseValueCount]) const
{
    XConnection x;
    if (!x.display)
        return false;
    int threshold = 0;
    if (values[AccelerationLevel] != 0)
        threshold = values[Threshold1] > 0 ? values[Threshold1] : kDefaultXThreshold;
    XChangePointerControl(x.display, False, True, 0, 0, threshold);
    XSync(x.display, False);
    return true;
}
