// GNOME's mouse settings through GSettings, against a real dconf store on a private session
// bus: what the setters write is what a separate reader (the gsettings program) sees, and the
// choice of back end falls back to the X server where the schema is missing.
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/GnomePointerSettings.h"
#include "platform/LinuxPointerSettings.h"
#include "platform/X11PointerSettings.h"
#include "tests/support/ModulesSandbox.h"
#include "PrivateSessionBus.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(LinuxPointerBackend)

namespace {

constexpr int kApplyTimeoutMs = 30000;
const char *const kSchemalessChild = "W3_SCHEMALESS_CHILD";
const char *const kBuslessChild = "W3_BUSLESS_CHILD";

// Runs one test function of this program in a child with the given environment changes; the
// child's verdict is its exit code.
int runChild(const QString &testFunction, const QMap<QString, QString> &changes)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto change = changes.begin(); change != changes.end(); ++change)
        environment.insert(change.key(), change.value());
    environment.remove("GSETTINGS_SCHEMA_DIR");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {testFunction});
    if (!child.waitForFinished(kApplyTimeoutMs))
        return -1;
    return child.exitCode();
}

// The stored value as another process reads it from the settings store.
QString storedValue(const QString &key)
{
    QProcess reader;
    reader.start("gsettings", {"get", GnomePointerSettings::kMouseSchema, key});
    if (!reader.waitForFinished(kApplyTimeoutMs) || reader.exitCode() != 0)
        return QString("reader failed: %1").arg(QString::fromUtf8(reader.readAllStandardError()));
    return QString::fromUtf8(reader.readAllStandardOutput()).trimmed();
}

}  // namespace

class TestPointerGSettings : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (qEnvironmentVariableIsSet(kSchemalessChild))
            return;
        sandbox = std::make_unique<ModulesSandbox>();
        profiles = std::make_unique<ProfileStore>();
        gnome = GnomePointerSettings::open();
        QVERIFY(gnome);
        settings = std::make_unique<SystemMouseSettings>(*profiles, *gnome);
    }
    void cleanup()
    {
        settings.reset();
        gnome.reset();
        profiles.reset();
        sandbox.reset();
    }

    void stepsReachTheStore_data();
    void stepsReachTheStore();
    void accelerationReachesTheStore();
    void scrollLinesReachThisProgramOnly();
    void schemaOrKeysMissing_data();
    void schemaOrKeysMissing();
    void backendChoice_data();
    void backendChoice();
    void missingSchemaFallsBackToTheXServer();
    void unreachableStoreWritesDebugText();

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<GnomePointerSettings> gnome;
    std::unique_ptr<SystemMouseSettings> settings;
};

void TestPointerGSettings::stepsReachTheStore_data()
{
    QTest::addColumn<uint>("step");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("doubleClickMs");
    QTest::newRow("0") << 0u << "-1.0" << 900;
    QTest::newRow("5") << 5u << "0.0" << 550;
    QTest::newRow("8") << 8u << "0.59999999999999998" << 340;
    QTest::newRow("10") << 10u << "1.0" << 200;
    QTest::newRow("above 10") << 11u << "1.0" << 200;
}

void TestPointerGSettings::stepsReachTheStore()
{
    QFETCH(uint, step);
    QFETCH(QString, speed);
    QFETCH(int, doubleClickMs);
    settings->setCursorSpeed(step);
    settings->setDoubleClickSpeed(step);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(storedValue("speed"), speed);
    QCOMPARE(storedValue("double-click"), QString::number(doubleClickMs));
    QTRY_COMPARE(QApplication::doubleClickInterval(), doubleClickMs);
    QCOMPARE(settings->getCursorSpeed(), step);
    QCOMPARE(settings->getDoubleClickSpeed(), step);
}

void TestPointerGSettings::accelerationReachesTheStore()
{
    settings->setAcceleration(false);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(storedValue("accel-profile"), QString("'flat'"));
    QVERIFY(!settings->getAcceleration());

    settings->setAcceleration(true);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(storedValue("accel-profile"), QString("'adaptive'"));
    QVERIFY(settings->getAcceleration());
}

