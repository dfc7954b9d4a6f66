#pragma once
// The ten profile files "p1.bin".."p10.bin", the default profile "pD.bin", the profile in
// use, and the import, export and reset of profile files.
#include "controller/SettingsFile.h"

#include <QSettings>
#include <QString>
#include <QVariantList>
#include <array>
#include <memory>

class QTimer;
class QWidget;
struct ControllerContext;

class ProfileStore {
public:
    static constexpr int kProfileCount = 10;

    // Scene pages whose factory values loadDefaultProfile() hands out.
    enum UiPage : uchar { KeyPage = 0, MacroPage = 1, LightingPage = 2, SensorPage = 3 };

    explicit ProfileStore(const QString &folder = "./modules/setting/");
    ~ProfileStore();

    static bool isValidProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

    int currentProfile() const;
    // Ignores an index outside 0..9.
    void setCurrentProfile(int profile);
    // The profile in use. Import and reset replace the object: do not keep the reference.
    // Changes made through it are written when control returns to the event loop (flush()),
    // and the user is told once when they cannot be.
    QSettings &current();
    // Writes pending changes of every profile, waiting for the settings lock another program
    // holds; false (after telling the user once) when a profile file cannot be written. The
    // file then stays as it was.
    bool flush();
    // Drops what was read of the profile files and reads them again (nothing may be pending).
    void reopen();
    // Profile 0..9, or nullptr outside that range.
    QSettings *profile(int index) const;

    // Factory values of one scene page from "pD.bin" (key, lighting or sensor page).
    QVariantList loadDefaultProfile(uchar uiPageId) const;
    // Import: replaces the profile file by a ".pf" file the user picks. A file that is not a
    // usable profile is refused with a message and the profile stays as it was.
    void loadProfile(int profile, QWidget *dialogParent);
    // Export: copies the profile file to a ".pf" file the user names (the extension is added
    // when typed without it); a failed write or a name that cannot take the copy (a folder, a
    // device) says why. The path written, or "".
    QString saveProfile(int profile, QWidget *dialogParent, const ControllerContext &context);
    // Replaces the profile file by a copy of "pD.bin"; false, after telling the user, when the
    // file cannot be written (it then stays as it was).
    bool resetProfile(int profile);
    // A PNG picture the user picks for the background, or "" (cancelled or unreadable).
    QString getCustomFilePath(QWidget *dialogParent, const ControllerContext &context) const;

    // A stored list with its items as the file holds them (text). A single value reads back
    // as a one-item list (Qt writes one-item lists as a plain value); absent: empty list.
    static QVariantList storedList(const QSettings &settings, const QString &key);

private:
    QString profilePath(int profile) const;
    QString defaultProfilePath() const;
    // Drops the settings object of a profile, replaces its file and opens it again; false,
    // after telling the user, when the file cannot be written.
    bool replaceProfileFile(int profile, const QString &source);
    // The event loop's flush: it does not wait for another program's lock but comes back later.
    void flushWhenFree();
    // Commits one profile; false, after telling the user, when it cannot be written.
    bool commitProfile(int profile, int lockWaitMs);

    const QString folder;
    std::array<std::unique_ptr<SettingsFile>, kProfileCount> profileSettings;
    std::unique_ptr<QTimer> flushTimer;
    int currentIndex = 0;
};
