#include "controller/MacroLibrary.h"

#include "controller/ControllerContext.h"
#include "controller/DecodableNames.h"
#include "controller/FileExport.h"
#include "controller/KeyNameTable.h"
#include "controller/MacroEncoder.h"
#include "controller/Notices.h"
#include "controller/Prompts.h"
#include "controller/SafeFileCopy.h"
#include "controller/SettingsFile.h"
#include "device/Hid_Thread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtDebug>
#include <array>

namespace {

constexpr uint kKeyboard = 0;
constexpr uint kMouse = 1;
constexpr int kUnbound = -1;
constexpr int kMouseLastIndex = 11;     // mouse slots 0..11 are device macros 1..12
constexpr int kKeyboardLastIndex = 34;  // keyboard slots are the device macro numbers
constexpr int kNameDigits = 3;
const QString kExtension = QStringLiteral(".bin");
const QString kCopyFilter = QStringLiteral("Macro(*.mc)");

const QString kIndexKey = QStringLiteral("config/index");
const QString kTotalKey = QStringLiteral("config/total");
const QString kRepeatKey = QStringLiteral("config/repeat");
const QString kDidKey = QStringLiteral("config/did");
const QString kStepsGroup = QStringLiteral("macro");

QString stepKey(int i)
{
    return kStepsGroup + '/' + QString::number(i);
}

// A name is a base name inside the folder: no separators, no "." or "..", not empty, and one
// that reaches the file of that very name (a lone surrogate would reach another).
bool isSafeName(const QString &name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/')
           && !name.contains('\\') && !name.contains(QChar(0)) && DecodableNames::comesBack(name);
}

bool isWithinStepBound(int total)
{
    return total >= 0 && total <= MacroLibrary::kMaxSteps;
}

// Empty when the file can replace a macro: a regular file of a macro's size in the settings
// format with a step count within bounds; otherwise why not.
QString importProblem(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return MacroLibrary::tr("The file cannot be read.");
    if (file.size() > MacroLibrary::kMaxFileSize)
        return MacroLibrary::tr("The file is far too large for a macro.");
    const QSettings macro(path, QSettings::IniFormat);
    if (macro.status() != QSettings::NoError)
        return MacroLibrary::tr("The file is not a settings file.");
    bool isNumber = false;
    const int total = macro.value(kTotalKey).toInt(&isNumber);
    if (!isNumber || !isWithinStepBound(total))
        return MacroLibrary::tr("Its step count is not a number from 0 to %1.")
            .arg(MacroLibrary::kMaxSteps);
    return QString();
}

// Commits a macro file; tells the user when it cannot be written.
WriteOutcome commitOrTell(SettingsFile &file)
{
    const WriteOutcome outcome = file.commit();
    if (!outcome)
        Notices::cannotSave(file.fileName(), outcome.status);
    return outcome;
}

}  // namespace

MacroLibrary::MacroLibrary(ControllerContext &context, const KeyNameTable &keys,
                           const QString &folder)
    : context(context), keys(keys), folder(folder)
{
}

QString MacroLibrary::macroPath(const QVariant &name) const
{
    const QString base = name.toString();
    return isSafeName(base) ? QDir(folder).filePath(base + kExtension) : QString();
}

bool MacroLibrary::macroExists(const QVariant &name) const
{
    const QString path = macroPath(name);
    return !path.isEmpty() && QFile::exists(path);
}

// The device type as stored in "config/did": -1 when there is no device object.
static int currentDeviceType(const ControllerContext &context)
{
    const uint id = context.deviceId();
    return id == ControllerContext::kNoDevice ? kUnbound : int(id);
}

QVariant MacroLibrary::createMacroIni()
{
    if (!QDir().mkpath(folder))
        return QString();
    QString name;
    for (int n = 1;; ++n) {
        name = QStringLiteral("Macro. %1").arg(n, kNameDigits, 10, QChar('0'));
        if (!QFile::exists(macroPath(name)))
            break;
    }
    SettingsFile file(macroPath(name));
    file.setValue(kIndexKey, kUnbound);
    file.setValue(kTotalKey, 0);
    file.setValue(kRepeatKey, 1);
    file.setValue(kDidKey, kUnbound);
    return commitOrTell(file) ? name : QString();
}

