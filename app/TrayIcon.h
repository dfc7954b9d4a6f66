#pragma once
// The program's icon in the desktop's tray and its menu: the ten profiles of the mouse, the DPI
// stages of the profile in use, opening the window and quitting. It only shows what it is told
// and says what the user chose: the caller switches the mouse and reports the outcome back, so
// a check mark never claims a profile or stage the mouse did not take.
#include <QList>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QActionGroup;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kProfileCount = 10;

    // The menu's words in the user's language; "%1" of `stage` is the stage's DPI value.
    struct Texts {
        QString open = QStringLiteral("Open W3 Config");
        QString quit = QStringLiteral("Quit");
        QString stage = QStringLiteral("%1 DPI");
    };

    explicit TrayIcon(QObject *parent = nullptr);

    // Whether the desktop shows tray icons at all (a StatusNotifier host or an XEmbed tray).
    static bool available();
    // The installed theme icon, or the drawn one at every size of a tray and a window list.
    static QIcon applicationIcon();

    void show();
    void hide();
    bool isVisible() const;

public slots:
    // The profile the mouse holds, 1..kProfileCount; anything else checks none.
    void setProfile(int profile);
    // The stage values of the profile in use in stage order, 0 for an unused stage, and the
    // stage in use counted from 1. An empty list hides the stages (not known yet).
    void setStages(const QList<int> &values, int stageInUse);
    // Without the mouse the profile and stage entries are shown but cannot be chosen.
    void setConnected(bool connected);
    void setTexts(const TrayIcon::Texts &texts);

signals:
    void profileChosen(int profile);
    void stageChosen(int stage);
    void openRequested();
    void quitRequested();

private:
    void buildMenu();
    void checkProfile(int profile);
    void checkStage(int stage);
    void clearStages();
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QMenu menu;
    QSystemTrayIcon icon;
    QActionGroup *profileGroup = nullptr;
    QActionGroup *stageGroup = nullptr;
    QList<QAction *> profileEntries;
    QList<QAction *> stageEntries;  // one per used stage; the stage number is the action's data
    QAction *stagesEnd = nullptr;   // the separator after the stages
    QAction *openEntry = nullptr;
    QAction *quitEntry = nullptr;
    Texts texts;
    QList<int> stageValues;
    int profile = 0;
    int stageInUse = 0;
    bool connected = false;
};
