// The tray icon as a desktop's panel sees it: a fake StatusNotifierWatcher on a private session
// bus records the item the icon registers; the test reads the item's menu over the bus
// (com.canonical.dbusmenu), clicks its entries and checks what the icon says.
#include "app/TrayIcon.h"
#include "tests/platform/PrivateSessionBus.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

constexpr const char *kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char *kWatcherPath = "/StatusNotifierWatcher";
constexpr const char *kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char *kItemPath = "/StatusNotifierItem";
constexpr const char *kMenuInterface = "com.canonical.dbusmenu";
// Generous on a busy machine: the item registering, a call answered.
constexpr int kBusLimitMs = 30000;

}  // namespace

// The panel's side of the StatusNotifier protocol. It lives in a thread of its own: Qt's tray
// asks it questions with blocking calls from the GUI thread.
class FakeStatusNotifierWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const
    {
        QMutexLocker lock(&guard);
        return registered;
    }

public slots:
    void RegisterStatusNotifierItem(const QString &service)
    {
        // An item names either its bus name or, with the sender's name, its object path.
        const QString item = service.startsWith('/') ? message().service() + service : service;
        QMutexLocker lock(&guard);
        registered.append(item);
    }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    mutable QMutex guard;
    QStringList registered;
};

// One entry of the menu as the panel receives it.
struct MenuEntry {
    int id = 0;
    QVariantMap properties;

    QString label() const { return properties.value("type").toString() == "separator" ? "-" : properties.value("label").toString(); }
    bool visible() const { return properties.value("visible", true).toBool(); }
    bool enabled() const { return properties.value("enabled", true).toBool(); }
    bool radio() const { return properties.value("toggle-type").toString() == "radio"; }
    bool checked() const { return properties.value("toggle-state").toInt() == 1; }
};

class TestTrayIcon : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theItemOffersItsMenu();
    void theItemShowsTheApplicationIcon();
    void menuEntries();
    void marksFollowTheMouse_data();
    void marksFollowTheMouse();
    void choosing_data();
    void choosing();
    void withoutTheMouseOnlyOpenAndQuitAnswer();
    void aClickOnTheIconOpensTheWindow();
    void theMenuSpeaksTheGivenLanguage();

private:
    QDBusMessage callAndWait(const QDBusMessage &call);
    QDBusMessage itemCall(const QString &path, const QString &interface, const QString &method);
    QList<MenuEntry> visibleEntries();
    MenuEntry entry(const QString &label);
    QStringList checkedLabels();
    void click(const QString &label);

    QThread watcherThread;
    FakeStatusNotifierWatcher *watcher = nullptr;
    TrayIcon *tray = nullptr;
    QString itemService;
    QString menuPath;
};

QDBusMessage TestTrayIcon::callAndWait(const QDBusMessage &call)
{
    // Asynchronous: the icon answers from this very thread.
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call, kBusLimitMs);
    QElapsedTimer waiting;
    waiting.start();
    while (!pending.isFinished() && waiting.elapsed() < kBusLimitMs)
        QTest::qWait(10);
    return pending.reply();
}

QDBusMessage TestTrayIcon::itemCall(const QString &path, const QString &interface, const QString &method)
{
    return QDBusMessage::createMethodCall(itemService, path, interface, method);
}

void readLayout(const QDBusArgument &node, QList<MenuEntry> &entries)
{
    MenuEntry entry;
    node.beginStructure();
    node >> entry.id >> entry.properties;
    if (entry.id != 0)
        entries.append(entry);
    node.beginArray();
    while (!node.atEnd()) {
        QDBusVariant child;
        node >> child;
        readLayout(child.variant().value<QDBusArgument>(), entries);
    }
    node.endArray();
    node.endStructure();
}

QList<MenuEntry> TestTrayIcon::visibleEntries()
{
    QDBusMessage call = itemCall(menuPath, kMenuInterface, "GetLayout");
    call << 0 << -1 << QStringList();
    const QDBusMessage reply = callAndWait(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
        qWarning() << "GetLayout failed:" << reply.errorMessage();
        return {};
    }
    QList<MenuEntry> entries;
    readLayout(reply.arguments().at(1).value<QDBusArgument>(), entries);
    QList<MenuEntry> shown;
    for (const MenuEntry &e : qAsConst(entries))
        if (e.visible())
            shown.append(e);
    return shown;
}

