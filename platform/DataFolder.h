#pragma once
// Where the program keeps its data ("./modules/..."): beside the program when that folder can
// be written (a build folder, an unpacked archive), otherwise in a per-user copy under the XDG
// data folder, seeded from the factory files beside the program.
#include <QString>
#include <functional>

class DataFolder {
public:
    // "$XDG_DATA_HOME/w3config", or "~/.local/share/w3config" when XDG_DATA_HOME is unset.
    static QString userFolder();

    // True when a file can be created in the folder's modules/setting.
    static bool isWritable(const QString &folder);

    // Brings the per-user modules/ up to date with the factory one: files that are new in the
    // factory are added, files the user never changed follow a newer factory version, and
    // nothing the user changed or deleted is touched. A manifest in the user's modules/
    // remembers which factory version each file came from. Returns false with `error` set
    // when a file cannot be written.
    static bool syncFactoryFiles(const QString &factoryModules, const QString &userModules,
                                 QString *error);

    // The folder to work in, for a program living in `programFolder`. Falls back to the
    // program folder (with a warning) when the per-user folder cannot be prepared.
    static QString choose(const QString &programFolder,
                          const std::function<bool(const QString &)> &writable = isWritable);

    static constexpr const char *kManifestName = ".factory-files";
};
