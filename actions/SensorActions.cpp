#include "actions/SensorActions.h"

#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/SystemMouseSettings.h"
#include "scenelogic/LightingLogic.h"
#include "scenelogic/SensorLogic.h"

#include <algorithm>

namespace {

// The kinds of list the stage colour command and query take.
constexpr uchar kStageRgb = 1;
constexpr uchar kStageColorIds = 2;
constexpr int kStageRgbValues = 3 * LightingLogic::kColorCount;

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

}  // namespace

SensorActions::SensorActions(Controllers &controllers, QObject *parent) : QObject(parent), controllers(controllers) {}

void SensorActions::sendStages(int sensorType, int stageCount, const QVariantList &values)
{
    const QList<int> stages = numbers(values);
    controllers.mouse->ui_11H_SetDPISet(uchar(stageCount), SensorLogic::encodeStages(sensorType, stages), variants(stages));
}

void SensorActions::sendStageColors(bool fixedColorsOnly, const QVariantList &colors)
{
    controllers.mouse->ui_10H_SetLED8StageColor(fixedColorsOnly ? kStageColorIds : kStageRgb, colors);
}

void SensorActions::useStage(int stage)
{
    controllers.mouse->ui_0BH_SetCurrentDPIStage(uchar(stage + 1));
}

void SensorActions::setReportRate(int reportRatePosition)
{
    controllers.mouse->ui_01H_SetReportRate(uchar(SensorLogic::reportRateValue(reportRatePosition)));
}

void SensorActions::apply(int reportRatePosition, int cursorSpeed, int scrollLines, int doubleClickSpeed, int stage)
{
    setReportRate(reportRatePosition);
    SystemMouseSettings &system = *controllers.systemMouse;
    system.setCursorSpeed(uint(cursorSpeed));
    system.setVerticalScrollLines(uint(scrollLines));
    system.setDoubleClickSpeed(uint(doubleClickSpeed));
    useStage(stage);
}

// The stored values as the page shows them: a value the sensor lacks is its nearest value;
// nothing stored gives the sensor's factory stages.
QList<int> SensorActions::storedStages(int sensorType) const
{
    const QVariantList stored = controllers.mouse->ui_91H_GetDPISet();
    return stored.isEmpty() ? SensorLogic::defaultStages(sensorType) : SensorLogic::usableStages(sensorType, stored);
}

void SensorActions::sendStored()
{
    MouseOperations &mouse = *controllers.mouse;
    const int type = mouse.getSensorType().toInt();
    const int stageCount = std::clamp(int(mouse.ui_91H_SyncDPI()), 1, SensorLogic::kStageCount);
    const QList<int> values = storedStages(type);
    sendStages(type, stageCount, variants(values));
    const QVariantList colors = mouse.ui_90H_GetLED8StageColor(kStageRgb);
    const QVariantList ids = mouse.ui_90H_GetLED8StageColor(kStageColorIds);
    const bool fixedColorsOnly = mouse.chkIsLogoLedWork();
    const QVariantList &shown = fixedColorsOnly ? ids : colors;
    if (shown.size() == (fixedColorsOnly ? LightingLogic::kColorCount : kStageRgbValues))
        sendStageColors(fixedColorsOnly, shown);
    const int ratePosition = SensorLogic::reportRatePosition(mouse.ui_81H_GetReportRate().toInt());
    SystemMouseSettings &system = *controllers.systemMouse;
    const int storedStage = std::clamp(mouse.ui_8BH_GetCurrentDPIStage().toInt(), 1, stageCount) - 1;
    const int used = SensorLogic::stageInUse(values, storedStage, stageCount);
    apply(ratePosition, int(system.getCursorSpeed()), int(system.getVerticalScrollLines()),
          int(system.getDoubleClickSpeed()), used == SensorLogic::kNoStage ? storedStage : used);
}
