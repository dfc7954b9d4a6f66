// GSettings' mouse schema as a loadable back end (see PointerModules.h); nullptr where the
// schema is not installed.
#include "platform/GnomePointerSettings.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT PointerSettings *w3CreatePointerSettings()
{
    return GnomePointerSettings::open().release();
}