QVariant MacroLibrary::deleteMacroIni(QVariant name)
{
    return macroExists(name) && QFile::remove(macroPath(name));
}

QStringList MacroLibrary::getMacroIniNames() const
{
    DecodableNames::giveDecodableNames(folder, kExtension);
    return QDir(folder).entryList({"*" + kExtension}, QDir::Files | QDir::CaseSensitive,
                                  QDir::Name | QDir::IgnoreCase);
}

QVariant MacroLibrary::saveMacroIni(QVariant name, QStringList macros)
{
    if (!macroExists(name) || !isWithinStepBound(macros.size()))
        return false;
    {
        SettingsFile file(macroPath(name));
        file.remove(kStepsGroup);
        file.setValue(kTotalKey, macros.size());
        for (int i = 0; i < macros.size(); ++i)
            file.setValue(stepKey(i), macros.at(i));
        // A format error found when the file was read does not make the write fail.
        if (!commitOrTell(file))
            return false;
    }
    resendIfBound(name);
    return true;
}

QStringList MacroLibrary::loadMacroIni(QVariant name) const
{
    return readSteps(name).value_or(QStringList());
}

std::optional<QStringList> MacroLibrary::readSteps(const QVariant &name) const
{
    if (!macroExists(name))
        return QStringList();
    QSettings file(macroPath(name), QSettings::IniFormat);
    const int total = file.value(kTotalKey, 0).toInt();
    if (!isWithinStepBound(total)) {
        qWarning() << "Macro" << macroPath(name) << "claims" << total << "steps; at most"
                   << kMaxSteps << "fit a macro";
        return std::nullopt;
    }
    QStringList steps;
    for (int i = 0; i < total; ++i)
        steps << file.value(stepKey(i), "0").toString();
    return steps;
}

QVariantList MacroLibrary::loadMacroIniConfig(QVariant name) const
{
    if (!macroExists(name))
        return {};
    QSettings file(macroPath(name), QSettings::IniFormat);
    const int did = file.value(kDidKey, kUnbound).toInt();
    const bool boundHere = did != kUnbound && did == currentDeviceType(context);
    return {boundHere ? file.value(kIndexKey, kUnbound) : QVariant(kUnbound),
            file.value(kRepeatKey, 1)};
}

bool MacroLibrary::setMacroIniConfig(QVariant name, QVariantList config)
{
    if (!macroExists(name) || config.size() < 2)
        return true;
    SettingsFile file(macroPath(name));
    file.setValue(kIndexKey, config.at(0));
    file.setValue(kRepeatKey, config.at(1));
    file.setValue(kDidKey, currentDeviceType(context));
    return commitOrTell(file).ok();
}

MacroLibrary::NameProblem MacroLibrary::nameProblem(const QString &newName) const
{
    if (newName.trimmed().isEmpty())
        return NameProblem::Empty;
    if (macroPath(newName).isEmpty() || !DecodableNames::isFitForNewName(newName))
        return NameProblem::NotAFileName;
    if (QFile::exists(macroPath(newName)))
        return NameProblem::Taken;
    return NameProblem::None;
}

void MacroLibrary::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    if (!macroExists(oldName) || nameProblem(newName.toString()) != NameProblem::None)
        return;
    const QString target = macroPath(newName);
    if (!QFile::rename(macroPath(oldName), target))
        qWarning() << "Macro rename failed:" << macroPath(oldName) << "->" << target;
}

WriteOutcome MacroLibrary::loadMacroIniFromFile(QVariant name, QWidget *dialogParent)
{
    if (!macroExists(name))
        return {};
    const QString picked =
        Prompts::current().openFileName(dialogParent, "Open File", FileExport::startFolder(), kCopyFilter);
    // The macro may have been deleted while the dialog was open.
    if (picked.isEmpty() || !macroExists(name))
        return {};
    const QString problem = importProblem(picked);
    if (!problem.isEmpty()) {
        Notices::warn(tr("The macro was not imported from\n%1\n%2\nThe macro stays as it was.")
                          .arg(picked, problem));
        return {};
    }
    const SettingsLock lock;
    WriteOutcome outcome{lock.status()};
    if (outcome)
        outcome = replaceWithCopy(picked, macroPath(name));
    if (!outcome)
        Notices::cannotSave(macroPath(name), outcome.status);
    return outcome;
}

