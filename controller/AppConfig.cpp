#include "controller/AppConfig.h"

#include "controller/ProfileStore.h"
#include "controller/SafeFileCopy.h"

#include <QDebug>
#include <QDir>

namespace {

const char *const kTotalKey = "common/total";
const char *const kItemKeyPrefix = "common/";
const char *const kNameKey = "common/name";
const char *const kColorMaxStageKey = "W3/colorMaxStage";
constexpr int kDefaultColorMaxStage = 8;
const char *const kSkinFolder = "./modules/img";

}  // namespace

AppConfig::AppConfig(const QString &path, const QString &factoryPath)
    : path(path), factoryPath(factoryPath),
      apConfigSettings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

AppConfig::~AppConfig() = default;

QSettings *AppConfig::settings() const
{
    return apConfigSettings.get();
}

void AppConfig::saveApConfig(QVariantList apConfigs)
{
    apConfigSettings->setValue(kTotalKey, apConfigs.size());
    for (int i = 0; i < apConfigs.size(); ++i)
        apConfigSettings->setValue(kItemKeyPrefix + QString::number(i), apConfigs.at(i));
}

QVariantList AppConfig::loadApConfig() const
{
    QVariantList items;
    // The count is read again before every item, as the scene's list may have changed it.
    for (int i = 0; i < apConfigSettings->value(kTotalKey, 0).toInt(); ++i)
        items.append(apConfigSettings->value(kItemKeyPrefix + QString::number(i), 0));
    return items;
}

QVariantList AppConfig::loadDeviceApConfig() const
{
    return {apConfigSettings->value(kColorMaxStageKey, kDefaultColorMaxStage).toInt()};
}

void AppConfig::resetApconfig()
{
    // Flush and drop the old object first: flushed later, it would overwrite the new file.
    apConfigSettings.reset();
    if (!replaceWithCopy(factoryPath, path))
        qDebug() << "resetApconfig: cannot copy" << factoryPath << "- configuration kept";
    apConfigSettings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

bool AppConfig::getIsSkinShow() const
{
    const QDir skins(kSkinFolder);
    return skins.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted).size() > 1;
}

QString AppConfig::windowTitle(const QString &path)
{
    const QSettings config(path, QSettings::IniFormat);
    return config.value(kNameKey, QString()).toString();
}
