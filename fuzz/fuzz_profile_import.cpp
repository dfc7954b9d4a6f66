// Profiles handed in for import: the check, and for a file it accepts, the import itself and
// every entry read back as the getters read it.
#include "FuzzWorkspace.h"
#include "controller/ProfileCheck.h"
#include "controller/ProfileStore.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzWorkspace &workspace = FuzzWorkspace::instance();
    static ProfileStore profiles("modules/setting/");

    const QString name = QString("profile %1.pf").arg(workspace.next());
    const QString path = FuzzWorkspace::write("import", name, data, size);
    if (ProfileCheck::problem(path).isEmpty()) {
        workspace.prompts.openAnswer = QFileInfo(path).absoluteFilePath();
        profiles.loadProfile(0, nullptr);
        const QSettings &imported = profiles.current();
        for (const QString &key : imported.allKeys())
            ProfileStore::storedList(imported, key);
    }
    QFile::remove(path);
    return 0;
}