MenuEntry TestTrayIcon::entry(const QString &label)
{
    for (const MenuEntry &e : visibleEntries())
        if (e.label() == label)
            return e;
    return {};
}

QStringList TestTrayIcon::checkedLabels()
{
    QStringList labels;
    for (const MenuEntry &e : visibleEntries())
        if (e.checked())
            labels.append(e.label());
    return labels;
}

void TestTrayIcon::click(const QString &label)
{
    const MenuEntry target = entry(label);
    QVERIFY2(target.id != 0, qPrintable("no entry " + label));
    QDBusMessage event = itemCall(menuPath, kMenuInterface, "Event");
    event << target.id << QString("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    QCOMPARE(callAndWait(event).type(), QDBusMessage::ReplyMessage);
}

void TestTrayIcon::initTestCase()
{
    if (!privatebus::inside())
        QSKIP("needs dbus-run-session for a private session bus");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server ($DISPLAY, as under xvfb-run)");
    QVERIFY(QDBusConnection::sessionBus().isConnected());

    // The watcher is on the bus before the first icon asks whether a panel shows items.
    QDBusConnection panel = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "panel");
    watcher = new FakeStatusNotifierWatcher;
    watcher->moveToThread(&watcherThread);
    connect(&watcherThread, &QThread::finished, watcher, &QObject::deleteLater);
    watcherThread.start();
    QVERIFY(panel.registerObject(kWatcherPath, watcher,
                                 QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    QVERIFY(panel.registerService(kWatcherService));
    QVERIFY(TrayIcon::available());

    tray = new TrayIcon;
    tray->setConnected(true);
    tray->setProfile(3);
    tray->setStages({400, 0, 1600, 3200}, 3);
    tray->show();
    QTRY_VERIFY_WITH_TIMEOUT(!watcher->items().isEmpty(), kBusLimitMs);
    itemService = watcher->items().first();
    QVERIFY2(itemService.startsWith("org.kde.StatusNotifierItem-"), qPrintable(itemService));

    QDBusMessage get = itemCall(kItemPath, "org.freedesktop.DBus.Properties", "Get");
    get << QString(kItemInterface) << QString("Menu");
    const QDBusMessage reply = callAndWait(get);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    menuPath = reply.arguments().first().value<QDBusVariant>().variant().value<QDBusObjectPath>().path();
}

void TestTrayIcon::cleanupTestCase()
{
    delete tray;
    QDBusConnection::disconnectFromBus("panel");
    watcherThread.quit();
    watcherThread.wait();
}

void TestTrayIcon::theItemOffersItsMenu()
{
    QCOMPARE(watcher->items().size(), 1);
    QVERIFY2(!menuPath.isEmpty() && menuPath != "/NO_DBUSMENU", qPrintable(menuPath));
}

void TestTrayIcon::theItemShowsTheApplicationIcon()
{
    // Uninstalled there is no themed icon: the panel gets the drawn one as pixels.
    QDBusMessage get = itemCall(kItemPath, "org.freedesktop.DBus.Properties", "Get");
    get << QString(kItemInterface) << QString("IconPixmap");
    const QDBusMessage reply = callAndWait(get);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    const QDBusArgument pixmaps = reply.arguments().first().value<QDBusVariant>().variant().value<QDBusArgument>();
    int largest = 0;
    pixmaps.beginArray();
    while (!pixmaps.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray argb;
        pixmaps.beginStructure();
        pixmaps >> width >> height >> argb;
        pixmaps.endStructure();
        QCOMPARE(argb.size(), width * height * 4);
        largest = qMax(largest, width);
    }
    pixmaps.endArray();
    QVERIFY2(largest >= 16, "the item has no icon");
}

void TestTrayIcon::menuEntries()
{
    const QList<MenuEntry> entries = visibleEntries();
    QStringList labels;
    for (const MenuEntry &e : entries)
        labels.append(e.label());
    QCOMPARE(labels, QStringList({"P01", "P02", "P03", "P04", "P05", "P06", "P07", "P08", "P09", "P10", "-",
                                  "400 DPI", "1600 DPI", "3200 DPI", "-", "Open W3 Config", "Quit"}));
    for (const MenuEntry &e : entries) {
        const bool choice = e.label().startsWith('P') || e.label().endsWith(" DPI");
        QVERIFY2(e.radio() == choice, qPrintable(e.label()));
        QVERIFY2(e.enabled(), qPrintable(e.label()));
    }
    QCOMPARE(checkedLabels(), QStringList({"P03", "1600 DPI"}));
}

void TestTrayIcon::marksFollowTheMouse_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<QList<int>>("stages");
    QTest::addColumn<int>("stageInUse");
    QTest::addColumn<QStringList>("stageLabels");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("another profile and stage") << 7 << QList<int>{800, 1600} << 1
                                               << QStringList{"800 DPI", "1600 DPI"} << QStringList{"P07", "800 DPI"};
    QTest::newRow("the last profile, unused stages left out")
        << 10 << QList<int>{0, 0, 0, 0, 26000} << 5 << QStringList{"26000 DPI"} << QStringList{"P10", "26000 DPI"};
    QTest::newRow("profile unknown") << 0 << QList<int>{400} << 1 << QStringList{"400 DPI"} << QStringList{"400 DPI"};
    QTest::newRow("profile out of range") << 11 << QList<int>{400} << 2 << QStringList{"400 DPI"} << QStringList{};
    QTest::newRow("stages unknown") << 2 << QList<int>{} << 0 << QStringList{} << QStringList{"P02"};
}

void TestTrayIcon::marksFollowTheMouse()
{
    QFETCH(int, profile);
    QFETCH(QList<int>, stages);
    QFETCH(int, stageInUse);
    QFETCH(QStringList, stageLabels);
    QFETCH(QStringList, checked);
    tray->setProfile(profile);
    tray->setStages(stages, stageInUse);
    QCOMPARE(checkedLabels(), checked);
    QStringList labels;
    for (const MenuEntry &e : visibleEntries())
        labels.append(e.label());
    // Between the profiles and Open: the stages, closed by a separator when there are any.
    const QStringList between = labels.mid(11, labels.indexOf("Open W3 Config") - 11);
    QCOMPARE(between, stageLabels.isEmpty() ? QStringList{} : stageLabels + QStringList{"-"});
}

void TestTrayIcon::choosing_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("argument");
    QTest::newRow("a profile") << "P07" << "profileChosen" << 7;
    QTest::newRow("the profile in use") << "P03" << "profileChosen" << 3;
    QTest::newRow("a stage, counted with the unused one") << "3200 DPI" << "stageChosen" << 4;
    QTest::newRow("open") << "Open W3 Config" << "openRequested" << -1;
    QTest::newRow("quit") << "Quit" << "quitRequested" << -1;
}

