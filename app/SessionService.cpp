#include "app/SessionService.h"

#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "scenelogic/Rgb.h"
#include "w3config1adaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>

const QString SessionService::kServiceName = QStringLiteral("org.w3config.W3Config1");
const QString SessionService::kObjectPath = QStringLiteral("/org/w3config/W3Config1");
const QString SessionService::kPendingError = QStringLiteral("org.w3config.W3Config1.Error.Pending");
const QString SessionService::kNoDeviceError = QStringLiteral("org.w3config.W3Config1.Error.NoDevice");
const QString SessionService::kBusyError = QStringLiteral("org.w3config.W3Config1.Error.Busy");

namespace {
// A running instance busy with a transfer still answers within this time.
constexpr int kHandOverTimeoutMs = 10000;
// How long a method waits for its turn at the mouse: well within the 25 s a bus client waits
// for its reply by default, so that no call its caller took for failed runs afterwards.
constexpr int kTurnWaitMs = 10000;

const char *const kNoMouse = "no W3 mouse is connected";
const char *const kWindowHoldsChanges
    = "the window holds changes that have not reached the mouse; apply or discard them first";
}

SessionService::Claim SessionService::claimName()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    const auto reply = bus.interface()->registerService(kServiceName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::NoBus;
    return reply.value() == QDBusConnectionInterface::ServiceRegistered ? Claim::Owned : Claim::HeldElsewhere;
}

bool SessionService::openRunningWindow()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, "OpenWindow");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

SessionService::SessionService(Widget &shell)
    : shell(shell)
    , actions(shell.view()->actions())
    , queue(shell.device())
    , elsewhere(shell.view()->controllerSet(), actions)
    , commands(shell, queue)
{
    // What a w3ctl working alone changed is read again before any job and as soon as it is seen.
    queue.setBeforeEachJob([this] { elsewhere.catchUp(); });
    // One turn to catch up is enough however often the folder changes before it comes.
    connect(&elsewhere, &ElsewhereChanges::markMayHaveChanged, this, [this] {
        if (catchUpAsked)
            return;
        catchUpAsked = true;
        queue.push({QString(), MouseQueue::kNoLimit, [this] {
                        catchUpAsked = false;
                        announceChanges();
                    },
                    {}});
    });
    qDBusRegisterMetaType<QList<int>>();
    new W3Config1Adaptor(this);
    new CommandsAdaptor(this);
    connect(&commands, &CommandService::commandRan, this, &SessionService::announceChanges);
    told = snapshot();
    connect(&shell, &Widget::deviceChecked, this, &SessionService::onDeviceChecked);
    connect(&shell, &Widget::windowShownChanged, this, &SessionService::announceChanges);
    connect(actions.profiles.get(), &ProfileActions::profileSelected, this, &SessionService::announceChanges);
    for (auto signal : {&SensorActions::stagesChanged, &SensorActions::currentStageChanged})
        connect(actions.sensor.get(), signal, this, &SessionService::announceChanges);
    for (auto signal : {&LightingActions::effectChanged, &LightingActions::paletteChanged})
        connect(actions.lighting.get(), signal, this, &SessionService::announceChanges);
}

// Without a window nothing else starts the page actions: the service reads what the mouse and
// the profile hold as the window's start-up would.
void SessionService::onDeviceChecked()
{
    // Found again, or another mouse: what it holds is known only from what is sent from now on.
    actions.profiles->forgetWhatMouseHolds();
    firmwareVersion = deviceReady ? shell.view()->ui_80H_GetFWVersion() : QString();
    if (deviceReady && !shell.view()->rootObject()) {
        actions.keys->start();
        actions.lighting->start();
        actions.sensor->start();
    }
    announceChanges();
}

SessionService::Snapshot SessionService::snapshot() const
{
    return {connected(), product(), firmware(), profile(), dpiStage(), dpiStages(), light(), windowShown()};
}

void SessionService::announceChanges()
{
    const Snapshot now = snapshot();
    QVariantMap changed;
    const auto note = [&changed](const char *name, const auto &before, const auto &after) {
        if (before != after)
            changed.insert(name, QVariant::fromValue(after));
    };
    note("Connected", told.connected, now.connected);
    note("Product", told.product, now.product);
    note("Firmware", told.firmware, now.firmware);
    note("Profile", told.profile, now.profile);
    note("DpiStage", told.dpiStage, now.dpiStage);
    note("DpiStages", told.dpiStages, now.dpiStages);
    note("Light", told.light, now.light);
    note("WindowShown", told.windowShown, now.windowShown);
    told = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << kServiceName << changed << QStringList();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (!toldNoBus)
            qInfo() << "No session bus: changes of the mouse are not announced";
        toldNoBus = true;
        return;
    }
    if (!bus.send(signal))
        qWarning() << "The session bus did not take the change of" << changed.keys();
}

