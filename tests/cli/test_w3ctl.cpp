// w3ctl in-process on the virtual mouse: each command sends the bytes and leaves the profile
// that the window's slots give for the same setting (the slots called with the values the
// scene computes, written out here); usage errors, the missing mouse, the left-click
// protection, the JSON output, the profile switch and the pointer settings.
#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/SensorActions.h"
#include "controller/Controllers.h"
#include "controller/KeyNameTable.h"
#include "controller/MacroEncoder.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "platform/DeviceLock.h"
#include "platform/PointerSettings.h"
#include "scenelogic/LightingLogic.h"
#include "scenelogic/SensorLogic.h"
#include "tests/cli/CliRun.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/ProvenDevice.h"
#include "tests/support/UnwritableFile.h"
#include "virtual/VirtualBus.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using WindowSetting = std::function<void(myQQuickView &)>;
using MouseSetup = std::function<void(vhid::MouseMemory &)>;
using Code = QList<int>;

constexpr int kIdleTimeoutMs = 10000;
constexpr int kSensor3320 = 1;
const char *const kProfile1 = "modules/setting/p1.bin";
const char *const kMacroName = "Sprint";

// The Sets on the wire: each command block as the device read it, and each data report.
QStringList setTraffic()
{
    QStringList traffic;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] != 0x00
            && record.plainBlock[0] < 0x80)
            traffic << "cmd " + QByteArray(reinterpret_cast<const char *>(record.plainBlock.data()),
                                           int(record.plainBlock.size())).toHex(' ');
        if (record.op == vhid::Op::Write && record.iface == vhid::Interface::Command)
            traffic << "data " + QByteArray(reinterpret_cast<const char *>(record.bytes.data()),
                                            int(record.bytes.size())).toHex(' ');
    }
    return traffic;
}

// Every key of the profile in use and of the macro files, with its text.
QMap<QString, QString> storedSettings()
{
    QMap<QString, QString> stored;
    QStringList files{kProfile1};
    for (const QString &macro : QDir("modules/macro").entryList({"*.bin"}, QDir::Files))
        files << "modules/macro/" + macro;
    for (const QString &file : files) {
        const QSettings settings(file, QSettings::IniFormat);
        for (const QString &key : settings.allKeys()) {
            const QVariant value = settings.value(key);
            const bool isList = value.type() == QVariant::List || value.type() == QVariant::StringList;
            stored.insert(file + ":" + key, isList ? value.toStringList().join(',') : value.toString());
        }
    }
    return stored;
}

void plugMouse(const MouseSetup &setup = {})
{
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);
    vhid::Bus::instance().withMouse([&setup](vhid::MouseMemory &mouse) {
        mouse.sensorType = kSensor3320;
        if (setup)
            setup(mouse);
    });
}

// A logo light that shows any colour: option1 of the indicator options is not 0.
void anyColorLight(vhid::MouseMemory &mouse)
{
    mouse.ledInstruct[0] = {1, 0, 0};
}

// The stored list of a colour type with its first items replaced.
QVariantList storedColors(myQQuickView &view, uchar type, const QVariantList &first)
{
    QVariantList colors = view.ui_90H_GetLED8StageColor(type);
    for (int i = 0; i < first.size(); ++i)
        colors[i] = first.at(i);
    return colors;
}

void writeMacro(const QString &name)
{
    QSettings macro("modules/macro/" + name + ".bin", QSettings::IniFormat);
    macro.setValue("config/index", -1);
    macro.setValue("config/repeat", 3);
    macro.setValue("config/did", -1);
    macro.setValue("config/total", 2);
    macro.setValue("macro/0", "A    [Down]");
    macro.setValue("macro/1", "A      [Up]");
}

// A macro that presses and releases `key` (a key name), played `repeat` times.
void writeKeyMacro(const QString &name, const QString &key, int repeat)
{
    writeMacro(name);
    QSettings macro("modules/macro/" + name + ".bin", QSettings::IniFormat);
    macro.setValue("config/repeat", repeat);
    macro.setValue("macro/0", key + "    [Down]");
    macro.setValue("macro/1", key + "      [Up]");
}

// The 128 bytes the mouse should hold for a macro file: its image with the repeat header.
std::vector<std::uint8_t> mouseImageOf(const QString &name)
{
    const QSettings macro("modules/macro/" + name + ".bin", QSettings::IniFormat);
    QStringList lines;
    for (int i = 0; i < macro.value("config/total").toInt(); ++i)
        lines << macro.value("macro/" + QString::number(i)).toString();
    std::vector<std::uint8_t> image(MacroImage::kMouseCapacity, 0);
    const QList<uchar> encoded = encodeMacro(lines, 1, KeyNameTable());
    std::copy(encoded.cbegin(), encoded.cend(), image.begin());
    const int repeat = macro.value("config/repeat").toInt();
    image[0] = std::uint8_t(repeat >> 8);
    image[1] = std::uint8_t(repeat & 0xFF);
    return image;
}

// The key page's play modes of a macro.
constexpr int kPlayOnce = 0;
constexpr int kRepeatWhileHeld = 2;

KeyCodeLogic::KeyCode keyCode(const Code &code)
{
    KeyCodeLogic::KeyCode result{};
    std::copy_n(code.begin(), std::min(int(result.size()), code.size()), result.begin());
    return result;
}

// The key page with one button changed, then APPLY: the wheel box, then the matrix.
WindowSetting applyButton(int button, Code code)
{
    return [button, code](myQQuickView &view) {
        KeyActions &keys = *view.actions().keys;
        keys.start();
        keys.assign(button, keyCode(code));
        keys.apply();
    };
}

// The key page's macro choice for one button, then APPLY; the button must show `code`.
WindowSetting applyMacroButton(int button, int playMode, int repeat, Code code)
{
    return [button, playMode, repeat, code](myQQuickView &view) {
        KeyActions &keys = *view.actions().keys;
        keys.start();
        QVERIFY(keys.assignMacro(button, kMacroName, playMode, repeat) >= 0);
        QCOMPARE(keys.codes()[size_t(button)], keyCode(code));
        keys.apply();
    };
}

// What the window records for a setting, on a fresh copy of the modules.
struct WindowRun {
    QStringList traffic;
    QMap<QString, QString> stored;
};

WindowRun runWindow(const WindowSetting &setting, const MouseSetup &mouseSetup)
{
    ModulesSandbox sandbox;
    writeMacro(kMacroName);
    plugMouse(mouseSetup);
    Hid_Thread hid;
    testsupport::markHandshakePassed();
    hid.rebuildDevices(testsupport::shippedCatalogue());
    myQQuickView view;
    view.setHidThread(&hid);
    vhid::Bus::instance().clearRecords();
    setting(view);
    hid.waitUntilIdle(kIdleTimeoutMs);
    view.profiles().flush();
    return {setTraffic(), storedSettings()};
}

class FakePointer : public PointerSettings {
public:
    bool setPointerSpeed(int systemSpeed) override { calls << QString("speed %1").arg(systemSpeed); return true; }
    bool setWheelScrollLines(int lines) override { calls << QString("lines %1").arg(lines); return true; }
    bool setDoubleClickTime(int ms) override { calls << QString("double-click %1").arg(ms); return true; }
    bool readMouse(int values[MouseValueCount]) override
    {
        std::fill(values, values + MouseValueCount, 0);
        return true;
    }
    bool writeMouse(const int values[MouseValueCount]) override
    {
        calls << QString("acceleration %1").arg(values[AccelerationLevel]);
        return true;
    }
    static QStringList calls;
};
QStringList FakePointer::calls;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isRoot()
{
    return ::geteuid() == 0;
}

