#pragma once
// A private copy of the run folder's modules/ as the working directory, so a test can let the
// program read and write "./modules/..." without touching the shipped files.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

class ModulesSandbox {
public:
    ModulesSandbox() : previous(QDir::currentPath())
    {
        const QString source = QCoreApplication::applicationDirPath() + "/modules";
        QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = dir.path() + "/modules" + file.mid(source.size());
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
        QDir().mkpath(dir.path() + "/modules/macro");
        QDir::setCurrent(dir.path());
    }
    ~ModulesSandbox() { QDir::setCurrent(previous); }

    QString path(const QString &relative) const { return dir.path() + "/" + relative; }

private:
    QString previous;
    QTemporaryDir dir;
};
