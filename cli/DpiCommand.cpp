#include "cli/Commands.h"

#include "actions/SensorActions.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/SettingNames.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "scenelogic/SensorLogic.h"

#include <algorithm>

using namespace cli;

namespace {

// Positions in the sensor page's factory values: 24 indicator colour numbers, then 8 ids.
constexpr int kSensorDefaultColors = 13;
constexpr int kSensorDefaultIds = 37;
// Marks a stage shown as the sensor's value nearest to the stored one (plain ASCII, for
// terminals and scripts alike).
constexpr char kNearestMark = '~';

QStringList completeDpi(const CompletionRequest &request)
{
    if (request.before.isEmpty())
        return {"stage", "set", "colors"};
    if (request.before.size() != 1)
        return {};
    if (request.before.first() == "stage")
        return numberWords(1, SensorLogic::kStageCount);
    if (request.before.first() != "colors")
        return {};
    // A list: the colours already typed stay, the last one is completed.
    const int comma = request.current.lastIndexOf(',');
    const QString typed = comma < 0 ? QString() : request.current.left(comma + 1);
    QStringList words;
    for (const QString &color : SettingNames::fixedColors())
        words << typed + color;
    return words;
}

}  // namespace

const CommandRow &dpiCommand()
{
    static const CommandRow row = {
        "dpi", "dpi [stage N | set V1,V2,... | colors C1,C2,...]",
         "Show the DPI stages, choose the stage in use, set the stage values or their indicator colours.",
         "  dpi                  show the sensor, its stages, the stage in use and the values it takes;\n"
         "                       a stored value the sensor lacks shows as its nearest value, marked \"~\"\n"
         "  dpi stage N          use stage N (1 to the number of stages; a stage set to 0 is unused)\n"
         "  dpi set V1,V2,...    set the stages in order; each value must be one of the sensor's\n"
         "                       values (see `w3ctl dpi`), 0 leaves a stage unused; stages not\n"
         "                       given are unused; one stage at least keeps a value, and when the\n"
         "                       stage in use is left unused the nearest used stage takes its place\n"
         "  dpi colors C1,C2,... set the indicator colour of the stages in order: #RRGGBB or one of\n"
         "                       FIXED_COLORS (a mouse whose light shows only\n"
         "                       these takes only these); stages not given keep theirs\n",
        {},
        MouseUse::ForChanges,
        &Commands::dpi,
        completeDpi};
    return row;
}

int Commands::sensorType()
{
    return controllers.mouse->getSensorType().toInt();
}

int Commands::stageCount()
{
    return std::clamp(int(controllers.mouse->ui_91H_SyncDPI()), 1, SensorLogic::kStageCount);
}

// The stored values as the sensor page shows them: a value the sensor lacks is its nearest
// value; nothing stored gives the sensor's factory stages.
QList<int> Commands::stageValues(int type)
{
    const QVariantList stored = controllers.mouse->ui_91H_GetDPISet();
    return stored.isEmpty() ? SensorLogic::defaultStages(type) : SensorLogic::usableStages(type, stored);
}

// The stage in use as the sensor page shows it (1-based): the stored one when it is used,
// else the nearest used stage.
int Commands::stageInUse(const QList<int> &values, int stages)
{
    const int stored = std::clamp(controllers.mouse->ui_8BH_GetCurrentDPIStage().toInt(), 1, stages);
    const int stage = SensorLogic::stageInUse(values, stored - 1, stages);
    return stage == SensorLogic::kNoStage ? stored : stage + 1;
}

// The stages (1-based) whose stored value the sensor lacks and that show its nearest value.
QList<int> Commands::adjustedStages(int type, int stages)
{
    const QVariantList adjusted = SensorLogic::adjustedStages(type, controllers.mouse->ui_91H_GetDPISet());
    QList<int> numbers;
    for (int stage = 0; stage < stages; ++stage) {
        if (adjusted.value(stage).toBool())
            numbers << stage + 1;
    }
    return numbers;
}

void Commands::dpi()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0);
    if (!arguments.isEmpty() && action != "stage" && action != "set" && action != "colors")
        usageError(tr("unknown dpi action \"%1\"").arg(action));
    requireArguments(arguments.isEmpty() ? 0 : 2, arguments.isEmpty() ? 0 : 2);
    if (arguments.isEmpty())
        deviceToRead();
    else
        device();
    const int type = sensorType();
    const int stages = stageCount();
    if (action == "stage")
        useStage(arguments.at(1), type, stages);
    else if (action == "set")
        setStages(arguments.at(1).split(','), type, stages);
    else if (action == "colors")
        setStageColors(arguments.at(1).split(','), stages);
    else
        showDpi(type, stages);
}

void Commands::showDpi(int type, int stages)
{
    const QList<int> values = stageValues(type);
    const int stage = stageInUse(values, stages);
    const QList<int> shown = values.mid(0, stages);
    const QList<int> adjusted = adjustedStages(type, stages);
    QStringList stageTexts;
    for (int index = 0; index < shown.size(); ++index)
        stageTexts << (adjusted.contains(index + 1) ? QString(QLatin1Char(kNearestMark)) : QString()) + QString::number(shown.at(index));
    const QList<int> offered = SensorLogic::valueMenu(type).mid(1);
    const QString sensor = SensorLogic::sensorName(type);
    const QStringList colors = stageColors(stages);
    output.result(tr("sensor: %1\nstages: %2\nin use: %3\ncolors: %4\nvalues: %5")
                      .arg(sensor.isEmpty() ? "unknown" : sensor)
                      .arg(stageTexts.join(' '))
                      .arg(stage)
                      .arg(colors.join(' '))
                      .arg(joined(offered, " ")),
                  {{"sensor", sensor},
                   {"stageCount", stages},
                   {"stages", toJson(shown)},
                   {"adjustedStages", toJson(adjusted)},
                   {"stage", stage},
                   {"colors", QJsonArray::fromStringList(colors)},
                   {"values", toJson(offered)}});
}

