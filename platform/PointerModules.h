#pragma once
// The pointer back ends built as loadable modules (w3pointer-x11.so, w3pointer-gsettings.so),
// found in the program's own folder. Each exports
//     extern "C" PointerSettings *w3CreatePointerSettings();
// which answers nullptr when its desktop service is missing.
#include "platform/PointerSettings.h"

#include <QString>
#include <memory>

namespace pointermodules {

constexpr const char *kEntryPoint = "w3CreatePointerSettings";
using Factory = PointerSettings *(*)();

// The module's back end; nullptr, with the reason logged, when the module is missing, cannot
// be loaded or declines. A loaded module stays loaded for the life of the process.
std::unique_ptr<PointerSettings> load(const QString &name);
// Settings that reach nothing: every call answers false.
std::unique_ptr<PointerSettings> unavailable();

}  // namespace pointermodules
