// KDE Plasma's pointer settings: the configuration files keep every byte this program does not
// set, and the setters reach kcminputrc, kdeglobals, KWin's mice (a fake KWin on a private
// session bus) and this program's own Qt settings, with the debug text of a failure.
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/KdeConfigFile.h"
#include "platform/PlasmaPointerSettings.h"
#include "tests/support/ModulesSandbox.h"
#include "FakeKWin.h"
#include "PrivateSessionBus.h"

#include <QApplication>
#include <QMutex>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QByteArray kInputConfig = "# kept as written\n"
                                "[Mouse]\n"
                                "cursorTheme=breeze_cursors\n"
                                "\n"
                                "[Libinput][1133][49291][Logitech G502]\n"
                                "PointerAcceleration=0.200\n"
                                "PointerAccelerationProfile=2\n";
const QByteArray kGlobals = "[General]\r\n"
                            "ColorScheme=BreezeDark\r\n"
                            "\r\n"
                            "[KDE]\r\n"
                            "DoubleClickInterval = 400\r\n"
                            "DoubleClickInterval[de]=300\r\n"
                            "LookAndFeelPackage=org.kde.breezedark.desktop\r\n";

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Debug lines written on any thread while it exists.
class DebugRecorder {
public:
    DebugRecorder() { previous = qInstallMessageHandler(&DebugRecorder::record); }
    ~DebugRecorder() { qInstallMessageHandler(previous); }

    static QStringList lines()
    {
        QMutexLocker lock(&mutex);
        return recorded;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type != QtDebugMsg)
            return;
        QMutexLocker lock(&mutex);
        recorded << text;
    }

    static QMutex mutex;
    static QStringList recorded;
    QtMessageHandler previous;
};
QMutex DebugRecorder::mutex;
QStringList DebugRecorder::recorded;

}  // namespace

class TestPointerPlasma : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void configFileKeepsOtherBytes_data();
    void configFileKeepsOtherBytes();
    void configFileValues();
    void configFileUnwritableLeavesNoTrace();
    void settingsReachFilesKWinAndThisProgram();
    void withoutKWinDevicesTheFilesAreTheSetting_data();
    void withoutKWinDevicesTheFilesAreTheSetting();
    void kwinFailureWritesDebugText();

private:
    // The Plasma back end behind the controller; kwin says whether KWin is on the bus.
    void startSettings(bool kwin);
    // Waits for the worker while the fake KWin on this thread answers it.
    bool applied();

    std::unique_ptr<QTemporaryDir> configHome;
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<PlasmaPointerSettings> plasma;
    std::unique_ptr<SystemMouseSettings> settings;
    std::unique_ptr<DebugRecorder> debug;
};

void TestPointerPlasma::init()
{
    configHome = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", configHome->path().toLocal8Bit());
    QVERIFY(writeBytes(configHome->filePath("kcminputrc"), kInputConfig));
    QVERIFY(writeBytes(configHome->filePath("kdeglobals"), kGlobals));
    sandbox = std::make_unique<ModulesSandbox>();
    profiles = std::make_unique<ProfileStore>();
    debug = std::make_unique<DebugRecorder>();
}

void TestPointerPlasma::cleanup()
{
    while (!applied())
        QCoreApplication::processEvents();
    settings.reset();
    plasma.reset();
    debug.reset();
    profiles.reset();
    sandbox.reset();
    configHome.reset();
}

void TestPointerPlasma::startSettings(bool kwin)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    plasma = std::make_unique<PlasmaPointerSettings>(
        bus, kwin ? std::make_unique<KWinPointerDevices>(bus) : nullptr);
    settings = std::make_unique<SystemMouseSettings>(*profiles, *plasma);
}

bool TestPointerPlasma::applied()
{
    return !settings || settings->waitUntilApplied(0);
}