bool SessionService::publish()
{
    return QDBusConnection::sessionBus().registerObject(kObjectPath, this);
}

bool SessionService::connected() const
{
    return deviceReady;
}

QString SessionService::product() const
{
    return deviceReady ? shell.device().deviceEntries().value(int(shell.device().currentDeviceId())).name : QString();
}

int SessionService::profile() const
{
    return actions.profiles->current() + 1;
}

int SessionService::dpiStage() const
{
    return actions.sensor->currentStage() + 1;
}

QList<int> SessionService::dpiStages() const
{
    return actions.sensor->stageValues();
}

QVariantMap SessionService::light() const
{
    const LightingActions &lighting = *actions.lighting;
    QStringList colors;
    const QVariantList palette = lighting.palette();
    for (int i = 0; i + 2 < palette.size(); i += 3)
        colors << Rgb{palette[i].toInt(), palette[i + 1].toInt(), palette[i + 2].toInt()}.name();
    return {{"effect", lighting.effectPosition()},
            {"brightness", lighting.brightnessStep()},
            {"speed", lighting.speedStep()},
            {"on", lighting.powerOn()},
            {"colors", colors}};
}

bool SessionService::windowShown() const
{
    return shell.isVisible();
}

bool SessionService::holdsPendingChanges() const
{
    return actions.pending();
}

void SessionService::OpenWindow()
{
    shell.openWindow();
}

bool SessionService::refuse(const QString &error, const QString &message)
{
    if (calledFromDBus())
        sendErrorReply(error, message);
    else
        qInfo().noquote() << "Refused:" << message;
    return false;
}

bool SessionService::isProfile(int profile)
{
    if (profile >= 1 && profile <= 10)
        return true;
    return refuse(QDBusError::errorString(QDBusError::InvalidArgs),
        QString("there is no profile %1; profiles are 1-10").arg(profile));
}

void SessionService::inTurn(Work work)
{
    MouseQueue::Job job;
    job.waitMs = kTurnWaitMs;
    if (!calledFromDBus()) {
        job.run = [work] {
            if (const std::optional<Refusal> refusal = work())
                qInfo().noquote() << "Refused:" << refusal->message;
        };
        queue.push(std::move(job));
        return;
    }
    setDelayedReply(true);
    const QDBusMessage call = message();
    job.caller = call.service();
    job.run = [this, work, call] { answer(call, work()); };
    job.gaveUp = [this, call] {
        answer(
            call, Refusal {kBusyError, QString("the mouse stayed busy for %1 s; try again").arg(kTurnWaitMs / 1000)});
    };
    queue.push(std::move(job));
}

void SessionService::answer(const QDBusMessage &call, const std::optional<Refusal> &refusal)
{
    const QDBusMessage reply = refusal ? call.createErrorReply(refusal->error, refusal->message) : call.createReply();
    QDBusConnection::sessionBus().send(reply);
}

void SessionService::SwitchProfile(int profile)
{
    if (!isProfile(profile))
        return;
    inTurn([this, profile]() -> std::optional<Refusal> {
        if (holdsPendingChanges())
            return Refusal {kPendingError, kWindowHoldsChanges};
        actions.profiles->select(profile - 1);
        return std::nullopt;
    });
}

void SessionService::ApplyProfile(int profile)
{
    if (!isProfile(profile))
        return;
    inTurn([this, profile]() -> std::optional<Refusal> {
        if (holdsPendingChanges())
            return Refusal {kPendingError, kWindowHoldsChanges};
        if (!deviceReady)
            return Refusal {kNoDeviceError, kNoMouse};
        actions.profiles->switchTo(profile - 1);
        return std::nullopt;
    });
}

void SessionService::SetDpiStage(int stage)
{
    inTurn([this, stage]() -> std::optional<Refusal> {
        if (!deviceReady)
            return Refusal {kNoDeviceError, kNoMouse};
        if (!actions.sensor->switchStage(stage - 1))
            return Refusal {QDBusError::errorString(QDBusError::InvalidArgs),
                QString("stage %1 is not in use; the stages in use have a DPI value").arg(stage)};
        return std::nullopt;
    });
}

int SessionService::RunCommand(const QStringList &arguments, const QString &workingFolder, QString &, QString &)
{
    // The files the user names are resolved there: a relative or missing folder would put
    // them where the program happens to work.
    if (!QDir::isAbsolutePath(workingFolder) || !QFileInfo(workingFolder).isDir()) {
        refuse(QDBusError::errorString(QDBusError::InvalidArgs),
               QString("the working folder \"%1\" is not the absolute path of a folder").arg(workingFolder));
        return 0;
    }
    if (!calledFromDBus())
        return 0;
    setDelayedReply(true);
    commands.take(message(), arguments, QDir(workingFolder));
    return 0;
}