void TestTrayIcon::choosing()
{
    QFETCH(QString, label);
    QFETCH(QString, signal);
    QFETCH(int, argument);
    tray->setConnected(true);
    tray->setProfile(3);
    tray->setStages({400, 0, 1600, 3200}, 3);
    QSignalSpy profile(tray, &TrayIcon::profileChosen);
    QSignalSpy stage(tray, &TrayIcon::stageChosen);
    QSignalSpy open(tray, &TrayIcon::openRequested);
    QSignalSpy quit(tray, &TrayIcon::quitRequested);
    const QMap<QString, QSignalSpy *> spies{
        {"profileChosen", &profile}, {"stageChosen", &stage}, {"openRequested", &open}, {"quitRequested", &quit}};

    click(label);
    QTRY_COMPARE_WITH_TIMEOUT(spies[signal]->count(), 1, kBusLimitMs);
    if (argument >= 0)
        QCOMPARE(spies[signal]->first().first().toInt(), argument);
    for (auto it = spies.cbegin(); it != spies.cend(); ++it)
        QCOMPARE(it.value()->count(), it.key() == signal ? 1 : 0);
    // Until the caller reports the mouse's answer the marks stay where they were.
    QCOMPARE(checkedLabels(), QStringList({"P03", "1600 DPI"}));
}

