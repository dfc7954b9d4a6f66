#pragma once
// The one view of the program: it shows the scene and offers the scene every operation by
// name. Each concern lives in a class of its own that needs no view; the slots only forward.
#include "actions/PageActions.h"
#include "controller/Controllers.h"

#include <QList>
#include <QPointer>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <memory>

class SoundPlayer;

class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    void setHidThread(Hid_Thread *hid) { controllers.setHidThread(hid); }
    Hid_Thread *hidThread() const { return controllers.context.hidThread; }

    // Calls into the scene from the input capture (queued).
    void detectKeyboard(bool isDown, uchar usbCode);
    void detectMouse(bool isDown, uint code, uint x, uint y);

    // The concerns, for the shell, tests and other front ends.
    AppConfig &appConfig() { return *controllers.appConfig; }
    ProfileStore &profiles() { return *controllers.profiles; }
    PageActions &actions() { return pageActions; }
    Controllers &controllerSet() { return controllers; }
    SoundPlayer &sounds() { return *soundPlayer; }
    const QStringList &msgStrings() const { return controllers.context.msgStrings; }

    // Drops the scene with the engine that ran it (its compiled types, script heap and loader
    // threads), its pictures, the scene graph's textures and the sound players. The next
    // scene gets a new engine, and the players come back once it shows.
    void dropScene();

public slots:
    void syncFW();
    void initUI();
    void runUI();
    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();
    void saveApConfig(QVariantList apConfigs);
    QVariantList loadApConfig();
    QVariantList loadDeviceApConfig();
    void resetApconfig();
    bool getIsSkinShow();
    QVariantList loadDefaultProfile(uchar uiPageId);
    void loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    QString getCustomFilePath();
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QString langCode);
    QStringList getProductLayoutStrings_W3(QString langCode);
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);
    QVariantList getKeydefine(QVariant matrixId);
    QList<uchar> macroIncode(QStringList macros);
    void ui_01H_SetReportRate(uchar rate);
    void ui_02H_SetCurrentProfile(int profile);
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    void ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color, uchar direction);
    void ui_09H_SetKeyboardMode(uchar mode);
    void ui_0DH_SetKeyMatrix(QVariantList src512);
    void ui_0EH_SetKeyOnOff(QVariantList src21);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512);
    void ui_13H_SetRecoveryData();
    void ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    QString ui_80H_GetFWVersion();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetCurrentProfile();
    QVariantList ui_83H_GetKeyboardoption();
    QVariantList ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariant ui_89H_GetKeyboardMode();
    QVariantList ui_8DH_GetKeyMatrix();
    QVariantList ui_8EH_GetKeyOnOff();
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariantList ui_94H_GetColor(uchar index);
    QVariant getSensorType();
    bool chkIsLogoLedWork();
    bool getMsgAns_FoolProofing();
    void setScrollPinSwap(bool isSwap);
    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    void ui_0BH_SetCurrentDPIStage(uchar dpiStage);
    void ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs);
    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex);
    void ui_12H_SetKeyMatrix(QVariantList src64);
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);
    bool getScrollPinSwap();
    bool getAcceleration();
    uint getCursorSpeed();
    uint getVerticalScrollLines();
    uint getDoubleClickSpeed();
    QVariant ui_8BH_GetCurrentDPIStage();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    uchar ui_91H_SyncDPI();
    QVariantList ui_91H_GetDPISet();
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_93H_GetMacroKey(uchar macroId);

private:
    // The sound back end starts once the window shows the scene and a sound is asked for.
    void createSoundPlayersOnceShown();
    void callScene(const char *function, QGenericArgument a0 = QGenericArgument(),
                   QGenericArgument a1 = QGenericArgument(), QGenericArgument a2 = QGenericArgument(),
                   QGenericArgument a3 = QGenericArgument());

    Controllers controllers;
    PageActions pageActions{controllers};
    std::unique_ptr<SoundPlayer> soundPlayer;
    QPointer<QObject> soundPlayersDue;
};

Q_DECLARE_METATYPE(QList<uchar>)
