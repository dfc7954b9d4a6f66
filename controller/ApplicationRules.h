#pragma once
// Which profile follows which application in front: rules matching an application by its
// application id (Wayland app_id or desktop file id), its window class (X11 WM_CLASS) or its
// program file name, a default profile for everything else and a switch for the whole.
// Stored in the program's own INI file, read and written whole as bytes. A file that is too
// large, is damaged (cut short, a line or a section missing, a count its rules do not match,
// bytes that are no text, nothing at all) or holds anything out of bounds is refused whole and
// left on disk as it is, so nothing follows, and nothing rewrites, a half-read file.
#include "platform/ActiveApplication.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

enum class ApplicationMatch { ApplicationId, WindowClass, ProgramName };

struct ApplicationRule {
    ApplicationMatch match = ApplicationMatch::ApplicationId;
    QString name;
    int profile = 0;  // the profile's index, as the profile store counts them

    bool matches(const ApplicationIdentity &application) const;
    bool operator==(const ApplicationRule &other) const;
};

class ApplicationRules {
public:
    static constexpr int kMaxRules = 64;
    static constexpr int kMaxNameLength = 255;
    // Far beyond kMaxRules rules of kMaxNameLength; a larger file is not parsed at all.
    static constexpr qint64 kMaxFileBytes = 64 * 1024;

    enum class ReadStatus {
        Read,
        Missing,    // no file yet: following is off, nothing linked
        Malformed,  // damaged, or cannot be read: refused whole; reason() says why
    };

    static QString defaultPath() { return QStringLiteral("./modules/setting/appRules.ini"); }

    // The rules in the file at `path`. Anything but Read gives rules that follow nothing.
    static ApplicationRules read(const QString &path);

    // Writes the rules to `path` in one piece; the reason it could not, the old file staying
    // as it was, else empty. A symbolic link or a file the user may not write is refused.
    QString write(const QString &path) const;

    ReadStatus status() const { return readStatus; }
    QString reason() const { return problem; }

    bool enabled() const { return followingOn; }
    void setEnabled(bool on) { followingOn = on; }

    std::optional<int> defaultProfile() const { return fallback; }
    // False, leaving the default as it was, when `profile` is no profile's index.
    bool setDefaultProfile(std::optional<int> profile);

    const QVector<ApplicationRule> &rules() const { return list; }
    // False, leaving the rules as they were, when the rule is invalid (empty or too long a
    // name, no profile's index) or kMaxRules are already held.
    bool addRule(const ApplicationRule &rule);
    // False when `index` holds no rule.
    bool removeRule(int index);

    // The profile the application wants: the first rule matching it, else the default
    // profile; nothing while following is off.
    std::optional<int> profileFor(const ApplicationIdentity &application) const;

    // Why a rule cannot be kept; empty when it can.
    static QString problemOf(const ApplicationRule &rule);
    // Whether `name` can name a program's file: no folder, nor "." or "..".
    static bool isPlainFileName(const QString &name);
    // Whether `name` holds a character that would not show as itself in the window or a
    // terminal: controls (line breaks, escapes), format characters (direction overrides),
    // unassigned and private code points, any space but the plain one.
    static bool holdsHiddenCharacters(const QString &name);

private:
    static ApplicationRules refused(const QString &reason);
    static ApplicationRules parse(const QByteArray &text);
    // The file as the writer lays it out.
    QByteArray text() const;

    bool followingOn = false;
    std::optional<int> fallback;
    QVector<ApplicationRule> list;
    ReadStatus readStatus = ReadStatus::Read;
    QString problem;
};
