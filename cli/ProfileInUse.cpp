#include "cli/ProfileInUse.h"

#include "controller/ProfileStore.h"

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

bool ProfileInUse::save(int profile, const QString &path)
{
    QSettings state(path, QSettings::IniFormat);
    state.setValue(kCurrentKey, profile);
    state.sync();
    return state.status() == QSettings::NoError;
}
