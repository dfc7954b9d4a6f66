#pragma once
// What every fuzz target shares: the application object, a private working directory with the
// program's folder layout, a fresh file name per input (the settings store caches files by
// name, size and time), and prompts that answer without a window.
#include "controller/Prompts.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

class FuzzWorkspace {
public:
    static FuzzWorkspace &instance()
    {
        static FuzzWorkspace workspace;
        return workspace;
    }

    // A number that no input had before.
    unsigned next() { return ++counter; }

    // Writes `data` to the file `name` in `folder` (relative to the workspace); its path.
    static QString write(const QString &folder, const QString &name, const uint8_t *data,
                         size_t size)
    {
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
        return path;
    }

    class SilentPrompts : public Prompts {
    public:
        void warning(const QString &, const QString &) override {}
        bool confirm(const QString &, const QString &) override { return true; }
        QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
        {
            return openAnswer;
        }
        QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
        {
            return QString();
        }
        QString openAnswer;
    };
    SilentPrompts prompts;

private:
    FuzzWorkspace() : app(argc, argv)
    {
        if (!dir.isValid() || !QDir::setCurrent(dir.path()))
            std::abort();
        QDir().mkpath("modules/setting");
        QDir().mkpath("modules/macro");
        QDir().mkpath("modules/i18n");
        Prompts::install(&prompts);
    }

    int argc = 1;
    char name[16] = "fuzz";
    char *argv[2] = {name, nullptr};
    QCoreApplication app;
    // Memory-backed when the system has it: each input is a file written, synced and removed.
    QTemporaryDir dir{(QDir("/dev/shm").exists() ? QString("/dev/shm") : QDir::tempPath())
                      + "/w3-fuzz-XXXXXX"};
    unsigned counter = 0;
};
