// Language files as the program reads them: the string table with its check value, the
// message list and the button names.
#include "FuzzWorkspace.h"
#include "controller/ControllerContext.h"
#include "controller/LanguageFile.h"
#include "controller/LanguageStore.h"

#include <QLocale>

namespace {

// Codes cycle so that the set of files told about stays small in long runs.
constexpr unsigned kCodes = 1000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzWorkspace &workspace = FuzzWorkspace::instance();
    static ControllerContext context;
    static LanguageStore store(context, "modules/i18n/");

    const QString code = QString("%1").arg(workspace.next() % kCodes, 6, 10, QChar('0'));
    const QString path = FuzzWorkspace::write("modules/i18n", "lang_" + code + ".ini", data, size);
    const LanguageFile language = LanguageFile::read(path);
    if (language.strings().size() > LanguageFile::kMaxStrings + 1)
        std::abort();
    store.getGlobalStrings(code);
    store.getProductLayoutStrings_W3(code);
    store.menuPositionFor(QLocale::system());
    QFile::remove(path);
    return 0;
}
