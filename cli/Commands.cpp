#include "cli/Commands.h"

#include "cli/ButtonFunction.h"
#include "cli/ProfileInUse.h"
#include "cli/SettingNames.h"
#include "cli/WindowLanguage.h"
#include "controller/AppConfig.h"
#include "controller/ExportTarget.h"
#include "controller/FileExport.h"
#include "controller/KeyboardOperations.h"
#include "controller/MacroLibrary.h"
#include "controller/MacroSlots.h"
#include "controller/ProfileCheck.h"
#include "controller/MouseOperations.h"
#include "controller/Notices.h"
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "device/DeviceState.h"
#include "scenelogic/LightingLogic.h"
#include "scenelogic/SensorLogic.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

constexpr int kKeyCodeLength = 4;
constexpr int kColorValues = 3 * LightingLogic::kColorCount;  // 24: r, g, b per stage
constexpr int kPointerTimeoutMs = 5000;
// Positions in the sensor page's factory values: 24 indicator colour numbers, then 8 ids.
constexpr int kSensorDefaultColors = 13;
constexpr int kSensorDefaultIds = 37;
// Marks a stage shown as the sensor's value nearest to the stored one (plain ASCII, for
// terminals and scripts alike).
constexpr char kNearestMark = '~';

const QStringList kEffectNames = SettingNames::effects();

QJsonArray toJson(const QList<int> &values)
{
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return array;
}

QList<int> numbers(const QVariantList &values)
{
    QList<int> list;
    for (const QVariant &value : values)
        list << value.toInt();
    return list;
}

template <typename Ints>
QVariantList variants(const Ints &values)
{
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

QString joined(const QList<int> &values, const QString &separator = ",")
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(separator);
}

// "left-button" for "LEFT BUTTON": how the command line names a button.
QString commandName(const QString &name)
{
    return name.trimmed().toLower().replace(' ', '-');
}

}  // namespace

Commands::Commands(const Invocation &invocation, Output &output)
    : invocation(invocation), output(output), session(std::make_unique<DeviceSession>(*controllers.appConfig))
{
    // The mouse's branch of the controller answers from the profile before the mouse is opened.
    controllers.setHidThread(&session->hid());
    controllers.profiles->setCurrentProfile(ProfileInUse::load());
    loadWindowLanguage(controllers);
    prompts.takeWarnings();  // a damaged language is reported when the mouse is needed
}

Commands::~Commands()
{
    session->finish();
    controllers.setHidThread(nullptr);
    controllers.profiles->flush();
}

ExitCode Commands::run()
{
    // The settings files are read afresh under the lock every writer of them takes, so what
    // this command writes back is built on what another program wrote before it.
    session->lock(invocation.waitMs);
    controllers.profiles->reopen();
    controllers.profiles->setCurrentProfile(ProfileInUse::load());
    const QString command = invocation.command();
    if (command == "status")
        return status();
    if (command == "profile")
        profile();
    else if (command == "dpi")
        dpi();
    else if (command == "rate")
        rate();
    else if (command == "button")
        button();
    else if (command == "light")
        light();
    else if (command == "wheel")
        wheel();
    else if (command == "macro")
        macro();
    else if (command == "pointer")
        pointer();
    if (!session->finish())
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not take the last change in time"));
    if (!controllers.profiles->flush())
        writeFailure(tr("the profile cannot be saved"));
    reportWarnings();
    return ExitCode::Success;
}

// --- Helpers ------------------------------------------------------------------------------

void Commands::usageError(const QString &message) const
{
    throw CliFailure(ExitCode::UsageError, message + "; " + CommandLine::usageHint(invocation.command()));
}

void Commands::writeFailure(const QString &what)
{
    const QStringList reasons = prompts.takeWarnings();
    throw CliFailure(ExitCode::DeviceError, reasons.isEmpty() ? what : what + ": " + reasons.join(' '));
}

void Commands::requireArguments(int low, int high)
{
    const int count = invocation.arguments().size();
    if (count < low)
        usageError(tr("too few arguments"));
    if (count > high)
        usageError(tr("unexpected argument \"%1\"").arg(invocation.arguments().at(high)));
}

