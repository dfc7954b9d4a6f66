#include "actions/SensorActions.h"

#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "scenelogic/LightingLogic.h"
#include "scenelogic/SensorLogic.h"

#include <algorithm>
#include <cmath>

namespace {

// The kinds of list the stage colour command and query take.
constexpr uchar kStageRgb = 1;
constexpr uchar kStageColorIds = 2;
constexpr int kStageRgbValues = 3 * LightingLogic::kColorCount;
constexpr int kMaxColorValue = 255;

// Places in the factory list of the sensor page: report rate, the three pointer settings,
// eight stage values, the stage in use, the colours and the colour ids.
namespace Factory {
constexpr int kReportRate = 0;
constexpr int kCursorSpeed = 1;
constexpr int kScrollLines = 2;
constexpr int kDoubleClickSpeed = 3;
constexpr int kStages = 4;
constexpr int kStage = kStages + SensorLogic::kStageCount;
constexpr int kColors = kStage + 1;
constexpr int kIds = kColors + kStageRgbValues;
constexpr int kLength = kIds + LightingLogic::kColorCount;
}  // namespace Factory

// The factory colours the indicator shows until a profile gives its own.
const QVariantList kFactoryColors = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                                     0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0};
const QVariantList kFactoryIds = {0, 1, 2, 3, 4, 5, 6, 7};

QList<int> numbers(const QVariantList &values)
{
    QList<int> result;
    for (const QVariant &value : values)
        result << value.toInt();
    return result;
}

QVariantList variants(const QList<int> &values)
{
    QVariantList result;
    for (int value : values)
        result << value;
    return result;
}

// The rounded number `value` holds, kept within low..high; `fallback` when it holds none.
int clampedStep(const QVariant &value, int low, int high, int fallback)
{
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (!isNumber || std::isnan(number))
        return fallback;
    return std::clamp(int(std::lround(number)), low, high);
}

}  // namespace

bool SensorActions::Applied::operator==(const Applied &other) const
{
    return reportRatePosition == other.reportRatePosition && cursorSpeed == other.cursorSpeed
           && scrollLines == other.scrollLines && doubleClickSpeed == other.doubleClickSpeed && stage == other.stage;
}

SensorActions::SensorActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent)
    : QObject(parent),
      controllers(controllers),
      mouseHolds(mouseHolds),
      stages(SensorLogic::kStageCount),
      colors(kFactoryColors),
      ids(kFactoryIds),
      applied{SensorLogic::kDefaultReportRatePosition, kDefaultCursorSpeed, kDefaultScrollLines,
              kDefaultDoubleClickSpeed, 0},
      held(applied)
{
    for (int i = 0; i < SensorLogic::kStageCount; ++i)
        values << 0;
}

// --- state -------------------------------------------------------------------------------

void SensorActions::start()
{
    readMouse();
    readProfile();
}

void SensorActions::readMouse()
{
    MouseOperations &mouse = *controllers.mouse;
    type = mouse.getSensorType().toInt();
    fixedOnly = mouse.chkIsLogoLedWork();
    stages = std::clamp(int(mouse.ui_91H_SyncDPI()), 1, SensorLogic::kStageCount);
    mouseHolds.setFacts({type, fixedOnly, stages});
}

void SensorActions::readProfile()
{
    MouseOperations &mouse = *controllers.mouse;
    Applied next = applied;
    next.reportRatePosition = SensorLogic::reportRatePosition(mouse.ui_81H_GetReportRate().toInt());
    show(next);
    SystemMouseSettings &system = *controllers.systemMouse;
    showPointerSettings(system.getCursorSpeed(), system.getVerticalScrollLines(), system.getDoubleClickSpeed());
    const QVariantList stored = mouse.ui_91H_GetDPISet();
    values = stored.isEmpty() ? SensorLogic::defaultStages(type) : SensorLogic::usableStages(type, stored);
    adjusted = stored.isEmpty() ? QVariantList() : SensorLogic::adjustedStages(type, stored);
    emit stagesChanged();
    next = applied;
    next.stage = stageInUse(mouse.ui_8BH_GetCurrentDPIStage().toInt() - 1);
    show(next);
    const bool colorsRead = takeColors(mouse.ui_90H_GetLED8StageColor(kStageRgb));
    const bool idsRead = takeIds(mouse.ui_90H_GetLED8StageColor(kStageColorIds));
    colorsStored = fixedOnly ? idsRead : colorsRead;
    emit colorsChanged();
    markHeld();
    emit reloaded();
}