void TestTrayIcon::withoutTheMouseOnlyOpenAndQuitAnswer()
{
    tray->setProfile(3);
    tray->setStages({400, 0, 1600, 3200}, 3);
    tray->setConnected(false);
    for (const MenuEntry &e : visibleEntries()) {
        const bool needsTheMouse = e.radio();
        QVERIFY2(e.enabled() != needsTheMouse, qPrintable(e.label()));
    }
    QSignalSpy profile(tray, &TrayIcon::profileChosen);
    QSignalSpy stage(tray, &TrayIcon::stageChosen);
    QSignalSpy quit(tray, &TrayIcon::quitRequested);
    // A panel may still send a click on a disabled entry; the Quit after it shows the clicks
    // before it were handled.
    click("P05");
    click("400 DPI");
    click("Quit");
    QTRY_COMPARE_WITH_TIMEOUT(quit.count(), 1, kBusLimitMs);
    QCOMPARE(profile.count(), 0);
    QCOMPARE(stage.count(), 0);
    QCOMPARE(checkedLabels(), QStringList({"P03", "1600 DPI"}));
    tray->setConnected(true);
}

void TestTrayIcon::aClickOnTheIconOpensTheWindow()
{
    QSignalSpy open(tray, &TrayIcon::openRequested);
    QDBusMessage activate = itemCall(kItemPath, kItemInterface, "Activate");
    activate << 10 << 10;
    QCOMPARE(callAndWait(activate).type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE_WITH_TIMEOUT(open.count(), 1, kBusLimitMs);
}

// New words relabel the entries shown and the stages listed later; the entries answer as before.
void TestTrayIcon::theMenuSpeaksTheGivenLanguage()
{
    tray->setConnected(true);
    tray->setProfile(3);
    tray->setStages({400, 0, 1600}, 1);
    TrayIcon::Texts chinese;
    chinese.open = QString::fromUtf8("打开 W3 Config");
    chinese.quit = QString::fromUtf8("退出");
    chinese.stage = QString::fromUtf8("DPI %1 档");
    tray->setTexts(chinese);
    QStringList labels;
    for (const MenuEntry &e : visibleEntries())
        labels.append(e.label());
    QCOMPARE(labels.mid(10), QStringList({"-", QString::fromUtf8("DPI 400 档"), QString::fromUtf8("DPI 1600 档"), "-",
                                          chinese.open, chinese.quit}));

    QSignalSpy stage(tray, &TrayIcon::stageChosen);
    QSignalSpy open(tray, &TrayIcon::openRequested);
    click(QString::fromUtf8("DPI 1600 档"));
    click(chinese.open);
    QTRY_COMPARE_WITH_TIMEOUT(open.count(), 1, kBusLimitMs);
    QCOMPARE(stage.count(), 1);
    QCOMPARE(stage.first().first().toInt(), 3);

    tray->setStages({800}, 1);
    QVERIFY(entry(QString::fromUtf8("DPI 800 档")).id != 0);
    tray->setTexts(TrayIcon::Texts());
    QVERIFY(entry("800 DPI").id != 0);
    QVERIFY(entry("Quit").id != 0);
}

int main(int argc, char **argv)
{
    if (!privatebus::inside() && !QStandardPaths::findExecutable("dbus-run-session").isEmpty())
        return privatebus::runInside(argc, argv);
    // Qt offers the StatusNotifierItem tray through its generic Unix desktop theme, which the
    // xcb platform provides and the offscreen one does not; the desktop of the machine running
    // the test must not pick another theme.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_QPA_PLATFORMTHEME", "generic");
    qunsetenv("XDG_CURRENT_DESKTOP");
    QApplication app(argc, argv);
    TestTrayIcon test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tray_icon.moc"