DeviceSession &Commands::device()
{
    if (deviceOpened)
        return *session;
    session->openReady(invocation.waitMs);
    if (!languageIntegrity)
        throw CliFailure(ExitCode::DeviceError, tr("the language file of W3 Config is damaged; the mouse is not "
                                                   "written until the window's language is a sound one"));
    deviceOpened = true;
    return *session;
}

void Commands::reportWarnings()
{
    for (const QString &warning : prompts.takeWarnings())
        output.error(warning);
}

int Commands::profileArgument(const QString &text) const
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || !ProfileStore::isValidProfile(number - 1))
        usageError(tr("profile must be 1-%1, not \"%2\"").arg(ProfileStore::kProfileCount).arg(text));
    return number - 1;
}

int Commands::stepOption(const QString &option, int high) const
{
    bool ok = false;
    const int step = invocation.options.value(option).toInt(&ok);
    if (!ok || step < 0 || step > high)
        usageError(tr("--%1 must be 0-%2").arg(option).arg(high));
    return step;
}

// --- status -------------------------------------------------------------------------------

ExitCode Commands::status()
{
    requireArguments(0, 0);
    const DeviceSession::State state = session->open(invocation.waitMs);
    const bool usable = state == DeviceSession::State::Ready || state == DeviceSession::State::Demo;

    const int profile = controllers.profiles->currentProfile() + 1;
    const int stage = controllers.mouse->ui_8BH_GetCurrentDPIStage().toInt();
    const int ratePosition = SensorLogic::reportRatePosition(controllers.mouse->ui_81H_GetReportRate().toInt());
    const QString rate = SensorLogic::reportRateLabels().at(ratePosition);
    const QString firmware = usable ? controllers.keyboard->ui_80H_GetFWVersion() : QString();
    const QString sensor = usable ? SensorLogic::sensorName(sensorType()) : QString();
    const QString stateText = state == DeviceSession::State::NotFound ? "not found"
                              : state == DeviceSession::State::Refused ? "found, handshake failed"
                              : state == DeviceSession::State::Demo    ? "demo mode"
                                                                       : "ready";
    QString text = tr("mouse:       %1\n").arg(stateText);
    if (state != DeviceSession::State::NotFound)
        text += tr("product:     %1\n").arg(session->productName());
    if (usable)
        text += tr("firmware:    %1\nsensor:      %2\n").arg(firmware, sensor.isEmpty() ? "unknown" : sensor);
    text += tr("profile:     %1\ndpi stage:   %2\nreport rate: %3").arg(profile).arg(stage).arg(rate);

    QJsonObject fields{
        {"found", state != DeviceSession::State::NotFound},
        {"proven", state == DeviceSession::State::Ready},
        {"demo", state == DeviceSession::State::Demo},
        {"product", state == DeviceSession::State::NotFound ? QString() : session->productName()},
        {"firmware", firmware},
        {"sensor", sensor},
        {"profile", profile},
        {"dpiStage", stage},
        {"reportRate", rate.section(' ', 0, 0).toInt()},
    };
    output.result(text, fields);
    reportWarnings();
    if (state == DeviceSession::State::NotFound)
        throw CliFailure(ExitCode::NoDevice, tr("no W3 mouse found"));
    if (state == DeviceSession::State::Refused)
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not answer the handshake"));
    return ExitCode::Success;
}

// --- profile ------------------------------------------------------------------------------

void Commands::profile()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0);
    if (arguments.isEmpty()) {
        showProfile();
    } else if (action == "export" || action == "import") {
        requireArguments(3, 3);
        if (action == "export")
            exportProfile(profileArgument(arguments.at(1)), arguments.at(2));
        else
            importProfile(profileArgument(arguments.at(1)), arguments.at(2));
    } else if (action == "reset") {
        requireArguments(2, 2);
        resetProfile(profileArgument(arguments.at(1)));
    } else {
        requireArguments(1, 1);
        switchProfile(profileArgument(action));
    }
}

void Commands::showProfile()
{
    const int profile = controllers.profiles->currentProfile() + 1;
    output.result(tr("profile %1").arg(profile), {{"profile", profile}, {"profiles", ProfileStore::kProfileCount}});
}