void TestPointerGSettings::scrollLinesReachThisProgramOnly()
{
    settings->setVerticalScrollLines(6);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QTRY_COMPARE(QApplication::wheelScrollLines(), 7);
    QCOMPARE(settings->getVerticalScrollLines(), 6u);
}

void TestPointerGSettings::schemaOrKeysMissing_data()
{
    QTest::addColumn<QString>("schema");
    QTest::newRow("no such schema") << "org.gnome.desktop.peripherals.absent";
    QTest::newRow("schema without the mouse keys") << "org.gnome.desktop.peripherals.keyboard";
}

void TestPointerGSettings::schemaOrKeysMissing()
{
    QFETCH(QString, schema);
    QVERIFY(!GnomePointerSettings::open(schema.toUtf8().constData()));
}

void TestPointerGSettings::backendChoice_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<bool>("schemaInstalled");
    QTest::addColumn<LinuxPointerBackend>("backend");
    QTest::newRow("GNOME") << "GNOME" << true << LinuxPointerBackend::GSettings;
    QTest::newRow("Ubuntu's GNOME") << "ubuntu:GNOME" << true << LinuxPointerBackend::GSettings;
    QTest::newRow("Cinnamon") << "X-Cinnamon" << true << LinuxPointerBackend::GSettings;
    QTest::newRow("GNOME without the schema") << "GNOME" << false << LinuxPointerBackend::X11;
    QTest::newRow("Plasma") << "KDE" << true << LinuxPointerBackend::Plasma;
    QTest::newRow("Plasma without the schema") << "KDE" << false << LinuxPointerBackend::Plasma;
    QTest::newRow("another desktop") << "XFCE" << true << LinuxPointerBackend::X11;
    QTest::newRow("no desktop") << "" << true << LinuxPointerBackend::X11;
}

void TestPointerGSettings::backendChoice()
{
    QFETCH(QString, desktop);
    QFETCH(bool, schemaInstalled);
    QFETCH(LinuxPointerBackend, backend);
    QCOMPARE(chooseLinuxPointerBackend(desktop, schemaInstalled), backend);
}

// GIO reads the schema folders once per process, so the schemaless start runs in a child with
// no schema folders; the child's verdict is its exit code.
void TestPointerGSettings::missingSchemaFallsBackToTheXServer()
{
    if (qEnvironmentVariableIsSet(kSchemalessChild)) {
        QVERIFY(!GnomePointerSettings::open());
        QTest::ignoreMessage(QtInfoMsg, "Pointer settings: X server pointer control");
        const std::unique_ptr<PointerSettings> pointer = PointerSettings::create();
        QVERIFY(dynamic_cast<X11PointerSettings *>(pointer.get()));
        return;
    }
    const QString before = storedValue("speed");
    QCOMPARE(runChild("missingSchemaFallsBackToTheXServer",
                      {{kSchemalessChild, "1"},
                       {"XDG_CURRENT_DESKTOP", "GNOME"},
                       {"XDG_DATA_DIRS", QDir::tempPath() + "/w3-no-schemas"}}),
             0);
    QCOMPARE(storedValue("speed"), before);
}

// Without a session bus the store cannot take a value: the setters fail with their debug
// text and return, and the store is unchanged.
void TestPointerGSettings::unreachableStoreWritesDebugText()
{
    if (qEnvironmentVariableIsSet(kBuslessChild)) {
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        settings->setCursorSpeed(8);
        settings->setAcceleration(false);
        settings->setDoubleClickSpeed(4);
        QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
        QCOMPARE(settings->getCursorSpeed(), 8u);
        return;
    }
    settings->setCursorSpeed(5);
    settings->setAcceleration(true);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(runChild("unreachableStoreWritesDebugText",
                      {{kBuslessChild, "1"},
                       {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QDir::tempPath() + "/w3-no-bus"}}),
             0);
    QCOMPARE(storedValue("speed"), QString("0.0"));
    QCOMPARE(storedValue("accel-profile"), QString("'adaptive'"));
}

W3_PRIVATE_BUS_TEST_MAIN(TestPointerGSettings)
#include "tst_pointer_gsettings.moc"
