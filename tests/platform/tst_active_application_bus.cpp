// The application in front as the desktop's helpers tell it over a private session bus: a
// fake KWin loads and runs the script and calls back as the script would; a fake GNOME Shell
// extension calls back as the extension would; and the choice of the back end at start for
// each kind of session.
#include "platform/ActiveApplicationChoice.h"
#include "platform/BusActiveApplication.h"
#include "platform/KWinScriptActiveApplication.h"
#include "platform/X11ActiveApplication.h"
#include "tests/platform/PrivateSessionBus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kBusLimitMs = 30000;
const char *const kFakeConnection = "fake-desktop";

// Calls Activated on the program's object from the fake desktop's own connection, with the
// arguments exactly as given (their D-Bus types follow the QVariants').
void callActivated(const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(BusActiveApplication::kService, BusActiveApplication::kObjectPath,
                                                       "org.w3config.ActiveApplication1", "Activated");
    call.setArguments(arguments);
    QDBusConnection(kFakeConnection).asyncCall(call);
}

// The methods of the interface in an introspection document, with their argument types:
// "Activated(ssu)".
QStringList methodsOf(const QString &document, const QString &interfaceName)
{
    QStringList methods;
    QXmlStreamReader xml(document);
    bool inInterface = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("interface"))
            inInterface = xml.attributes().value("name") == interfaceName;
        else if (inInterface && xml.isStartElement() && xml.name() == QLatin1String("method"))
            methods << xml.attributes().value("name").toString() + "(";
        else if (inInterface && xml.isStartElement() && xml.name() == QLatin1String("arg") && !methods.isEmpty())
            methods.last() += xml.attributes().value("type");
        else if (inInterface && xml.isEndElement() && xml.name() == QLatin1String("method"))
            methods.last() += ")";
    }
    methods.sort();
    return methods;
}

}  // namespace

// KWin's script object: run() is what the program calls once the script is loaded.
class FakeKWinScript : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    FakeKWinScript(QString path, QStringList &calls) : path(std::move(path)), calls(calls) {}
public slots:
    Q_SCRIPTABLE void run() { calls << "run " + path; }

private:
    const QString path;
    QStringList &calls;
};

// KWin's scripting interface, recording each call; scripts are published under the path the
// KWin of the case uses.
class FakeKWinScripting : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    QString scriptPathPattern = "/Scripting/Script%1";
    bool refuse = false;
    QStringList calls;
    QString loadedPath;

public slots:
    Q_SCRIPTABLE int loadScript(const QString &path, const QString &pluginName)
    {
        calls << "loadScript " + pluginName;
        loadedPath = path;
        if (refuse)
            return -1;
        const int id = nextId++;
        const QString objectPath = scriptPathPattern.arg(id);
        scripts.push_back(std::make_unique<FakeKWinScript>(objectPath, calls));
        QDBusConnection(kFakeConnection).registerObject(objectPath, scripts.back().get(), QDBusConnection::ExportScriptableSlots);
        return id;
    }
    Q_SCRIPTABLE bool unloadScript(const QString &pluginName)
    {
        calls << "unloadScript " + pluginName;
        return true;
    }

private:
    int nextId = 0;
    std::vector<std::unique_ptr<FakeKWinScript>> scripts;
};

class TestActiveApplicationBus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void kwinLoadsAndRunsTheScript_data();
    void kwinLoadsAndRunsTheScript();
    void kwinRefusingTheScriptIsReported();
    void theScriptCallsTheProgramBackOnBothPlasmas();
    void anActivationNamesTheApplication_data();
    void anActivationNamesTheApplication();
    void theSameApplicationAgainIsNoChange();
    void theObjectKeepsItsContract();
    void theChoiceFollowsTheSession_data();
    void theChoiceFollowsTheSession();

private:
    std::unique_ptr<FakeKWinScripting> kwin;
};

void TestActiveApplicationBus::initTestCase()
{
    if (!privatebus::inside())
        QSKIP("needs dbus-run-session for a private session bus");
    qRegisterMetaType<ApplicationIdentity>();
    // The program's service owns the name the helpers call.
    QVERIFY(QDBusConnection::sessionBus().registerService(BusActiveApplication::kService));
    QVERIFY(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kFakeConnection).isConnected());
}

void TestActiveApplicationBus::init()
{
    kwin = std::make_unique<FakeKWinScripting>();
    QDBusConnection fake(kFakeConnection);
    QVERIFY(fake.registerObject("/Scripting", kwin.get(), QDBusConnection::ExportScriptableSlots));
    QVERIFY(fake.registerService("org.kde.KWin"));
}

void TestActiveApplicationBus::cleanup()
{
    QDBusConnection fake(kFakeConnection);
    fake.unregisterService("org.kde.KWin");
    fake.unregisterObject("/", QDBusConnection::UnregisterTree);
    kwin.reset();
}

void TestActiveApplicationBus::kwinLoadsAndRunsTheScript_data()
{
    QTest::addColumn<QString>("scriptPathPattern");
    QTest::newRow("Plasma 5.27 and 6") << "/Scripting/Script%1";
    QTest::newRow("older KWin") << "/%1";
}

