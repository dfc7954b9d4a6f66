#include "platform/DataFolder.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

using Manifest = QMap<QString, QByteArray>;  // relative path -> hash of the factory version

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

Manifest readManifest(const QString &path)
{
    Manifest manifest;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return manifest;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const int space = line.indexOf(' ');
        if (space > 0)
            manifest.insert(QString::fromUtf8(line.mid(space + 1)), line.left(space));
    }
    return manifest;
}

bool writeManifest(const QString &path, const Manifest &manifest)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (auto it = manifest.cbegin(); it != manifest.cend(); ++it)
        file.write(it.value() + ' ' + it.key().toUtf8() + '\n');
    return file.commit();
}

// Copies through a temporary file, so an interrupted copy never leaves half a file behind.
bool copyReplacing(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly) || !QDir().mkpath(QFileInfo(to).path()))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    target.write(source.readAll());
    return target.commit();
}

}  // namespace

QString DataFolder::userFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + "/.local/share";
    return base + "/w3config";
}

bool DataFolder::isWritable(const QString &folder)
{
    QTemporaryFile probe(folder + "/modules/setting/.write-probe-XXXXXX");
    return probe.open();
}

bool DataFolder::syncFactoryFiles(const QString &factoryModules, const QString &userModules,
                                  QString *error)
{
    const QString manifestPath = userModules + "/" + kManifestName;
    Manifest manifest = readManifest(manifestPath);
    bool changed = false;

    // Empty factory folders matter too: the program creates macros in "modules/macro".
    QDirIterator folders(factoryModules, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (folders.hasNext()) {
        const QString folder = userModules + folders.next().mid(factoryModules.size());
        if (!QDir().mkpath(folder)) {
            if (error)
                *error = QStringLiteral("Cannot create %1").arg(folder);
            return false;
        }
    }

    QDirIterator it(factoryModules, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString factoryFile = it.next();
        const QString relative = factoryFile.mid(factoryModules.size() + 1);
        const QString userFile = userModules + "/" + relative;
        const QByteArray factoryVersion = fileHash(factoryFile);
        const bool known = manifest.contains(relative);
        const bool present = QFileInfo::exists(userFile);

        if (present && !known) {
            // A file from before the manifest: remembered only when it is the factory's own,
            // so a file of unknown origin is never replaced.
            if (fileHash(userFile) == factoryVersion) {
                manifest.insert(relative, factoryVersion);
                changed = true;
            }
            continue;
        }
        // New in the factory: copy. Known but gone: the user deleted it. Known and present:
        // follow a newer factory version only while the user has not changed the file.
        const bool copy = present ? manifest.value(relative) != factoryVersion
                                        && fileHash(userFile) == manifest.value(relative)
                                  : !known;
        if (!copy)
            continue;
        if (!copyReplacing(factoryFile, userFile)) {
            if (error)
                *error = QStringLiteral("Cannot write %1").arg(userFile);
            writeManifest(manifestPath, manifest);
            return false;
        }
        manifest.insert(relative, factoryVersion);
        changed = true;
    }
    if (changed && !writeManifest(manifestPath, manifest)) {
        if (error)
            *error = QStringLiteral("Cannot write %1").arg(manifestPath);
        return false;
    }
    return true;
}

QString DataFolder::choose(const QString &programFolder,
                           const std::function<bool(const QString &)> &writable)
{
    if (writable(programFolder)) {
        qInfo().noquote() << "Data folder:" << programFolder;
        return programFolder;
    }
    const QString user = userFolder();
    QString error;
    if (!QDir().mkpath(user + "/modules")
        || !syncFactoryFiles(programFolder + "/modules", user + "/modules", &error)) {
        qWarning().noquote() << "Cannot prepare the per-user data folder" << user << error
                             << "- working in" << programFolder << "where settings cannot be saved";
        return programFolder;
    }
    qInfo().noquote() << "Data folder:" << user;
    return user;
}
