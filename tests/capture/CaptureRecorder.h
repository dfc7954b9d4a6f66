#pragma once
// Collects the capture's reports through the callbacks' context pointer.
#include "capture/InputCapture.h"

#include <QList>
#include <QPoint>

struct KeyReport {
    uchar usage;
    bool pressed;
    bool operator==(const KeyReport &o) const { return usage == o.usage && pressed == o.pressed; }
};

struct ButtonReport {
    uchar code;
    bool pressed;
    QPoint position;
    bool operator==(const ButtonReport &o) const
    {
        return code == o.code && pressed == o.pressed && position == o.position;
    }
};

struct CaptureRecorder {
    QList<KeyReport> keys;
    QList<ButtonReport> buttons;

    static void onKey(uchar usage, bool pressed, void *context)
    {
        static_cast<CaptureRecorder *>(context)->keys.append({usage, pressed});
    }
    static void onButton(uchar code, bool pressed, int x, int y, void *context)
    {
        static_cast<CaptureRecorder *>(context)->buttons.append({code, pressed, QPoint(x, y)});
    }
};

inline char *toString(const KeyReport &r)
{
    return qstrdup(QByteArray("(0x" + QByteArray::number(r.usage, 16) + (r.pressed ? " down)" : " up)"))
                       .constData());
}

inline char *toString(const ButtonReport &r)
{
    return qstrdup(QByteArray("(0x" + QByteArray::number(r.code, 16) + (r.pressed ? " down " : " up ")
                              + QByteArray::number(r.position.x()) + ","
                              + QByteArray::number(r.position.y()) + ")")
                       .constData());
}
