#include "TrayIcon.h"

#include "AppIcon.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>

namespace {

// The name the packaging installs the application icon under; the drawn icon stands in where
// the program runs uninstalled.
const char *const kIconName = "org.w3config.w3config";

QString profileName(int profile)
{
    return QStringLiteral("P%1").arg(profile, 2, 10, QLatin1Char('0'));
}

}  // namespace

QIcon TrayIcon::applicationIcon()
{
    return QIcon::fromTheme(QString::fromLatin1(kIconName), appicon::icon());
}

TrayIcon::TrayIcon(QObject *parent) : QObject(parent)
{
    buildMenu();
    icon.setIcon(applicationIcon());
    icon.setToolTip(QStringLiteral("W3 Config"));
    icon.setContextMenu(&menu);
    connect(&icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

bool TrayIcon::available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::show()
{
    icon.show();
}

void TrayIcon::hide()
{
    icon.hide();
}

bool TrayIcon::isVisible() const
{
    return icon.isVisible();
}

void TrayIcon::buildMenu()
{
    profileGroup = new QActionGroup(&menu);
    // Exclusive, yet with no entry checked while the mouse's profile is not known.
    profileGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        QAction *entry = menu.addAction(profileName(profile));
        entry->setCheckable(true);
        entry->setEnabled(connected);
        profileGroup->addAction(entry);
        profileEntries.append(entry);
        connect(entry, &QAction::triggered, this, [this, profile] {
            // The mark stays on the mouse's profile until the caller reports the switch.
            checkProfile(this->profile);
            // A tray host may still send clicks on an entry it shows disabled.
            if (this->connected)
                emit profileChosen(profile);
        });
    }
    menu.addSeparator();
    stageGroup = new QActionGroup(&menu);
    stageGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    stagesEnd = menu.addSeparator();
    stagesEnd->setVisible(false);
    openEntry = menu.addAction(texts.open);
    connect(openEntry, &QAction::triggered, this, &TrayIcon::openRequested);
    quitEntry = menu.addAction(texts.quit);
    connect(quitEntry, &QAction::triggered, this, &TrayIcon::quitRequested);
}

void TrayIcon::setTexts(const TrayIcon::Texts &texts)
{
    this->texts = texts;
    openEntry->setText(texts.open);
    quitEntry->setText(texts.quit);
    for (QAction *entry : qAsConst(stageEntries))
        entry->setText(texts.stage.arg(stageValues.value(entry->data().toInt() - 1)));
}

void TrayIcon::setProfile(int profile)
{
    this->profile = (profile >= 1 && profile <= kProfileCount) ? profile : 0;
    checkProfile(this->profile);
}

void TrayIcon::checkProfile(int profile)
{
    for (int i = 0; i < profileEntries.size(); ++i)
        profileEntries[i]->setChecked(i + 1 == profile);
}

void TrayIcon::setStages(const QList<int> &values, int stageInUse)
{
    clearStages();
    stageValues = values;
    for (int i = 0; i < values.size(); ++i) {
        if (values[i] <= 0)
            continue;
        const int stage = i + 1;
        auto *entry = new QAction(texts.stage.arg(values[i]), &menu);
        entry->setCheckable(true);
        entry->setEnabled(connected);
        entry->setData(stage);
        stageGroup->addAction(entry);
        menu.insertAction(stagesEnd, entry);
        stageEntries.append(entry);
        connect(entry, &QAction::triggered, this, [this, stage] {
            checkStage(this->stageInUse);
            if (this->connected)
                emit stageChosen(stage);
        });
    }
    stagesEnd->setVisible(!stageEntries.isEmpty());
    this->stageInUse = stageInUse;
    checkStage(stageInUse);
}

void TrayIcon::checkStage(int stage)
{
    for (QAction *entry : qAsConst(stageEntries))
        entry->setChecked(entry->data().toInt() == stage);
}

void TrayIcon::clearStages()
{
    for (QAction *entry : qAsConst(stageEntries)) {
        menu.removeAction(entry);
        delete entry;
    }
    stageEntries.clear();
}

void TrayIcon::setConnected(bool connected)
{
    this->connected = connected;
    for (QAction *entry : qAsConst(profileEntries))
        entry->setEnabled(connected);
    for (QAction *entry : qAsConst(stageEntries))
        entry->setEnabled(connected);
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        emit openRequested();
}
