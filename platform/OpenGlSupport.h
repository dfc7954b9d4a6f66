#pragma once
#include <QByteArray>
#include <QString>

// Whether the window system of this session can give the scene an OpenGL context, asked of
// the window system itself: creating a trial context would load and start the whole driver.
bool windowSystemOffersOpenGl();

// Whether OpenGL on this machine would run on a graphics processor. Without one, OpenGL is
// emulated on the processor (Mesa's llvmpipe): loading that driver and compiling its shaders
// costs more than drawing this 2D scene with Qt Quick's own software renderer. Asked before
// the application object exists, from the environment and the device nodes under
// `deviceFolder`; it loads no driver.
bool openGlRunsOnGraphicsProcessor(const QString &deviceFolder = QStringLiteral("/dev"));

// Keeps the window system of this process from taking an OpenGL integration when the
// application creates its first window, so that plain windows do not load the OpenGL driver
// either. It changes the environment, so it must run before any thread starts (before the
// application object exists), and the change stays for the life of the process: threads read
// the environment at any time. The programs the window starts (the help page's browser) should
// get the environment as it was before, to choose for themselves.
void keepWindowSystemFromOpenGl();
