#include "controller/myQQuickView.h"
#include "controller/SceneAccessible.h"

#include "controller/AppConfig.h"
#include "controller/DialogPrompts.h"
#include "controller/KeyboardOperations.h"
#include "controller/LanguageStore.h"
#include "controller/MacroLibrary.h"
#include "controller/MouseOperations.h"
#include "controller/PageActionsQml.h"
#include "controller/ProfileStore.h"
#include "controller/SoundPlayer.h"
#include "controller/SystemMouseSettings.h"
#include "scenelogic/SceneLogic.h"

#include <QCoreApplication>
#include <QJSValue>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QResizeEvent>
#include <functional>

namespace {

// A script value handed to a QVariant parameter arrives wrapped as a QJSValue.
QVariant plain(const QVariant &value)
{
    return value.canConvert<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
}

// Runs its work once, when the view's first frame that shows the scene is on screen (the
// scene's root item stays invisible until "run"). The view renders the frame and then posts the
// low-priority update request that composes it into the window; a call queued from the
// rendering posts its own low-priority event, which queues behind that request.
class AfterSceneShown : public QObject {
public:
    AfterSceneShown(QQuickWidget *view, std::function<void()> work)
        : QObject(view), work(std::move(work))
    {
        rendered = connect(view->quickWindow(), &QQuickWindow::afterRendering, this, [this, view] {
            const QQuickItem *root = view->rootObject();
            if (root && !root->isVisible())
                return;
            disconnect(rendered);
            QMetaObject::invokeMethod(this, [this] {
                QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::LowEventPriority);
            }, Qt::QueuedConnection);
        }, Qt::DirectConnection);
    }

protected:
    void customEvent(QEvent *) override
    {
        work();
        deleteLater();
    }

private:
    std::function<void()> work;
    QMetaObject::Connection rendered;
};

}  // namespace

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent),
      soundPlayer(std::make_unique<SoundPlayer>(this))
{
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
    static DialogPrompts dialogs;
    Prompts::setDialogs(&dialogs);
    registerSceneLogic();
    registerPageActions(pageActions);
    SceneAccessible::installFor(staticMetaObject.className());
    createSoundPlayersOnceShown();
}

myQQuickView::~myQQuickView() = default;

// At once for the opening's start-up cue, never while the sound stays off.
void myQQuickView::createSoundPlayersOnceShown()
{
    if (!soundPlayersDue)
        soundPlayersDue = new AfterSceneShown(this, [this] { soundPlayer->createPlayersOnDemand(); });
}

void myQQuickView::dropScene()
{
    setSource(QUrl());
    delete engine();
    // Unused, the scene's pictures would stay cached for minutes.
    quickWindow()->releaseResources();
    // The scene graph lets go of the dropped scene's nodes and textures only when it syncs, and
    // a hidden view draws no frame; a resize makes it sync once.
    QResizeEvent resize(size(), size());
    QCoreApplication::sendEvent(this, &resize);
    soundPlayer->dropPlayers();
    createSoundPlayersOnceShown();
}

void myQQuickView::callScene(const char *function, QGenericArgument a0, QGenericArgument a1,
                             QGenericArgument a2, QGenericArgument a3)
{
    // A scene that lacks the function, or is not loaded, is simply not called.
    if (QQuickItem *root = rootObject())
        QMetaObject::invokeMethod(root, function, Qt::QueuedConnection, a0, a1, a2, a3);
}

void myQQuickView::detectKeyboard(bool isDown, uchar usbCode)
{
    callScene("detectKeyboard", Q_ARG(QVariant, QVariant(isDown)), Q_ARG(QVariant, QVariant(int(usbCode))));
}

void myQQuickView::detectMouse(bool isDown, uint code, uint x, uint y)
{
    callScene("detectMouse", Q_ARG(QVariant, QVariant(isDown)), Q_ARG(QVariant, QVariant(code)),
              Q_ARG(QVariant, QVariant(x)), Q_ARG(QVariant, QVariant(y)));
}

void myQQuickView::syncFW() { controllers.keyboard->syncFW(); }
void myQQuickView::initUI() { callScene("initUI"); }
// Called from its own posted event, right after initUI: the scene becomes visible in the same
// pass, so no frame of the still invisible scene is drawn between the two.
void myQQuickView::runUI()
{
    if (QQuickItem *root = rootObject())
        QMetaObject::invokeMethod(root, "run", Qt::DirectConnection);
}

// Sounds
void myQQuickView::setEnableAudio(bool isEnable) { soundPlayer->setEnableAudio(isEnable); }
void myQQuickView::playMedia_Index(uchar index) { soundPlayer->playMedia_Index(index); }
void myQQuickView::playMedia_Background() { soundPlayer->playMedia_Background(); }
void myQQuickView::clearAllMedia() { soundPlayer->clearAllMedia(); }

