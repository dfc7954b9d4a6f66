#include "controller/ApplicationRules.h"

#include "controller/ProfileStore.h"
#include "controller/SettingsFile.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kEnabledKey = QStringLiteral("follow/enabled");
const QString kDefaultKey = QStringLiteral("follow/default");
const QString kRuleArray = QStringLiteral("rule");
const QString kMatchKey = QStringLiteral("match");
const QString kNameKey = QStringLiteral("name");
const QString kProfileKey = QStringLiteral("profile");

// How each kind of match is spelled in the file.
struct MatchSpelling {
    ApplicationMatch match;
    const char *text;
};
constexpr MatchSpelling kMatchSpellings[] = {
    {ApplicationMatch::ApplicationId, "appId"},
    {ApplicationMatch::WindowClass, "windowClass"},
    {ApplicationMatch::ProgramName, "program"},
};

QString spellingOf(ApplicationMatch match)
{
    for (const MatchSpelling &spelling : kMatchSpellings) {
        if (spelling.match == match)
            return QString::fromLatin1(spelling.text);
    }
    return QString();
}

std::optional<ApplicationMatch> matchSpelled(const QString &text)
{
    for (const MatchSpelling &spelling : kMatchSpellings) {
        if (text == QLatin1String(spelling.text))
            return spelling.match;
    }
    return std::nullopt;
}

// A desktop file id names the same application with or without its ".desktop".
QString withoutDesktopSuffix(const QString &id)
{
    static const QString suffix = QStringLiteral(".desktop");
    return id.endsWith(suffix) ? id.left(id.size() - suffix.size()) : id;
}

std::optional<int> profileNumber(const QVariant &value)
{
    bool ok = false;
    const int profile = value.toString().toInt(&ok);
    if (!ok || !ProfileStore::isValidProfile(profile))
        return std::nullopt;
    return profile;
}

std::optional<bool> switchValue(const QVariant &value)
{
    const QString text = value.toString();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return std::nullopt;
}

bool isHidden(uint code)
{
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Separator_Space:
        return code != ' ';
    default:
        return false;
    }
}

}  // namespace

bool ApplicationRules::holdsHiddenCharacters(const QString &name)
{
    for (uint code : name.toUcs4())
        if (isHidden(code))
            return true;
    return false;
}

bool ApplicationRule::matches(const ApplicationIdentity &application) const
{
    switch (match) {
    case ApplicationMatch::ApplicationId:
        return !application.applicationId.isEmpty()
            && withoutDesktopSuffix(application.applicationId) == withoutDesktopSuffix(name);
    case ApplicationMatch::WindowClass:
        // Window classes are capitalised by custom only ("Firefox", "firefox").
        return !application.windowClass.isEmpty()
            && application.windowClass.compare(name, Qt::CaseInsensitive) == 0;
    case ApplicationMatch::ProgramName:
        return !application.programName.isEmpty() && application.programName == name;
    }
    return false;
}

bool ApplicationRule::operator==(const ApplicationRule &other) const
{
    return match == other.match && name == other.name && profile == other.profile;
}

QString ApplicationRules::problemOf(const ApplicationRule &rule)
{
    if (rule.name.trimmed().isEmpty())
        return QStringLiteral("a rule names no application");
    if (rule.name.size() > kMaxNameLength)
        return QStringLiteral("a rule's application name is longer than %1 characters").arg(kMaxNameLength);
    if (holdsHiddenCharacters(rule.name))
        return QStringLiteral("a rule's application name holds invisible or control characters");
    if (rule.name.contains(QChar('/')) && rule.match == ApplicationMatch::ProgramName)
        return QStringLiteral("a program is named by its file name, without a folder");
    if (!ProfileStore::isValidProfile(rule.profile))
        return QStringLiteral("a rule links no profile");
    return QString();
}

ApplicationRules ApplicationRules::refused(const QString &reason)
{
    ApplicationRules rules;
    rules.readStatus = ReadStatus::Malformed;
    rules.problem = reason;
    return rules;
}

ApplicationRules ApplicationRules::read(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        ApplicationRules rules;
        rules.readStatus = ReadStatus::Missing;
        return rules;
    }
    if (!info.isFile())
        return refused(QStringLiteral("it is not a file"));
    if (info.size() > kMaxFileBytes)
        return refused(QStringLiteral("it is larger than %1 bytes").arg(kMaxFileBytes));

    QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return refused(QStringLiteral("it cannot be read as settings text"));

    ApplicationRules rules;
    const std::optional<bool> on = switchValue(file.value(kEnabledKey, QStringLiteral("false")));
    if (!on)
        return refused(QStringLiteral("the switch is neither true nor false"));
    rules.followingOn = *on;

    if (file.contains(kDefaultKey)) {
        rules.fallback = profileNumber(file.value(kDefaultKey));
        if (!rules.fallback)
            return refused(QStringLiteral("the default profile is no profile"));
    }

    bool countOk = false;
    const int count = file.value(kRuleArray + QStringLiteral("/size"), 0).toString().toInt(&countOk);
    if (!countOk || count < 0 || count > kMaxRules)
        return refused(QStringLiteral("the number of rules is not between 0 and %1").arg(kMaxRules));

    file.beginReadArray(kRuleArray);
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        const std::optional<ApplicationMatch> match = matchSpelled(file.value(kMatchKey).toString());
        if (!match)
            return refused(QStringLiteral("rule %1 matches by nothing known").arg(i + 1));
        const std::optional<int> profile = profileNumber(file.value(kProfileKey));
        const ApplicationRule rule{*match, file.value(kNameKey).toString(), profile.value_or(-1)};
        const QString ruleProblem = problemOf(rule);
        if (!ruleProblem.isEmpty())
            return refused(QStringLiteral("rule %1: %2").arg(i + 1).arg(ruleProblem));
        rules.list.append(rule);
    }
    file.endArray();
    return rules;
}

WriteOutcome ApplicationRules::write(const QString &path) const
{
    SettingsFile file(path);
    file.clear();
    file.setValue(kEnabledKey, followingOn ? QStringLiteral("true") : QStringLiteral("false"));
    if (fallback)
        file.setValue(kDefaultKey, *fallback);
    file.beginWriteArray(kRuleArray, list.size());
    for (int i = 0; i < list.size(); ++i) {
        file.setArrayIndex(i);
        file.setValue(kMatchKey, spellingOf(list[i].match));
        file.setValue(kNameKey, list[i].name);
        file.setValue(kProfileKey, list[i].profile);
    }
    file.endArray();
    return file.commit();
}

bool ApplicationRules::setDefaultProfile(std::optional<int> profile)
{
    if (profile && !ProfileStore::isValidProfile(*profile))
        return false;
    fallback = profile;
    return true;
}

bool ApplicationRules::addRule(const ApplicationRule &rule)
{
    if (list.size() >= kMaxRules || !problemOf(rule).isEmpty())
        return false;
    list.append(rule);
    return true;
}

bool ApplicationRules::removeRule(int index)
{
    if (index < 0 || index >= list.size())
        return false;
    list.remove(index);
    return true;
}

std::optional<int> ApplicationRules::profileFor(const ApplicationIdentity &application) const
{
    if (!followingOn)
        return std::nullopt;
    for (const ApplicationRule &rule : list) {
        if (rule.matches(application))
            return rule.profile;
    }
    return fallback;
}