void Commands::switchProfile(int profile)
{
    device();
    // Stored before the mouse is told, so a file that cannot be written changes nothing.
    const WriteOutcome stored = ProfileInUse::save(profile);
    if (!stored) {
        Notices::cannotSave(ProfileInUse::kStatePath, stored.status);
        writeFailure(tr("cannot write %1").arg(ProfileInUse::kStatePath));
    }
    // The profile menu's switch; the mouse gets the profile's values when its pages are applied.
    controllers.mouse->ui_02H_SetCurrentProfile(profile);
    sendProfileToMouse();
    output.done(tr("profile %1 in use").arg(profile + 1));
}

void Commands::exportProfile(int profile, const QString &file)
{
    exportTarget(file);  // what the user named must not be a folder, device or pipe either
    prompts.setFileAnswer(exportTarget(FileExport::withExtension(file, FileExport::kProfileExtension)));
    const QString written = controllers.profiles->saveProfile(profile, nullptr, controllers.context);
    if (written.isEmpty())
        throw exportFailure(file);
    output.done(tr("profile %1 exported to %2").arg(profile + 1).arg(written));
}

// The file the user named, where the user is; refused when it is not a regular file or a new
// name, so that no folder, device or pipe is replaced.
QString Commands::exportTarget(const QString &file) const
{
    const QString target = invocation.userFile(file);
    const QString problem = ExportTarget::problem(target);
    if (!problem.isEmpty())
        usageError(tr("cannot export to %1: %2").arg(file, problem));
    return target;
}

CliFailure Commands::exportFailure(const QString &file)
{
    const QString folder = QFileInfo(invocation.userFile(file)).absolutePath();
    QStringList reasons = prompts.takeWarnings();
    if (!QFileInfo(folder).isWritable())
        reasons << tr("the folder %1 is not writable").arg(folder);
    return CliFailure(ExitCode::DeviceError,
                      reasons.isEmpty() ? tr("cannot write %1").arg(file)
                                        : tr("cannot write %1: %2").arg(file, reasons.join(' ')));
}

void Commands::importProfile(int profile, const QString &file)
{
    const QString source = invocation.userFile(file);
    const QString problem = ProfileCheck::problem(source);
    if (!problem.isEmpty())
        usageError(tr("%1 is not a profile: %2").arg(file, problem));
    prompts.setFileAnswer(source);
    controllers.profiles->loadProfile(profile, nullptr);
    const QStringList warnings = prompts.takeWarnings();
    if (!warnings.isEmpty())
        throw CliFailure(ExitCode::DeviceError, warnings.join(' '));
    output.done(tr("profile %1 imported from %2").arg(profile + 1).arg(file));
}

void Commands::resetProfile(int profile)
{
    controllers.profiles->resetProfile(profile);
    const QStringList warnings = prompts.takeWarnings();
    if (!warnings.isEmpty())
        throw CliFailure(ExitCode::DeviceError, warnings.join(' '));
    output.done(tr("profile %1 has its factory settings").arg(profile + 1));
}

// Every page's APPLY and the values the pages send at once, from what the profile holds.
void Commands::sendProfileToMouse()
{
    applyButtons(storedButtons());
    applyLighting();
    applySensor();
}

void Commands::applyLighting()
{
    MouseOperations &mouse = *controllers.mouse;
    const QVariantList palette = mouse.ui_90H_GetLED8StageColor(0);
    if (palette.size() == kColorValues)
        mouse.ui_10H_SetLED8StageColor(0, palette);
    const QVariantList lighting = mouse.ui_8DH_GetRGBLedEffect();
    if (!LightingLogic::isStoredSettings(lighting))
        return;
    const QList<int> command = LightingLogic::ledCommand(lighting.at(0).toInt(), lighting.at(1).toInt(),
                                                         lighting.at(2).toInt(), LightingLogic::isStoredPowerOn(lighting));
    mouse.ui_0DH_SetRGBLedEffect(uchar(command.at(0)), uchar(command.at(1)), uchar(command.at(2)), lighting);
}

