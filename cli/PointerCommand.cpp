#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/SystemMouseSettings.h"

using namespace cli;

namespace {

QStringList completePointer(const CompletionRequest &)
{
    return {};
}

}  // namespace

const CommandRow &pointerCommand()
{
    static const CommandRow row = {
        "pointer", "pointer [--speed 0-10] [--scroll-lines 0-10] [--double-click 0-10] [--acceleration on|off]",
         "Show or set the desktop's pointer settings kept in the profile.",
         "  --speed STEP         pointer speed step 0-10\n"
         "  --scroll-lines STEP  wheel scroll lines step 0-10 (1 to 11 lines)\n"
         "  --double-click STEP  double-click speed step 0-10 (900 to 200 ms)\n"
         "  --acceleration on|off  pointer acceleration (kept by the desktop, not the profile)\n",
        {{"speed", numberWords(0, int(SystemMouseSettings::kMaxStep))},
     {"scroll-lines", numberWords(0, int(SystemMouseSettings::kMaxStep))},
     {"double-click", numberWords(0, int(SystemMouseSettings::kMaxStep))},
     {"acceleration", {"on", "off"}}},
        MouseUse::Never,
        &Commands::pointer,
        completePointer};
    return row;
}

void Commands::pointer()
{
    requireArguments(0, 0);
    SystemMouseSettings &system = *controllers.systemMouse;
    if (invocation.options.isEmpty()) {
        const uint speed = system.getCursorSpeed();
        const uint lines = system.getVerticalScrollLines();
        const uint doubleClick = system.getDoubleClickSpeed();
        const bool acceleration = system.getAcceleration();
        output.result(tr("speed:        %1\nscroll-lines: %2\ndouble-click: %3\nacceleration: %4")
                          .arg(speed).arg(lines).arg(doubleClick).arg(acceleration ? "on" : "off"),
                      {{"speed", int(speed)}, {"scrollLines", int(lines)}, {"doubleClick", int(doubleClick)},
                       {"acceleration", acceleration}});
        return;
    }
    const int maxStep = int(SystemMouseSettings::kMaxStep);
    const QString acceleration = invocation.options.value("acceleration");
    if (invocation.has("acceleration") && acceleration != "on" && acceleration != "off")
        usageError(tr("--acceleration must be on or off"));
    // Every value is checked before the first one is applied.
    const int speed = invocation.has("speed") ? stepOption("speed", maxStep) : -1;
    const int lines = invocation.has("scroll-lines") ? stepOption("scroll-lines", maxStep) : -1;
    const int doubleClick = invocation.has("double-click") ? stepOption("double-click", maxStep) : -1;
    if (speed >= 0)
        system.setCursorSpeed(uint(speed));
    if (lines >= 0)
        system.setVerticalScrollLines(uint(lines));
    if (doubleClick >= 0)
        system.setDoubleClickSpeed(uint(doubleClick));
    if (invocation.has("acceleration"))
        system.setAcceleration(acceleration == "on");
    if (!system.waitUntilApplied(kPointerTimeoutMs))
        throw CliFailure(ExitCode::DeviceError, tr("the desktop did not take the pointer settings in time"));
    output.done(tr("pointer settings stored and applied"));
}
