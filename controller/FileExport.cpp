#include "controller/FileExport.h"

#include "controller/ControllerContext.h"
#include "controller/ExportTarget.h"
#include "controller/Notices.h"
#include "controller/Prompts.h"
#include "controller/SafeFileCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The language file's texts "msg/N"; the English ones stand in until a language is loaded.
enum Message {
    kCannotWrite = 6,
    kNoFolder = 7,
    kFolderNotWritable = 8,
    kNotAFile = 9,
    kDiskRefused = 10,
    kReplaceQuestion = 11,
};

QString message(const ControllerContext &context, Message id)
{
    const QString translated = context.message(id);
    if (!translated.isEmpty())
        return translated;
    switch (id) {
    case kCannotWrite: return QStringLiteral("The file could not be written:");
    case kNoFolder: return QStringLiteral("The folder does not exist.");
    case kFolderNotWritable: return QStringLiteral("This user may not write in that folder.");
    case kNotAFile: return QStringLiteral("A folder of that name is in the way.");
    case kDiskRefused: return QStringLiteral("The disk did not take the file (full or read-only).");
    case kReplaceQuestion: return QStringLiteral("%1 already exists.\nDo you want to replace it?");
    }
    return QString();
}

}  // namespace

QString FileExport::startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString FileExport::withExtension(const QString &chosen, const QString &extension)
{
    if (chosen.endsWith(extension, Qt::CaseInsensitive))
        return chosen;
    return chosen + extension;
}

QString FileExport::writeProblem(const QString &target, const ControllerContext &context)
{
    const QFileInfo file(target);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return message(context, kNoFolder);
    if (file.isDir())
        return message(context, kNotAFile);
    // The copy goes through a new file beside the target, so the folder must take it.
    if (!folder.isWritable())
        return message(context, kFolderNotWritable);
    return message(context, kDiskRefused);
}

QString FileExport::exportCopy(const QString &source, QWidget *dialogParent, const QString &filter,
                               const QString &extension, const QString &suggestedName,
                               const ControllerContext &context)
{
    Prompts &prompts = Prompts::current();
    const QString chosen = prompts.saveFileName(dialogParent, QStringLiteral("Save File"),
                                                QDir(startFolder()).filePath(suggestedName), filter);
    // The source may have gone while the dialog was open (a macro deleted meanwhile).
    if (chosen.isEmpty() || !QFileInfo::exists(source))
        return QString();
    const QString target = withExtension(chosen, extension);
    // The dialog asked about replacing the name it returned, not about the one with the extension.
    if (target != chosen && QFileInfo::exists(target)
        && !prompts.confirm(Notices::title(), message(context, kReplaceQuestion).arg(target)))
        return QString();
    // Something already at that name must be a regular file; a missing folder or a folder in
    // the way fails the write and is told below.
    const QFileInfo existing(target);
    const bool checkExisting = (existing.exists() || existing.isSymLink()) && !existing.isDir();
    const QString refusal = checkExisting ? ExportTarget::problem(target) : QString();
    if (!refusal.isEmpty()) {
        Notices::warn(message(context, kCannotWrite) + "\n" + target + "\n" + refusal);
        return QString();
    }
    if (!replaceWithCopy(source, target)) {
        Notices::warn(message(context, kCannotWrite) + "\n" + target + "\n" + writeProblem(target, context));
        return QString();
    }
    return target;
}
