#include "platform/KWinScriptActiveApplication.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>

namespace {

const char *const kKWinService = "org.kde.KWin";
const char *const kScriptingPath = "/Scripting";
const char *const kScriptingInterface = "org.kde.kwin.Scripting";
const char *const kScriptInterface = "org.kde.kwin.Script";
// How long the end of the program waits for KWin to unload the script.
constexpr int kUnloadLimitMs = 2000;

QDBusMessage scriptingCall(const char *method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(kKWinService), QString::fromLatin1(kScriptingPath),
                                                          QString::fromLatin1(kScriptingInterface), QString::fromLatin1(method));
    message.setArguments(arguments);
    return message;
}

// Plasma 5.27 and 6 publish a loaded script under /Scripting/Script<id>; older KWin under /<id>.
QString scriptObjectPath(int id)
{
    return QStringLiteral("/Scripting/Script%1").arg(id);
}

QString olderScriptObjectPath(int id)
{
    return QStringLiteral("/%1").arg(id);
}

}  // namespace

KWinScriptActiveApplication::KWinScriptActiveApplication(const QDBusConnection &connection, const QString &path, QObject *parent)
    : BusActiveApplication(connection, parent)
    , scriptPath(path)
{
    if (!isAvailable())
        return;
    auto *watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(scriptingCall("unloadScript", {QString::fromLatin1(kPluginName)})), this);
    // Whether a stale script was there or not, ours is loaded next.
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        loadScript();
    });
}

KWinScriptActiveApplication::~KWinScriptActiveApplication()
{
    // The script may be loaded even when KWin's answer has not come yet. The program ends
    // right after this, so the call waits for KWin (briefly) to be sure it left the process.
    if (!loadRequested)
        return;
    const QDBusMessage reply =
        bus.call(scriptingCall("unloadScript", {QString::fromLatin1(kPluginName)}), QDBus::BlockWithGui, kUnloadLimitMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qWarning() << "Application in front: KWin did not unload the script:" << reply.errorMessage();
}

QString KWinScriptActiveApplication::installedScriptPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/desktop-helpers/kwin/w3config-active-application.js");
}

void KWinScriptActiveApplication::loadScript()
{
    loadRequested = true;
    auto *watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(scriptingCall("loadScript", {scriptPath, QString::fromLatin1(kPluginName)})), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<int> reply = *call;
        if (reply.isError()) {
            emit scriptFailed(reply.error().message());
            return;
        }
        if (reply.value() < 0) {
            emit scriptFailed(QStringLiteral("KWin refused the script %1").arg(scriptPath));
            return;
        }
        scriptId = reply.value();
        runScript(scriptObjectPath(scriptId), true);
    });
}

void KWinScriptActiveApplication::runScript(const QString &objectPath, bool olderPathLeft)
{
    const QDBusMessage run = QDBusMessage::createMethodCall(QString::fromLatin1(kKWinService), objectPath,
                                                            QString::fromLatin1(kScriptInterface), QStringLiteral("run"));
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(run), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, olderPathLeft](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<> reply = *call;
        if (!reply.isError()) {
            emit scriptRunning();
            return;
        }
        if (olderPathLeft && reply.error().type() == QDBusError::UnknownObject) {
            runScript(olderScriptObjectPath(scriptId), false);
            return;
        }
        emit scriptFailed(reply.error().message());
    });
}
