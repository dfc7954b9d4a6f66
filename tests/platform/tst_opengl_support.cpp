// Whether the scene may use OpenGL: decided from the environment and the device nodes, so
// that a machine whose OpenGL would be emulated on the processor never loads that driver.
#include "platform/OpenGlSupport.h"
#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr const char *kEnvironment[] = {"LIBGL_ALWAYS_SOFTWARE", "GALLIUM_DRIVER", "DISPLAY", "WAYLAND_DISPLAY"};

// A /dev stand-in holding the named device nodes (plain files: only their presence counts).
void makeNodes(const QString &folder, const QStringList &nodes)
{
    for (const QString &node : nodes) {
        const QString path = folder + '/' + node;
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

}  // namespace

class TestOpenGlSupport : public QObject {
    Q_OBJECT

    QMap<QByteArray, QByteArray> saved;

private slots:
    void init()
    {
        for (const char *name : kEnvironment) {
            if (qEnvironmentVariableIsSet(name))
                saved.insert(name, qgetenv(name));
            qunsetenv(name);
        }
        qputenv("DISPLAY", ":0");
    }

    void cleanup()
    {
        for (const char *name : kEnvironment)
            qunsetenv(name);
        for (auto it = saved.cbegin(); it != saved.cend(); ++it)
            qputenv(it.key().constData(), it.value());
        saved.clear();
    }

    void graphicsProcessor_data()
    {
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QStringList>("environment");  // NAME=value
        QTest::addColumn<bool>("onGraphicsProcessor");

        const QStringList renderNode{"dri/renderD128"};
        QTest::newRow("render node") << renderNode << QStringList() << true;
        QTest::newRow("render and card nodes") << QStringList{"dri/card0", "dri/renderD128"} << QStringList() << true;
        QTest::newRow("display adapter without a render node") << QStringList{"dri/card0"} << QStringList() << false;
        QTest::newRow("NVIDIA control node") << QStringList{"nvidiactl"} << QStringList() << true;
        QTest::newRow("no device") << QStringList() << QStringList() << false;
        QTest::newRow("other nodes in dri") << QStringList{"dri/by-path/x"} << QStringList() << false;
        QTest::newRow("software asked for") << renderNode << QStringList{"LIBGL_ALWAYS_SOFTWARE=1"} << false;
        QTest::newRow("software turned off") << renderNode << QStringList{"LIBGL_ALWAYS_SOFTWARE=0"} << true;
        QTest::newRow("llvmpipe chosen") << renderNode << QStringList{"GALLIUM_DRIVER=llvmpipe"} << false;
        QTest::newRow("hardware gallium driver") << renderNode << QStringList{"GALLIUM_DRIVER=radeonsi"} << true;
        QTest::newRow("X over ssh") << renderNode << QStringList{"DISPLAY=localhost:10.0"} << false;
        QTest::newRow("X on another host") << renderNode << QStringList{"DISPLAY=host:0"} << false;
        QTest::newRow("local X by socket path") << renderNode << QStringList{"DISPLAY=unix:0"} << true;
        QTest::newRow("Wayland beside a remote-looking DISPLAY")
            << renderNode << QStringList{"DISPLAY=host:0", "WAYLAND_DISPLAY=wayland-0"} << true;
    }

    void graphicsProcessor()
    {
        QFETCH(QStringList, nodes);
        QFETCH(QStringList, environment);
        QFETCH(bool, onGraphicsProcessor);
        QTemporaryDir devices;
        makeNodes(devices.path(), nodes);
        for (const QString &assignment : environment) {
            const int equals = assignment.indexOf('=');
            qputenv(assignment.left(equals).toLatin1().constData(), assignment.mid(equals + 1).toLatin1());
        }
        QCOMPARE(openGlRunsOnGraphicsProcessor(devices.path()), onGraphicsProcessor);
    }

    // The process keeps "none" for good; the environment it had before is what the programs
    // the window starts get, through the opener that takes over the desktop's addresses.
    void programsStartedGetTheEnvironmentBefore()
    {
        const char *name = "QT_XCB_GL_INTEGRATION";
        qunsetenv(name);  // no threads of the test's own read the environment
        const QProcessEnvironment before = QProcessEnvironment::systemEnvironment();
        keepWindowSystemFromOpenGl();
        QCOMPARE(qgetenv(name), QByteArray("none"));
        QVERIFY(!before.contains(name));

        // A stand-in for the desktop's opener that writes down what it was given.
        QTemporaryDir dir;
        const QString record = dir.filePath("record");
        const QString opener = dir.filePath("opener");
        QFile script(opener);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n{ echo \"$1\"; echo \"gl=${%1-unset}\"; } > '%2.part'\n"
                                    "mv '%2.part' '%2'\n")
                         .arg(name, record)
                         .toLocal8Bit());
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));

        const UrlOpener urlOpener(before, opener);
        const QUrl page = QUrl::fromLocalFile(dir.filePath("help page/index.html"));
        QVERIFY(QDesktopServices::openUrl(page));
        QTRY_VERIFY(QFile::exists(record));
        QFile written(record);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = written.readAll().split('\n');
        QCOMPARE(lines.value(0), page.toEncoded());
        QCOMPARE(lines.value(1), QByteArray("gl=unset"));
        qunsetenv(name);
    }

    // Once the opener takes over, the desktop answers "opened" whatever happens: a missing
    // opener must be told through the signal.
    void missingOpenerIsTold()
    {
        UrlOpener urlOpener(QProcessEnvironment::systemEnvironment(), "/nonexistent/w3-opener");
        QSignalSpy told(&urlOpener, &UrlOpener::cannotOpen);
        const QUrl page = QUrl::fromLocalFile("/usr/share/w3config/help/index.html");
        QDesktopServices::openUrl(page);
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.at(0).at(0).toUrl(), page);
    }
};

QTEST_GUILESS_MAIN(TestOpenGlSupport)
#include "tst_opengl_support.moc"
