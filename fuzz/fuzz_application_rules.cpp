// The application rules file as the program reads it: within bounds or refused whole, and
// what is accepted is written back and read again unchanged.
#include "FuzzWorkspace.h"
#include "controller/ApplicationRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzWorkspace &workspace = FuzzWorkspace::instance();
    const QString name = QString("appRules%1.ini").arg(workspace.next());
    const QString path = FuzzWorkspace::write("modules/setting", name, data, size);
    const ApplicationRules rules = ApplicationRules::read(path);
    if (rules.rules().size() > ApplicationRules::kMaxRules)
        std::abort();
    if (rules.status() == ApplicationRules::ReadStatus::Read) {
        const QString copy = path + ".copy";
        if (!rules.write(copy).isEmpty())
            std::abort();
        const ApplicationRules back = ApplicationRules::read(copy);
        if (back.status() != ApplicationRules::ReadStatus::Read || back.rules() != rules.rules()
            || back.enabled() != rules.enabled() || back.defaultProfile() != rules.defaultProfile())
            std::abort();
        QFile::remove(copy);
    } else if (rules.enabled() || !rules.rules().isEmpty()) {
        std::abort();
    }
    QFile::remove(path);
    return 0;
}