void Commands::applySensor()
{
    MouseOperations &mouse = *controllers.mouse;
    const int type = sensorType();
    const int stages = stageCount();
    const QList<int> values = stageValues(type);
    mouse.ui_11H_SetDPISet(uchar(stages), SensorLogic::encodeStages(type, values), variants(values));
    const QVariantList colors = mouse.ui_90H_GetLED8StageColor(1);
    const QVariantList ids = mouse.ui_90H_GetLED8StageColor(2);
    if (mouse.chkIsLogoLedWork()) {
        if (ids.size() == LightingLogic::kColorCount)
            mouse.ui_10H_SetLED8StageColor(2, ids);
    } else if (colors.size() == kColorValues) {
        mouse.ui_10H_SetLED8StageColor(1, colors);
    }
    const int rate = mouse.ui_81H_GetReportRate().toInt();
    mouse.ui_01H_SetReportRate(uchar(SensorLogic::reportRateValue(SensorLogic::reportRatePosition(rate))));
    SystemMouseSettings &system = *controllers.systemMouse;
    system.setCursorSpeed(system.getCursorSpeed());
    system.setVerticalScrollLines(system.getVerticalScrollLines());
    system.setDoubleClickSpeed(system.getDoubleClickSpeed());
    mouse.ui_0BH_SetCurrentDPIStage(uchar(stageInUse(values, stages)));
    system.waitUntilApplied(kPointerTimeoutMs);
}

// --- dpi and rate -------------------------------------------------------------------------

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
    controllers.mouse->ui_0BH_SetCurrentDPIStage(uchar(stage));
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
    controllers.mouse->ui_11H_SetDPISet(uchar(stages), SensorLogic::encodeStages(type, values), variants(values));
    const int stageAfter = stageInUse(values, stages);
    if (stageAfter == stageBefore) {
        output.done(tr("DPI stages %1").arg(joined(values.mid(0, stages))));
        return;
    }
    // The stage in use is now unused: the nearest used stage takes its place.
    controllers.mouse->ui_0BH_SetCurrentDPIStage(uchar(stageAfter));
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
            names << QColor(v.at(3 * stage), v.at(3 * stage + 1), v.at(3 * stage + 2)).name();
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
        const std::optional<QColor> color = SettingNames::color(items.at(stage));
        if (!color)
            usageError(tr("\"%1\" is not a colour #RRGGBB").arg(items.at(stage)));
        if (colors.fixedOnly) {
            const int id = SettingNames::fixedColorId(*color);
            if (id < 0)
                usageError(tr("this mouse's indicator shows only %1, not %2")
                               .arg(SettingNames::fixedColors().join(", "), items.at(stage)));
            colors.values[stage] = id;
        } else {
            colors.values[3 * stage] = color->red();
            colors.values[3 * stage + 1] = color->green();
            colors.values[3 * stage + 2] = color->blue();
        }
    }
    controllers.mouse->ui_10H_SetLED8StageColor(colors.fixedOnly ? 2 : 1, variants(colors.values));
    output.done(tr("DPI indicator colours %1").arg(stageColors(stages).join(',')));
}

void Commands::rate()
{
    requireArguments(0, 1);
    const QStringList labels = SensorLogic::reportRateLabels();
    if (invocation.arguments().isEmpty()) {
        const int position = SensorLogic::reportRatePosition(controllers.mouse->ui_81H_GetReportRate().toInt());
        output.result(labels.at(position), {{"reportRate", labels.at(position).section(' ', 0, 0).toInt()}});
        return;
    }
    const QString wanted = invocation.arguments().at(0);
    int position = -1;
    for (int i = 0; i < labels.size(); ++i)
        if (labels.at(i).section(' ', 0, 0) == wanted)
            position = i;
    if (position < 0)
        usageError(tr("report rate must be 125, 250, 500 or 1000, not \"%1\"").arg(wanted));
    device();
    controllers.mouse->ui_01H_SetReportRate(uchar(SensorLogic::reportRateValue(position)));
    output.done(tr("report rate %1").arg(labels.at(position)));
}

void Commands::wheel()
{
    requireArguments(0, 1);
    if (invocation.arguments().isEmpty()) {
        const bool swapped = controllers.mouse->getScrollPinSwap();
        output.result(swapped ? "reversed" : "normal", {{"reversed", swapped}});
        return;
    }
    const QString direction = invocation.arguments().at(0);
    if (direction != "normal" && direction != "reversed")
        usageError(tr("wheel direction must be normal or reversed"));
    device();
    controllers.mouse->setScrollPinSwap(direction == "reversed");
    output.done(tr("wheel %1").arg(direction));
}

// --- button -------------------------------------------------------------------------------

