#pragma once
// Tests that need a session bus of their own (a GSettings store, a fake KWin) run again inside
// dbus-run-session, with a fresh HOME, XDG_RUNTIME_DIR and XDG_CONFIG_HOME set before the
// bus starts, so that the services it starts (dconf) keep their data there and not in the
// user's home.
namespace privatebus {

// True inside the private bus that runInside started.
bool inside();
// Runs this program again with its arguments inside a private bus, waits for it and returns
// its exit code; the temporary home is removed afterwards.
int runInside(int argc, char **argv);

}  // namespace privatebus

// main() of a QtTest test case that runs on a private session bus.
#define W3_PRIVATE_BUS_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char **argv)                                                            \
    {                                                                                          \
        if (!privatebus::inside())                                                             \
            return privatebus::runInside(argc, argv);                                          \
        QApplication app(argc, argv);                                                          \
        TestObject test;                                                                       \
        return QTest::qExec(&test, argc, argv);                                                \
    }
