#include "controller/Controllers.h"

#include "controller/AppConfig.h"
#include "controller/KeyNameTable.h"
#include "controller/KeyboardOperations.h"
#include "controller/LanguageStore.h"
#include "controller/MacroLibrary.h"
#include "controller/MacroSlots.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/PointerSettings.h"

namespace {

Controllers::PointerFactory &pointerFactory()
{
    static Controllers::PointerFactory factory;
    return factory;
}

std::unique_ptr<PointerSettings> createPointer()
{
    return pointerFactory() ? pointerFactory()() : PointerSettings::create();
}

}  // namespace

void Controllers::setPointerFactory(PointerFactory factory)
{
    pointerFactory() = std::move(factory);
}

Controllers::Controllers()
    : keyNames(std::make_unique<KeyNameTable>()),
      appConfig(std::make_unique<AppConfig>()),
      profiles(std::make_unique<ProfileStore>()),
      languages(std::make_unique<LanguageStore>(context)),
      macros(std::make_unique<MacroLibrary>(context, *keyNames)),
      mouse(std::make_unique<MouseOperations>(context, *profiles)),
      macroSlots(std::make_unique<MacroSlots>(*profiles, *macros, *mouse)),
      keyboard(std::make_unique<KeyboardOperations>(context, *profiles)),
      pointer(createPointer()),
      systemMouse(std::make_unique<SystemMouseSettings>(*profiles, *pointer))
{
}

Controllers::~Controllers() = default;