// The codes the key page starts with: the profile's, or the factory code of a button the
// profile lacks.
KeyCodeLogic::KeyCodes Commands::storedButtons()
{
    const KeyCodeLogic::KeyCodes defaults =
        KeyCodeLogic::defaultsFromValues(controllers.profiles->loadDefaultProfile(ProfileStore::KeyPage));
    KeyCodeLogic::KeyCodes codes = defaults;
    for (int slot = 0; slot < KeyCodeLogic::kButtonCount; ++slot) {
        const QVariantList stored = controllers.mouse->getKeydefine(slot);
        if (stored.size() == kKeyCodeLength)
            codes[size_t(slot)] = KeyCodeLogic::codeFromVariant(stored);
    }
    return codes;
}

std::vector<int> Commands::namedButtons() const
{
    return KeyCodeLogic::namedButtons(windowButtonNames(controllers));
}

QString Commands::buttonLabel(int slot) const
{
    const QString name = commandName(englishButtonNames(controllers).value(slot));
    return name.isEmpty() ? QString("button-%1").arg(buttonNumber(slot)) : name;
}

// The number of the button's callout on the window's key page: its place in the button menu.
int Commands::buttonNumber(int slot) const
{
    const std::vector<int> buttons = namedButtons();
    return int(std::find(buttons.begin(), buttons.end(), slot) - buttons.begin()) + 1;
}

// The callout number, the English name ("left-button") or the name in the window's language;
// the button's slot in the key matrix.
int Commands::buttonArgument(const QString &text) const
{
    const std::vector<int> buttons = namedButtons();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= int(buttons.size()))
        return buttons[size_t(number - 1)];
    const QStringList local = windowButtonNames(controllers);
    const QString name = commandName(text);
    for (int slot : buttons)
        if (!isNumber && (name == buttonLabel(slot) || name == commandName(local.value(slot))))
            return slot;
    QStringList offered;
    for (int slot : buttons)
        offered << QString("%1 (%2)").arg(buttonNumber(slot)).arg(buttonLabel(slot));
    usageError(tr("no button \"%1\" on this mouse; buttons: %2").arg(text, offered.join(", ")));
}

QString Commands::macroNameOfSlot(int slot) const
{
    for (QString file : controllers.macros->getMacroIniNames()) {
        const QString name = file.chopped(4);  // ".bin"
        if (controllers.macros->loadMacroIniConfig(name).value(0, -1).toInt() == slot)
            return name;
    }
    return QString();
}

// The key page's macro assignment: the macro keeps its slot, or takes the lowest one no
// profile uses; its image is written to the mouse now.
KeyCodeLogic::KeyCode Commands::macroCode(const KeyCodeLogic::KeyCodes &codes, const QString &name, int playMode,
                                          std::optional<int> repeatCount)
{
    const QVariantList config = controllers.macros->loadMacroIniConfig(name);
    if (config.size() < 2)
        usageError(tr("no macro named \"%1\"; `w3ctl macro list` lists them").arg(name));
    const int slot = controllers.macroSlots->bind(codes, name, repeatCount.value_or(config.at(1).toInt()));
    if (slot == MacroSlots::kNotSaved)
        writeFailure(tr("the macro \"%1\" cannot be saved").arg(name));
    if (slot < 0)
        throw CliFailure(ExitCode::UsageError,
                         tr("all %1 macro slots of the mouse are in use; free one by giving its button "
                            "another function").arg(KeyCodeLogic::kMacroSlotCount));
    return KeyCodeLogic::macroCode(playMode, slot);
}

// The key page's APPLY: the wheel direction box, then the key matrix.
void Commands::applyButtons(const KeyCodeLogic::KeyCodes &codes)
{
    MouseOperations &mouse = *controllers.mouse;
    mouse.setScrollPinSwap(mouse.getScrollPinSwap());
    mouse.ui_12H_SetKeyMatrix(variants(KeyCodeLogic::keyMatrix(codes)));
}

void Commands::button()
{
    requireArguments(0, 2);
    const QStringList arguments = invocation.arguments();
    if (arguments.isEmpty())
        showButtons(namedButtons());
    else if (arguments.size() == 1)
        showButtons({buttonArgument(arguments.at(0))});
    else
        setButton(buttonArgument(arguments.at(0)), arguments.at(1));
}

