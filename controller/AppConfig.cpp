#include "controller/AppConfig.h"

#include "controller/Notices.h"
#include "controller/SafeFileCopy.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const char *const kTotalKey = "common/total";
const char *const kItemKeyPrefix = "common/";
const char *const kNameKey = "common/name";
const char *const kColorMaxStageKey = "W3/colorMaxStage";
const char *const kTrayNoticeKey = "background/trayNoticeGiven";
constexpr int kDefaultColorMaxStage = 8;
const char *const kSkinFolder = "./modules/img";
const QString kFileScheme = QStringLiteral("file");

QString itemKey(int i)
{
    return kItemKeyPrefix + QString::number(i);
}

// The program's folder: the working directory, against which every data path is resolved.
QDir programFolder()
{
    return QDir::current();
}

// "file:modules/help/index.html" names a file in the program's folder wherever it is installed.
QVariant openableAddress(const QVariant &stored)
{
    const QUrl url(stored.toString());
    if (url.scheme() != kFileScheme || url.path().startsWith('/') || url.path().isEmpty())
        return stored;
    return QUrl::fromLocalFile(programFolder().absoluteFilePath(url.path())).toString();
}

QVariant storableAddress(const QVariant &address)
{
    const QUrl url(address.toString());
    if (!url.isLocalFile())
        return address;
    const QString relative = programFolder().relativeFilePath(url.toLocalFile());
    if (relative.startsWith("../") || QFileInfo(relative).isAbsolute())
        return address;
    return kFileScheme + ':' + relative;
}

}  // namespace

AppConfig::AppConfig(const QString &path, const QString &factoryPath)
    : path(path), factoryPath(factoryPath),
      apConfigSettings(std::make_unique<SettingsFile>(path))
{
}

AppConfig::~AppConfig() = default;

QSettings *AppConfig::settings() const
{
    return apConfigSettings.get();
}

bool AppConfig::saveApConfig(QVariantList apConfigs)
{
    if (apConfigs.size() > kWebAddressItem)
        apConfigs[kWebAddressItem] = storableAddress(apConfigs.at(kWebAddressItem));
    apConfigSettings->setValue(kTotalKey, apConfigs.size());
    for (int i = 0; i < apConfigs.size(); ++i)
        apConfigSettings->setValue(itemKey(i), apConfigs.at(i));
    const WriteOutcome outcome = apConfigSettings->commit();
    if (!outcome)
        Notices::cannotSave(path, outcome.status);
    return outcome.ok();
}

QVariantList AppConfig::loadApConfig(std::optional<int> languageWhenUnset) const
{
    QVariantList items;
    // The count is read again before every item, as the scene's list may have changed it.
    for (int i = 0;; ++i) {
        const int total = apConfigSettings->value(kTotalKey, 0).toInt();
        if (total > kMaxItems) {
            qDebug() << "loadApConfig:" << kTotalKey << total << "is beyond" << kMaxItems;
            return {};
        }
        if (i >= total)
            break;
        items.append(apConfigSettings->value(itemKey(i), 0));
    }
    if (languageWhenUnset && items.size() > kLanguageItem
        && !apConfigSettings->contains(itemKey(kLanguageItem)))
        items[kLanguageItem] = QString::number(*languageWhenUnset);
    if (items.size() > kWebAddressItem)
        items[kWebAddressItem] = openableAddress(items.at(kWebAddressItem));
    return items;
}

QVariantList AppConfig::loadDeviceApConfig() const
{
    return {apConfigSettings->value(kColorMaxStageKey, kDefaultColorMaxStage).toInt()};
}

void AppConfig::resetApconfig()
{
    const SettingsLock lock;
    // Flush and drop the old object first: flushed later, it would overwrite the new file.
    apConfigSettings.reset();
    WriteOutcome outcome{lock.status()};
    if (outcome)
        outcome = replaceWithCopy(factoryPath, path);
    if (!outcome) {
        qDebug() << "resetApconfig: cannot copy" << factoryPath << "- configuration kept";
        if (QFileInfo(factoryPath).isReadable())
            Notices::cannotSave(path, outcome.status);
    }
    apConfigSettings = std::make_unique<SettingsFile>(path);
}

bool AppConfig::trayNoticeGiven() const
{
    return apConfigSettings->value(kTrayNoticeKey, false).toBool();
}

void AppConfig::rememberTrayNotice()
{
    apConfigSettings->setValue(kTrayNoticeKey, true);
    const WriteOutcome outcome = apConfigSettings->commit();
    if (!outcome)
        Notices::cannotSave(path, outcome.status);
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