// Application configuration
void myQQuickView::saveApConfig(QVariantList apConfigs) { controllers.appConfig->saveApConfig(apConfigs); }
// Until the user's first save the language follows the desktop's locale.
QVariantList myQQuickView::loadApConfig() { return controllers.appConfig->loadApConfig(controllers.languages->menuPositionFor(QLocale())); }
QVariantList myQQuickView::loadDeviceApConfig() { return controllers.appConfig->loadDeviceApConfig(); }
void myQQuickView::resetApconfig() { controllers.appConfig->resetApconfig(); }
bool myQQuickView::getIsSkinShow() { return controllers.appConfig->getIsSkinShow(); }

// Profiles
QVariantList myQQuickView::loadDefaultProfile(uchar uiPageId) { return controllers.profiles->loadDefaultProfile(uiPageId); }
void myQQuickView::loadProfile(int profile) { controllers.profiles->loadProfile(profile, this); }
void myQQuickView::saveProfile(int profile) { controllers.profiles->saveProfile(profile, this, controllers.context); }
void myQQuickView::resetProfile(int profile) { controllers.profiles->resetProfile(profile); }
QString myQQuickView::getCustomFilePath() { return controllers.profiles->getCustomFilePath(this, controllers.context); }

// Macro library
void myQQuickView::loadMacroIniFromFile(QVariant name) { controllers.macros->loadMacroIniFromFile(plain(name), this); }
void myQQuickView::saveMacroIniToFile(QVariant name) { controllers.macros->saveMacroIniToFile(plain(name), this); }
void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName) { controllers.macros->renameMacroIniFile(plain(oldName), plain(newName)); }
QVariant myQQuickView::createMacroIni() { return controllers.macros->createMacroIni(); }
QVariant myQQuickView::deleteMacroIni(QVariant name) { return controllers.macros->deleteMacroIni(plain(name)); }
QStringList myQQuickView::getMacroIniNames() { return controllers.macros->getMacroIniNames(); }
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList lines) { return controllers.macros->saveMacroIni(plain(name), lines); }
QStringList myQQuickView::loadMacroIni(QVariant name) { return controllers.macros->loadMacroIni(plain(name)); }
QVariantList myQQuickView::loadMacroIniConfig(QVariant name) { return controllers.macros->loadMacroIniConfig(plain(name)); }
void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config) { controllers.macros->setMacroIniConfig(plain(name), config); }

QList<uchar> myQQuickView::macroIncode(QStringList lines) { return controllers.macros->macroIncode(lines); }
void myQQuickView::ui_11H_SetMacroKey(QVariant macroId, QVariant name) { controllers.macros->ui_11H_SetMacroKey(plain(macroId), plain(name)); }
void myQQuickView::ui_13H_SetMacroKey(QVariant macroId, QVariant name) { controllers.macros->ui_13H_SetMacroKey(plain(macroId), plain(name)); }

// Languages
QVariantMap myQQuickView::chkLanguages() { return controllers.languages->chkLanguages(); }
QStringList myQQuickView::getGlobalStrings(QString langCode) { return controllers.languages->getGlobalStrings(langCode); }
QStringList myQQuickView::getProductLayoutStrings_W3(QString langCode) { return controllers.languages->getProductLayoutStrings_W3(langCode); }

// Settings shared by both devices, branching on the device in use
QVariantList myQQuickView::getKeydefine(QVariant matrixId) { return controllers.mouse->getKeydefine(plain(matrixId)); }
void myQQuickView::ui_01H_SetReportRate(uchar rate) { controllers.mouse->ui_01H_SetReportRate(rate); }
void myQQuickView::ui_02H_SetCurrentProfile(int profile) { controllers.mouse->ui_02H_SetCurrentProfile(profile); }
QVariant myQQuickView::ui_81H_GetReportRate() { return controllers.mouse->ui_81H_GetReportRate(); }