void Commands::showButtons(const std::vector<int> &shown)
{
    const ButtonFunction functions(*controllers.keyNames);
    const KeyCodeLogic::KeyCodes codes = storedButtons();
    QStringList lines;
    QJsonArray buttons;
    for (int slot : shown) {
        const QString function = functions.format(codes[size_t(slot)], [this](int macroSlot) {
            return macroNameOfSlot(macroSlot);
        });
        lines << QString("%1  %2  %3").arg(buttonNumber(slot), 2).arg(buttonLabel(slot), -14).arg(function);
        QJsonArray code;
        for (int byte : codes[size_t(slot)])
            code.append(byte);
        buttons.append(QJsonObject{{"button", buttonNumber(slot)}, {"name", buttonLabel(slot)}, {"function", function},
                                   {"code", code}});
    }
    output.result(lines.join('\n'), {{"buttons", buttons}});
}

// The key page's choice of a function for one button, then its APPLY.
void Commands::setButton(int slot, const QString &functionText)
{
    const ButtonFunction functions(*controllers.keyNames);
    QString error;
    const std::optional<ButtonFunction::Request> request = functions.parse(functionText, &error);
    if (!request)
        usageError(error);
    KeyCodeLogic::KeyCodes codes = storedButtons();
    const KeyCodeLogic::KeyCodes defaults =
        KeyCodeLogic::defaultsFromValues(controllers.profiles->loadDefaultProfile(ProfileStore::KeyPage));
    const KeyCodeLogic::KeyCode wanted = request->isDefault ? defaults[size_t(slot)] : request->code;
    const KeyCodeLogic::KeyCode leftClick = KeyCodeLogic::mouseCode(KeyCodeLogic::Left);
    if (wanted != leftClick && KeyCodeLogic::holdsLastLeftClick(codes, slot, namedButtons()) && !invocation.force)
        usageError(tr("button %1 (%2) is the last one with the left click; without it the mouse cannot click. "
                      "Add --force to do it anyway").arg(buttonNumber(slot)).arg(buttonLabel(slot)));
    if (request->isMacro && controllers.macros->loadMacroIniConfig(request->macroName).size() < 2)
        usageError(tr("no macro named \"%1\"; `w3ctl macro list` lists them").arg(request->macroName));

    device();
    // The slot the button gives up is free before a new one is chosen.
    codes[size_t(slot)] = KeyCodeLogic::noCode();
    controllers.macroSlots->releaseUnused(codes);
    if (request->isMacro)
        codes[size_t(slot)] = macroCode(codes, request->macroName, request->playMode, request->repeatCount);
    else
        codes[size_t(slot)] = wanted;
    applyButtons(codes);
    output.done(tr("button %1 (%2): %3")
                    .arg(buttonNumber(slot))
                    .arg(buttonLabel(slot),
                         functions.format(codes[size_t(slot)], [this](int macroSlot) { return macroNameOfSlot(macroSlot); })));
}

// --- light --------------------------------------------------------------------------------

// The lighting page's state as its refresh shows it: the stored positions (the defaults
// without them) and the palette (the factory's when the profile has none).
Commands::LightState Commands::storedLight()
{
    MouseOperations &mouse = *controllers.mouse;
    const QVariantList stored = mouse.ui_8DH_GetRGBLedEffect();
    LightState light;
    if (LightingLogic::isStoredSettings(stored)) {
        light.position = std::clamp(stored.at(0).toInt(), 0, LightingLogic::kEffectCount - 1);
        light.brightness = stored.at(1).toInt();
        light.speed = stored.at(2).toInt();
    }
    light.powerOn = LightingLogic::isStoredPowerOn(stored);
    light.palette = numbers(mouse.ui_90H_GetLED8StageColor(0));
    if (light.palette.size() != kColorValues)
        light.palette = numbers(controllers.profiles->loadDefaultProfile(ProfileStore::LightingPage)).mid(0, kColorValues);
    while (light.palette.size() < kColorValues)
        light.palette << 0;
    light.colorCount = std::clamp(controllers.appConfig->loadDeviceApConfig().value(0).toInt(), 1,
                                  LightingLogic::kColorCount);
    return light;
}