void TestPointerPlasma::configFileKeepsOtherBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("group");  // nested groups joined by '/'
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new key at the end of its group")
        << QByteArray("# note\n[General]\nfoo=1\n\n[Mouse]\ncursorTheme=breeze\n\n[Icons]\nTheme=x\n")
        << "Mouse" << "XLbInptPointerAcceleration"
        << QByteArray("# note\n[General]\nfoo=1\n\n[Mouse]\ncursorTheme=breeze\n"
                      "XLbInptPointerAcceleration=0.6\n\n[Icons]\nTheme=x\n");
    QTest::newRow("existing key replaced in place")
        << QByteArray("[KDE]\nA=0.5\nXLbInptPointerAcceleration = -1\nB=3\n") << "KDE"
        << "XLbInptPointerAcceleration"
        << QByteArray("[KDE]\nA=0.5\nXLbInptPointerAcceleration=0.6\nB=3\n");
    QTest::newRow("localized variant and other groups' key untouched")
        << QByteArray("[Other]\nXLbInptPointerAcceleration=9\n[Mouse]\nXLbInptPointerAcceleration[de]=1\n")
        << "Mouse" << "XLbInptPointerAcceleration"
        << QByteArray("[Other]\nXLbInptPointerAcceleration=9\n[Mouse]\n"
                      "XLbInptPointerAcceleration[de]=1\nXLbInptPointerAcceleration=0.6\n");
    QTest::newRow("nested group is another group")
        << QByteArray("[Mouse][Sub]\nXLbInptPointerAcceleration=0.1\n") << "Mouse"
        << "XLbInptPointerAcceleration"
        << QByteArray("[Mouse][Sub]\nXLbInptPointerAcceleration=0.1\n\n[Mouse]\n"
                      "XLbInptPointerAcceleration=0.6\n");
    QTest::newRow("nested group addressed")
        << QByteArray("[Mouse]\nx=1\n[Mouse][Sub]\ny=2\n") << "Mouse/Sub"
        << "XLbInptPointerAcceleration"
        << QByteArray("[Mouse]\nx=1\n[Mouse][Sub]\ny=2\nXLbInptPointerAcceleration=0.6\n");
    QTest::newRow("CRLF line ends kept")
        << QByteArray("[Mouse]\r\nx=1\r\n[Icons]\r\nTheme=breeze\r\n") << "Mouse"
        << "XLbInptPointerAcceleration"
        << QByteArray("[Mouse]\r\nx=1\r\nXLbInptPointerAcceleration=0.6\r\n[Icons]\r\nTheme=breeze\r\n");
    QTest::newRow("no line end at the end")
        << QByteArray("[Mouse]\ncursorTheme=breeze") << "Mouse" << "XLbInptPointerAcceleration"
        << QByteArray("[Mouse]\ncursorTheme=breeze\nXLbInptPointerAcceleration=0.6\n");
    QTest::newRow("missing file") << QByteArray() << "Mouse" << "XLbInptPointerAcceleration"
                                  << QByteArray("[Mouse]\nXLbInptPointerAcceleration=0.6\n");
}

void TestPointerPlasma::configFileKeepsOtherBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    const QString path = configHome->filePath("sub/testrc");
    if (!before.isNull()) {
        QVERIFY(QDir().mkpath(configHome->filePath("sub")));
        QVERIFY(writeBytes(path, before));
    }
    KdeConfigFile file(path);
    QVERIFY(file.setValue(group.split('/'), key, "0.6"));
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(file.value(group.split('/'), key), QString("0.6"));
    // Setting the same value again changes nothing.
    QVERIFY(file.setValue(group.split('/'), key, "0.6"));
    QCOMPARE(fileBytes(path), after);
}

void TestPointerPlasma::configFileValues()
{
    KdeConfigFile globals = KdeConfigFile::inUserConfig("kdeglobals");
    QCOMPARE(globals.path(), configHome->filePath("kdeglobals"));
    QCOMPARE(globals.value({"KDE"}, "DoubleClickInterval"), QString("400"));
    QVERIFY(globals.value({"KDE"}, "WheelScrollLines").isNull());
    QVERIFY(globals.value({"Absent"}, "DoubleClickInterval").isNull());
    QVERIFY(KdeConfigFile::inUserConfig("absentrc").value({"KDE"}, "x").isNull());
}

void TestPointerPlasma::configFileUnwritableLeavesNoTrace()
{
    // A file where the folder should be: nothing can be written below it.
    const QString blocker = configHome->filePath("blocker");
    QVERIFY(writeBytes(blocker, "data"));
    KdeConfigFile file(blocker + "/testrc");
    QVERIFY(!file.setValue({"Mouse"}, "x", "1"));
    QCOMPARE(fileBytes(blocker), QByteArray("data"));
}

