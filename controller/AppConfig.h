#pragma once
// The application configuration file: window title, product names, scrambling codes, the
// scene's own settings list and the mouse model's palette size.
#include "controller/SettingsFile.h"

#include <QSettings>
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>

class AppConfig {
public:
    // Positions in the scene's settings list that the configuration treats specially.
    static constexpr int kLanguageItem = 4;
    static constexpr int kWebAddressItem = 31;
    // The scene's list has 32 items; a file claiming far more is malformed.
    static constexpr int kMaxItems = 256;

    explicit AppConfig(const QString &path = "./modules/setting/apConfig.bin",
                       const QString &factoryPath = "./modules/setting/apConfigD.bin");
    ~AppConfig();

    // The open settings object. resetApconfig() replaces it: do not keep the pointer.
    QSettings *settings() const;

    // Writes "common/total" and the items "common/0".. as received, except that a web address
    // inside the program's folder is stored relative to it; higher entries left from a longer
    // list stay in the file. False, after telling the user once, when the file cannot be written.
    bool saveApConfig(QVariantList apConfigs);
    // The items "common/0".. as the file holds them (text); empty without "common/total" or
    // when it is beyond kMaxItems. Until a language has been stored (first start) the
    // language item is `languageWhenUnset`, when given. A relative "file:" web address is
    // returned as an absolute URL in the program's folder, ready to open.
    QVariantList loadApConfig(std::optional<int> languageWhenUnset = std::nullopt) const;
    // One item: the mouse palette size "W3/colorMaxStage", 8 when absent.
    QVariantList loadDeviceApConfig() const;
    // Replaces the file by the factory copy. The old file stays when the copy fails, and the
    // user is told.
    void resetApconfig();
    // Whether the user was told how to get the tray ("background/trayNoticeGiven"); it is kept
    // apart from the scene's list, written at once and not by SAVE.
    bool trayNoticeGiven() const;
    void rememberTrayNotice();
    // Whether "./modules/img" holds more than one skin folder.
    bool getIsSkinShow() const;

    // "common/name" of the file at path, read through a settings object of its own.
    static QString windowTitle(const QString &path = "./modules/setting/apConfig.bin");

private:
    const QString path;
    const QString factoryPath;
    std::unique_ptr<SettingsFile> apConfigSettings;
};