void TestActiveApplicationBus::kwinLoadsAndRunsTheScript()
{
    QFETCH(QString, scriptPathPattern);
    kwin->scriptPathPattern = scriptPathPattern;
    const QString script = KWinScriptActiveApplication::installedScriptPath();
    auto backEnd = std::make_unique<KWinScriptActiveApplication>(QDBusConnection::sessionBus(), script);
    QVERIFY(backEnd->isAvailable());
    QSignalSpy running(backEnd.get(), &KWinScriptActiveApplication::scriptRunning);
    QVERIFY(running.wait(kBusLimitMs));
    // A script of ours an earlier run left behind goes first, so that the name is free.
    const QString plugin = KWinScriptActiveApplication::kPluginName;
    QCOMPARE(kwin->calls, QStringList({"unloadScript " + plugin, "loadScript " + plugin, "run " + scriptPathPattern.arg(0)}));
    QCOMPARE(kwin->loadedPath, script);
    QVERIFY(QFileInfo(script).isAbsolute());

    // The program ends right after: KWin has the unload call before the back end is gone.
    backEnd.reset();
    QCOMPARE(kwin->calls.size(), 4);
    QCOMPARE(kwin->calls.last(), "unloadScript " + plugin);
}

void TestActiveApplicationBus::kwinRefusingTheScriptIsReported()
{
    kwin->refuse = true;
    auto backEnd = std::make_unique<KWinScriptActiveApplication>(QDBusConnection::sessionBus(),
                                                                 KWinScriptActiveApplication::installedScriptPath());
    QSignalSpy failed(backEnd.get(), &KWinScriptActiveApplication::scriptFailed);
    QSignalSpy running(backEnd.get(), &KWinScriptActiveApplication::scriptRunning);
    QVERIFY(failed.wait(kBusLimitMs));
    QVERIFY(failed.first().at(0).toString().contains(KWinScriptActiveApplication::installedScriptPath()));
    QCOMPARE(running.size(), 0);
    QVERIFY(!kwin->calls.join(' ').contains("run "));
}

