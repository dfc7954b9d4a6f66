// The reference of bench_startup: a bare QQuickWidget with one rectangle, in a program of its
// own that loads Qt's libraries only, as a bare widget's program would; run inside
// bench_startup it would also load and relocate every library of the program, and count
// their pages as its own.
//
//   bench_startup_bare            as Qt starts it by default
//   bench_startup_bare software   on Qt Quick's software renderer, with no OpenGL loaded: what
//                                 the program does on a machine without a graphics processor
//
// Reports FRAME once its first frame is rendered, then RENDERER and RSS (see bench_startup).
#include "ChildReport.h"
#include "platform/OpenGlSupport.h"

#include <QApplication>
#include <QFile>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "software") {
        keepWindowSystemFromOpenGl();
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString scene = dir.filePath("bare.qml");
    QFile file(scene);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write("import QtQuick 2.15\nRectangle { width: 1000; height: 600; color: \"#1d2733\" }\n");
    file.close();
    QQuickWidget view;
    view.setSource(QUrl::fromLocalFile(scene));
    QMetaObject::Connection frames;
    frames = QObject::connect(view.quickWindow(), &QQuickWindow::afterRendering, &view, [&view, &frames] {
        QObject::disconnect(frames);
        report("FRAME");
        // Once the frame is composed into the window, as the program's figure is.
        QMetaObject::invokeMethod(qApp, [&view] {
            reportRenderer(view.quickWindow());
            report("RSS " + QByteArray::number(qlonglong(residentKilobytes())));
            QCoreApplication::quit();
        }, Qt::QueuedConnection);
    }, Qt::DirectConnection);
    view.show();
    return app.exec();
}
