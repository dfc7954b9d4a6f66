#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/ExportTarget.h"
#include "controller/FileExport.h"
#include "controller/MacroLibrary.h"
#include "controller/MacroSlots.h"

#include <QFile>
#include <QFileInfo>

using namespace cli;

namespace {

QStringList completeMacro(const CompletionRequest &request)
{
    const QString action = request.before.value(0);
    const QString files = "@files:" + FileExport::kMacroExtension.mid(1);
    switch (request.before.size()) {
    case 0:
        return {"list", "show", "import", "export"};
    case 1:
        if (action == "import")
            return {files};
        return action == "show" || action == "export" ? request.controllers->macros->getMacroIniNames() : QStringList();
    case 2:
        return action == "export" ? QStringList{files} : QStringList();
    default:
        return {};
    }
}

}  // namespace

const CommandRow &macroCommand()
{
    static const CommandRow row = {
        "macro", "macro [list | show NAME | import FILE [NAME] | export NAME FILE]",
         "List, show, import or export macros.",
         "  macro list           the macros, each with its device slot and play count\n"
         "  macro show NAME      the steps of macro NAME\n"
         "  macro import FILE [NAME]  import a .mc file as macro NAME (default: the file's name);\n"
         "                       an existing macro of that name is replaced\n"
         "  macro export NAME FILE  copy macro NAME to FILE (a .mc file)\n",
        {},
        MouseUse::Never,
        &Commands::macro,
        completeMacro};
    return row;
}

void Commands::macro()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0, "list");
    if (action == "list") {
        requireArguments(0, 1);
        listMacros();
    } else if (action == "show") {
        requireArguments(2, 2);
        showMacro(arguments.at(1));
    } else if (action == "import") {
        requireArguments(2, 3);
        importMacro(arguments.at(1), arguments.value(2));
    } else if (action == "export") {
        requireArguments(3, 3);
        exportMacro(arguments.at(1), arguments.at(2));
    } else {
        usageError(tr("unknown macro action \"%1\"").arg(action));
    }
}

void Commands::listMacros()
{
    QStringList lines;
    QJsonArray macros;
    for (const QString &file : controllers.macros->getMacroIniNames()) {
        const QString name = file.chopped(4);
        const QVariantList config = controllers.macros->loadMacroIniConfig(name);
        const int slot = config.value(0, -1).toInt();
        const int repeat = config.value(1, 1).toInt();
        const int steps = controllers.macros->loadMacroIni(name).size();
        lines << tr("%1  slot %2  plays %3x  %4 steps").arg(name).arg(slot < 0 ? "-" : QString::number(slot + 1))
                     .arg(repeat).arg(steps);
        macros.append(QJsonObject{{"name", name}, {"slot", slot < 0 ? QJsonValue() : QJsonValue(slot + 1)},
                                  {"repeat", repeat}, {"steps", steps}});
    }
    output.result(lines.join('\n'), {{"macros", macros}});
}

void Commands::showMacro(const QString &name)
{
    const QVariantList config = controllers.macros->loadMacroIniConfig(name);
    if (config.isEmpty())
        usageError(tr("no macro named \"%1\"").arg(name));
    const QStringList steps = controllers.macros->loadMacroIni(name);
    QJsonArray jsonSteps;
    for (const QString &step : steps)
        jsonSteps.append(QJsonObject{{"value", step.chopped(10)}, {"action", step.right(10).trimmed()}});
    output.result(steps.join('\n'), {{"name", name}, {"repeat", config.value(1).toInt()}, {"steps", jsonSteps}});
}

// Why `name` cannot be a new macro's name, in the macro library's rule; empty when it can.
QString Commands::macroNameProblem(const QString &name) const
{
    switch (controllers.macros->nameProblem(name)) {
    case MacroLibrary::NameProblem::None:
    case MacroLibrary::NameProblem::Taken:  // importing onto a macro replaces it
        return QString();
    case MacroLibrary::NameProblem::Empty:
        return tr("\"%1\" cannot be a macro name: a name shows at least one character that is not a space")
            .arg(name);
    case MacroLibrary::NameProblem::NotAFileName:
        break;
    }
    return tr("\"%1\" cannot be a macro name: a name holds no /, \\, control, direction or other invisible "
              "characters, and is not \".\" or \"..\"").arg(name);
}

void Commands::importMacro(const QString &file, QString name)
{
    const QString source = invocation.userFile(file);
    if (name.isEmpty())
        name = QFileInfo(file).completeBaseName();
    if (!QFileInfo(source).isFile())
        usageError(tr("no file %1").arg(file));
    const bool existed = !controllers.macros->loadMacroIniConfig(name).isEmpty();
    if (!existed) {
        const QString problem = macroNameProblem(name);
        if (!problem.isEmpty())
            usageError(problem);
        const QString created = controllers.macros->createMacroIni().toString();
        if (created.isEmpty())
            writeFailure(tr("cannot create a macro file"));
        controllers.macros->renameMacroIniFile(created, name);
        if (controllers.macros->loadMacroIniConfig(name).isEmpty()) {
            controllers.macros->deleteMacroIni(created);
            throw CliFailure(ExitCode::DeviceError, tr("cannot name the macro file \"%1\"").arg(name));
        }
    }
    prompts.setFileAnswer(source);
    const WriteOutcome written = controllers.macros->loadMacroIniFromFile(name, nullptr);
    // A refusal is told as a warning; the reasons of a write failure go with the failure.
    const QStringList refusal = written ? prompts.takeWarnings() : QStringList();
    if ((!written || !refusal.isEmpty()) && !existed)
        controllers.macros->deleteMacroIni(name);
    if (!written)
        writeFailure(tr("the macro \"%1\" cannot be saved").arg(name));
    if (!refusal.isEmpty())
        throw CliFailure(ExitCode::UsageError, refusal.join(' '));
    output.done(tr("macro \"%1\" imported from %2").arg(name, file));
}

void Commands::exportMacro(const QString &name, const QString &file)
{
    if (controllers.macros->loadMacroIniConfig(name).isEmpty())
        usageError(tr("no macro named \"%1\"").arg(name));
    exportTarget(file);  // what the user named must not be a folder, device or pipe either
    prompts.setFileAnswer(exportTarget(FileExport::withExtension(file, FileExport::kMacroExtension)));
    const QString written = controllers.macros->saveMacroIniToFile(name, nullptr);
    if (written.isEmpty())
        throw exportFailure(file);
    output.done(tr("macro \"%1\" exported to %2").arg(name, written));
}
