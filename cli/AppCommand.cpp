#include "cli/Commands.h"

#include "actions/ApplicationLinks.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/ProfileStore.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>

using namespace cli;

namespace {

// The options naming how a link matches, and the file's word for each.
struct MatchOption {
    const char *option;
    const char *match;
};
constexpr MatchOption kMatchOptions[] = {
    {"id", "appId"},
    {"class", "windowClass"},
    {"program", "program"},
};

// `name` as one word a shell reads back as `name`: as it is when it holds only characters no
// shell gives a meaning, else in single quotes (a quote in it as '\'').
QString shellWord(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(name).hasMatch())
        return name;
    QString quoted = name;
    return '\'' + quoted.replace('\'', QStringLiteral("'\\''")) + '\'';
}

QStringList linkedNames(int profile)
{
    const ApplicationRules rules = ApplicationRules::read(ApplicationRules::defaultPath());
    QStringList names;
    for (const ApplicationRule &rule : rules.rules())
        if (rule.profile == profile && !names.contains(rule.name))
            names << rule.name;
    return names;
}

QStringList completeApp(const CompletionRequest &request)
{
    const QString action = request.before.value(0);
    const QStringList profiles = numberWords(1, ProfileStore::kProfileCount);
    switch (request.before.size()) {
    case 0:
        return {"list", "link", "unlink", "default", "on", "off"};
    case 1:
        if (action == "default")
            return profiles + QStringList{"none"};
        return action == "link" || action == "unlink" ? profiles : QStringList();
    case 2:
        return action == "unlink" ? linkedNames(request.before.at(1).toInt() - 1) : QStringList();
    default:
        return {};
    }
}

}  // namespace

const CommandRow &appCommand()
{
    static const CommandRow row = {
        "app", "app [list | link N (--id ID | --class CLASS | --program FILE) | unlink N NAME | default N|none | on | off]",
         "Link profiles to applications: the mouse takes a profile when its application comes to the front.",
         "  app list             the switch, the default profile and every link, one a line\n"
         "  app link N --id ID   profile N follows the application with the id ID (Wayland app_id\n"
         "                       or desktop file id, e.g. org.gnome.Gedit)\n"
         "  app link N --class CLASS  ... the windows of class CLASS (X11 WM_CLASS, e.g. steam)\n"
         "  app link N --program FILE  ... the program file FILE (a file name, e.g. blender)\n"
         "  app unlink N NAME    profile N no longer follows NAME, however it matches\n"
         "  app unlink N --id ID | --class CLASS | --program FILE  ... only the link of that kind\n"
         "  app default N        profile N when no application matches (\"none\": the profile stays)\n"
         "  app on, app off      switch the following of applications on or off\n"
         "An application is linked to one profile at most; names hold no control characters and no\n"
         "blank at either end. `app list` quotes a name as a shell would where it needs it.\n",
        {{"id", {}}, {"class", {}}, {"program", {}}},
        MouseUse::Never,
        &Commands::app,
        completeApp};
    return row;
}

void Commands::app()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0, "list");
    ApplicationLinks &links = *actions.applications;
    if (action != "link" && action != "unlink" && !invocation.options.isEmpty())
        usageError(tr("app %1 takes no options").arg(action));
    if (action == "list") {
        requireArguments(0, 1);
        listApplicationLinks();
    } else if (action == "link") {
        requireArguments(2, 2);
        const int profile = profileArgument(arguments.at(1));
        const QString match = linkMatchOption(true);
        const QString name = invocation.options.value(optionOfMatch(match));
        settleLinkChange(links.link(profile, name, match));
        output.done(tr("profile %1 follows %2").arg(profile + 1).arg(shellWord(name)));
    } else if (action == "unlink") {
        const QString match = linkMatchOption(false);
        requireArguments(match.isEmpty() ? 3 : 2, match.isEmpty() ? 3 : 2);
        const int profile = profileArgument(arguments.at(1));
        const QString name = match.isEmpty() ? arguments.at(2) : invocation.options.value(optionOfMatch(match));
        settleLinkChange(links.unlink(profile, name, match));
        output.done(tr("profile %1 no longer follows %2").arg(profile + 1).arg(shellWord(name)));
    } else if (action == "default") {
        requireArguments(2, 2);
        const bool none = arguments.at(1) == "none";
        const int profile = none ? -1 : profileArgument(arguments.at(1));
        settleLinkChange(links.setDefaultProfile(profile));
        output.done(none ? tr("no default profile") : tr("profile %1 when no application matches").arg(profile + 1));
    } else if (action == "on" || action == "off") {
        requireArguments(1, 1);
        settleLinkChange(links.setEnabled(action == "on"));
        output.done(action == "on" ? tr("profiles follow the application in front")
                                   : tr("profiles no longer follow the application in front"));
    } else {
        usageError(tr("unknown app action \"%1\"").arg(action));
    }
}

// The kind of match the one option given names ("appId"...); with `required` false, an
// empty string when none is given.
QString Commands::linkMatchOption(bool required) const
{
    QString found;
    for (const MatchOption &option : kMatchOptions) {
        if (!invocation.has(option.option))
            continue;
        if (!found.isEmpty())
            usageError(tr("give one of --id, --class and --program"));
        found = option.match;
    }
    if (found.isEmpty() && required)
        usageError(tr("give the application with --id, --class or --program"));
    return found;
}

QString Commands::optionOfMatch(const QString &match)
{
    for (const MatchOption &option : kMatchOptions)
        if (match == option.match)
            return option.option;
    return QString();
}

// A refused change ends the command: a bad value with 1, a file that cannot be read or
// written with 3.
void Commands::settleLinkChange(int outcome)
{
    if (outcome == ApplicationLinks::Accepted)
        return;
    const QString reason = actions.applications->describeLast();
    if (outcome == ApplicationLinks::FileUnreadable || outcome == ApplicationLinks::NotWritten)
        throw CliFailure(ExitCode::DeviceError, ApplicationRules::defaultPath() + ": " + reason);
    throw CliFailure(ExitCode::UsageError, reason);
}

void Commands::listApplicationLinks()
{
    ApplicationLinks &links = *actions.applications;
    links.reload();  // as it is now, under the lock
    if (!links.fileProblem().isEmpty())
        throw CliFailure(ExitCode::DeviceError,
                         tr("cannot read %1: %2").arg(ApplicationRules::defaultPath(), links.fileProblem()));
    QVector<ApplicationRule> rules = links.current().rules();
    std::stable_sort(rules.begin(), rules.end(),
                     [](const ApplicationRule &a, const ApplicationRule &b) { return a.profile < b.profile; });
    const int fallback = links.defaultProfile();
    QStringList lines{QString("switch %1").arg(links.enabled() ? "on" : "off"),
                      QString("default %1").arg(fallback < 0 ? QString("none") : QString::number(fallback + 1))};
    QJsonArray jsonLinks;
    for (const ApplicationRule &rule : rules) {
        const QString match = ApplicationLinks::matchSpelling(int(rule.match));
        lines << QString("link %1 --%2 %3").arg(rule.profile + 1).arg(optionOfMatch(match), shellWord(rule.name));
        jsonLinks.append(QJsonObject{{"profile", rule.profile + 1}, {"match", match}, {"name", rule.name}});
    }
    output.result(lines.join('\n'), {{"enabled", links.enabled()},
                                     {"default", fallback < 0 ? QJsonValue() : QJsonValue(fallback + 1)},
                                     {"links", jsonLinks}});
}
