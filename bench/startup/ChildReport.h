#pragma once
// What the children of bench_startup report on their standard output, one line each (the
// list of lines is at the top of bench_startup.cpp).
#include <QByteArray>

class QQuickWindow;

void report(const QByteArray &line);
// VmRSS of this process, in kB; -1 when it cannot be read.
long residentKilobytes();
// "RENDERER software" or "RENDERER opengl": the scene graph's renderer of the window.
void reportRenderer(QQuickWindow *window);