void TestPointerPlasma::settingsReachFilesKWinAndThisProgram()
{
    FakeKWin kwin(FakeKWin::Devices::Offered);
    QVERIFY(kwin.registered());
    startSettings(true);

    settings->setCursorSpeed(8);
    settings->setAcceleration(false);
    settings->setDoubleClickSpeed(3);
    settings->setVerticalScrollLines(2);
    QTRY_VERIFY_WITH_TIMEOUT(applied(), 30000);

    QCOMPARE(fileBytes(configHome->filePath("kcminputrc")),
             QByteArray("# kept as written\n"
                        "[Mouse]\n"
                        "cursorTheme=breeze_cursors\n"
                        "XLbInptPointerAcceleration=0.6\n"
                        "X11LibInputXAccelProfileFlat=true\n"
                        "\n"
                        "[Libinput][1133][49291][Logitech G502]\n"
                        "PointerAcceleration=0.200\n"
                        "PointerAccelerationProfile=2\n"));
    QCOMPARE(fileBytes(configHome->filePath("kdeglobals")),
             QByteArray("[General]\r\n"
                        "ColorScheme=BreezeDark\r\n"
                        "\r\n"
                        "[KDE]\r\n"
                        "DoubleClickInterval=690\r\n"
                        "DoubleClickInterval[de]=300\r\n"
                        "LookAndFeelPackage=org.kde.breezedark.desktop\r\n"
                        "WheelScrollLines=3\r\n"));
    // Only the mouse, not the touchpad or the keyboard.
    QCOMPARE(kwin.writes, (QStringList{"event3 pointerAcceleration=0.6",
                                       "event3 pointerAccelerationProfileFlat=true"}));
    QTRY_COMPARE(kwin.notices, (QStringList{"notifyChange 3 0", "notifyChange 3 0"}));
    QTRY_COMPARE(QApplication::doubleClickInterval(), 690);
    QTRY_COMPARE(QApplication::wheelScrollLines(), 3);
    QVERIFY(!settings->getAcceleration());
    QVERIFY(DebugRecorder::lines().filter("Failed").isEmpty());

    settings->setAcceleration(true);
    QTRY_VERIFY_WITH_TIMEOUT(applied(), 30000);
    QCOMPARE(kwin.writes.last(), QString("event3 pointerAccelerationProfileAdaptive=true"));
    QCOMPARE(KdeConfigFile::inUserConfig("kcminputrc").value({"Mouse"}, "X11LibInputXAccelProfileFlat"),
             QString("false"));
    QVERIFY(settings->getAcceleration());
}

void TestPointerPlasma::withoutKWinDevicesTheFilesAreTheSetting_data()
{
    QTest::addColumn<bool>("kwinService");
    QTest::newRow("KWin without input devices (X11)") << true;
    QTest::newRow("no KWin") << false;
}

void TestPointerPlasma::withoutKWinDevicesTheFilesAreTheSetting()
{
    QFETCH(bool, kwinService);
    std::unique_ptr<FakeKWin> kwin;
    if (kwinService)
        kwin = std::make_unique<FakeKWin>(FakeKWin::Devices::NotOffered);
    startSettings(kwinService);

    settings->setCursorSpeed(10);
    settings->setAcceleration(false);
    QTRY_VERIFY_WITH_TIMEOUT(applied(), 30000);
    KdeConfigFile input = KdeConfigFile::inUserConfig("kcminputrc");
    QCOMPARE(input.value({"Mouse"}, "XLbInptPointerAcceleration"), QString("1"));
    QCOMPARE(input.value({"Mouse"}, "X11LibInputXAccelProfileFlat"), QString("true"));
    QVERIFY(DebugRecorder::lines().filter("Failed").isEmpty());
}

void TestPointerPlasma::kwinFailureWritesDebugText()
{
    FakeKWin kwin(FakeKWin::Devices::Offered);
    kwin.listDeviceWithoutObject();
    startSettings(true);

    settings->setCursorSpeed(4);
    QTRY_VERIFY_WITH_TIMEOUT(applied(), 30000);
    QCOMPARE(DebugRecorder::lines().filter("Failed"), QStringList{"setCursorSpeed Failed"});
    // The stored setting is kept for the next session.
    QCOMPARE(KdeConfigFile::inUserConfig("kcminputrc").value({"Mouse"}, "XLbInptPointerAcceleration"),
             QString::number(-1.0 + 7.0 / 9.0));
    QCOMPARE(settings->getCursorSpeed(), 4u);
}

W3_PRIVATE_BUS_TEST_MAIN(TestPointerPlasma)
#include "tst_pointer_plasma.moc"
