// The macro page's actions on real controllers over the virtual mouse, in a private copy of
// the modules: the library's names and the chosen macro after each operation, and what the
// macro files hold.
#include "actions/MacroActions.h"
#include "actions/PageActions.h"
#include "controller/Controllers.h"
#include "controller/MacroLibrary.h"
#include "device/Hid_Thread.h"
#include "tests/actions/ActionsRig.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {

const QStringList kSteps{"A    [Down]", "A      [Up]"};

QString macroFile(const QString &name) { return "modules/macro/" + name + ".bin"; }

void writeMacro(const QString &name, const QStringList &steps = kSteps)
{
    QSettings macro(macroFile(name), QSettings::IniFormat);
    macro.setValue("config/index", -1);
    macro.setValue("config/repeat", 1);
    macro.setValue("config/did", -1);
    macro.setValue("config/total", steps.size());
    for (int i = 0; i < steps.size(); ++i)
        macro.setValue("macro/" + QString::number(i), steps.at(i));
}

struct Rig : ActionsRig {
    Rig() { actions.macros->start(); }
};

}  // namespace

class TestMacroActions : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        for (const char *name : {"Alpha", "Beta", "Gamma"})
            writeMacro(name);
    }
    void cleanup() { sandbox.reset(); }

    // The chosen macro follows what happens to the library: it keeps its new name after a
    // rename, and no macro stays chosen once its file is gone.
    void theChosenMacroAfterEachOperation_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("selected");
        const QStringList all{"Alpha", "Beta", "Gamma"};
        QTest::newRow("a name not in the library") << "select" << "Zeta" << "" << all << "";
        QTest::newRow("rename of the chosen macro")
            << "rename" << "Beta" << "Fast" << QStringList{"Alpha", "Fast", "Gamma"} << "Fast";
        QTest::newRow("rename of another macro")
            << "rename" << "Alpha" << "Fast" << QStringList{"Beta", "Fast", "Gamma"} << "Beta";
        QTest::newRow("rename to a taken name") << "rename" << "Beta" << "Alpha" << all << "Beta";
        QTest::newRow("rename to a path") << "rename" << "Beta" << "../Beta" << all << "Beta";
        QTest::newRow("remove the chosen macro") << "remove" << "Beta" << "" << QStringList{"Alpha", "Gamma"} << "";
        QTest::newRow("remove another macro") << "remove" << "Gamma" << "" << QStringList{"Alpha", "Beta"} << "Beta";
        QTest::newRow("its file gone, then a refresh") << "refresh" << "Beta" << "" << QStringList{"Alpha", "Gamma"} << "";
        QTest::newRow("another file gone, then a refresh")
            << "refresh" << "Alpha" << "" << QStringList{"Beta", "Gamma"} << "Beta";
        QTest::newRow("start") << "start" << "" << "" << all << "";
        QTest::newRow("create") << "create" << "" << "" << QStringList{"Alpha", "Beta", "Gamma", "Macro. 001"}
                                << "Macro. 001";
    }
    void theChosenMacroAfterEachOperation()
    {
        QFETCH(QString, operation);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QStringList, names);
        QFETCH(QString, selected);
        Rig rig;
        MacroActions &macros = *rig.actions.macros;
        macros.select("Beta");
        QCOMPARE(macros.selected(), QString("Beta"));
        QSignalSpy namesChanged(&macros, &MacroActions::namesChanged);
        if (operation == "select")
            macros.select(first);
        else if (operation == "rename")
            macros.rename(first, second);
        else if (operation == "remove")
            QVERIFY(macros.remove(first));
        else if (operation == "refresh") {
            QVERIFY(QFile::remove(macroFile(first)));
            macros.refresh();
        } else if (operation == "start")
            macros.start();
        else if (operation == "create")
            QCOMPARE(macros.create(), QString("Macro. 001"));
        QCOMPARE(macros.names(), names);
        QCOMPARE(macros.selected(), selected);
        // A new macro has no steps yet.
        QCOMPARE(macros.steps(), selected.isEmpty() || operation == "create" ? QStringList() : kSteps);
        QCOMPARE(namesChanged.isEmpty(), operation == "select");
    }

    // Steps are stored in the chosen macro's file only; nothing is written without one.
    void savingTheSteps_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("fileGone");
        QTest::addColumn<bool>("saved");
        QTest::newRow("the chosen macro") << "Beta" << false << true;
        QTest::newRow("no macro chosen") << "" << false << false;
        QTest::newRow("its file gone") << "Beta" << true << false;
    }
    void savingTheSteps()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, fileGone);
        QFETCH(bool, saved);
        const QStringList steps{"500   [Delay]", "B    [Down]", "B      [Up]"};
        Rig rig;
        MacroActions &macros = *rig.actions.macros;
        macros.select(chosen);
        if (fileGone)
            QVERIFY(QFile::remove(macroFile(chosen)));
        QCOMPARE(macros.save(steps), saved);
        QCOMPARE(QFile::exists(macroFile("Beta")), !fileGone);
        if (!fileGone)
            QCOMPARE(rig.controllers.macros->loadMacroIni("Beta"), saved ? steps : kSteps);
        QCOMPARE(rig.controllers.macros->loadMacroIni("Alpha"), kSteps);
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
};

QTEST_MAIN(TestMacroActions)
#include "tst_macro_actions.moc"