// Keyboard
void myQQuickView::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4) { controllers.keyboard->ui_03H_SetKeyboardoption(byte1, byte2, byte3, byte4); }
void myQQuickView::ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4) { controllers.keyboard->ui_04H_SetButtonSensitivity(sens1, sens2, sens3, sens4); }
void myQQuickView::ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty) { controllers.keyboard->ui_07H_SetControlIndicatorLight(effect, frequenty); }
void myQQuickView::ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction) { controllers.keyboard->ui_08H_SetLEDType(option, effect, speed, light, color, direction); }
void myQQuickView::ui_09H_SetKeyboardMode(uchar mode) { controllers.keyboard->ui_09H_SetKeyboardMode(mode); }
void myQQuickView::ui_0DH_SetKeyMatrix(QVariantList src512) { controllers.keyboard->ui_0DH_SetKeyMatrix(src512); }
void myQQuickView::ui_0EH_SetKeyOnOff(QVariantList src21) { controllers.keyboard->ui_0EH_SetKeyOnOff(src21); }
void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512) { controllers.keyboard->ui_12H_SetUserPicture(index, option, src512); }
void myQQuickView::ui_13H_SetRecoveryData() { controllers.keyboard->ui_13H_SetRecoveryData(); }
void myQQuickView::ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue) { controllers.keyboard->ui_14H_SetColor(index, rValue, gValue, bValue); }
QString myQQuickView::ui_80H_GetFWVersion() { return controllers.keyboard->ui_80H_GetFWVersion(); }
QVariant myQQuickView::ui_82H_GetCurrentProfile() { return controllers.keyboard->ui_82H_GetCurrentProfile(); }
QVariantList myQQuickView::ui_83H_GetKeyboardoption() { return controllers.keyboard->ui_83H_GetKeyboardoption(); }
QVariantList myQQuickView::ui_84H_GetButtonSensitivity() { return controllers.keyboard->ui_84H_GetButtonSensitivity(); }
QVariantList myQQuickView::ui_88H_GetLEDType() { return controllers.keyboard->ui_88H_GetLEDType(); }
QVariant myQQuickView::ui_89H_GetKeyboardMode() { return controllers.keyboard->ui_89H_GetKeyboardMode(); }
QVariantList myQQuickView::ui_8DH_GetKeyMatrix() { return controllers.keyboard->ui_8DH_GetKeyMatrix(); }
QVariantList myQQuickView::ui_8EH_GetKeyOnOff() { return controllers.keyboard->ui_8EH_GetKeyOnOff(); }
QVariantList myQQuickView::ui_91H_GetMacroKey(uchar macroId) { return controllers.keyboard->ui_91H_GetMacroKey(macroId); }
QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index) { return controllers.keyboard->ui_92H_GetUserPicture(index); }
QVariantList myQQuickView::ui_94H_GetColor(uchar index) { return controllers.keyboard->ui_94H_GetColor(index); }

// Mouse
QVariant myQQuickView::getSensorType() { return controllers.mouse->getSensorType(); }
bool myQQuickView::chkIsLogoLedWork() { return controllers.mouse->chkIsLogoLedWork(); }
bool myQQuickView::getMsgAns_FoolProofing() { return controllers.mouse->getMsgAns_FoolProofing(); }
void myQQuickView::setScrollPinSwap(bool isSwap) { controllers.mouse->setScrollPinSwap(isSwap); }
void myQQuickView::ui_0BH_SetCurrentDPIStage(uchar dpiStage) { controllers.mouse->ui_0BH_SetCurrentDPIStage(dpiStage); }
void myQQuickView::ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs) { controllers.mouse->ui_0DH_SetRGBLedEffect(effect, option1, option2, configs); }
void myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24) { controllers.mouse->ui_10H_SetLED8StageColor(type, src24); }
void myQQuickView::ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex) { controllers.mouse->ui_11H_SetDPISet(dpiStage, src8, valueForIndex); }
void myQQuickView::ui_12H_SetKeyMatrix(QVariantList src64) { controllers.mouse->ui_12H_SetKeyMatrix(src64); }
bool myQQuickView::getScrollPinSwap() { return controllers.mouse->getScrollPinSwap(); }
QVariant myQQuickView::ui_8BH_GetCurrentDPIStage() { return controllers.mouse->ui_8BH_GetCurrentDPIStage(); }
QVariantList myQQuickView::ui_8DH_GetRGBLedEffect() { return controllers.mouse->ui_8DH_GetRGBLedEffect(); }
QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type) { return controllers.mouse->ui_90H_GetLED8StageColor(type); }
uchar myQQuickView::ui_91H_SyncDPI() { return controllers.mouse->ui_91H_SyncDPI(); }
QVariantList myQQuickView::ui_91H_GetDPISet() { return controllers.mouse->ui_91H_GetDPISet(); }
QVariantList myQQuickView::ui_92H_GetKeyMatrix() { return controllers.mouse->ui_92H_GetKeyMatrix(); }
QVariantList myQQuickView::ui_93H_GetMacroKey(uchar macroId) { return controllers.mouse->ui_93H_GetMacroKey(macroId); }

// Operating-system pointer settings
void myQQuickView::setAcceleration(bool acceleration) { controllers.systemMouse->setAcceleration(acceleration); }
void myQQuickView::setCursorSpeed(uint cursorSpeed) { controllers.systemMouse->setCursorSpeed(cursorSpeed); }
void myQQuickView::setVerticalScrollLines(uint lines) { controllers.systemMouse->setVerticalScrollLines(lines); }
void myQQuickView::setDoubleClickSpeed(uint speed) { controllers.systemMouse->setDoubleClickSpeed(speed); }
bool myQQuickView::getAcceleration() { return controllers.systemMouse->getAcceleration(); }
uint myQQuickView::getCursorSpeed() { return controllers.systemMouse->getCursorSpeed(); }
uint myQQuickView::getVerticalScrollLines() { return controllers.systemMouse->getVerticalScrollLines(); }
uint myQQuickView::getDoubleClickSpeed() { return controllers.systemMouse->getDoubleClickSpeed(); }
