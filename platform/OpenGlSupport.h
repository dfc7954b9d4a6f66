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

// While it lives, the window system takes no OpenGL integration when the application creates
// its first window, so that plain windows do not load the OpenGL driver either. The
// environment comes back when it ends: programs started later (the help page's browser)
// choose for themselves.
class WindowSystemWithoutOpenGl {
public:
    WindowSystemWithoutOpenGl();
    ~WindowSystemWithoutOpenGl();
    WindowSystemWithoutOpenGl(const WindowSystemWithoutOpenGl &) = delete;
    WindowSystemWithoutOpenGl &operator=(const WindowSystemWithoutOpenGl &) = delete;

private:
    bool wasSet = false;
    QByteArray previous;
};
