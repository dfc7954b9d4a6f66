// Macro files as the library reads them (steps, configuration, the images for both devices)
// and as an import checks them.
#include "FuzzWorkspace.h"
#include "controller/ControllerContext.h"
#include "controller/KeyNameTable.h"
#include "controller/MacroEncoder.h"
#include "controller/MacroLibrary.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzWorkspace &workspace = FuzzWorkspace::instance();
    static const KeyNameTable keys;
    static ControllerContext context;
    static MacroLibrary library(context, keys, "modules/macro/");

    const QString fileName = QString("fuzz %1.bin").arg(workspace.next());
    const QString path = FuzzWorkspace::write("modules/macro", fileName, data, size);
    const QString name = QFileInfo(path).completeBaseName();
    const QStringList steps = library.loadMacroIni(name);
    library.loadMacroIniConfig(name);
    for (uint device : {0u, 1u})
        fitMacroImage(encodeMacro(steps, device, keys), MacroImage::kMouseCapacity);

    // The same bytes offered for import onto an existing macro.
    static const QString target = library.createMacroIni().toString();
    workspace.prompts.openAnswer = QFileInfo(path).absoluteFilePath();
    library.loadMacroIniFromFile(target, nullptr);
    library.loadMacroIni(target);

    QFile::remove(path);
    return 0;
}