void Commands::showLight(const LightState &light)
{
    QStringList colors;
    for (int i = 0; i < light.colorCount; ++i)
        colors << QColor(light.palette.at(3 * i), light.palette.at(3 * i + 1), light.palette.at(3 * i + 2)).name();
    output.result(tr("effect:     %1\nlight:      %2\nbrightness: %3\nspeed:      %4\ncolors:     %5")
                      .arg(kEffectNames.at(light.position), light.powerOn ? "on" : "off")
                      .arg(light.brightness)
                      .arg(light.speed)
                      .arg(colors.join(',')),
                  {{"effect", kEffectNames.at(light.position)}, {"on", light.powerOn},
                   {"brightness", light.brightness}, {"speed", light.speed},
                   {"colors", QJsonArray::fromStringList(colors)}});
}

// --colors: the palette's first entries replaced, in order.
void Commands::takeLightColors(LightState &light) const
{
    const QStringList items = invocation.options.value("colors").split(',');
    if (items.size() > light.colorCount)
        usageError(tr("the mouse shows %1 colours, not %2").arg(light.colorCount).arg(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const std::optional<QColor> color = SettingNames::color(items.at(i));
        if (!color)
            usageError(tr("\"%1\" is not a colour #RRGGBB").arg(items.at(i)));
        light.palette[3 * i] = color->red();
        light.palette[3 * i + 1] = color->green();
        light.palette[3 * i + 2] = color->blue();
    }
}

void Commands::light()
{
    requireArguments(0, 1);
    LightState light = storedLight();
    if (invocation.arguments().isEmpty() && invocation.options.isEmpty()) {
        showLight(light);
        return;
    }
    // Options alone change the effect in use and leave the light on or off.
    const QString wanted = invocation.arguments().value(0).toLower();
    if (wanted == "off" && !invocation.options.isEmpty())
        usageError(tr("light off takes no options"));
    if (!wanted.isEmpty() && wanted != "on" && wanted != "off" && !kEffectNames.contains(wanted))
        usageError(tr("unknown effect \"%1\"; one of: %2, on, off").arg(wanted, kEffectNames.join(", ")));
    if (!wanted.isEmpty())
        light.powerOn = wanted != "off";
    if (kEffectNames.contains(wanted))
        light.position = kEffectNames.indexOf(wanted);
    if (invocation.has("brightness"))
        light.brightness = stepOption("brightness", LightingLogic::kMaxStep);
    if (invocation.has("speed"))
        light.speed = stepOption("speed", LightingLogic::kMaxStep);
    if (invocation.has("colors"))
        takeLightColors(light);

    device();
    // The page sends a colour change at once and the effect on APPLY.
    MouseOperations &mouse = *controllers.mouse;
    if (invocation.has("colors"))
        mouse.ui_10H_SetLED8StageColor(0, variants(light.palette));
    const QList<int> command = LightingLogic::ledCommand(light.position, light.brightness, light.speed, light.powerOn);
    mouse.ui_0DH_SetRGBLedEffect(uchar(command.at(0)), uchar(command.at(1)), uchar(command.at(2)),
                                 LightingLogic::storedSettings(light.position, light.brightness, light.speed,
                                                               light.powerOn));
    const QString effect = kEffectNames.at(light.position);
    QString done = light.powerOn ? tr("light %1").arg(effect) : tr("light off");
    if (!light.powerOn && !invocation.options.isEmpty())
        done += tr("; %1 shows the new settings after `light on`").arg(effect);
    output.done(done);
}

// --- macro --------------------------------------------------------------------------------

void Commands::macro()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0, "list");
    if (action == "list") {
        requireArguments(0, 1);
        listMacros();
    } else if (action == "show") {
        requireArguments(2, 2);
        showMacro(arguments.at(1));
    } else if (action == "import") {
        requireArguments(2, 3);
        importMacro(arguments.at(1), arguments.value(2));
    } else if (action == "export") {
        requireArguments(3, 3);
        exportMacro(arguments.at(1), arguments.at(2));
    } else {
        usageError(tr("unknown macro action \"%1\"").arg(action));
    }
}