void TestActiveApplicationBus::theScriptCallsTheProgramBackOnBothPlasmas()
{
    QFile script(KWinScriptActiveApplication::installedScriptPath());
    QVERIFY2(script.open(QIODevice::ReadOnly), qPrintable(script.fileName()));
    const QString text = QString::fromUtf8(script.readAll());
    // Plasma 6's names and Plasma 5.27's, and the program's own name, object and interface.
    for (const QString &needed : QStringList{"workspace.windowActivated", "workspace.activeWindow", "workspace.clientActivated",
                                  "workspace.activeClient", "desktopFileName", "resourceClass", "pid", "callDBus",
                                  "\"Activated\"", "\"" + QString(BusActiveApplication::kService) + "\"",
                                  "\"" + QString(BusActiveApplication::kObjectPath) + "\"",
                                  "\"org.w3config.ActiveApplication1\""})
        QVERIFY2(text.contains(needed), qPrintable(needed));

    // KWin hands the script's whole numbers over as signed integers.
    KWinScriptActiveApplication backEnd(QDBusConnection::sessionBus(), script.fileName());
    QSignalSpy changed(&backEnd, &ActiveApplication::changed);
    callActivated({"org.kde.konsole", "konsole", int(getpid())});
    QVERIFY(changed.wait(kBusLimitMs));
    const auto application = changed.last().at(0).value<ApplicationIdentity>();
    QCOMPARE(application.applicationId, "org.kde.konsole");
    QCOMPARE(application.windowClass, "konsole");
    QCOMPARE(application.pid, qint64(getpid()));
    QCOMPARE(application.programName, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    QCOMPARE(backEnd.current(), application);
}

void TestActiveApplicationBus::anActivationNamesTheApplication_data()
{
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("applicationId");
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<qint64>("pid");
    QTest::addColumn<bool>("programKnown");
    const QString longName(300, QChar('a'));
    QTest::newRow("as the extension sends it") << QVariantList{"org.gnome.TextEditor", "org.gnome.TextEditor", uint(getpid())}
                                               << "org.gnome.TextEditor" << "org.gnome.TextEditor" << qint64(getpid()) << true;
    QTest::newRow("no process known") << QVariantList{"firefox", "firefox", 0u} << "firefox" << "firefox" << qint64(0) << false;
    QTest::newRow("a process that is gone") << QVariantList{"game", "", uint(0x7ffffff0)} << "game" << "" << qint64(0x7ffffff0) << false;
    QTest::newRow("a negative process from a script") << QVariantList{"game", "Game", -1} << "game" << "Game" << qint64(0) << false;
    QTest::newRow("names too long are cut") << QVariantList{longName, longName, 0u} << longName.left(255) << longName.left(255)
                                            << qint64(0) << false;
}

void TestActiveApplicationBus::anActivationNamesTheApplication()
{
    QFETCH(QVariantList, arguments);
    QFETCH(QString, applicationId);
    QFETCH(QString, windowClass);
    QFETCH(qint64, pid);
    QFETCH(bool, programKnown);
    BusActiveApplication backEnd(QDBusConnection::sessionBus());
    QVERIFY(backEnd.isAvailable());
    QSignalSpy changed(&backEnd, &ActiveApplication::changed);
    callActivated(arguments);
    QVERIFY(changed.wait(kBusLimitMs));
    const auto application = changed.last().at(0).value<ApplicationIdentity>();
    QCOMPARE(application.applicationId, applicationId);
    QCOMPARE(application.windowClass, windowClass);
    QCOMPARE(application.pid, pid);
    QCOMPARE(!application.programName.isEmpty(), programKnown);
}

void TestActiveApplicationBus::theSameApplicationAgainIsNoChange()
{
    BusActiveApplication backEnd(QDBusConnection::sessionBus());
    QSignalSpy changed(&backEnd, &ActiveApplication::changed);
    const QVariantList editor{"org.gnome.TextEditor", "org.gnome.TextEditor", uint(getpid())};
    const QVariantList terminal{"org.gnome.Terminal", "gnome-terminal-server", 0u};
    for (const QVariantList &arguments : {editor, editor, terminal, terminal, editor})
        callActivated(arguments);
    // The calls arrive in order: the last one tells when all have been heard.
    QVERIFY(QTest::qWaitFor([&] { return changed.size() == 3; }, kBusLimitMs));
    QTest::qWait(100);
    QStringList order;
    for (const QList<QVariant> &signal : changed)
        order << signal.at(0).value<ApplicationIdentity>().applicationId;
    QCOMPARE(order, QStringList({"org.gnome.TextEditor", "org.gnome.Terminal", "org.gnome.TextEditor"}));
}

void TestActiveApplicationBus::theObjectKeepsItsContract()
{
    QFile contract(W3_SOURCE_DIR "/service/org.w3config.ActiveApplication1.xml");
    QVERIFY(contract.open(QIODevice::ReadOnly));
    const QStringList promised = methodsOf(QString::fromUtf8(contract.readAll()), "org.w3config.ActiveApplication1");
    QCOMPARE(promised, QStringList({"Activated(ssi)", "Activated(ssu)"}));

    BusActiveApplication backEnd(QDBusConnection::sessionBus());
    const QDBusMessage introspect = QDBusMessage::createMethodCall(
        BusActiveApplication::kService, BusActiveApplication::kObjectPath, "org.freedesktop.DBus.Introspectable", "Introspect");
    QDBusPendingCall call = QDBusConnection(kFakeConnection).asyncCall(introspect);
    QVERIFY(QTest::qWaitFor([&] { return call.isFinished(); }, kBusLimitMs));
    QVERIFY2(!call.isError(), qPrintable(call.error().message()));
    QCOMPARE(methodsOf(call.reply().arguments().value(0).toString(), "org.w3config.ActiveApplication1"), promised);
}

void TestActiveApplicationBus::theChoiceFollowsTheSession_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("backEnd");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<bool>("userSwitchesOn");
    const QString display = qEnvironmentVariable("DISPLAY");
    QTest::newRow("Plasma on Wayland") << QStringList{"XDG_SESSION_TYPE=wayland", "XDG_CURRENT_DESKTOP=KDE", "DISPLAY=" + display}
                                       << "KWinScriptActiveApplication" << "KWin script" << false;
    QTest::newRow("Ubuntu's GNOME on Wayland") << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_CURRENT_DESKTOP=ubuntu:GNOME"}
                                               << "BusActiveApplication" << "w3config-focus@w3config.org" << true;
    QTest::newRow("Plasma on X11") << QStringList{"XDG_SESSION_TYPE=x11", "XDG_CURRENT_DESKTOP=KDE", "DISPLAY=" + display}
                                   << "X11ActiveApplication" << "X11" << false;
    // XWayland only sees the X11 windows: on Wayland the X11 back end would miss the rest.
    QTest::newRow("Wayland without a toplevel list") << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=w3-no-compositor",
                                                                    "XDG_CURRENT_DESKTOP=sway", "DISPLAY=" + display}
                                                     << "" << "not known" << false;
    QTest::newRow("no desktop") << QStringList{} << "" << "not known" << false;
}

void TestActiveApplicationBus::theChoiceFollowsTheSession()
{
    QFETCH(QStringList, variables);
    QFETCH(QString, backEnd);
    QFETCH(QString, logLine);
    QFETCH(bool, userSwitchesOn);
    if (backEnd == "X11ActiveApplication" && qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (the test command runs the suite under Xvfb)");
    QProcessEnvironment environment;
    for (const QString &variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    const ActiveApplicationChoice choice = chooseActiveApplication(environment, QDBusConnection::sessionBus());
    QVERIFY2(choice.logLine.contains(logLine), qPrintable(choice.logLine));
    QCOMPARE(choice.backEnd ? QString(choice.backEnd->metaObject()->className()) : QString(), backEnd);
    QCOMPARE(choice.userSwitchesOn, userSwitchesOn);
}

W3_PRIVATE_BUS_TEST_MAIN(TestActiveApplicationBus)

#include "tst_active_application_bus.moc"
