#include "controller/ApplicationRules.h"

#include "controller/IniText.h"
#include "controller/ProfileStore.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFollowSection = QStringLiteral("follow");
const QString kSwitchKey = QStringLiteral("enabled");
const QString kDefaultKey = QStringLiteral("default");
const QString kRuleSection = QStringLiteral("rule");
const QString kCountKey = QStringLiteral("size");
const QString kMatchKey = QStringLiteral("match");
const QString kNameKey = QStringLiteral("name");
const QString kProfileKey = QStringLiteral("profile");
const QStringList kRuleFields = {kMatchKey, kNameKey, kProfileKey};

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

std::optional<int> profileNumber(const QString &text)
{
    bool ok = false;
    const int profile = text.toInt(&ok);
    if (!ok || !ProfileStore::isValidProfile(profile))
        return std::nullopt;
    return profile;
}

std::optional<bool> switchValue(const QString &text)
{
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

// Whether `c` can stand in the file: the writer gives printable ASCII, blanks and line breaks.
bool isTextByte(char c)
{
    return (c >= ' ' && c < 0x7F) || c == '\t' || c == '\n' || c == '\r';
}

// The file's "[section]" and "key=value" lines as raw values under "section/key", read as the
// writer lays them out: anything else in it (a line cut short, a key of no known section, a
// key twice, bytes that are no text) makes it damaged.
class RulesText {
public:
    explicit RulesText(const QByteArray &text)
    {
        if (text.isEmpty()) {
            fail(QStringLiteral("it is empty"));
            return;
        }
        const int badByte = int(std::find_if_not(text.cbegin(), text.cend(), isTextByte) - text.cbegin());
        if (badByte < text.size()) {
            fail(QStringLiteral("byte %1 is not settings text").arg(badByte + 1));
            return;
        }
        const QList<QByteArray> lines = text.split('\n');
        for (int i = 0; i < lines.size() && problem.isEmpty(); ++i)
            readLine(lines.at(i).trimmed(), i + 1);
    }

    // Why the file is damaged: the first fault found; empty while none is.
    QString why() const { return problem; }

    bool holds(const QString &section, const QString &key) const { return values.contains(section + '/' + key); }

    // The text of a key the file must hold; nothing, with why() saying why, when it cannot.
    std::optional<QString> text(const QString &section, const QString &key)
    {
        const auto value = values.constFind(section + '/' + key);
        if (value == values.cend()) {
            fail(QStringLiteral("it has no %1 in [%2]").arg(key, section));
            return std::nullopt;
        }
        const std::optional<QString> text = IniText::unescaped(*value);
        if (!text)
            fail(QStringLiteral("%1 in [%2] is cut short or no text").arg(key, section));
        return text;
    }

    // The number of the highest rule any key names.
    int highestRule() const
    {
        int highest = 0;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (it.key().startsWith(kRuleSection + '/') && it.key() != kRuleSection + '/' + kCountKey)
                highest = std::max(highest, it.key().mid(kRuleSection.size() + 1).section('\\', 0, 0).toInt());
        }
        return highest;
    }

private:
    void fail(const QString &why)
    {
        if (problem.isEmpty())
            problem = why;
    }

    void readLine(const QByteArray &line, int number)
    {
        if (line.isEmpty() || line.startsWith(';'))
            return;
        if (line.startsWith('[')) {
            section = line.endsWith(']') ? QString::fromLatin1(line.mid(1, line.size() - 2)) : QString();
            if (section != kFollowSection && section != kRuleSection)
                fail(QStringLiteral("line %1 is no section of the links file").arg(number));
            return;
        }
        const int equals = line.indexOf('=');
        if (equals < 0) {
            fail(QStringLiteral("line %1 is cut short").arg(number));
            return;
        }
        const QString key = QString::fromLatin1(line.left(equals).trimmed());
        if (!isKnownKey(key)) {
            fail(QStringLiteral("line %1 holds no key of the links file").arg(number));
            return;
        }
        const QString fullKey = section + '/' + key;
        if (values.contains(fullKey))
            fail(QStringLiteral("line %1 gives %2 in [%3] again").arg(number).arg(key, section));
        values.insert(fullKey, line.mid(equals + 1));
    }

    bool isKnownKey(const QString &key) const
    {
        if (section == kFollowSection)
            return key == kSwitchKey || key == kDefaultKey;
        if (section != kRuleSection)
            return false;
        if (key == kCountKey)
            return true;
        const QString number = key.section('\\', 0, 0);
        bool isNumber = false;
        const int rule = number.toInt(&isNumber);
        return isNumber && rule >= 1 && number == QString::number(rule) && key.count('\\') == 1
            && kRuleFields.contains(key.section('\\', 1));
    }

    QMap<QString, QByteArray> values;
    QString section;  // empty before the first section
    QString problem;
};

std::optional<int> ruleCount(const QString &text)
{
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && count >= 0 && count <= ApplicationRules::kMaxRules ? std::optional<int>(count) : std::nullopt;
}

