#include "controller/ProfileStore.h"

#include "controller/ControllerContext.h"
#include "controller/FileExport.h"
#include "controller/Notices.h"
#include "controller/ProfileCheck.h"
#include "controller/Prompts.h"
#include "controller/SafeFileCopy.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

const char *const kDefaultProfileName = "pD.bin";
constexpr int kMouseKeyCount = 16;

// Built-in factory values of the sensor page when "pD.bin" lacks them.
constexpr int kDefaultReportRate = 2;
constexpr int kDefaultCursorSpeed = 5;
constexpr int kDefaultScrollLines = 2;
constexpr int kDefaultDoubleClickSpeed = 5;
constexpr int kDefaultDpiStage = 2;
// How soon the event loop's flush tries again when another program holds the settings lock.
constexpr int kBusyRetryMs = 50;

QString tr(const char *text)
{
    return QCoreApplication::translate("ProfileStore", text);
}


// "P03": the profile's name in the window's menu.
QString profileLabel(int profile)
{
    return QString("P%1").arg(profile + 1, 2, 10, QLatin1Char('0'));
}

}  // namespace

ProfileStore::ProfileStore(const QString &folder)
    : folder(folder), flushTimer(std::make_unique<QTimer>())
{
    reopen();
    flushTimer->setSingleShot(true);
    flushTimer->setInterval(0);
    QObject::connect(flushTimer.get(), &QTimer::timeout, flushTimer.get(), [this] { flushWhenFree(); });
}

ProfileStore::~ProfileStore()
{
    flush();
}

void ProfileStore::reopen()
{
    for (int i = 0; i < kProfileCount; ++i)
        profileSettings[i] = std::make_unique<SettingsFile>(profilePath(i));
}

QString ProfileStore::profilePath(int profile) const
{
    return folder + "p" + QString::number(profile + 1) + ".bin";
}

QString ProfileStore::defaultProfilePath() const
{
    return folder + kDefaultProfileName;
}

int ProfileStore::currentProfile() const
{
    return currentIndex;
}

void ProfileStore::setCurrentProfile(int profile)
{
    if (!isValidProfile(profile)) {
        qDebug() << "setCurrentProfile: no profile" << profile;
        return;
    }
    currentIndex = profile;
}

QSettings &ProfileStore::current()
{
    flushTimer->start();
    return *profileSettings[currentIndex];
}

bool ProfileStore::commitProfile(int profile, int lockWaitMs)
{
    const WriteOutcome outcome = profileSettings[profile]->commit(lockWaitMs);
    if (!outcome)
        Notices::cannotSave(profilePath(profile), outcome.status);
    return outcome.ok();
}

bool ProfileStore::flush()
{
    flushTimer->stop();
    for (int i = 0; i < kProfileCount; ++i) {
        if (!commitProfile(i, SettingsLock::kWaitMs))
            return false;
    }
    return true;
}

void ProfileStore::flushWhenFree()
{
    for (int i = 0; i < kProfileCount; ++i) {
        const WriteOutcome outcome = profileSettings[i]->commit(0);
        if (outcome.status == WriteStatus::Busy) {
            flushTimer->start(kBusyRetryMs);
            return;
        }
        if (!outcome) {
            Notices::cannotSave(profilePath(i), outcome.status);
            return;
        }
    }
    flushTimer->setInterval(0);
}

QSettings *ProfileStore::profile(int index) const
{
    return isValidProfile(index) ? profileSettings[index].get() : nullptr;
}

QVariantList ProfileStore::storedList(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return {};
    if (value.type() == QVariant::StringList || value.type() == QVariant::List)
        return value.toList();
    return {value};
}

QVariantList ProfileStore::loadDefaultProfile(uchar uiPageId) const
{
    const QSettings defaults(defaultProfilePath(), QSettings::IniFormat);
    QVariantList values;
    switch (uiPageId) {
    case KeyPage:
        for (int key = 0; key < kMouseKeyCount; ++key)
            values += storedList(defaults, "keydefine_W3/" + QString::number(key));
        break;
    case LightingPage:
        values += storedList(defaults, "color_W3/type0");
        values += storedList(defaults, "color_W3/ledEffect");
        break;
    case SensorPage:
        values.append(defaults.value("sensor/reportRate_W3", kDefaultReportRate).toInt());
        values.append(defaults.value("sensor/cursorSpeed_W3", kDefaultCursorSpeed).toInt());
        values.append(defaults.value("sensor/verticalScrollLines_W3", kDefaultScrollLines).toInt());
        values.append(defaults.value("sensor/doubleClickSpeed_W3", kDefaultDoubleClickSpeed).toInt());
        values += storedList(defaults, "sensor/dpi_W3");
        values.append(defaults.value("sensor/stage_W3", kDefaultDpiStage).toInt());
        values += storedList(defaults, "color_W3/type1");
        values += storedList(defaults, "color_W3/type2");
        break;
    default:
        break;
    }
    return values;
}


bool ProfileStore::replaceProfileFile(int profile, const QString &source)
{
    const QString target = profilePath(profile);
    const SettingsLock lock;
    // Flush and drop the old object first: flushed later, it would overwrite the new file.
    profileSettings[profile].reset();
    WriteOutcome outcome{lock.status()};
    if (outcome)
        outcome = replaceWithCopy(source, target);
    profileSettings[profile] = std::make_unique<SettingsFile>(target);
    if (outcome)
        return true;
    qDebug() << "cannot copy" << source << "to" << target << "- profile kept";
    if (QFile(source).open(QIODevice::ReadOnly))
        Notices::cannotSave(target, outcome.status);
    return false;
}

void ProfileStore::loadProfile(int profile, QWidget *dialogParent)
{
    if (!isValidProfile(profile))
        return;
    const QString chosen = Prompts::current().openFileName(dialogParent, tr("Open File"),
                                                           FileExport::startFolder(), tr("Profile(*.pf)"));
    if (chosen.isEmpty())
        return;
    const QString problem = ProfileCheck::problem(chosen);
    if (!problem.isEmpty()) {
        Notices::warn(tr("The profile was not imported from\n%1\n%2\nThe profile stays as it was.")
                          .arg(chosen, problem));
        return;
    }
    replaceProfileFile(profile, chosen);
}

QString ProfileStore::saveProfile(int profile, QWidget *dialogParent, const ControllerContext &context)
{
    if (!isValidProfile(profile))
        return QString();
    // The settings object writes its file later: commit it so the copy has every change.
    if (!commitProfile(profile, SettingsLock::kWaitMs))
        return QString();
    return FileExport::exportCopy(profilePath(profile), dialogParent, tr("Profile(*.pf)"), FileExport::kProfileExtension,
                                  profileLabel(profile) + FileExport::kProfileExtension, context);
}

bool ProfileStore::resetProfile(int profile)
{
    return isValidProfile(profile) && replaceProfileFile(profile, defaultProfilePath());
}

QString ProfileStore::getCustomFilePath(QWidget *dialogParent, const ControllerContext &context) const
{
    Prompts &prompts = Prompts::current();
    const QString chosen = prompts.openFileName(
        dialogParent, tr("Open File"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("Image Files(*.png)"));
    if (chosen.isEmpty())
        return QString();
    QFile picture(chosen);
    if (!picture.open(QIODevice::ReadOnly)) {
        prompts.warning(tr("%1").arg(context.message(2)),
                        QString("%1%2").arg(context.message(3), chosen));
        return QString();
    }
    return chosen;
}