void SensorActions::reset()
{
    const QVariantList d = controllers.profiles->loadDefaultProfile(ProfileStore::SensorPage);
    if (d.size() < Factory::kStages)
        return;
    Applied next = applied;
    next.reportRatePosition = SensorLogic::reportRatePosition(d.at(Factory::kReportRate).toInt());
    show(next);
    showPointerSettings(d.at(Factory::kCursorSpeed), d.at(Factory::kScrollLines), d.at(Factory::kDoubleClickSpeed));
    if (d.size() < Factory::kLength)
        return;
    values = SensorLogic::usableStages(type, d.mid(Factory::kStages, SensorLogic::kStageCount));
    adjusted.clear();
    emit stagesChanged();
    next = applied;
    next.stage = stageInUse(d.at(Factory::kStage).toInt() - 1);
    show(next);
    sendShownStages();
    takeColors(d.mid(Factory::kColors, kStageRgbValues));
    takeIds(d.mid(Factory::kIds, LightingLogic::kColorCount));
    emit colorsChanged();
    emit reloaded();
    sendShownColors();
}

void SensorActions::apply() { apply(HeldProfile::Sending::Everything); }

void SensorActions::apply(HeldProfile::Sending sending)
{
    const int rate = SensorLogic::reportRateValue(applied.reportRatePosition);
    if (mouseHolds.needs(sending, HeldProfile::ReportRate, profileInUse(), rate))
        setReportRate(applied.reportRatePosition);
    const QVariantList pointer = {applied.cursorSpeed, applied.scrollLines, applied.doubleClickSpeed};
    if (mouseHolds.needs(sending, HeldProfile::PointerSettings, profileInUse(), pointer))
        sendPointerSettings(applied.cursorSpeed, applied.scrollLines, applied.doubleClickSpeed);
    if (mouseHolds.needs(sending, HeldProfile::StageInUse, profileInUse(), applied.stage))
        useStage(applied.stage);
    markHeld();
}

bool SensorActions::setStageValue(int stageIndex, int value)
{
    if (stageIndex < 0 || stageIndex >= SensorLogic::kStageCount)
        return false;
    QList<int> next = values;
    next[stageIndex] = value;
    if (SensorLogic::stageInUse(next, stageIndex, stages) == SensorLogic::kNoStage)
        return false;
    values = next;
    adjusted.clear();
    emit stagesChanged();
    sendShownStages();
    if (values.at(applied.stage) == 0) {
        Applied moved = applied;
        moved.stage = stageInUse(applied.stage);
        show(moved);
    }
    return true;
}

bool SensorActions::selectStage(int stageIndex)
{
    if (!isUsed(stageIndex))
        return false;
    Applied next = applied;
    next.stage = stageIndex;
    show(next);
    return true;
}

bool SensorActions::switchStage(int stageIndex)
{
    if (!isUsed(stageIndex))
        return false;
    useStage(stageIndex);
    held.stage = stageIndex;
    selectStage(stageIndex);
    emit pendingChanged();
    emit stageSwitched(stageIndex);
    return true;
}

void SensorActions::setStageColors(const QVariantList &list)
{
    if (!takeColors(list))
        return;
    emit colorsChanged();
    sendStageColors(false, colors);
}

void SensorActions::setStageColorIds(const QVariantList &list)
{
    if (!takeIds(list))
        return;
    emit colorsChanged();
    sendStageColors(true, ids);
}