// Why the rules may not replace the file at `path`; empty when they may. A symbolic link is
// neither written through nor replaced, and a file the user may not write (read-only,
// immutable) is not replaced behind its back.
QString whyNotWritable(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return QString();  // a new file: the folder decides, as the write tells
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("it is a symbolic link, which is not written through");
    if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
        return QString::fromLocal8Bit(strerror(errno));
    return QString();
}

}  // namespace

bool ApplicationRules::isPlainFileName(const QString &name)
{
    return !name.contains(QChar('/')) && name != QLatin1String(".") && name != QLatin1String("..");
}

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
    if (rule.name != rule.name.trimmed())
        return QStringLiteral("a rule's application name begins or ends with a blank");
    if (rule.match == ApplicationMatch::ProgramName && !isPlainFileName(rule.name))
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
    if (!info.exists() && !info.isSymLink()) {
        ApplicationRules rules;
        rules.readStatus = ReadStatus::Missing;
        return rules;
    }
    if (!info.exists())
        return refused(QStringLiteral("it is a symbolic link to no file"));
    if (!info.isFile())
        return refused(QStringLiteral("it is not a file"));
    if (info.size() > kMaxFileBytes)
        return refused(QStringLiteral("it is larger than %1 bytes").arg(kMaxFileBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("it cannot be opened: %1").arg(file.errorString()));
    const QByteArray text = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("it cannot be read: %1").arg(file.errorString()));
    if (text.size() > kMaxFileBytes)
        return refused(QStringLiteral("it is larger than %1 bytes").arg(kMaxFileBytes));
    return parse(text);
}

ApplicationRules ApplicationRules::parse(const QByteArray &bytes)
{
    RulesText file(bytes);
    if (!file.why().isEmpty())
        return refused(file.why());
    ApplicationRules rules;
    const std::optional<QString> switchText = file.text(kFollowSection, kSwitchKey);
    if (!switchText)
        return refused(file.why());
    const std::optional<bool> on = switchValue(*switchText);
    if (!on)
        return refused(QStringLiteral("the switch is neither true nor false"));
    rules.followingOn = *on;

    if (file.holds(kFollowSection, kDefaultKey)) {
        const std::optional<QString> defaultText = file.text(kFollowSection, kDefaultKey);
        if (!defaultText)
            return refused(file.why());
        rules.fallback = profileNumber(*defaultText);
        if (!rules.fallback)
            return refused(QStringLiteral("the default profile is no profile"));
    }

    const std::optional<QString> countText = file.text(kRuleSection, kCountKey);
    if (!countText)
        return refused(file.why());
    const std::optional<int> count = ruleCount(*countText);
    if (!count)
        return refused(QStringLiteral("the number of rules is not between 0 and %1").arg(kMaxRules));
    if (file.highestRule() > *count)
        return refused(QStringLiteral("rule %1 is beyond the number of rules, %2").arg(file.highestRule()).arg(*count));

    for (int number = 1; number <= *count; ++number) {
        const QString prefix = QString::number(number) + '\\';
        const std::optional<QString> matchText = file.text(kRuleSection, prefix + kMatchKey);
        const std::optional<QString> name = file.text(kRuleSection, prefix + kNameKey);
        const std::optional<QString> profileText = file.text(kRuleSection, prefix + kProfileKey);
        if (!matchText || !name || !profileText)
            return refused(file.why());
        const std::optional<ApplicationMatch> match = matchSpelled(*matchText);
        if (!match)
            return refused(QStringLiteral("rule %1 matches by nothing known").arg(number));
        const ApplicationRule rule{*match, *name, profileNumber(*profileText).value_or(-1)};
        const QString ruleProblem = problemOf(rule);
        if (!ruleProblem.isEmpty())
            return refused(QStringLiteral("rule %1: %2").arg(number).arg(ruleProblem));
        rules.list.append(rule);
    }
    return rules;
}

QByteArray ApplicationRules::text() const
{
    const auto line = [](const QString &key, const QByteArray &value) { return key.toLatin1() + '=' + value + '\n'; };
    QByteArray text = '[' + kFollowSection.toLatin1() + "]\n";
    text += line(kSwitchKey, followingOn ? "true" : "false");
    if (fallback)
        text += line(kDefaultKey, QByteArray::number(*fallback));
    text += "\n[" + kRuleSection.toLatin1() + "]\n";
    for (int i = 0; i < list.size(); ++i) {
        const QString prefix = QString::number(i + 1) + '\\';
        text += line(prefix + kMatchKey, spellingOf(list[i].match).toLatin1());
        text += line(prefix + kNameKey, IniText::escaped(list[i].name));
        text += line(prefix + kProfileKey, QByteArray::number(list[i].profile));
    }
    text += line(kCountKey, QByteArray::number(list.size()));
    return text;
}

QString ApplicationRules::write(const QString &path) const
{
    const QString refusal = whyNotWritable(path);
    if (!refusal.isEmpty())
        return refusal;
    const WriteOutcome outcome = AtomicWrite::replaceContents(path, text());
    if (outcome)
        return QString();
    return outcome.error != 0 ? QString::fromLocal8Bit(strerror(outcome.error))
                              : QStringLiteral("it could not be written whole");
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
