#pragma once
// A w3ctl working alone beside this program (an older build, or one this program did not
// answer in time) leaves a mark when it changed the mouse and the profile files. Seen before a
// job at the mouse or a bus answer, the program forgets what it believed the mouse holds and
// reads the profiles again, so that it never answers with what the files held before.
#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>

class Controllers;
class PageActions;

class ElsewhereChanges : public QObject {
    Q_OBJECT
public:
    ElsewhereChanges(Controllers &controllers, PageActions &actions, QObject *parent = nullptr);

    // Catches up when the mark is new; false when there was nothing to catch up with. It may
    // read the mouse: called in a job's turn at the mouse.
    bool catchUp();

signals:
    // The mark may have changed: a turn at the mouse to catch up is due.
    void markMayHaveChanged();

private:
    void watchMark();
    void readProfilesAgain();

    Controllers &controllers;
    PageActions &actions;
    QByteArray seenMark;
    QFileSystemWatcher watcher;
};