void SensorActions::setReportRatePosition(int position)
{
    Applied next = applied;
    next.reportRatePosition = std::clamp(position, 0, SensorLogic::kReportRatePositions - 1);
    show(next);
}

void SensorActions::setCursorSpeed(int step)
{
    Applied next = applied;
    next.cursorSpeed = std::clamp(step, 0, kPointerStepMax);
    show(next);
}

void SensorActions::setScrollLines(int step)
{
    Applied next = applied;
    next.scrollLines = std::clamp(step, 0, kPointerStepMax);
    show(next);
}

void SensorActions::setDoubleClickSpeed(int step)
{
    Applied next = applied;
    next.doubleClickSpeed = std::clamp(step, 0, kPointerStepMax);
    show(next);
}

QVariantList SensorActions::stageValuesVariant() const { return variants(values); }

bool SensorActions::pending() const { return heldKnown && applied != held; }

void SensorActions::show(const Applied &next)
{
    if (next == applied)
        return;
    const bool stageMoved = next.stage != applied.stage;
    applied = next;
    emit appliedSettingsChanged();
    if (stageMoved)
        emit currentStageChanged();
    emit pendingChanged();
}

// Steps outside 0..10 are clamped; what is no number shows the slider's default.
void SensorActions::showPointerSettings(const QVariant &cursor, const QVariant &scroll, const QVariant &doubleClick)
{
    Applied next = applied;
    next.cursorSpeed = clampedStep(cursor, 0, kPointerStepMax, kDefaultCursorSpeed);
    next.scrollLines = clampedStep(scroll, 0, kPointerStepMax, kDefaultScrollLines);
    next.doubleClickSpeed = clampedStep(doubleClick, 0, kPointerStepMax, kDefaultDoubleClickSpeed);
    show(next);
}

int SensorActions::stageInUse(int wanted) const
{
    const int used = SensorLogic::stageInUse(values, std::clamp(wanted, 0, stages - 1), stages);
    return used == SensorLogic::kNoStage ? 0 : used;
}

bool SensorActions::isUsed(int stageIndex) const
{
    return stageIndex >= 0 && stageIndex < stages && values.at(stageIndex) != 0;
}

// Red, green and blue per stage, each kept within 0..255; a list of another length is ignored.
bool SensorActions::takeColors(const QVariantList &list)
{
    if (list.size() != kStageRgbValues)
        return false;
    colors.clear();
    for (const QVariant &value : list)
        colors << clampedStep(value, 0, kMaxColorValue, 0);
    return true;
}

// Eight fixed colour ids; an id outside 0..7 reads as 0.
bool SensorActions::takeIds(const QVariantList &list)
{
    if (list.size() != LightingLogic::kColorCount)
        return false;
    ids.clear();
    for (const QVariant &value : list) {
        const int id = clampedStep(value, -1, LightingLogic::kColorCount, -1);
        ids << (id >= 0 && id < LightingLogic::kColorCount ? id : 0);
    }
    return true;
}

void SensorActions::sendShownStages()
{
    sendStages(type, stages, variants(values));
}

void SensorActions::sendShownColors()
{
    sendStageColors(fixedOnly, fixedOnly ? ids : colors);
}

void SensorActions::markHeld()
{
    held = applied;
    heldKnown = true;
    emit pendingChanged();
}

// --- commands ----------------------------------------------------------------------------

// What the stage command carries: the stage count, then the eight codes.
QVariantList SensorActions::stagesCommand(int sensorType, int stageCount, const QList<int> &stageValues)
{
    return QVariantList{stageCount & 0xFF} + HeldProfile::bytes(SensorLogic::encodeStages(sensorType, stageValues));
}

// What the stage colour command carries: the kind of list, then the list.
QVariantList SensorActions::colorsCommand(bool fixedColorsOnly, const QVariantList &list)
{
    return QVariantList{fixedColorsOnly ? kStageColorIds : kStageRgb} + HeldProfile::bytes(list);
}

