#pragma once
// The application configuration file: window title, product names, scrambling codes, the
// scene's own settings list and the mouse model's palette size.
#include <QSettings>
#include <QString>
#include <QVariantList>
#include <memory>

class AppConfig {
public:
    explicit AppConfig(const QString &path = "./modules/setting/apConfig.bin",
                       const QString &factoryPath = "./modules/setting/apConfigD.bin");
    ~AppConfig();

    // The open settings object. resetApconfig() replaces it: do not keep the pointer.
    QSettings *settings() const;

    // Writes "common/total" and the items "common/0".. as received; higher entries left
    // from a longer list stay in the file.
    void saveApConfig(QVariantList apConfigs);
    // The items "common/0".. as the file holds them (text); empty without "common/total".
    QVariantList loadApConfig() const;
    // One item: the mouse palette size "W3/colorMaxStage", 8 when absent.
    QVariantList loadDeviceApConfig() const;
    // Replaces the file by the factory copy. The old file stays when the copy fails.
    void resetApconfig();
    // Whether "./modules/img" holds more than one skin folder.
    bool getIsSkinShow() const;

    // "common/name" of the file at path, read through a settings object of its own.
    static QString windowTitle(const QString &path = "./modules/setting/apConfig.bin");

private:
    const QString path;
    const QString factoryPath;
    std::unique_ptr<QSettings> apConfigSettings;
};
