#include "actions/ApplicationLinks.h"

#include "controller/ProfileStore.h"
#include "controller/SettingsFile.h"

#include <QVariantMap>
#include <set>

namespace {

// The file spells the kinds of match so; the panel and w3ctl use the same words.
struct MatchWord {
    ApplicationMatch match;
    const char *word;
};
constexpr MatchWord kMatchWords[] = {
    {ApplicationMatch::ApplicationId, "appId"},
    {ApplicationMatch::WindowClass, "windowClass"},
    {ApplicationMatch::ProgramName, "program"},
};

// What an application in front would show for a link by `match` to `name`.
ApplicationIdentity identityNamed(ApplicationMatch match, const QString &name)
{
    ApplicationIdentity identity;
    switch (match) {
    case ApplicationMatch::ApplicationId:
        identity.applicationId = name;
        break;
    case ApplicationMatch::WindowClass:
        identity.windowClass = name;
        break;
    case ApplicationMatch::ProgramName:
        identity.programName = name;
        break;
    }
    return identity;
}

QString shown(const QString &name)
{
    const QString trimmed = name.trimmed();
    return trimmed.isEmpty() || trimmed.size() > ApplicationRules::kMaxNameLength || ApplicationRules::holdsHiddenCharacters(trimmed) ? QString()
                                                                                                         : trimmed;
}

}  // namespace

ApplicationLinks::ApplicationLinks(const QString &path, QObject *parent) : QObject(parent), file(path)
{
    rules = ApplicationRules::read(file);
}

void ApplicationLinks::reload()
{
    rules = ApplicationRules::read(file);
    emit rulesChanged();
}

QVariantList ApplicationLinks::links() const
{
    QVariantList list;
    for (const ApplicationRule &rule : rules.rules())
        list << QVariantMap{{"profile", rule.profile}, {"name", rule.name}, {"match", matchSpelling(int(rule.match))}};
    return list;
}

QVariantList ApplicationLinks::linkedProfiles() const
{
    std::set<int> profiles;
    for (const ApplicationRule &rule : rules.rules())
        profiles.insert(rule.profile);
    QVariantList list;
    for (int profile : profiles)
        list << profile;
    return list;
}

QString ApplicationLinks::matchSpelling(int match)
{
    for (const MatchWord &word : kMatchWords)
        if (int(word.match) == match)
            return QString::fromLatin1(word.word);
    return QString();
}

std::optional<ApplicationMatch> ApplicationLinks::matchNamed(const QString &spelling)
{
    for (const MatchWord &word : kMatchWords)
        if (spelling == QLatin1String(word.word))
            return word.match;
    return std::nullopt;
}

QString ApplicationLinks::profileLabel(int profile)
{
    return QStringLiteral("P%1").arg(profile + 1, 2, 10, QChar('0'));
}

ApplicationLinks::Refusal ApplicationLinks::problemOfName(const QString &name, ApplicationMatch match)
{
    if (name.trimmed().isEmpty())
        return NoName;
    if (name.size() > ApplicationRules::kMaxNameLength)
        return NameTooLong;
    if (ApplicationRules::holdsHiddenCharacters(name))
        return NameNotAllowed;
    if (name != name.trimmed())
        return BlankAtEnds;
    if (match == ApplicationMatch::ProgramName && !ApplicationRules::isPlainFileName(name))
        return FolderInProgram;
    return Accepted;
}

ApplicationLinks::Refusal ApplicationLinks::checkLink(const ApplicationRules &held, const ApplicationRule &rule)
{
    const Refusal nameProblem = problemOfName(rule.name, rule.match);
    if (nameProblem != Accepted)
        return nameProblem;
    const ApplicationIdentity identity = identityNamed(rule.match, rule.name);
    for (const ApplicationRule &other : held.rules()) {
        if (other.match == rule.match && other.matches(identity)) {
            lastProfile = other.profile;
            return AlreadyLinked;
        }
    }
    if (held.rules().size() >= ApplicationRules::kMaxRules)
        return TooManyLinks;
    return Accepted;
}

int ApplicationLinks::link(int profile, const QString &name, const QString &match)
{
    const std::optional<ApplicationMatch> kind = matchNamed(match);
    if (!kind)
        return refuse(UnknownMatch);
    if (!ProfileStore::isValidProfile(profile))
        return refuse(NoSuchProfile);
    const ApplicationRule rule {*kind, name, profile};
    return change([&](ApplicationRules &edited) {
        const Refusal problem = checkLink(edited, rule);
        if (problem != Accepted)
            return problem;
        return edited.addRule(rule) ? Accepted : TooManyLinks;
    });
}

int ApplicationLinks::unlink(int profile, const QString &name, const QString &match)
{
    std::optional<ApplicationMatch> kind;
    if (!match.isEmpty()) {
        kind = matchNamed(match);
        if (!kind)
            return refuse(UnknownMatch);
    }
    if (!ProfileStore::isValidProfile(profile))
        return refuse(NoSuchProfile);
    return change([&](ApplicationRules &edited) {
        bool removed = false;
        for (int i = edited.rules().size() - 1; i >= 0; --i) {
            const ApplicationRule &rule = edited.rules().at(i);
            if (rule.profile == profile && rule.name == name && (!kind || rule.match == *kind))
                removed = edited.removeRule(i) || removed;
        }
        return removed ? Accepted : NoSuchLink;
    });
}

