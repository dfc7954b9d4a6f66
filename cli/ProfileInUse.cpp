#include "cli/ProfileInUse.h"

#include "controller/ProfileStore.h"
#include "controller/SettingsFile.h"

#include <QSettings>

namespace {
const char *const kCurrentKey = "profile/current";
}

int ProfileInUse::load(const QString &path)
{
    bool ok = false;
    const int profile = QSettings(path, QSettings::IniFormat).value(kCurrentKey, 0).toInt(&ok);
    return ok && ProfileStore::isValidProfile(profile) ? profile : 0;
}

WriteOutcome ProfileInUse::save(int profile, const QString &path)
{
    SettingsFile state(path);
    state.setValue(kCurrentKey, profile);
    // A format error found when the file was read is no write failure: the commit reads back
    // what it wrote.
    return state.commit();
}
