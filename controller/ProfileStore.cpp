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

QString tr(const char *text)
{
    return QCoreApplication::translate("ProfileStore", text);
}

const QString kProfileExtension = QStringLiteral(".pf");

// "P03": the profile's name in the window's menu.
QString profileLabel(int profile)
{
    return QString("P%1").arg(profile + 1, 2, 10, QLatin1Char('0'));
}

}  // namespace

ProfileStore::ProfileStore(const QString &folder)
    : folder(folder), flushTimer(std::make_unique<QTimer>())
{
    for (int i = 0; i < kProfileCount; ++i)
        profileSettings[i] = std::make_unique<QSettings>(profilePath(i), QSettings::IniFormat);
    flushTimer->setSingleShot(true);
    flushTimer->setInterval(0);
    QObject::connect(flushTimer.get(), &QTimer::timeout, flushTimer.get(), [this] { flush(); });
}

ProfileStore::~ProfileStore() = default;

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

bool ProfileStore::flush()
{
    for (int i = 0; i < kProfileCount; ++i) {
        profileSettings[i]->sync();
        if (profileSettings[i]->status() == QSettings::AccessError) {
            Notices::cannotSave(profilePath(i));
            return false;
        }
    }
    return true;
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


void ProfileStore::replaceProfileFile(int profile, const QString &source)
{
    const QString target = profilePath(profile);
    // Flush and drop the old object first: flushed later, it would overwrite the new file.
    profileSettings[profile].reset();
    if (!replaceWithCopy(source, target)) {
        qDebug() << "cannot copy" << source << "to" << target << "- profile kept";
        if (QFile(source).open(QIODevice::ReadOnly))
            Notices::cannotSave(target);
    }
    profileSettings[profile] = std::make_unique<QSettings>(target, QSettings::IniFormat);
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
    // The settings object writes its file later: flush it so the copy has every change.
    profileSettings[profile]->sync();
    return FileExport::exportCopy(profilePath(profile), dialogParent, tr("Profile(*.pf)"), kProfileExtension,
                                  profileLabel(profile) + kProfileExtension, context);
}

void ProfileStore::resetProfile(int profile)
{
    if (!isValidProfile(profile))
        return;
    replaceProfileFile(profile, defaultProfilePath());
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