// What an export must not replace, made at `path`; how it looks, to see it stayed so.
QString makeSpecialTarget(const QString &kind, const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (kind == "folder")
        QDir().mkpath(path);
    else if (kind == "pipe")
        ::mkfifo(native.constData(), 0600);
    else if (kind == "link to a pipe" && ::mkfifo(QFile::encodeName(path + ".fifo").constData(), 0600) == 0)
        QFile::link(path + ".fifo", path);
    else if (kind == "device node")  // the null device's numbers, in the test's own folder
        ::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3));
    else if (kind == "link to nothing")
        QFile::link(path + ".missing", path);
    else if (kind == "link to standard output")  // what /dev/stdout is
        QFile::link("/proc/self/fd/1", path);
    struct stat status {};
    if (::lstat(native.constData(), &status) != 0)
        return kind == "missing folder" ? "absent" : "not made";
    return QString("mode %1").arg(status.st_mode, 0, 8);
}

// A folder the user cannot write, holding "old.pf": read-only by its mode, or, for root, who
// writes there anyway, a small read-only file system.
class LockedFolder {
public:
    explicit LockedFolder(const QString &path) : path(path)
    {
        QDir().mkpath(path);
        if (isRoot()) {
            mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", path}) == 0;
            if (!mounted)
                return;
        }
        QFile old(path + "/old.pf");
        made = old.open(QIODevice::WriteOnly) && old.write("old") == 3;
        old.close();
        made = made && (isRoot() ? QProcess::execute("mount", {"-o", "remount,ro", path}) == 0
                                 : QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
    }
    ~LockedFolder()
    {
        if (mounted)
            QProcess::execute("umount", {path});
        else
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool isMade() const { return made; }

private:
    QString path;
    bool mounted = false;
    bool made = false;
};

QString storedMacroNames()
{
    return QDir("modules/macro").entryList({"*.bin"}, QDir::Files).join(',');
}

}  // namespace

Q_DECLARE_METATYPE(WindowSetting)
Q_DECLARE_METATYPE(MouseSetup)

class TestW3ctl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("W3_DEVICE_LOCK", QDir::temp().filePath("w3ctl-test-%1.lock").arg(QCoreApplication::applicationPid()).toUtf8());
        Controllers::setPointerFactory([] { return std::make_unique<FakePointer>(); });
    }
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        writeMacro(kMacroName);
        plugMouse();
        FakePointer::calls.clear();
    }
    void cleanup() { sandbox.reset(); }

    void aSettingMatchesTheWindowOnTheWireAndInTheProfile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<WindowSetting>("window");
        QTest::addColumn<MouseSetup>("mouse");
        const auto row = [](const char *name, const QString &arguments, WindowSetting window,
                            MouseSetup mouse = {}) {
            QTest::newRow(name) << arguments.split(' ') << window << mouse;
        };
        // The sensor page's own actions, as its controls call them.
        row("dpi stage", "dpi stage 2", [](myQQuickView &v) { v.actions().sensor->useStage(1); });
        row("dpi set", "dpi set 500,1000,7000", [](myQQuickView &v) {
            v.actions().sensor->sendStages(v.getSensorType().toInt(), 8, {500, 1000, 7000, 0, 0, 0, 0, 0});
        });
        row("dpi colours, fixed colours only", "dpi colors red,#00FFFF", [](myQQuickView &v) {
            v.actions().sensor->sendStageColors(true, storedColors(v, 2, {0, 4}));
        });
        row("dpi colours", "dpi colors #102030,yellow", [](myQQuickView &v) {
            v.actions().sensor->sendStageColors(false, storedColors(v, 1, {0x10, 0x20, 0x30, 255, 255, 0}));
        }, anyColorLight);
        row("rate 1000", "rate 1000", [](myQQuickView &v) { v.actions().sensor->setReportRate(3); });
        row("rate 125", "rate 125", [](myQQuickView &v) { v.actions().sensor->setReportRate(0); });
        row("wheel", "wheel reversed", [](myQQuickView &v) { v.setScrollPinSwap(true); });
        row("key", "button 4 key:F5", applyButton(3, {0x00, 0x00, 0x3E, 0x00}));
        row("key by name", "button backward key:a", applyButton(3, {0x00, 0x00, 0x04, 0x00}));
        row("combo", "button 2 combo:ctrl+shift+a", applyButton(1, {0x00, 0x01, 0xE1, 0x04}));
        row("combo of a right modifier alone", "button 2 combo:rwin", applyButton(1, {0x00, 0x00, 0xE7, 0x00}));
        row("media", "button dpi-up media:volume-up", applyButton(5, {0x03, 0x00, 0xE9, 0x00}));
        row("media of two bytes", "button 6 media:www-home", applyButton(5, {0x03, 0x00, 0x23, 0x02}));
        row("fire", "button 5 fire:left:5:3", applyButton(4, {0x0A, 0xF0, 0x50, 0x03}));
        row("fire slowest", "button 5 fire:A:0:255", applyButton(4, {0x0A, 0x04, 0xFF, 0xFF}));
        row("triple click", "button 5 mouse:triple-click", applyButton(4, {0x0A, 0xF0, 0x21, 0x03}));
        row("led", "button 7 led", applyButton(6, {0x0B, 0x00, 0x00, 0x00}));
        row("dpi switch", "button 3 dpi:switch", applyButton(2, {0x07, 0x00, 0x03, 0x00}));
        row("scroll", "button 9 scroll:up", applyButton(15, {0x04, 0x00, 0x01, 0x00}));
        row("callout 8", "button 8 key:F5", applyButton(14, {0x00, 0x00, 0x3E, 0x00}));
        row("callout 8 by name", "button scroll-up key:F5", applyButton(14, {0x00, 0x00, 0x3E, 0x00}));
        row("none", "button 3 none", applyButton(2, {0x00, 0x00, 0x00, 0x00}));
        row("left click away, forced", "button 1 key:A --force", applyButton(0, {0x00, 0x00, 0x04, 0x00}));
        row("macro held", QString("button 4 macro:%1:held").arg(kMacroName),
            applyMacroButton(3, kRepeatWhileHeld, 3, {0x09, 0x02, 0x01, 0x00}));
        row("macro played 7 times", QString("button 4 macro:%1:7").arg(kMacroName),
            applyMacroButton(3, kPlayOnce, 7, {0x09, 0x00, 0x01, 0x00}));
        // The lighting page's own actions, as its controls call them.
        row("breathing", "light breathing --brightness 5 --speed 6", [](myQQuickView &v) {
            v.actions().lighting->apply(2, 5, 6, true);
        });
        row("wave", "light wave --brightness 5 --speed 0", [](myQQuickView &v) {
            v.actions().lighting->apply(4, 5, 0, true);
        });
        row("brightness of the effect in use", "light --brightness 3", [](myQQuickView &v) {
            const QVariantList stored = v.ui_8DH_GetRGBLedEffect();  // static, step 7, speed 3, on
            v.actions().lighting->apply(stored.at(0).toInt(), 3, stored.at(2).toInt(), true);
        });
        row("spotlight", "light spotlight --brightness 0 --speed 7", [](myQQuickView &v) {
            v.actions().lighting->apply(9, 0, 7, true);
        });
        row("off", "light off --", [](myQQuickView &v) {
            const QVariantList stored = v.ui_8DH_GetRGBLedEffect();
            v.actions().lighting->apply(stored.value(0).toInt(), stored.value(1).toInt(), stored.value(2).toInt(), false);
        });
        row("colours", "light static --brightness 7 --speed 4 --colors #102030,#FFFFFF", [](myQQuickView &v) {
            QVariantList palette = v.ui_90H_GetLED8StageColor(0);
            const QList<int> first{0x10, 0x20, 0x30, 255, 255, 255};
            for (int i = 0; i < first.size(); ++i)
                palette[i] = first.at(i);
            v.actions().lighting->sendPalette(palette);
            v.actions().lighting->apply(0, 7, 4, true);
        });
    }
    // Each page action against the view's slots called one by one, as the pages called them
    // before the actions existed: same bytes in the same order, same profile.
    void aPageActionSendsWhatThePageSent_data()
    {
        QTest::addColumn<WindowSetting>("action");
        QTest::addColumn<WindowSetting>("viewSlots");
        QTest::addColumn<MouseSetup>("mouse");
        const auto row = [](const char *name, WindowSetting action, WindowSetting viewSlots, MouseSetup mouse = {}) {
            QTest::newRow(name) << action << viewSlots << mouse;
        };
        row("stages", [](myQQuickView &v) { v.actions().sensor->sendStages(v.getSensorType().toInt(), 8, {500, 1000, 7000, 0, 0, 0, 0, 0}); },
            [](myQQuickView &v) {
                v.ui_11H_SetDPISet(8, {0x02, 0x04, 0x4E, 0x80, 0x80, 0x80, 0x80, 0x80}, {500, 1000, 7000, 0, 0, 0, 0, 0});
            });
        row("stages on fewer buttons", [](myQQuickView &v) { v.actions().sensor->sendStages(v.getSensorType().toInt(), 3, {400, 0, 800, 0, 0, 0, 0, 0}); },
            [](myQQuickView &v) {
                const QList<int> values{400, 0, 800, 0, 0, 0, 0, 0};
                v.ui_11H_SetDPISet(3, SensorLogic::encodeStages(v.getSensorType().toInt(), values), {400, 0, 800, 0, 0, 0, 0, 0});
            });
        row("stage colour ids", [](myQQuickView &v) { v.actions().sensor->sendStageColors(true, storedColors(v, 2, {3, 1})); },
            [](myQQuickView &v) { v.ui_10H_SetLED8StageColor(2, storedColors(v, 2, {3, 1})); });
        row("stage colours", [](myQQuickView &v) { v.actions().sensor->sendStageColors(false, storedColors(v, 1, {1, 2, 3})); },
            [](myQQuickView &v) { v.ui_10H_SetLED8StageColor(1, storedColors(v, 1, {1, 2, 3})); }, anyColorLight);
        row("sensor apply", [](myQQuickView &v) { v.actions().sensor->apply(1, 7, 3, 9, 2); },
            [](myQQuickView &v) {
                v.ui_01H_SetReportRate(4);
                v.setCursorSpeed(7);
                v.setVerticalScrollLines(3);
                v.setDoubleClickSpeed(9);
                v.ui_0BH_SetCurrentDPIStage(3);
            });
        row("palette", [](myQQuickView &v) { v.actions().lighting->sendPalette(storedColors(v, 0, {9, 8, 7})); },
            [](myQQuickView &v) { v.ui_10H_SetLED8StageColor(0, storedColors(v, 0, {9, 8, 7})); });
        row("effect", [](myQQuickView &v) { v.actions().lighting->apply(3, 4, 5, true); },
            [](myQQuickView &v) {
                const QList<int> command = LightingLogic::ledCommand(3, 4, 5, true);
                v.ui_0DH_SetRGBLedEffect(uchar(command.at(0)), uchar(command.at(1)), uchar(command.at(2)), {3, 4, 5, 1});
            });
        row("light off", [](myQQuickView &v) { v.actions().lighting->apply(6, 2, 1, false); },
            [](myQQuickView &v) { v.ui_0DH_SetRGBLedEffect(0, 0, 0, {6, 2, 1, 0}); });
    }
    void aPageActionSendsWhatThePageSent()
    {
        QFETCH(WindowSetting, action);
        QFETCH(WindowSetting, viewSlots);
        QFETCH(MouseSetup, mouse);
        const WindowRun byAction = runWindow(action, mouse);
        const WindowRun bySlots = runWindow(viewSlots, mouse);
        QVERIFY(!bySlots.traffic.isEmpty());
        QCOMPARE(byAction.traffic, bySlots.traffic);
        QCOMPARE(byAction.stored, bySlots.stored);
    }

    void aSettingMatchesTheWindowOnTheWireAndInTheProfile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(WindowSetting, window);
        QFETCH(MouseSetup, mouse);
        arguments.removeAll("--");
        plugMouse(mouse);
        const CliRun cli = CliRun::of(arguments);
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QCOMPARE(cli.err, QString());
        const QStringList cliTraffic = setTraffic();
        const QMap<QString, QString> cliStored = storedSettings();
        QVERIFY(vhid::Bus::instance().violationReport().empty());

        const WindowRun expected = runWindow(window, mouse);
        QVERIFY(!expected.traffic.isEmpty());
        QCOMPARE(cliTraffic, expected.traffic);
        for (auto it = expected.stored.cbegin(); it != expected.stored.cend(); ++it)
            QCOMPARE(it.key() + " = " + cliStored.value(it.key()), it.key() + " = " + it.value());
        QCOMPARE(cliStored.keys(), expected.stored.keys());
    }

    void aUsageErrorSaysWhatIsWrongAndChangesNothing_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << "" << "no command given; see `w3ctl --help`";
        QTest::newRow("unknown command") << "frob" << "unknown command \"frob\"; see `w3ctl --help`";
        QTest::newRow("unknown option") << "status --loud" << "unknown option --loud; see `w3ctl status --help`";
        QTest::newRow("option of another command") << "dpi --brightness 3"
                                                   << "option --brightness is not one of \"dpi\"'s; see `w3ctl dpi --help`";
        QTest::newRow("option without value") << "light static --speed" << "option --speed needs a value; see `w3ctl light --help`";
        for (const char *wait : {"soon", "nan", "NaN", "inf", "-inf", "-1", "3601", "1e999"})
            QTest::newRow(qPrintable(QString("wait %1").arg(wait)))
                << QString("--wait %1 status").arg(wait) << "--wait takes seconds, 0-3600; see `w3ctl --help`";
        QTest::newRow("wait nan after =") << "--wait=nan rate 1000" << "--wait takes seconds, 0-3600; see `w3ctl --help`";
        QTest::newRow("help of an unknown command") << "frob --help" << "unknown command \"frob\"; see `w3ctl --help`";
        QTest::newRow("help before an unknown command") << "-h frob" << "unknown command \"frob\"; see `w3ctl --help`";
        QTest::newRow("version of an unknown command") << "frob --version"
                                                       << "unknown command \"frob\"; see `w3ctl --help`";
        QTest::newRow("extra argument") << "status now" << "unexpected argument \"now\"; see `w3ctl status --help`";
        QTest::newRow("profile 0") << "profile 0" << "profile must be 1-10, not \"0\"; see `w3ctl profile --help`";
        QTest::newRow("profile 11") << "profile reset 11" << "profile must be 1-10, not \"11\"; see `w3ctl profile --help`";
        QTest::newRow("profile export short") << "profile export 2" << "too few arguments; see `w3ctl profile --help`";
        QTest::newRow("rate") << "rate 300" << "report rate must be 125, 250, 500 or 1000, not \"300\"; see `w3ctl rate --help`";
        QTest::newRow("dpi action") << "dpi up 2" << "unknown dpi action \"up\"; see `w3ctl dpi --help`";
        QTest::newRow("dpi stage range") << "dpi stage 9" << "stage must be 1-8; see `w3ctl dpi --help`";
        QTest::newRow("dpi value") << "dpi set 500,1234"
                                   << "1234 DPI is not a value of the ANDS3320 sensor; allowed: 0, 500, 1000, 1750, "
                                      "2000, 2500, 3000, 3500, 4000, 5000, 6000, 7000; see `w3ctl dpi --help`";
        QTest::newRow("dpi all unused") << "dpi set 0,0"
                                        << "one stage at least must have a value; see `w3ctl dpi --help`";
        QTest::newRow("dpi too many") << "dpi set 500,500,500,500,500,500,500,500,500"
                                      << "the mouse has 8 stages, not 9; see `w3ctl dpi --help`";
        const QString buttons = "buttons: 1 (left-button), 2 (right-button), 3 (middle-button), 4 (backward), "
                                "5 (forward), 6 (dpi-up), 7 (dpi-down), 8 (scroll-up), 9 (scroll-down); "
                                "see `w3ctl button --help`";
        QTest::newRow("button") << "button 10 led" << "no button \"10\" on this mouse; " + buttons;
        QTest::newRow("button by its slot") << "button 16 led" << "no button \"16\" on this mouse; " + buttons;
        QTest::newRow("button 0") << "button 0" << "no button \"0\" on this mouse; " + buttons;
        QTest::newRow("function") << "button 2 jump"
                                  << "unknown function \"jump\"; one of: key:KEY, mouse:BUTTON, media:NAME, "
                                     "combo:[MODIFIER+]KEY[+KEY], macro:NAME[:COUNT|:always|:held], "
                                     "fire:BUTTON|KEY:SPEED:COUNT, led, dpi:+|-|switch, scroll:up|down, none, "
                                     "default; see `w3ctl button --help`";
        QTest::newRow("key") << "button 2 key:Hyper" << "unknown key \"Hyper\"; see `w3ctl button --help`";
        QTest::newRow("combo") << "button 2 combo:ctrl+a+b+c"
                               << "a combination is one modifier and one or two keys: combo:ctrl+shift+a; "
                                  "see `w3ctl button --help`";
        QTest::newRow("fire speed") << "button 2 fire:left:8:3" << "fire speed must be 0-7; see `w3ctl button --help`";
        QTest::newRow("fire count") << "button 2 fire:left:3:256" << "fire count must be 0-255; see `w3ctl button --help`";
        QTest::newRow("macro") << "button 2 macro:Nothing"
                               << "no macro named \"Nothing\"; `w3ctl macro list` lists them; see `w3ctl button --help`";
        QTest::newRow("last left click") << "button 1 mouse:right"
                                         << "button 1 (left-button) is the last one with the left click; without it "
                                            "the mouse cannot click. Add --force to do it anyway; see `w3ctl button --help`";
        QTest::newRow("effect") << "light disco" << "unknown effect \"disco\"; one of: static, twinkling, breathing, "
                                                    "neon, wave, gliding, finger-moving, vertical-flipping, yo-yo, "
                                                    "spotlight, on, off; see `w3ctl light --help`";
        QTest::newRow("brightness") << "light static --brightness 8" << "--brightness must be 0-7; see `w3ctl light --help`";
        QTest::newRow("colour") << "light static --colors #12345" << "\"#12345\" is not a colour #RRGGBB; see `w3ctl light --help`";
        QTest::newRow("too many colours") << "light static --colors red,red,red,red,red,red,red,red,red"
                                          << "the mouse shows 8 colours, not 9; see `w3ctl light --help`";
        QTest::newRow("dpi colour") << "dpi colors #123456"
                                    << "this mouse's indicator shows only red, green, blue, magenta, cyan, yellow, "
                                       "white, orange, not #123456; see `w3ctl dpi --help`";
        QTest::newRow("off with options") << "light off --speed 2" << "light off takes no options; see `w3ctl light --help`";
        QTest::newRow("wheel") << "wheel up" << "wheel direction must be normal or reversed; see `w3ctl wheel --help`";
        QTest::newRow("pointer step") << "pointer --speed 11" << "--speed must be 0-10; see `w3ctl pointer --help`";
        QTest::newRow("acceleration") << "pointer --acceleration yes" << "--acceleration must be on or off; see `w3ctl pointer --help`";
        QTest::newRow("macro action") << "macro run Sprint" << "unknown macro action \"run\"; see `w3ctl macro --help`";
        QTest::newRow("macro show") << "macro show Nothing" << "no macro named \"Nothing\"; see `w3ctl macro --help`";
        QTest::newRow("macro name with a slash") << "macro import modules/macro/Sprint.bin a/b"
                                                 << "\"a/b\" cannot be a macro name: a name holds no /, \\, control, "
                                                    "direction or other invisible characters, and is not \".\" or "
                                                    "\"..\"; see `w3ctl macro --help`";
    }
    void aUsageErrorSaysWhatIsWrongAndChangesNothing()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const QByteArray profileBefore = fileBytes(kProfile1);
        vhid::Bus::instance().clearRecords();
        const CliRun cli = CliRun::of(arguments.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(cli.code, 1);
        QCOMPARE(cli.err, "w3ctl: " + message + "\n");
        QCOMPARE(cli.out, QString());
        QCOMPARE(setTraffic(), QStringList());
        QCOMPARE(fileBytes(kProfile1), profileBefore);
        QVERIFY(FakePointer::calls.isEmpty());
    }

    // `app` works on the links file alone: each row runs its steps, then one command, and
    // compares what it printed, its exit code and the links as `app list` shows them after.
    void applicationLinksFollowTheCommandLine_data()
    {
        QTest::addColumn<QByteArray>("file");       // the links file before; empty: none
        QTest::addColumn<QStringList>("steps");     // commands run first, each must succeed
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("listed");        // `app list` afterwards
        const QString none = "switch off\ndefault none\n";
        QTest::newRow("no file yet") << QByteArray() << QStringList() << "app list" << 0 << none << "" << none;
        QTest::newRow("by window class")
            << QByteArray() << QStringList() << "app link 3 --class steam" << 0 << "profile 3 follows steam\n" << ""
            << none + "link 3 --class steam\n";
        QTest::newRow("by application id, listed by profile")
            << QByteArray() << QStringList{"app link 5 --program blender"} << "app link 3 --id org.gnome.Gedit" << 0
            << "profile 3 follows org.gnome.Gedit\n" << ""
            << none + "link 3 --id org.gnome.Gedit\nlink 5 --program blender\n";
        QTest::newRow("unlink one kind")
            << QByteArray() << QStringList{"app link 3 --class steam", "app link 3 --program steam"}
            << "app unlink 3 --program steam" << 0 << "profile 3 no longer follows steam\n" << ""
            << none + "link 3 --class steam\n";
        QTest::newRow("a kind without its name")
            << QByteArray() << QStringList{"app link 3 --class steam"} << "app unlink 3 steam --program" << 1 << ""
            << "w3ctl: option --program needs a value; " << none + "link 3 --class steam\n";
        QTest::newRow("unlink every way")
            << QByteArray() << QStringList{"app link 3 --class steam", "app link 3 --program steam"}
            << "app unlink 3 steam" << 0 << "profile 3 no longer follows steam\n" << "" << none;
        QTest::newRow("unlink what is not linked")
            << QByteArray() << QStringList{"app link 3 --class steam"} << "app unlink 4 steam" << 1 << ""
            << "w3ctl: No such application is linked to this profile.\n" << none + "link 3 --class steam\n";
        QTest::newRow("default and switch")
            << QByteArray() << QStringList{"app on"} << "app default 10" << 0
            << "profile 10 when no application matches\n" << "" << "switch on\ndefault 10\n";
        QTest::newRow("no default")
            << QByteArray() << QStringList{"app default 2", "app on", "app off"} << "app default none" << 0
            << "no default profile\n" << "" << none;
        QTest::newRow("already linked elsewhere")
            << QByteArray() << QStringList{"app link 2 --class Steam"} << "app link 3 --class steam" << 1 << ""
            << "w3ctl: This application is already linked to P02.\n" << none + "link 2 --class Steam\n";
        QTest::newRow("control characters")
            << QByteArray() << QStringList() << "app link 3 --class st\x1b[0meam" << 1 << ""
            << "w3ctl: The name holds invisible or control characters.\n" << none;
        QTest::newRow("a folder for a program")
            << QByteArray() << QStringList() << "app link 3 --program /usr/bin/blender" << 1 << ""
            << "w3ctl: A program is named by its file name, without a folder.\n" << none;
        QTest::newRow("two kinds at once")
            << QByteArray() << QStringList() << "app link 3 --class a --id b" << 1 << ""
            << "w3ctl: give one of --id, --class and --program; " << none;
        QTest::newRow("no kind")
            << QByteArray() << QStringList() << "app link 3" << 1 << ""
            << "w3ctl: give the application with --id, --class or --program; " << none;
        QTest::newRow("default out of range")
            << QByteArray() << QStringList() << "app default 11" << 1 << "" << "w3ctl: profile must be 1-10, not \"11\"; "
            << none;
        QTest::newRow("unknown action")
            << QByteArray() << QStringList() << "app follow 3" << 1 << "" << "w3ctl: unknown app action \"follow\"; "
            << none;
        const QByteArray fiveLinks
            = "[follow]\nenabled=true\n\n[rule]\n1\\match=windowClass\n1\\name=steam\n1\\profile=0\n"
              "2\\match=appId\n2\\name=org.gnome.Gedit\n2\\profile=1\n3\\match=program\n"
              "3\\name=blender\n3\\profile=2\n4\\match=windowClass\n4\\name=gimp\n4\\profile=3\n"
              "5\\match=appId\n5\\name=lead trail\n5\\profile=4\nsize=5\n";
        const QByteArray countLost = QByteArray(fiveLinks).replace("size=5\n", "");
        QTest::newRow("a file that lost a line is not listed")
            << countLost << QStringList() << "app list" << 3 << ""
            << "w3ctl: cannot read ./modules/setting/appRules.ini: it has no size in [rule]\n"
            << "";
        QTest::newRow("a file that lost a line is not replaced")
            << countLost << QStringList() << "app link 6 --class x" << 3 << ""
            << "w3ctl: ./modules/setting/appRules.ini: The links file cannot be read (it has no size in [rule]); "
               "nothing is changed.\n"
            << "";
        const QByteArray sixLinks
            = QByteArray(fiveLinks).replace("size=5\n", "6\\match=windowClass\n6\\name=it's\n6\\profile=4\nsize=6\n");
        const QString quoted = "switch on\ndefault none\nlink 1 --class steam\nlink 2 --id org.gnome.Gedit\n"
                               "link 3 --program blender\nlink 4 --class gimp\nlink 5 --id 'lead trail'\n"
                               "link 5 --class 'it'\\''s'\n";
        QTest::newRow("names listed as a shell reads them")
            << sixLinks << QStringList() << "app list" << 0 << quoted << "" << quoted;
        QTest::newRow("a program named ..") << QByteArray() << QStringList() << "app link 3 --program .." << 1 << ""
                                            << "w3ctl: A program is named by its file name, without a folder.\n"
                                            << none;
        const QByteArray damaged = "[follow]\nenabled=yes\n";
        QTest::newRow("damaged file is not replaced")
            << damaged << QStringList() << "app on" << 3 << ""
            << "w3ctl: ./modules/setting/appRules.ini: The links file cannot be read (the switch is neither true "
               "nor false); nothing is changed.\n"
            << "";
        QTest::newRow("damaged file is not listed")
            << damaged << QStringList() << "app list" << 3 << ""
            << "w3ctl: cannot read ./modules/setting/appRules.ini: the switch is neither true nor false\n" << "";
    }
    void applicationLinksFollowTheCommandLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, steps);
        QFETCH(QString, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, listed);
        const QString links = "modules/setting/appRules.ini";
        QFile::remove(links);
        if (!file.isEmpty()) {
            QFile damaged(links);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(file);
        }
        for (const QString &step : steps) {
            const CliRun run = CliRun::of(step.split(' '));
            QVERIFY2(run.code == 0, qPrintable(step + ": " + run.err));
        }
        const QByteArray before = fileBytes(links);
        vhid::Bus::instance().clearRecords();
        const CliRun cli = CliRun::of(arguments.split(' '));
        QCOMPARE(cli.code, code);
        QCOMPARE(cli.out, out);
        QVERIFY2(err.isEmpty() ? cli.err.isEmpty() : cli.err.startsWith(err), qPrintable(cli.err));
        QCOMPARE(setTraffic(), QStringList());
        if (code != 0)
            QCOMPARE(fileBytes(links), before);
        if (!listed.isEmpty()) {
            const CliRun list = CliRun::of({"app", "list"});
            QCOMPARE(list.out, listed);
        }
        if (!file.isEmpty())
            QCOMPARE(fileBytes(links), file);
    }

    // One process answers every command, as the running program does for w3ctl: a links file
    // it may read but not write is listed each time, and each change is refused with the
    // system's reason.
    void aLinksFileThatCannotBeWrittenIsListed()
    {
        const QString links = "modules/setting/appRules.ini";
        QFile::remove(links);
        QCOMPARE(CliRun::of({"app", "link", "3", "--class", "steam"}).code, 0);
        const QByteArray before = fileBytes(links);
        const UnwritableFile unwritable(links);
        if (!unwritable.skipReason().isEmpty())
            QSKIP(qPrintable(unwritable.skipReason()));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const CliRun change = CliRun::of({"app", "link", "4", "--program", "blender"});
            QCOMPARE(change.code, 3);
            QCOMPARE(change.err,
                "w3ctl: ./modules/setting/appRules.ini: The links file cannot be written (" + unwritable.systemReason()
                    + "); nothing is changed.\n");
            const CliRun list = CliRun::of({"app", "list"});
            QCOMPARE(list.err, QString());
            QCOMPARE(list.out, QString("switch off\ndefault none\nlink 3 --class steam\n"));
        }
        QCOMPARE(fileBytes(links), before);
    }

    void withoutAMouseASettingExitsWithTwoAndChangesNothing()
    {
        vhid::Bus::instance().reset();
        const QByteArray profileBefore = fileBytes(kProfile1);
        for (const QString arguments : {"rate 1000", "dpi stage 1", "button 4 key:A", "light off"}) {
            const CliRun cli = CliRun::of(arguments.split(' '));
            QCOMPARE(cli.code, 2);
            QCOMPARE(cli.err, QString("w3ctl: no W3 mouse found\n"));
        }
        QCOMPARE(fileBytes(kProfile1), profileBefore);
        const CliRun status = CliRun::of({"--json", "status"});
        QCOMPARE(status.code, 2);
        QCOMPARE(QJsonDocument::fromJson(status.out.toUtf8()).object().value("found").toBool(true), false);
    }

    // The running window keeps what it sent to the mouse: a command that had the mouse open
    // leaves a new mark beside the device lock, one that never reached it leaves none.
    void aCommandWithTheMouseLeavesTheMarkOfAChange_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("marked");
        QTest::newRow("a setting") << "rate 250" << true << true;
        QTest::newRow("a profile switch") << "profile 2" << true << true;
        QTest::newRow("no mouse") << "rate 250" << false << false;
        QTest::newRow("no mouse needed") << "--version" << true << false;
    }
    void aCommandWithTheMouseLeavesTheMarkOfAChange()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, plugged);
        QFETCH(bool, marked);
        if (!plugged)
            vhid::Bus::instance().reset();
        const DeviceLock window(QString::fromUtf8(qgetenv("W3_DEVICE_LOCK")));
        const QByteArray before = window.mouseChangeMark();
        CliRun::of(arguments.split(' '));
        QCOMPARE(window.mouseChangeMark() != before, marked);
    }

    void aReadCommandPrintsJson_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("status") << "status" << "sensor" << "ANDS3320";
        QTest::newRow("profile") << "profile" << "profile" << "1";
        QTest::newRow("dpi") << "dpi" << "stageCount" << "8";
        QTest::newRow("rate") << "rate" << "reportRate" << "";
        QTest::newRow("buttons") << "button" << "buttons" << "";
        QTest::newRow("light") << "light" << "effect" << "";
        QTest::newRow("wheel") << "wheel" << "reversed" << "";
        QTest::newRow("macros") << "macro list" << "macros" << "";
        QTest::newRow("macro") << QString("macro show %1").arg(kMacroName) << "repeat" << "3";
        QTest::newRow("pointer") << "pointer" << "speed" << "";
        QTest::newRow("openrgb server") << "openrgb" << "enabled" << "false";
    }
    void aReadCommandPrintsJson()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const CliRun cli = CliRun::of(("--json " + arguments).split(' '));
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(cli.out.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QVERIFY(document.object().contains(key));
        if (!value.isEmpty())
            QCOMPARE(document.object().value(key).toVariant().toString(), value);
    }

    // A stored value the sensor lacks is shown, and used, as the sensor's nearest value: the
    // stage stays usable (the window shows the same, through the same rule).
    void dpiShowsTheSensorsNearestValues_data()
    {
        QTest::addColumn<int>("sensor");
        QTest::addColumn<QVariantList>("stored");
        QTest::addColumn<QJsonArray>("stages");
        QTest::addColumn<QJsonArray>("adjusted");
        QTest::addColumn<QString>("text");
        const QVariantList shipped = {500, 1000, 1500, 2000, 2500, 3000, 4000, 5000};
        QTest::newRow("shipped list, ANDS3320") << kSensor3320 << shipped
                                                << QJsonArray({500, 1000, 1750, 2000, 2500, 3000, 4000, 5000})
                                                << QJsonArray({3})
                                                << QString("stages: 500 1000 ~1750 2000 2500 3000 4000 5000\n");
        QTest::newRow("shipped list, ANDS3325") << int(vhid::Sensor::ANDS3325) << shipped
                                                << QJsonArray({400, 1000, 1400, 2000, 2400, 2800, 4000, 4800})
                                                << QJsonArray({1, 3, 5, 6, 8})
                                                << QString("stages: ~400 1000 ~1400 2000 ~2400 ~2800 4000 ~4800\n");
        QTest::newRow("odd values, ANDS3320") << kSensor3320 << QVariantList{500, 1234, 7000, "x"}
                                              << QJsonArray({500, 1000, 7000, 0, 0, 0, 0, 0}) << QJsonArray({2})
                                              << QString("stages: 500 ~1000 7000 0 0 0 0 0\n");
    }
    void dpiShowsTheSensorsNearestValues()
    {
        QFETCH(int, sensor);
        QFETCH(QVariantList, stored);
        QFETCH(QJsonArray, stages);
        QFETCH(QJsonArray, adjusted);
        QFETCH(QString, text);
        plugMouse([sensor](vhid::MouseMemory &mouse) { mouse.sensorType = std::uint8_t(sensor); });
        QSettings(kProfile1, QSettings::IniFormat).setValue("sensor/dpi_W3", stored);
        const CliRun cli = CliRun::of({"--json", "dpi"});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        const QJsonObject shown = QJsonDocument::fromJson(cli.out.toUtf8()).object();
        QCOMPARE(shown.value("stages").toArray(), stages);
        QCOMPARE(shown.value("adjustedStages").toArray(), adjusted);
        const CliRun stage = CliRun::of({"dpi", "stage", "3"});
        QCOMPARE(stage.code, stages.at(2).toInt() != 0 ? 0 : 1);
        const CliRun plain = CliRun::of({"dpi"});
        QVERIFY2(plain.out.contains(text), qPrintable(plain.out));
    }

    // Leaving the stage in use unused moves it to the nearest used stage, on the mouse too.
    void dpiSetKeepsAStageInUse()
    {
        QSettings(kProfile1, QSettings::IniFormat).setValue("sensor/stage_W3", 3);
        const CliRun cli = CliRun::of({"dpi", "set", "500,1000,0,2000"});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QVERIFY2(cli.out.contains("the stage in use is now 2"), qPrintable(cli.out));
        vhid::Bus::instance().withMouse([](vhid::MouseMemory &mouse) { QCOMPARE(int(mouse.dpiStage), 2); });
        QCOMPARE(QSettings(kProfile1, QSettings::IniFormat).value("sensor/stage_W3").toInt(), 2);
        QVERIFY(CliRun::of({"dpi"}).out.contains("in use: 2"));
    }

    void buttonsReadBackAsTheyWereSet()
    {
        const QStringList functions = {"key:F5", "combo:ctrl+shift+A", "media:mute", "fire:right:2:9", "led",
                                       "dpi:switch", "scroll:down", "mouse:triple-click",
                                       QString("macro:%1:always").arg(kMacroName), "none"};
        for (const QString &function : functions) {
            QCOMPARE(CliRun::of({"button", "4", function}).code, 0);
            const CliRun shown = CliRun::of({"--json", "button", "4"});
            const QJsonObject button =
                QJsonDocument::fromJson(shown.out.toUtf8()).object().value("buttons").toArray().at(0).toObject();
            QCOMPARE(button.value("function").toString(), function);
        }
    }

    void anotherMacroOnTheSameButtonTakesOverItsSlot()
    {
        writeMacro("Walk");
        QCOMPARE(CliRun::of({"button", "4", QString("macro:%1").arg(kMacroName)}).code, 0);
        QCOMPARE(CliRun::of({"button", "4", "macro:Walk"}).code, 0);
        QCOMPARE(QSettings(QString("modules/macro/%1.bin").arg(kMacroName), QSettings::IniFormat).value("config/index").toInt(), -1);
        QCOMPARE(QSettings("modules/macro/Walk.bin", QSettings::IniFormat).value("config/index").toInt(), 0);
        std::vector<std::uint8_t> slot1;
        vhid::Bus::instance().withMouse([&slot1](vhid::MouseMemory &mouse) { slot1 = mouse.macros[1]; });
        QVERIFY(!slot1.empty());
    }

    // Bindings and profile switches in any order: every button plays, from the mouse's memory,
    // the macro the profile names for it, and no two macros claim one slot. Each step is a
    // command line; the last one switches to profile 1, which sends its buttons.
    void macroSlotsHoldAcrossProfiles_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("another profile takes another slot")
            << QStringList{"button 4 macro:M1", "profile 2", "button 5 macro:M2", "profile 1"};
        QTest::newRow("one macro in two profiles keeps its slot")
            << QStringList{"button 4 macro:M1", "profile 2", "button 5 macro:M1", "button 6 macro:M2", "profile 1"};
        QTest::newRow("given up in one profile, kept in the other")
            << QStringList{"button 4 macro:M1", "profile 2", "button 5 macro:M1", "button 5 key:A",
                           "button 6 macro:M2", "profile 1"};
        QTest::newRow("rebound in one profile, then another profile")
            << QStringList{"button 4 macro:M1", "button 4 macro:M2", "profile 3", "button 4 macro:M3",
                           "button 5 macro:M1", "profile 1"};
        QTest::newRow("back and forth")
            << QStringList{"profile 3", "button 4 macro:M2", "profile 1", "button 4 macro:M1", "button 5 macro:M3",
                           "profile 3", "button 4 key:B", "button 6 macro:M1", "profile 1", "button 5 none",
                           "profile 3", "button 7 macro:M3", "profile 1"};
    }
    void macroSlotsHoldAcrossProfiles()
    {
        QFETCH(QStringList, steps);
        writeKeyMacro("M1", "A", 2);
        writeKeyMacro("M2", "B", 3);
        writeKeyMacro("M3", "C", 4);
        QMap<int, QMap<int, QString>> bound;  // profile -> button -> macro
        int profile = 1;
        for (const QString &step : steps) {
            const QStringList words = step.split(' ');
            const CliRun cli = CliRun::of(words);
            QVERIFY2(cli.code == 0, qPrintable(step + ": " + cli.err));
            if (words.at(0) == "profile")
                profile = words.at(1).toInt();
            else if (words.at(2).startsWith("macro:"))
                bound[profile][words.at(1).toInt()] = words.at(2).mid(6);
            else
                bound[profile].remove(words.at(1).toInt());
        }

        QMap<int, QString> claims;  // slot -> macro
        for (const QString &name : QStringList{"M1", "M2", "M3"}) {
            const int slot = QSettings("modules/macro/" + name + ".bin", QSettings::IniFormat).value("config/index").toInt();
            QVERIFY2(slot < 0 || !claims.contains(slot), qPrintable(name + " shares a slot with " + claims.value(slot)));
            claims[slot] = name;
        }
        for (auto profileIt = bound.cbegin(); profileIt != bound.cend(); ++profileIt) {
            const QSettings stored(QString("modules/setting/p%1.bin").arg(profileIt.key()), QSettings::IniFormat);
            for (auto it = profileIt->cbegin(); it != profileIt->cend(); ++it) {
                const QString where = QString("P%1 button %2 (%3)").arg(profileIt.key()).arg(it.key()).arg(*it);
                const QStringList code = stored.value("keydefine_W3/" + QString::number(it.key() - 1)).toStringList();
                QCOMPARE(code.value(0) + " " + where, "9 " + where);
                const int slot = code.value(2).toInt() - 1;
                QCOMPARE(claims.value(slot) + " " + where, *it + " " + where);
                std::vector<std::uint8_t> held;
                vhid::Bus::instance().withMouse([&](vhid::MouseMemory &mouse) { held = mouse.macros[slot + 1]; });
                QVERIFY2(held == mouseImageOf(*it), qPrintable(where));
            }
        }
        std::vector<std::uint8_t> matrix;
        vhid::Bus::instance().withMouse([&](vhid::MouseMemory &mouse) { matrix = mouse.keyMatrix; });
        const QSettings first(kProfile1, QSettings::IniFormat);
        for (int button = 0; button < 16; ++button)
            for (int i = 0; i < 4; ++i)
                QCOMPARE(int(matrix.at(size_t(button * 4 + i))),
                         first.value("keydefine_W3/" + QString::number(button)).toStringList().value(i).toInt());
        QVERIFY(vhid::Bus::instance().violationReport().empty());
    }

    void takingAMacroAwayFreesItsSlot()
    {
        QCOMPARE(CliRun::of({"button", "4", QString("macro:%1").arg(kMacroName)}).code, 0);
        QCOMPARE(QSettings(QString("modules/macro/%1.bin").arg(kMacroName), QSettings::IniFormat).value("config/index").toInt(), 0);
        QCOMPARE(CliRun::of({"button", "4", "default"}).code, 0);
        QCOMPARE(QSettings(QString("modules/macro/%1.bin").arg(kMacroName), QSettings::IniFormat).value("config/index").toInt(), -1);
    }

    void switchingTheProfileSendsItAndIsRemembered()
    {
        QVariantList matrix;
        {
            QSettings profile3("modules/setting/p3.bin", QSettings::IniFormat);
            profile3.setValue("keydefine_W3/3", QVariantList{0, 0, 0x3E, 0});
            profile3.setValue("sensor/dpi_W3", QVariantList{500, 1000, 7000, 0, 0, 0, 0, 0});
            profile3.setValue("sensor/stage_W3", 3);
            profile3.setValue("sensor/reportRate_W3", 8);
            profile3.setValue("color_W3/ledEffect", QVariantList{2, 5, 6, 1});
            for (int button = 0; button < 16; ++button)
                for (const QVariant &byte : ProfileStore::storedList(profile3, "keydefine_W3/" + QString::number(button)))
                    matrix << byte.toInt();
        }
        vhid::Bus::instance().clearRecords();
        const CliRun cli = CliRun::of({"profile", "3"});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        std::vector<std::uint8_t> sent;
        vhid::Bus::instance().withMouse([&sent](vhid::MouseMemory &mouse) { sent = mouse.keyMatrix; });
        QCOMPARE(int(sent.size()), matrix.size());
        for (int i = 0; i < matrix.size(); ++i)
            QCOMPARE(int(sent[size_t(i)]), matrix.at(i).toInt());
        vhid::Bus::instance().withMouse([](vhid::MouseMemory &mouse) {
            QCOMPARE(mouse.dpiCodes, std::vector<std::uint8_t>({0x02, 0x04, 0x4E, 0x80, 0x80, 0x80, 0x80, 0x80}));
            QCOMPARE(int(mouse.dpiStage), 3);
            QCOMPARE(int(mouse.reportRate), 8);
            QCOMPARE(std::vector<int>(mouse.ledEffect, mouse.ledEffect + 3), std::vector<int>({3, 0, 2}));
        });
        const CliRun shown = CliRun::of({"profile"});
        QCOMPARE(shown.out, QString("profile 3\n"));
        // Later settings go to profile 3.
        QCOMPARE(CliRun::of({"rate", "250"}).code, 0);
        QCOMPARE(QSettings("modules/setting/p3.bin", QSettings::IniFormat).value("sensor/reportRate_W3").toInt(), 4);
    }

    void profilesAndMacrosTravelAsFiles()
    {
        const QString exported = sandbox->path("exported.pf");
        QCOMPARE(CliRun::of({"profile", "export", "2", exported}).code, 0);
        QCOMPARE(fileBytes(exported), fileBytes("modules/setting/p2.bin"));
        QCOMPARE(CliRun::of({"profile", "import", "5", exported}).code, 0);
        QCOMPARE(fileBytes("modules/setting/p5.bin"), fileBytes(exported));
        const CliRun refused = CliRun::of({"profile", "import", "5", sandbox->path("modules/macro/Sprint.bin")});
        QCOMPARE(refused.code, 1);
        QVERIFY(refused.err.startsWith("w3ctl: "));
        QCOMPARE(refused.err.count('\n'), 1);
        QCOMPARE(CliRun::of({"profile", "reset", "5"}).code, 0);
        QCOMPARE(fileBytes("modules/setting/p5.bin"), fileBytes("modules/setting/pD.bin"));

        const QString macroFile = sandbox->path("sprint.mc");
        QCOMPARE(CliRun::of({"macro", "export", kMacroName, macroFile}).code, 0);
        QCOMPARE(CliRun::of({"macro", "import", macroFile, "Walk"}).code, 0);
        QCOMPARE(fileBytes("modules/macro/Walk.bin"), fileBytes(macroFile));
        const CliRun notAMacro = CliRun::of({"macro", "import", sandbox->path("modules/setting/pD.bin"), "Bad"});
        QCOMPARE(notAMacro.code, 1);
        QVERIFY(!QFile::exists("modules/macro/Bad.bin"));
    }

    void anExportNeverReplacesWhatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        for (const QString &command : QStringList{"profile export 2", QString("macro export %1").arg(kMacroName)}) {
            const auto row = [&command](const char *kind, const char *problem) {
                QTest::newRow(qPrintable(command.section(' ', 0, 0) + ", " + kind)) << command << kind << problem;
            };
            row("folder", "is a folder.");
            row("pipe", "is not a regular file (a device, a pipe or a socket).");
            row("link to a pipe", "is not a regular file (a device, a pipe or a socket).");
            row("device node", "is not a regular file (a device, a pipe or a socket).");
            row("link to nothing", "is a link to a file that does not exist.");
            row("link to standard output", "leads to a program's open stream (such as standard output), not to a file.");
        }
    }
    void anExportNeverReplacesWhatIsNotARegularFile()
    {
        QFETCH(QString, command);
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        if (kind == "device node" && !isRoot())
            QSKIP("making a device node needs root");
        const QString target = sandbox->path("target.pf");
        const QString before = makeSpecialTarget(kind, target);
        QVERIFY(before.startsWith("mode"));
        const CliRun cli = CliRun::of(QString("%1 %2").arg(command, target).split(' '));
        QCOMPARE(cli.code, 1);
        QCOMPARE(cli.err, QString("w3ctl: cannot export to %1: %1 %2; see `w3ctl %3 --help`\n")
                              .arg(target, problem, command.section(' ', 0, 0)));
        QCOMPARE(makeSpecialTarget("", target), before);
    }

    void anExportThatCannotBeWrittenFails_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target");  // in the test's folder unless absolute
        QTest::addColumn<QString>("message");
        for (const QString &command : QStringList{"profile export 2", QString("macro export %1").arg(kMacroName)}) {
            const QString name = command.section(' ', 0, 0);
            QTest::newRow(qPrintable(name + ", over a file in a read-only folder"))
                << command << "locked/old.pf" << "is not writable";
            QTest::newRow(qPrintable(name + ", into a missing folder"))
                << command << "missing/new.pf" << "The folder";
        }
    }
    void anExportThatCannotBeWrittenFails()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QString, message);
        std::unique_ptr<LockedFolder> locked;
        if (target.startsWith("locked/")) {
            locked = std::make_unique<LockedFolder>(sandbox->path("locked"));
            if (!locked->isMade())
                QSKIP("no read-only folder: root needs to mount a read-only file system for it");
        }
        const QByteArray before = fileBytes(target);
        const CliRun cli = CliRun::of(QString("%1 %2").arg(command, target).split(' '));
        QCOMPARE(cli.code, target.startsWith("missing/") ? 1 : 3);
        QVERIFY2(cli.err.startsWith("w3ctl: cannot "), qPrintable(cli.err));
        QVERIFY2(cli.err.contains(message), qPrintable(cli.err));
        QCOMPARE(cli.err.count('\n'), 1);
        QCOMPARE(cli.out, QString());
        QCOMPARE(fileBytes(target), before);
    }

    void aMacroNameMustReadAsItIs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");  // as the one line of the error shows it
        QTest::newRow("right-to-left override") << QString::fromUtf8("Sprint\u202Egnp.exe") << "Sprint<U+202E>gnp.exe";
        QTest::newRow("zero-width joiner") << QString::fromUtf8("Spr\u200Dint") << "Spr<U+200D>int";
        QTest::newRow("a single space") << " " << " ";
        QTest::newRow("only spaces") << "   " << " ";
        QTest::newRow("a tab") << "\t" << " ";
    }
    void aMacroNameMustReadAsItIs()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QVERIFY(QFile::copy("modules/macro/Sprint.bin", "walk.mc"));
        const QString before = storedMacroNames();
        const CliRun cli = CliRun::of({"macro", "import", "walk.mc", name});
        QCOMPARE(cli.code, 1);
        QVERIFY2(cli.err.startsWith(QString("w3ctl: \"%1\" cannot be a macro name: ").arg(shown)), qPrintable(cli.err));
        QCOMPARE(storedMacroNames(), before);
    }

    void lightOptionsAloneKeepTheLightOff()
    {
        QCOMPARE(CliRun::of({"light", "breathing"}).code, 0);
        QCOMPARE(CliRun::of({"light", "off"}).code, 0);
        const CliRun cli = CliRun::of({"light", "--speed", "6"});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QCOMPARE(cli.out, QString("light off; breathing shows the new settings after `light on`\n"));
        const QStringList stored = QSettings(kProfile1, QSettings::IniFormat).value("color_W3/ledEffect").toStringList();
        QCOMPARE(stored.join(','), QString("2,7,6,0"));
        vhid::Bus::instance().withMouse([](vhid::MouseMemory &mouse) { QCOMPARE(int(mouse.ledEffect[0]), 0); });
        QCOMPARE(CliRun::of({"light", "on"}).code, 0);
        const QList<int> breathing = LightingLogic::ledCommand(2, 7, 6, true);
        vhid::Bus::instance().withMouse([&breathing](vhid::MouseMemory &mouse) {
            QCOMPARE(QList<int>({mouse.ledEffect[0], mouse.ledEffect[1], mouse.ledEffect[2]}), breathing);
        });
    }

    void pointerSettingsAreStoredAndApplied()
    {
        const CliRun cli = CliRun::of({"pointer", "--speed", "3", "--scroll-lines", "4", "--double-click", "10",
                                       "--acceleration", "on"});
        QVERIFY2(cli.code == 0, qPrintable(cli.err));
        QCOMPARE(FakePointer::calls, QStringList({"speed 6", "lines 5", "double-click 200", "acceleration 1"}));
        const QSettings profile(kProfile1, QSettings::IniFormat);
        QCOMPARE(profile.value("sensor/cursorSpeed_W3").toInt(), 3);
        QCOMPARE(profile.value("sensor/verticalScrollLines_W3").toInt(), 4);
        QCOMPARE(profile.value("sensor/doubleClickSpeed_W3").toInt(), 10);
    }

    // The switch of the running program's OpenRGB server is its settings file; no mouse needed.
    void openRgbStoresTheServerSetting_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("stored");  // enabled and port in the file, empty when none
        QTest::newRow("status alone writes nothing") << "openrgb status" << 0 << "";
        QTest::newRow("on, the default port") << "openrgb on" << 0 << "true 6743";
        QTest::newRow("on with a port") << "openrgb on --port 7001" << 0 << "true 7001";
        QTest::newRow("off") << "openrgb off" << 0 << "false 6743";
        QTest::newRow("a port out of range") << "openrgb on --port 70000" << 1 << "";
        QTest::newRow("a port with off") << "openrgb off --port 7001" << 1 << "";
        QTest::newRow("neither on nor off") << "openrgb maybe" << 1 << "";
    }
    void openRgbStoresTheServerSetting()
    {
        QFETCH(QString, arguments);
        QFETCH(int, code);
        QFETCH(QString, stored);
        vhid::Bus::instance().reset();
        const CliRun cli = CliRun::of(arguments.split(' '));
        QVERIFY2(cli.code == code, qPrintable(cli.err));
        const QString file = "./modules/setting/openrgb.ini";
        QCOMPARE(QFile::exists(file), !stored.isEmpty());
        if (stored.isEmpty())
            return;
        const QSettings setting(file, QSettings::IniFormat);
        QCOMPARE(setting.value("server/enabled").toString() + " " + setting.value("server/port", 6743).toString(), stored);
        QVERIFY2(cli.out.contains(stored.section(' ', 1)), qPrintable(cli.out));
    }

    void helpAndVersionNeedNoMouse()
    {
        vhid::Bus::instance().reset();
        for (const QString command : {"status", "profile", "dpi", "rate", "button", "light", "wheel", "macro", "pointer", "openrgb"}) {
            const CliRun help = CliRun::of({command, "--help"});
            QCOMPARE(help.code, 0);
            QVERIFY2(help.out.startsWith("Usage: w3ctl [OPTION]... " + command), qPrintable(help.out));
        }
        const CliRun help = CliRun::of({"--help"});
        QVERIFY(help.out.contains("Exit status:"));
        QCOMPARE(CliRun::of({"--version"}).code, 0);
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
};

QTEST_MAIN(TestW3ctl)
#include "test_w3ctl.moc"