int SensorActions::profileInUse() const { return controllers.profiles->currentProfile(); }

void SensorActions::sendStages(int sensorType, int stageCount, const QVariantList &stageValues)
{
    const QList<int> list = numbers(stageValues);
    controllers.mouse->ui_11H_SetDPISet(uchar(stageCount), SensorLogic::encodeStages(sensorType, list), variants(list));
    mouseHolds.sent(HeldProfile::Stages, profileInUse(), stagesCommand(sensorType, stageCount, list));
}

void SensorActions::sendStageColors(bool fixedColorsOnly, const QVariantList &list)
{
    controllers.mouse->ui_10H_SetLED8StageColor(fixedColorsOnly ? kStageColorIds : kStageRgb, list);
    mouseHolds.sent(HeldProfile::StageColors, profileInUse(), colorsCommand(fixedColorsOnly, list));
}

void SensorActions::useStage(int stageIndex)
{
    controllers.mouse->ui_0BH_SetCurrentDPIStage(uchar(stageIndex + 1));
    mouseHolds.sent(HeldProfile::StageInUse, profileInUse(), stageIndex);
}

void SensorActions::setReportRate(int reportRatePosition)
{
    const int rate = SensorLogic::reportRateValue(reportRatePosition);
    controllers.mouse->ui_01H_SetReportRate(uchar(rate));
    mouseHolds.sent(HeldProfile::ReportRate, profileInUse(), rate);
}

void SensorActions::sendPointerSettings(int cursorSpeed, int scrollLines, int doubleClickSpeed)
{
    SystemMouseSettings &system = *controllers.systemMouse;
    system.setCursorSpeed(uint(cursorSpeed));
    system.setVerticalScrollLines(uint(scrollLines));
    system.setDoubleClickSpeed(uint(doubleClickSpeed));
    mouseHolds.sent(HeldProfile::PointerSettings, profileInUse(), QVariantList{cursorSpeed, scrollLines, doubleClickSpeed});
}

void SensorActions::apply(int reportRatePosition, int cursorSpeed, int scrollLines, int doubleClickSpeed, int stageIndex)
{
    setReportRate(reportRatePosition);
    sendPointerSettings(cursorSpeed, scrollLines, doubleClickSpeed);
    useStage(stageIndex);
}

void SensorActions::claimHeldGroups(int profile)
{
    if (!heldKnown)
        return;
    mouseHolds.claim(HeldProfile::Stages, profile, stagesCommand(type, stages, values));
    if (colorsStored)
        mouseHolds.claim(HeldProfile::StageColors, profile, colorsCommand(fixedOnly, fixedOnly ? ids : colors));
    mouseHolds.claim(HeldProfile::ReportRate, profile, SensorLogic::reportRateValue(held.reportRatePosition));
    mouseHolds.claim(HeldProfile::PointerSettings, profile,
        QVariantList {held.cursorSpeed, held.scrollLines, held.doubleClickSpeed});
    mouseHolds.claim(HeldProfile::StageInUse, profile, held.stage);
}

void SensorActions::sendStored(HeldProfile::Sending sending)
{
    const std::optional<HeldProfile::MouseFacts> &facts = mouseHolds.facts();
    if (sending == HeldProfile::Sending::OnlyDifferences && facts) {
        type = facts->sensorType;
        fixedOnly = facts->fixedColorsOnly;
        stages = facts->stageCount;
        readProfile();
    } else {
        start();
    }
    if (mouseHolds.needs(sending, HeldProfile::Stages, profileInUse(), stagesCommand(type, stages, values)))
        sendShownStages();
    const QVariantList shownColors = colorsCommand(fixedOnly, fixedOnly ? ids : colors);
    if (colorsStored && mouseHolds.needs(sending, HeldProfile::StageColors, profileInUse(), shownColors))
        sendShownColors();
    apply(sending);
}
