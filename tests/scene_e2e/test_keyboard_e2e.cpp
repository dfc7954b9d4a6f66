// The real window driven from the keyboard alone (Tab, arrows, Space, Return, Esc, Ctrl+S:
// no mouse event), and what a screen reader finds in it: every control that takes a click has
// a role and a name, in English and in Chinese, and the accessible tree runs in the Tab order.
#include "controller/myQQuickView.h"
#include "tests/support/MouseTransfers.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QAccessible>
#include <QHash>
#include <QQmlContext>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QWindow>
#include <QtTest>

namespace {

constexpr int kTimeoutMs = 10000;
constexpr quint8 kKeyA = 0x04;
constexpr quint8 kKeyB = 0x05;
constexpr int kForwardButton = 4;  // the button slot of the forward side button
constexpr int kForwardPosition = 4;  // its place in the key matrix (4 bytes each)

// The window made active as the desktop would: the keyboard reaches the scene only through
// the view's focus.
bool activate(SceneDriver &scene)
{
    QWindow *top = scene.view().window()->windowHandle();
    if (!top)
        return false;
    top->requestActivate();
    return QTest::qWaitForWindowActive(top) && QTest::qWaitFor([&] {
        return scene.view().hasFocus() && scene.view().quickWindow()->activeFocusItem() != nullptr;
    });
}

QQuickItem *focused(SceneDriver &scene)
{
    return scene.view().quickWindow()->activeFocusItem();
}

QString focusedName(SceneDriver &scene)
{
    QQuickItem *item = focused(scene);
    return item ? item->objectName() : QString();
}

// Tab (or Shift+Tab) until the named item holds the focus; false after a whole round of the
// window without reaching it.
bool tabTo(SceneDriver &scene, const QString &name, bool backwards = false)
{
    for (int step = 0; step < 300; ++step) {
        if (focusedName(scene) == name)
            return true;
        scene.pressKey(backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    }
    return focusedName(scene) == name;
}

bool press(SceneDriver &scene, const QString &name, Qt::Key key = Qt::Key_Space)
{
    if (!tabTo(scene, name))
        return false;
    scene.pressKey(key);
    return true;
}

bool isIgnored(QQuickItem *item)
{
    QQmlContext *context = qmlContext(item);
    return context && QQmlProperty(item, "Accessible.ignored", context).read().toBool();
}

// Items shown on the window now, depth first in the items' order.
void shownItems(QQuickItem *item, QList<QQuickItem *> &out)
{
    if (!item->isVisible() || item->opacity() == 0.0)
        return;
    out.append(item);
    for (QQuickItem *child : item->childItems())
        shownItems(child, out);
}

struct AccessibleNode {
    QObject *object;
    QAccessible::Role role;
    QString name;
    bool focusable;
};

void accessibleTree(QAccessibleInterface *node, QList<AccessibleNode> &out)
{
    if (!node || !node->isValid())
        return;
    out.append({node->object(), node->role(), node->text(QAccessible::Name), bool(node->state().focusable)});
    for (int i = 0; i < node->childCount(); ++i)
        accessibleTree(node->child(i), out);
}

}  // namespace

class TestKeyboardEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QAccessible::setActive(true); }

    void keyboardOnlyTasks_data()
    {
        QTest::addColumn<QString>("task");
        QTest::newRow("lighting effect, APPLY") << "lighting";
        QTest::newRow("a key for a button") << "key";
        QTest::newRow("profile switch") << "profile";
        QTest::newRow("two-key macro") << "macro";
        QTest::newRow("settings panel open and closed") << "settings";
        QTest::newRow("ALL SAVE with Ctrl+S") << "save";
    }

    void keyboardOnlyTasks()
    {
        QFETCH(QString, task);
        SceneDriver::Options options;
        // P02's forward button plays a media key: what a switch to P02 sends.
        options.prepare = [](ModulesSandbox &) {
            QSettings("./modules/setting/p2.bin", QSettings::IniFormat)
                .setValue("keydefine_W3/" + QString::number(kForwardButton), QStringList {"3", "0", "226", "0"});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY2(activate(scene), "the window's scene takes the keyboard");
        vhid::Bus::instance().clearRecords();

        if (task == "lighting") {
            QVERIFY(press(scene, "Menu_Func_2"));
            QVERIFY(scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == 2; }));
            // The effect menu: opened with Space, three rows down, picked with Return.
            QVERIFY(press(scene, "effectMenu"));
            QVERIFY(scene.property("effectMenu", "isOpen").toBool());
            const int before = scene.property("effectMenu", "currentIndex").toInt();
            for (int i = 0; i < 3; ++i)
                scene.pressKey(Qt::Key_Down);
            scene.pressKey(Qt::Key_Return);
            QVERIFY(!scene.property("effectMenu", "isOpen").toBool());
            const int effect = scene.property("effectMenu", "currentIndex").toInt();
            QCOMPARE(effect, before + 3);
            QVERIFY(press(scene, "colorApplyButton", Qt::Key_Return));
            QVERIFY(scene.waitFor([] { return !mouseTransfers(0x0D).empty(); }, kTimeoutMs));
            QCOMPARE(int(mouseTransfers(0x0D).back().block[1]), effect + 1);
        } else if (task == "key") {
            // The forward button gets the key A from the capture while its field listens; Tab
            // pressed while it listens is a key like any other and leaves the focus there.
            QVERIFY(press(scene, "callout_" + QString::number(kForwardButton)));
            QVERIFY(press(scene, "function_0"));
            QVERIFY(press(scene, "keyboardInput"));
            QVERIFY(scene.property("keyboardInput", "isCapturing").toBool());
            scene.pressKey(Qt::Key_Tab);
            QCOMPARE(focusedName(scene), QString("keyboardInput"));
            scene.captureKey(kKeyA, true);
            scene.captureKey(kKeyA, false);
            QVERIFY(!scene.property("keyboardInput", "isCapturing").toBool());
            QCOMPARE(scene.property("keyboardInput", "tmpKeycodeUSB").toInt(), int(kKeyA));
            QVERIFY(press(scene, "keyApplyButton"));
            QVERIFY(scene.waitFor([] { return !mouseTransfers(0x12).empty(); }, kTimeoutMs));
            QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
            const QByteArray matrix = mouseTransfers(0x12).back().data;
            QCOMPARE(matrix.mid(kForwardPosition * 4, 4).toHex(' '), QByteArray::fromHex("00000400").toHex(' '));
            QCOMPARE(QSettings("./modules/setting/p1.bin", QSettings::IniFormat)
                         .value("keydefine_W3/" + QString::number(kForwardButton))
                         .toStringList(),
                (QStringList {"0", "0", "4", "0"}));
        } else if (task == "profile") {
            // Down from P01 to P02, Space, then Ctrl+S: the mouse gets P02's buttons.
            QVERIFY(tabTo(scene, "Menu_Prof_0"));
            scene.pressKey(Qt::Key_Down);
            QCOMPARE(focusedName(scene), QString("Menu_Prof_1"));
            scene.pressKey(Qt::Key_Space);
            QVERIFY(
                scene.waitFor([&] { return scene.property("Menu_Prof", "currentIndex").toInt() == 1; }, kTimeoutMs));
            scene.pressKey(Qt::Key_S, Qt::ControlModifier);
            QVERIFY(scene.waitFor([] { return !mouseTransfers(0x12).empty(); }, kTimeoutMs));
            QCOMPARE(mouseTransfers(0x12).back().data.mid(kForwardPosition * 4, 4).toHex(' '),
                QByteArray::fromHex("0300e200").toHex(' '));
        } else if (task == "macro") {
            // A new macro, RECORD, two keys from the capture, STOP: the macro file holds them.
            QVERIFY(press(scene, "Menu_Func_1"));
            QVERIFY(scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == 1; }));
            QVERIFY(press(scene, "addMacro", Qt::Key_Return));
            QVERIFY(scene.waitFor(
                [&] { return scene.property("Page_Macro", "selectedMacro").toString() == "Macro. 001"; }));
            QVERIFY(press(scene, "recordButton"));
            QVERIFY(scene.waitFor([&] { return focusedName(scene) == "stopButton"; }));
            for (quint8 code : {kKeyA, kKeyB}) {
                scene.captureKey(code, true);
                scene.captureKey(code, false);
            }
            scene.pressKey(Qt::Key_Space);
            QVERIFY(scene.waitFor([&] { return !scene.property("Page_Macro", "recording").toBool(); }));
            QSettings file("./modules/macro/Macro. 001.bin", QSettings::IniFormat);
            QCOMPARE(file.value("config/total").toInt(), 4);
            QCOMPARE(file.value("macro/0").toString(), QString("A    [Down]"));
            QCOMPARE(file.value("macro/1").toString(), QString("A      [Up]"));
            QCOMPARE(file.value("macro/2").toString(), QString("B    [Down]"));
            QCOMPARE(file.value("macro/3").toString(), QString("B      [Up]"));
        } else if (task == "settings") {
            QVERIFY(press(scene, "Menu_Up_settings", Qt::Key_Return));
            QVERIFY(scene.waitFor([&] { return scene.property("", "isGlobalSettingSelect").toBool(); }));
            QVERIFY(scene.waitForItem("saveButton"));
            // The frame behind the panel is out of the Tab round; Esc closes the panel.
            QVERIFY(tabTo(scene, "saveButton"));
            QVERIFY(!tabTo(scene, "Menu_Func_0"));
            scene.pressKey(Qt::Key_Escape);
            QVERIFY(scene.waitFor([&] { return !scene.property("", "isGlobalSettingSelect").toBool(); }));
            QVERIFY(tabTo(scene, "Menu_Func_0"));
        } else if (task == "save") {
            scene.pressKey(Qt::Key_S, Qt::ControlModifier);
            QVERIFY2(!scene.view().isEnabled(), "ALL SAVE locks the input for a while");
            QVERIFY(scene.waitFor(
                [] { return !mouseTransfers(0x0D).empty() && !mouseTransfers(0x12).empty(); }, kTimeoutMs));
        }
        QCOMPARE(QString::fromStdString(vhid::Bus::instance().violationReport()), QString());
    }

    // Esc answers a question with its safe choice, and the keyboard never leaves the question.
    void questionKeepsTheKeyboard()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(activate(scene));
        QVERIFY(press(scene, "Menu_Down_reset"));
        QVERIFY(scene.waitForQuestion());
        QCOMPARE(focusedName(scene), QString("questionChoice1"));
        for (int i = 0; i < 3; ++i) {
            scene.pressKey(Qt::Key_Tab);
            QVERIFY2(focusedName(scene).startsWith("questionChoice"), qPrintable(focusedName(scene)));
        }
        vhid::Bus::instance().clearRecords();
        scene.pressKey(Qt::Key_Escape);
        QVERIFY(scene.waitFor([&] { return !scene.item("QuestionSheet")->isVisible(); }));
        QVERIFY2(vhid::Bus::instance().records().empty(), "CANCEL sends nothing");
        QCOMPARE(focusedName(scene), QString("Menu_Down_reset"));
    }

    void everyClickHasANameForScreenReaders_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("keyFunction");  // the key page's panel shown, -1 as it starts
        for (const char *language : {"031000", "025044"}) {
            for (int page = 0; page < 4; ++page)
                QTest::addRow("%s page %d", language, page) << QString(language) << page << -1;
            for (int function = 0; function < 7; ++function)
                QTest::addRow("%s key function %d", language, function) << QString(language) << 0 << function;
            QTest::addRow("%s settings", language) << QString(language) << -1 << -1;
        }
    }

    void everyClickHasANameForScreenReaders()
    {
        QFETCH(QString, language);
        QFETCH(int, page);
        QFETCH(int, keyFunction);
        SceneDriver scene;
        QVERIFY(scene.start());
        const QStringList codes = scene.property("GlobalSettings", "languageCodes").toStringList();
        QVERIFY(codes.contains(language));
        scene.call("GlobalSettings", "setLanguage", {codes.indexOf(language)});
        if (page >= 0) {
            scene.call("Main_W3", "showPage", {page});
            if (keyFunction >= 0)
                scene.call("KeyFunctionMenu", "choose", {keyFunction});
        } else {
            scene.root()->setProperty("isGlobalSettingSelect", true);
            QVERIFY(scene.waitForItem("saveButton"));
        }
        QTest::qWait(100);  // the slide: items still moving are not a fault

        QList<AccessibleNode> nodes;
        // From the program's window, as a screen reader walks it.
        accessibleTree(QAccessible::queryAccessibleInterface(scene.view().window()), nodes);
        QHash<QObject *, AccessibleNode> byObject;
        for (const AccessibleNode &node : nodes)
            byObject.insert(node.object, node);

        // Every shown, enabled mouse area that is not declared background belongs to an
        // accessible item with a role and a name.
        QList<QQuickItem *> items;
        shownItems(scene.root(), items);
        const QRectF window(0, 0, scene.root()->width(), scene.root()->height());
        int areas = 0;
        for (QQuickItem *item : items) {
            if (!item->inherits("QQuickMouseArea") || !item->isEnabled() || isIgnored(item))
                continue;
            if (!window.intersects(item->mapRectToScene(QRectF(0, 0, item->width(), item->height()))))
                continue;
            ++areas;
            QQuickItem *owner = item;
            while (owner && !byObject.contains(owner))
                owner = owner->parentItem();
            const QString where = item->parentItem() ? item->parentItem()->objectName() : QString();
            QVERIFY2(owner, qPrintable("no accessible item for the mouse area in " + where));
            const AccessibleNode node = byObject.value(owner);
            QVERIFY2(node.role != QAccessible::NoRole && node.role != QAccessible::Client,
                qPrintable("no role: " + owner->objectName()));
            QVERIFY2(!node.name.trimmed().isEmpty(), qPrintable("no name: " + owner->objectName() + " " + where));
        }
        QVERIFY(areas > 0);

        // A screen reader's pointer and magnifier follow the item where the window shows it.
        QAccessibleInterface *allSave = QAccessible::queryAccessibleInterface(scene.item("Menu_Down_save"));
        QVERIFY(allSave);
        QQuickItem *allSaveItem = scene.item("Menu_Down_save");
        const QRect shown(scene.view().mapToGlobal(allSaveItem->mapToScene(QPointF(0, 0)).toPoint()),
                          allSaveItem->size().toSize());
        QCOMPARE(allSave->rect(), shown);

        // The focusable items of the tree, in the tree's order, are the Tab round.
        QList<QObject *> treeOrder;
        for (const AccessibleNode &node : nodes) {
            auto *item = qobject_cast<QQuickItem *>(node.object);
            if (node.focusable && item && item->activeFocusOnTab() && item->isVisible() && item->isEnabled())
                treeOrder.append(item);
        }
        QList<QObject *> tabOrder;
        QQuickItem *first = scene.root()->nextItemInFocusChain(true);
        for (QQuickItem *item = first; item && !tabOrder.contains(item); item = item->nextItemInFocusChain(true))
            if (byObject.contains(item))
                tabOrder.append(item);
        QCOMPARE(treeOrder.size(), tabOrder.size());
        const int start = treeOrder.indexOf(tabOrder.value(0));
        QVERIFY(start >= 0);
        for (int i = 0; i < tabOrder.size(); ++i)
            QCOMPARE(treeOrder.at((start + i) % treeOrder.size()), tabOrder.at(i));
    }

    void focusRingScreenshots_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("name");
        QTest::newRow("Carbon") << 1 << "focus-ring-carbon";
        QTest::newRow("Ember") << 2 << "focus-ring-ember";
    }

    void focusRingScreenshots()
    {
        QFETCH(int, skin);
        QFETCH(QString, name);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        QVERIFY(activate(scene));
        QVERIFY(press(scene, "Menu_Func_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == 2; }));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Color", "x").toReal() == 0.0; }));
        QVERIFY(tabTo(scene, "effectMenu"));
        QTest::qWait(200);  // the frame that draws the ring
        QVERIFY(!scene.screenshot(name).isEmpty());
    }
};

QTEST_MAIN(TestKeyboardEndToEnd)
#include "test_keyboard_e2e.moc"
