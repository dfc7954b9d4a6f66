#pragma once
// The application in front on KDE Plasma on Wayland: KWin runs a script of ours that calls the
// program back on each window activation (BusActiveApplication). The script is loaded over
// KWin's scripting interface when this starts and unloaded when it ends.
#include "platform/BusActiveApplication.h"

class KWinScriptActiveApplication : public BusActiveApplication {
    Q_OBJECT
public:
    // The name KWin knows the script by; a script of that name left by an earlier run that
    // ended abruptly is unloaded first.
    static constexpr const char *kPluginName = "w3config-active-application";

    // Loads `scriptPath` into KWin on `bus`; KWin answers later (loaded or failed).
    KWinScriptActiveApplication(const QDBusConnection &bus, const QString &scriptPath, QObject *parent = nullptr);
    ~KWinScriptActiveApplication() override;

    // The script in the program's run folder.
    static QString installedScriptPath();

signals:
    // KWin runs the script, or refused it (with why).
    void scriptRunning();
    void scriptFailed(const QString &reason);

private:
    void loadScript();
    void runScript(const QString &objectPath, bool olderPathLeft);

    const QString scriptPath;
    bool loadRequested = false;
    int scriptId = -1;
};
