#include "tests/support/SceneTestView.h"

#include "controller/AppConfig.h"
#include "controller/ProfileStore.h"
#include "controller/SoundPlayer.h"
#include "tests/support/ProvenDevice.h"
#include "virtual/VirtualBus.h"

#include <QDir>
#include <QEvent>
#include <QJSValue>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <cstring>

namespace {
constexpr const char *kLanguageFolder = "modules/i18n";
constexpr const char *kLanguageFilePrefix = "lang_";
constexpr const char *kFactoryAppConfig = "./modules/setting/apConfigD.bin";
constexpr const char *kFactoryProfile = "modules/setting/pD.bin";
constexpr int kIdleWaitMs = 10000;
// Led instruction type of the mouse's logo light: option1 0 means it takes colour ids only.
constexpr int kLogoLedType = 0;

QVariantList numbers(const std::uint8_t *bytes, std::size_t count)
{
    QVariantList list;
    for (std::size_t i = 0; i < count; ++i)
        list.append(int(bytes[i]));
    return list;
}

// A list from a test arrives as a script value: stored as the list it holds.
void storeEntry(QSettings &settings, const QString &key, const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QJSValue>())
        settings.setValue(key, value.value<QJSValue>().toVariant());
    else if (value.isValid())
        settings.setValue(key, value);
    else
        settings.remove(key);
}
}  // namespace

SceneTestProbe::SceneTestProbe(myQQuickView &view, QWidget &shell, ModulesSandbox &modules,
                               RecordingPrompts &prompts, Hid_Thread &hid)
    : view(view), shell(shell), modules(modules), prompts(prompts), hid(hid)
{
    connect(&view.sounds(), &SoundPlayer::cueAsked, this, [this](int index) {
        cueList.append(index);
        emit changed();
    });
    connect(&view.sounds(), &SoundPlayer::cleared, this, [this] {
        ++clearCount;
        emit changed();
    });
    shell.installEventFilter(this);
}

void SceneTestProbe::setCues(const QVariantList &list)
{
    cueList = list;
    emit changed();
}

void SceneTestProbe::setConfirmAnswer(bool answer)
{
    prompts.confirmAnswer = answer;
    emit changed();
}

int SceneTestProbe::currentProfile() const { return view.profiles().currentProfile(); }

bool SceneTestProbe::audio() const { return view.sounds().isEnableAudio(); }

void SceneTestProbe::setOpenFileAnswer(const QString &path)
{
    prompts.openAnswer = path;
    emit changed();
}

void SceneTestProbe::setSaveFileAnswer(const QString &path)
{
    prompts.saveAnswer = path;
    emit changed();
}

void SceneTestProbe::writeAppConfig(const QVariantList &items)
{
    view.appConfig().saveApConfig(items);
}

QStringList SceneTestProbe::storedAppConfig() const
{
    QStringList items;
    for (const QVariant &item : view.appConfig().loadApConfig())
        items.append(item.toString());
    return items;
}

QStringList SceneTestProbe::factoryAppConfig() const
{
    QStringList items;
    for (const QVariant &item : AppConfig(kFactoryAppConfig, kFactoryAppConfig).loadApConfig())
        items.append(item.toString());
    return items;
}

void SceneTestProbe::keepLanguages(const QStringList &codes)
{
    QDir folder(modules.path(kLanguageFolder));
    for (const QString &file : folder.entryList({"*.ini"}, QDir::Files)) {
        const QString code = QFileInfo(file).completeBaseName().mid(int(strlen(kLanguageFilePrefix)));
        if (!codes.contains(code))
            folder.remove(file);
    }
}

QString SceneTestProbe::readFile(const QString &relative) const
{
    QFile file(modules.path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool SceneTestProbe::writeFile(const QString &relative, const QString &text)
{
    QFile file(modules.path(relative));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

bool SceneTestProbe::copyFile(const QString &from, const QString &to)
{
    QFile::remove(modules.path(to));
    return QFile::copy(modules.path(from), modules.path(to));
}

bool SceneTestProbe::move(const QString &from, const QString &to)
{
    return QDir().rename(modules.path(from), modules.path(to));
}

QVariantList SceneTestProbe::sentCommands() const
{
    hid.waitUntilIdle(kIdleWaitMs);
    QVariantList blocks;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op != vhid::Op::SendFeature || record.model != vhid::Model::Mouse || record.plainBlock.empty())
            continue;
        QVariantList block;
        for (std::uint8_t byte : record.plainBlock)
            block.append(int(byte));
        blocks.append(QVariant(block));
    }
    return blocks;
}

QVariantList SceneTestProbe::sentData(int command) const
{
    hid.waitUntilIdle(kIdleWaitMs);
    QVariantList bytes;
    bool following = false;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.model != vhid::Model::Mouse || record.iface != vhid::Interface::Command)
            continue;
        if (record.op == vhid::Op::SendFeature) {
            following = !record.plainBlock.empty() && record.plainBlock[0] == command;
            if (following)
                bytes.clear();
        } else if (record.op == vhid::Op::Write && following) {
            // The first byte of a report is its ID.
            for (size_t i = 1; i < record.bytes.size(); ++i)
                bytes.append(int(record.bytes[i]));
        }
    }
    return bytes;
}

