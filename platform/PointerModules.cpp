#include "platform/PointerModules.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibrary>

namespace pointermodules {

namespace {

class UnavailablePointerSettings : public PointerSettings {
public:
    bool setPointerSpeed(int) override { return false; }
    bool setWheelScrollLines(int) override { return false; }
    bool setDoubleClickTime(int) override { return false; }
    bool readMouse(int[MouseValueCount]) override { return false; }
    bool writeMouse(const int[MouseValueCount]) override { return false; }
};

}  // namespace

std::unique_ptr<PointerSettings> load(const QString &name)
{
    QLibrary library(QCoreApplication::applicationDirPath() + '/' + name);
    const auto create = reinterpret_cast<Factory>(library.resolve(kEntryPoint));
    if (!create) {
        qWarning().noquote() << "Pointer settings: cannot load" << name << "-" << library.errorString();
        return nullptr;
    }
    return std::unique_ptr<PointerSettings>(create());
}

std::unique_ptr<PointerSettings> unavailable()
{
    return std::make_unique<UnavailablePointerSettings>();
}

}  // namespace pointermodules
