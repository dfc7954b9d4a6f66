// A window of a Wayland application whose app_id is the first argument, for the tests of the
// application in front on Wayland compositors. Runs until it is ended.
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <cstdio>

class PlainWindow : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkGray); }
};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: wayland_app_window APP_ID\n");
        return 2;
    }
    // Qt on Wayland gives its windows the desktop file name as their app_id.
    QGuiApplication::setDesktopFileName(app.arguments().at(1));
    PlainWindow window;
    window.resize(200, 150);
    window.show();
    return app.exec();
}