void SceneTestProbe::clearWire()
{
    hid.waitUntilIdle(kIdleWaitMs);
    vhid::Bus::instance().clearRecords();
}

QVariantList SceneTestProbe::sentTransfers(int code) const
{
    hid.waitUntilIdle(kIdleWaitMs);
    QVariantList transfers;
    QVariantList data;
    bool collecting = false;
    const auto finish = [&] {
        if (collecting)
            transfers.last() = QVariantMap{{"block", transfers.last().toMap().value("block")}, {"data", data}};
    };
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.model != vhid::Model::Mouse || record.iface != vhid::Interface::Command)
            continue;
        if (record.op == vhid::Op::SendFeature) {
            finish();
            collecting = !record.plainBlock.empty() && record.plainBlock[0] == code;
            data.clear();
            if (collecting)
                transfers.append(QVariantMap{{"block", numbers(record.plainBlock.data(), record.plainBlock.size())}});
        } else if (record.op == vhid::Op::Write && collecting && !record.bytes.empty()) {
            // The report ID is not data.
            data += numbers(record.bytes.data() + 1, record.bytes.size() - 1);
        }
    }
    finish();
    return transfers;
}

void SceneTestProbe::storeInProfile(const QString &key, const QVariant &value)
{
    storeEntry(view.profiles().current(), key, value);
}

QVariant SceneTestProbe::storedInProfile(const QString &key) const
{
    return view.profiles().current().value(key);
}

void SceneTestProbe::clearProfile() { view.profiles().current().clear(); }

void SceneTestProbe::storeFactoryValue(const QString &key, const QVariant &value)
{
    QSettings factory(modules.path(kFactoryProfile), QSettings::IniFormat);
    storeEntry(factory, key, value);
}

void SceneTestProbe::setMouseSensor(int sensorType, int stageCount, bool fixedColorsOnly)
{
    hid.waitUntilIdle(kIdleWaitMs);
    vhid::Bus::instance().withMouse([&](vhid::MouseMemory &mouse) {
        mouse.sensorType = std::uint8_t(sensorType);
        mouse.dpiMaxStage = std::uint8_t(stageCount);
        mouse.ledInstruct[kLogoLedType] = {std::uint8_t(fixedColorsOnly ? 0 : 1), 0, 0};
    });
}

void SceneTestProbe::clearRecords()
{
    clearWire();
    cueList.clear();
    prompts.dialogs.clear();
    prompts.startPaths.clear();
    prompts.warnings.clear();
    prompts.confirmations.clear();
    emit changed();
}

bool SceneTestProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &shell && event->type() == QEvent::Close) {
        ++closeCount;
        emit changed();
    } else if (watched == &shell && event->type() == QEvent::Move) {
        emit changed();
    }
    return QObject::eventFilter(watched, event);
}

SceneTestRig::SceneTestRig()
{
    // The desktop's settings (the autostart entry) go to the sandbox, never to the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(modules.path("config")));
    testsupport::plugProvenDevice(hid);

    viewObject = std::make_unique<myQQuickView>(&shell);
    viewObject->setHidThread(&hid);
    controler.attach(&shell, viewObject.get());
    probeObject = std::make_unique<SceneTestProbe>(*viewObject, shell, modules, prompts, hid);
}

SceneTestRig::~SceneTestRig()
{
    hid.waitUntilIdle(kIdleWaitMs);
    probeObject.reset();
    viewObject.reset();
}

void SceneTestRig::publish(QQmlEngine &engine)
{
    QQmlContext *context = engine.rootContext();
    context->setContextProperty("ui_View", viewObject.get());
    context->setContextProperty("ui_Ctl", &controler);
    context->setContextProperty("sceneTest", probeObject.get());
}

void SceneTestSetup::qmlEngineAvailable(QQmlEngine *engine)
{
    if (!rig)
        rig = std::make_unique<SceneTestRig>();
    rig->publish(*engine);
}

void SceneTestSetup::cleanupTestCase() { rig.reset(); }
