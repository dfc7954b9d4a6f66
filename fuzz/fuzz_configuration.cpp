// The application configuration file as the program reads it: the scene's settings list, the
// palette size and the window title.
#include "FuzzWorkspace.h"
#include "controller/AppConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzWorkspace &workspace = FuzzWorkspace::instance();
    const QString name = QString("apConfig %1.bin").arg(workspace.next());
    const QString path = FuzzWorkspace::write("modules/setting", name, data, size);
    {
        const AppConfig config(path, "modules/setting/apConfigD.bin");
        if (config.loadApConfig(2).size() > AppConfig::kMaxItems)
            std::abort();
        config.loadDeviceApConfig();
        AppConfig::windowTitle(path);
    }
    QFile::remove(path);
    return 0;
}