// An unused stage cannot be the stage in use.
void Commands::useStage(const QString &text, int type, int stages)
{
    bool ok = false;
    const int stage = text.toInt(&ok);
    if (!ok || stage < 1 || stage > stages)
        usageError(tr("stage must be 1-%1").arg(stages));
    const int value = stageValues(type).value(stage - 1);
    if (value == 0)
        usageError(tr("stage %1 is unused; set a value for it first").arg(stage));
    actions.sensor->useStage(stage - 1);
    output.done(tr("DPI stage %1 (%2 DPI)").arg(stage).arg(value));
}

void Commands::setStages(const QStringList &items, int type, int stages)
{
    const QList<int> menu = SensorLogic::valueMenu(type);
    if (menu.isEmpty())
        throw CliFailure(ExitCode::DeviceError, tr("the mouse reports a sensor w3ctl does not know (type %1)").arg(type));
    if (items.size() > stages)
        usageError(tr("the mouse has %1 stages, not %2").arg(stages).arg(items.size()));
    QList<int> values;
    for (const QString &item : items) {
        bool ok = false;
        const int value = item.trimmed().toInt(&ok);
        if (!ok || !menu.contains(value))
            usageError(tr("%1 DPI is not a value of the %2 sensor; allowed: %3")
                           .arg(item.trimmed(), SensorLogic::sensorName(type), joined(menu, ", ")));
        values << value;
    }
    while (values.size() < SensorLogic::kStageCount)
        values << 0;
    if (SensorLogic::stageInUse(values, 0, stages) == SensorLogic::kNoStage)
        usageError(tr("one stage at least must have a value"));
    const int stageBefore = stageInUse(stageValues(type), stages);
    actions.sensor->sendStages(type, stages, variants(values));
    const int stageAfter = stageInUse(values, stages);
    if (stageAfter == stageBefore) {
        output.done(tr("DPI stages %1").arg(joined(values.mid(0, stages))));
        return;
    }
    // The stage in use is now unused: the nearest used stage takes its place.
    actions.sensor->useStage(stageAfter - 1);
    output.done(tr("DPI stages %1; stage %2 is unused, the stage in use is now %3")
                    .arg(joined(values.mid(0, stages)))
                    .arg(stageBefore)
                    .arg(stageAfter));
}

// The indicator colours the sensor page shows: colour ids when the mouse's light takes only
// the fixed colours, else red, green and blue per stage; the factory's when the profile has none.
Commands::StageColors Commands::storedStageColors()
{
    MouseOperations &mouse = *controllers.mouse;
    const QList<int> defaults = numbers(controllers.profiles->loadDefaultProfile(ProfileStore::SensorPage));
    StageColors colors;
    colors.fixedOnly = mouse.chkIsLogoLedWork();
    const int type = colors.fixedOnly ? 2 : 1;
    const int length = colors.fixedOnly ? LightingLogic::kColorCount : kColorValues;
    colors.values = numbers(mouse.ui_90H_GetLED8StageColor(uchar(type)));
    if (colors.values.size() != length)
        colors.values = defaults.mid(colors.fixedOnly ? kSensorDefaultIds : kSensorDefaultColors, length);
    while (colors.values.size() < length)
        colors.values << 0;
    return colors;
}

QStringList Commands::stageColors(int stages)
{
    const StageColors colors = storedStageColors();
    QStringList names;
    for (int stage = 0; stage < stages; ++stage) {
        if (colors.fixedOnly) {
            names << SettingNames::fixedColors().value(colors.values.at(stage), "?");
        } else {
            const QList<int> &v = colors.values;
            names << Rgb{v.at(3 * stage), v.at(3 * stage + 1), v.at(3 * stage + 2)}.name();
        }
    }
    return names;
}

void Commands::setStageColors(const QStringList &items, int stages)
{
    if (items.size() > stages)
        usageError(tr("the mouse has %1 stages, not %2").arg(stages).arg(items.size()));
    StageColors colors = storedStageColors();
    for (int stage = 0; stage < items.size(); ++stage) {
        const std::optional<Rgb> color = SettingNames::color(items.at(stage));
        if (!color)
            usageError(tr("\"%1\" is not a colour #RRGGBB").arg(items.at(stage)));
        if (colors.fixedOnly) {
            const int id = SettingNames::fixedColorId(*color);
            if (id < 0)
                usageError(tr("this mouse's indicator shows only %1, not %2")
                               .arg(SettingNames::fixedColors().join(", "), items.at(stage)));
            colors.values[stage] = id;
        } else {
            colors.values[3 * stage] = color->red;
            colors.values[3 * stage + 1] = color->green;
            colors.values[3 * stage + 2] = color->blue;
        }
    }
    actions.sensor->sendStageColors(colors.fixedOnly, variants(colors.values));
    output.done(tr("DPI indicator colours %1").arg(stageColors(stages).join(',')));
}
