#pragma once
// Desktop-wide key and button events through the X11 RECORD extension: a second connection
// to the X server receives a copy of every client's device events; nothing is consumed.
#include "platform/InputSource.h"

class X11RecordInputSource : public InputSource {
public:
    // Null when there is no X display or the server lacks the RECORD extension.
    static std::unique_ptr<InputSource> create(const Handlers &handlers);
    ~X11RecordInputSource() override;

    QString name() const override { return QStringLiteral("X11 RECORD"); }

private:
    struct Connection;
    explicit X11RecordInputSource(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> connection_;
};
