// The X server's pointer control as a loadable back end (see PointerModules.h).
#include "platform/X11PointerSettings.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT PointerSettings *w3CreatePointerSettings()
{
    return new X11PointerSettings;
}
