#pragma once
// The application in front, as the desktop tells it. Each desktop has its own back end (the
// X11 root window's active window, the wlroots toplevel list, a KWin script or a GNOME Shell
// extension calling back); the follower of applications only sees this interface.
#include <QObject>
#include <QString>

// What the desktop says about the application in front. Empty texts are unknown.
struct ApplicationIdentity {
    QString applicationId;  // Wayland app_id or desktop file id
    QString windowClass;    // X11 WM_CLASS
    QString programName;    // the file name of the program, without its folder
    qint64 pid = 0;         // 0 when unknown

    bool operator==(const ApplicationIdentity &other) const
    {
        return applicationId == other.applicationId && windowClass == other.windowClass
            && programName == other.programName && pid == other.pid;
    }
    bool operator!=(const ApplicationIdentity &other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(ApplicationIdentity)

class ActiveApplication : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The application in front now; all empty when none is known.
    virtual ApplicationIdentity current() const = 0;

signals:
    // Another application came to the front (or the same one's details became known).
    void changed(const ApplicationIdentity &application);
};
