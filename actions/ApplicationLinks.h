#pragma once
// The application links panel's and `w3ctl app`'s rules: which applications each profile is
// linked to, the profile used when none matches, and the switch for the whole. Every change
// is checked, then written at once; the file is read afresh before each change, under the
// settings lock, so a change made by another program in between is kept. A file that cannot
// be read, or is damaged, is never replaced: every change is refused with the reason until it
// is mended or removed.
#include "controller/ApplicationRules.h"

#include <QObject>
#include <QVariantList>

class ApplicationLinks : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY rulesChanged)
    // The profile used when no application matches, 0..9; -1 for none (the profile stays).
    Q_PROPERTY(int defaultProfile READ defaultProfile NOTIFY rulesChanged)
    // Every link: {profile, name, match}, match spelled "appId", "windowClass" or "program".
    Q_PROPERTY(QVariantList links READ links NOTIFY rulesChanged)
    // The profiles with at least one link, ascending.
    Q_PROPERTY(QVariantList linkedProfiles READ linkedProfiles NOTIFY rulesChanged)
    // Why the file cannot be read; empty while it can (or does not exist yet).
    Q_PROPERTY(QString fileProblem READ fileProblem NOTIFY rulesChanged)
    // The applications seen in front lately, newest first: {name, match, applicationId,
    // windowClass, programName}, name and match being what a link would best use.
    Q_PROPERTY(QVariantList recentApplications READ recentApplications NOTIFY recentApplicationsChanged)
    // The desktop tells the application in front only once the user has done a step of their
    // own (GNOME's extension switched on), and it has not told anything yet.
    Q_PROPERTY(bool desktopStepNeeded READ desktopStepNeeded NOTIFY desktopStepNeededChanged)

public:
    enum Refusal {
        Accepted,
        NoName,
        NameTooLong,
        NameNotAllowed,    // control or invisible characters
        BlankAtEnds,       // a blank before or after the name, which no application shows
        FolderInProgram,   // also "." and "..", which name folders
        AlreadyLinked,     // the same application, matched the same way, has a link
        TooManyLinks,
        NoSuchProfile,
        NoSuchLink,
        UnknownMatch,
        FileUnreadable,    // fileProblem() says why; the file is left as it is
        NotWritten,        // the file could not be written; it holds what it held; writeProblem() says why
    };
    Q_ENUM(Refusal)

    static constexpr int kMaxRecent = 10;
    // The window may not wait long for w3ctl; w3ctl itself holds the lock already.
    static constexpr int kLockWaitMs = 500;

    explicit ApplicationLinks(const QString &path = ApplicationRules::defaultPath(), QObject *parent = nullptr);

    QString path() const { return file; }
    bool enabled() const { return rules.enabled(); }
    int defaultProfile() const { return rules.defaultProfile().value_or(-1); }
    QVariantList links() const;
    QVariantList linkedProfiles() const;
    QString fileProblem() const { return rules.reason(); }
    // Why the last change could not be written.
    Q_INVOKABLE QString writeProblem() const { return unwritten; }
    QVariantList recentApplications() const { return recent; }
    const ApplicationRules &current() const { return rules; }

    // Reads the file again (after a change by another program).
    Q_INVOKABLE void reload();

    // Each change: Accepted when the file holds it, else why nothing changed.
    Q_INVOKABLE int link(int profile, const QString &name, const QString &match);
    // Removes the links of `profile` to `name`; with an empty `match` whatever way they match.
    Q_INVOKABLE int unlink(int profile, const QString &name, const QString &match = QString());
    Q_INVOKABLE int setDefaultProfile(int profile);
    Q_INVOKABLE int setEnabled(bool on);

    // Why `name` cannot name an application; Accepted when it can.
    static Refusal problemOfName(const QString &name, ApplicationMatch match);
    // The sentence the panel and w3ctl give for a refusal ("%1" of AlreadyLinked is the
    // profile holding the link, as P01..P10; of FileUnreadable and NotWritten the reason).
    static QString describe(Refusal refusal);
    Q_INVOKABLE QString describeLast() const;
    // The profile holding the link of the last AlreadyLinked refusal.
    Q_INVOKABLE int lastHolder() const { return lastProfile; }
    Q_INVOKABLE static QString matchSpelling(int match);
    static std::optional<ApplicationMatch> matchNamed(const QString &spelling);
    static QString profileLabel(int profile);

    bool desktopStepNeeded() const { return stepNeeded; }

public slots:
    void setDesktopStepNeeded(bool needed);
    // The application now in front; its names are kept for the panel's + (an empty or
    // unprintable name is left out).
    void noteApplication(const QString &applicationId, const QString &windowClass, const QString &programName);

signals:
    void rulesChanged();
    void recentApplicationsChanged();
    void desktopStepNeededChanged();

private:
    template <typename Edit>
    Refusal change(Edit edit);
    Refusal refuse(Refusal refusal);
    Refusal refuseWrite(const QString &reason);
    Refusal checkLink(const ApplicationRules &held, const ApplicationRule &rule);

    QString file;
    ApplicationRules rules;
    QVariantList recent;
    bool stepNeeded = false;
    Refusal last = Accepted;
    int lastProfile = -1;  // the profile of the last AlreadyLinked
    QString unwritten;     // the reason of the last NotWritten
};