void Commands::listMacros()
{
    QStringList lines;
    QJsonArray macros;
    for (const QString &file : controllers.macros->getMacroIniNames()) {
        const QString name = file.chopped(4);
        const QVariantList config = controllers.macros->loadMacroIniConfig(name);
        const int slot = config.value(0, -1).toInt();
        const int repeat = config.value(1, 1).toInt();
        const int steps = controllers.macros->loadMacroIni(name).size();
        lines << tr("%1  slot %2  plays %3x  %4 steps").arg(name).arg(slot < 0 ? "-" : QString::number(slot + 1))
                     .arg(repeat).arg(steps);
        macros.append(QJsonObject{{"name", name}, {"slot", slot < 0 ? QJsonValue() : QJsonValue(slot + 1)},
                                  {"repeat", repeat}, {"steps", steps}});
    }
    output.result(lines.join('\n'), {{"macros", macros}});
}

void Commands::showMacro(const QString &name)
{
    const QVariantList config = controllers.macros->loadMacroIniConfig(name);
    if (config.isEmpty())
        usageError(tr("no macro named \"%1\"").arg(name));
    const QStringList steps = controllers.macros->loadMacroIni(name);
    QJsonArray jsonSteps;
    for (const QString &step : steps)
        jsonSteps.append(QJsonObject{{"value", step.chopped(10)}, {"action", step.right(10).trimmed()}});
    output.result(steps.join('\n'), {{"name", name}, {"repeat", config.value(1).toInt()}, {"steps", jsonSteps}});
}

// Why `name` cannot be a new macro's name, in the macro library's rule; empty when it can.
QString Commands::macroNameProblem(const QString &name) const
{
    switch (controllers.macros->nameProblem(name)) {
    case MacroLibrary::NameProblem::None:
    case MacroLibrary::NameProblem::Taken:  // importing onto a macro replaces it
        return QString();
    case MacroLibrary::NameProblem::Empty:
        return tr("\"%1\" cannot be a macro name: a name shows at least one character that is not a space")
            .arg(name);
    case MacroLibrary::NameProblem::NotAFileName:
        break;
    }
    return tr("\"%1\" cannot be a macro name: a name holds no /, \\, control, direction or other invisible "
              "characters, and is not \".\" or \"..\"").arg(name);
}

void Commands::importMacro(const QString &file, QString name)
{
    const QString source = invocation.userFile(file);
    if (name.isEmpty())
        name = QFileInfo(file).completeBaseName();
    if (!QFileInfo(source).isFile())
        usageError(tr("no file %1").arg(file));
    const bool existed = !controllers.macros->loadMacroIniConfig(name).isEmpty();
    if (!existed) {
        const QString problem = macroNameProblem(name);
        if (!problem.isEmpty())
            usageError(problem);
        const QString created = controllers.macros->createMacroIni().toString();
        if (created.isEmpty())
            writeFailure(tr("cannot create a macro file"));
        controllers.macros->renameMacroIniFile(created, name);
        if (controllers.macros->loadMacroIniConfig(name).isEmpty()) {
            controllers.macros->deleteMacroIni(created);
            throw CliFailure(ExitCode::DeviceError, tr("cannot name the macro file \"%1\"").arg(name));
        }
    }
    prompts.setFileAnswer(source);
    const WriteOutcome written = controllers.macros->loadMacroIniFromFile(name, nullptr);
    // A refusal is told as a warning; the reasons of a write failure go with the failure.
    const QStringList refusal = written ? prompts.takeWarnings() : QStringList();
    if ((!written || !refusal.isEmpty()) && !existed)
        controllers.macros->deleteMacroIni(name);
    if (!written)
        writeFailure(tr("the macro \"%1\" cannot be saved").arg(name));
    if (!refusal.isEmpty())
        throw CliFailure(ExitCode::UsageError, refusal.join(' '));
    output.done(tr("macro \"%1\" imported from %2").arg(name, file));
}

void Commands::exportMacro(const QString &name, const QString &file)
{
    if (controllers.macros->loadMacroIniConfig(name).isEmpty())
        usageError(tr("no macro named \"%1\"").arg(name));
    exportTarget(file);  // what the user named must not be a folder, device or pipe either
    prompts.setFileAnswer(exportTarget(FileExport::withExtension(file, FileExport::kMacroExtension)));
    const QString written = controllers.macros->saveMacroIniToFile(name, nullptr);
    if (written.isEmpty())
        throw exportFailure(file);
    output.done(tr("macro \"%1\" exported to %2").arg(name, written));
}

// --- pointer ------------------------------------------------------------------------------

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