QString MacroLibrary::saveMacroIniToFile(QVariant name, QWidget *dialogParent)
{
    if (!macroExists(name))
        return QString();
    return FileExport::exportCopy(macroPath(name), dialogParent, kCopyFilter, FileExport::kMacroExtension,
                                  name.toString() + FileExport::kMacroExtension, context);
}

QList<uchar> MacroLibrary::macroIncode(QStringList macros) const
{
    return encodeMacro(macros, context.deviceId(), keys);
}

std::optional<QList<uchar>> MacroLibrary::imageForSlot(const QVariant &name, int capacity,
                                                       const QString &title,
                                                       const QString &text) const
{
    const std::optional<QStringList> steps = readSteps(name);
    if (!steps)
        return std::nullopt;
    const QList<uchar> image = macroIncode(*steps);
    if (image.size() > capacity)
        Prompts::current().warning(title, text);
    return fitMacroImage(image, capacity);
}

void MacroLibrary::ui_13H_SetMacroKey(QVariant macroId, QVariant name)
{
    if (!context.hidThread)
        return;
    std::optional<QList<uchar>> fitted =
        imageForSlot(name, MacroImage::kMouseCapacity, tr("MACRO"),
                     tr("Out of memory,\nsome command line has been cut."));
    // A malformed macro file is not sent: the device keeps the macro it has.
    if (!fitted)
        return;
    QList<uchar> &image = *fitted;
    uint repeat = 1;
    if (macroExists(name))
        repeat = QSettings(macroPath(name), QSettings::IniFormat).value(kRepeatKey, 1).toUInt();
    image[0] = uchar((repeat >> 8) & 0xFF);
    image[1] = uchar(repeat & 0xFF);

    std::array<uchar, MacroImage::kMouseCapacity> buffer{};
    std::copy(image.cbegin(), image.cend(), buffer.begin());
    context.hidThread->hid_13H_SetMacroKey(uchar(macroId.toInt()), buffer.data());
}

void MacroLibrary::ui_11H_SetMacroKey(QVariant macroId, QVariant name)
{
    if (!context.hidThread)
        return;
    // Before a language is loaded the message list is empty: the mouse texts stand in.
    const bool haveMessages = context.msgStrings.size() >= 2;
    const std::optional<QList<uchar>> image = imageForSlot(
        name, MacroImage::kKeyboardCapacity,
        haveMessages ? context.message(0) : tr("MACRO"),
        haveMessages ? context.message(1) : tr("Out of memory,\nsome command line has been cut."));
    if (!image)
        return;

    std::array<uchar, MacroImage::kKeyboardCapacity> buffer{};
    std::copy(image->cbegin(), image->cend(), buffer.begin());
    context.hidThread->hid_11H_SetMacroKey(uchar(macroId.toInt()), buffer.data());
}

void MacroLibrary::resendIfBound(const QVariant &name)
{
    QSettings file(macroPath(name), QSettings::IniFormat);
    const int index = file.value(kIndexKey, kUnbound).toInt();
    // Files from before the device was recorded carry no device id: they belong to the device
    // in use. A slot bound on the other device type must not overwrite this device's slot.
    const int storedDid = file.value(kDidKey, kUnbound).toInt();
    const int did = storedDid == kUnbound ? currentDeviceType(context) : storedDid;
    if (index < 0 || did != currentDeviceType(context))
        return;
    if (did == int(kMouse) && index <= kMouseLastIndex)
        ui_13H_SetMacroKey(index + 1, name);
    else if (did == int(kKeyboard) && index <= kKeyboardLastIndex)
        ui_11H_SetMacroKey(index, name);
}
