#pragma once
// The last resort: key and button events that reach the program's own windows, seen through an
// application-wide event filter. Used where the session offers no desktop-wide source (a
// Wayland session without readable event devices); events of other programs go unseen.
#include "platform/InputSource.h"

class QObject;

class OwnWindowInputSource : public InputSource {
public:
    // Null without a GUI application.
    static std::unique_ptr<InputSource> create(const Handlers &handlers);
    ~OwnWindowInputSource() override;

    QString name() const override { return QStringLiteral("own window events only"); }
    bool seesWholeDesktop() const override { return false; }

private:
    class Filter;
    explicit OwnWindowInputSource(std::unique_ptr<Filter> filter);

    std::unique_ptr<Filter> filter_;
};