int ApplicationLinks::setDefaultProfile(int profile)
{
    const std::optional<int> wanted = profile < 0 ? std::nullopt : std::optional<int>(profile);
    if (wanted && !ProfileStore::isValidProfile(*wanted))
        return refuse(NoSuchProfile);
    return change([&](ApplicationRules &edited) { return edited.setDefaultProfile(wanted) ? Accepted : NoSuchProfile; });
}

int ApplicationLinks::setEnabled(bool on)
{
    return change([&](ApplicationRules &edited) {
        edited.setEnabled(on);
        return Accepted;
    });
}

template <typename Edit>
ApplicationLinks::Refusal ApplicationLinks::change(Edit edit)
{
    const SettingsLock lock(kLockWaitMs);
    if (lock.status() == WriteStatus::Busy)
        return refuseWrite(QStringLiteral("another program keeps the settings lock"));
    if (lock.status() != WriteStatus::Written)
        return refuseWrite(QStringLiteral("the settings lock cannot be taken"));
    reload();
    if (rules.status() == ApplicationRules::ReadStatus::Malformed)
        return refuse(FileUnreadable);
    ApplicationRules edited = rules;
    const Refusal outcome = edit(edited);
    if (outcome != Accepted)
        return refuse(outcome);
    const QString writeFailure = edited.write(file);
    if (!writeFailure.isEmpty())
        return refuseWrite(writeFailure);
    rules = edited;
    last = Accepted;
    emit rulesChanged();
    return Accepted;
}

ApplicationLinks::Refusal ApplicationLinks::refuse(Refusal refusal)
{
    last = refusal;
    return refusal;
}

ApplicationLinks::Refusal ApplicationLinks::refuseWrite(const QString &reason)
{
    unwritten = reason;
    return refuse(NotWritten);
}

QString ApplicationLinks::describe(Refusal refusal)
{
    switch (refusal) {
    case Accepted:
        return QString();
    case NoName:
        return QStringLiteral("Type the application's name.");
    case NameTooLong:
        return QStringLiteral("The name is longer than %1 characters.").arg(ApplicationRules::kMaxNameLength);
    case NameNotAllowed:
        return QStringLiteral("The name holds invisible or control characters.");
    case BlankAtEnds:
        return QStringLiteral("The name begins or ends with a blank.");
    case FolderInProgram:
        return QStringLiteral("A program is named by its file name, without a folder.");
    case AlreadyLinked:
        return QStringLiteral("This application is already linked to %1.");
    case TooManyLinks:
        return QStringLiteral("No more applications can be linked (%1 at most).").arg(ApplicationRules::kMaxRules);
    case NoSuchProfile:
        return QStringLiteral("There is no such profile.");
    case NoSuchLink:
        return QStringLiteral("No such application is linked to this profile.");
    case UnknownMatch:
        return QStringLiteral("An application matches by application id, window class or program file.");
    case FileUnreadable:
        return QStringLiteral("The links file cannot be read (%1); nothing is changed.");
    case NotWritten:
        return QStringLiteral("The links file cannot be written (%1); nothing is changed.");
    }
    return QString();
}

QString ApplicationLinks::describeLast() const
{
    if (last == AlreadyLinked)
        return describe(last).arg(profileLabel(lastProfile));
    if (last == FileUnreadable)
        return describe(last).arg(fileProblem());
    if (last == NotWritten)
        return describe(last).arg(unwritten);
    return describe(last);
}

void ApplicationLinks::setDesktopStepNeeded(bool needed)
{
    if (stepNeeded == needed)
        return;
    stepNeeded = needed;
    emit desktopStepNeededChanged();
}

void ApplicationLinks::noteApplication(const QString &applicationId, const QString &windowClass,
                                       const QString &programName)
{
    const QString id = shown(applicationId);
    const QString windowName = shown(windowClass);
    const QString program = shown(programName).contains(QChar('/')) ? QString() : shown(programName);
    // The most lasting name first: a desktop id outlives a window class, which outlives a file.
    const QString name = !id.isEmpty() ? id : !windowName.isEmpty() ? windowName : program;
    if (name.isEmpty())
        return;
    const ApplicationMatch match = !id.isEmpty()           ? ApplicationMatch::ApplicationId
                                   : !windowName.isEmpty() ? ApplicationMatch::WindowClass
                                                           : ApplicationMatch::ProgramName;
    const QVariantMap entry{{"name", name},         {"match", matchSpelling(int(match))},
                            {"applicationId", id},  {"windowClass", windowName},
                            {"programName", program}};
    if (!recent.isEmpty() && recent.first() == entry)
        return;
    recent.removeAll(entry);
    recent.prepend(entry);
    while (recent.size() > kMaxRecent)
        recent.removeLast();
    emit recentApplicationsChanged();
}
