#pragma once
// The interface sounds: background music on player 0 and four cues on players 1 to 4, each
// player with its own output so that different cues can sound at the same time.
#include <QObject>
#include <array>

namespace Phonon {
class AudioOutput;
class MediaObject;
}

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kPlayerCount = 5;
    static constexpr int kBackground = 0;

    // The players and their outputs become children of playerParent (the view), as does
    // this object. They are made by createPlayers(), not here: starting the sound back end
    // takes tens of milliseconds and over ten megabytes, which the view keeps off the way to
    // its first frame, and spends only once a sound is asked for.
    explicit SoundPlayer(QObject *playerParent);

    bool isEnableAudio() const { return enableAudio; }
    bool hasPlayers() const { return players[kBackground] != nullptr; }
    // Player 0..4 once the players exist; nullptr before that or for any other index.
    Phonon::MediaObject *player(int index) const;

    // Makes the five players (once) and starts every player that the slots started, and did
    // not clear again, while the players did not exist yet.
    void createPlayers();
    // From now on the players are made by the first sound asked for; at once if one is
    // waiting already.
    void createPlayersOnDemand();

signals:
    void playersReady();
    // A sound was asked for with audio enabled (0 the music, 1..4 a cue), whether or not the
    // players exist yet.
    void cueAsked(int index);
    // Every player was stopped and cleared.
    void cleared();

public slots:
    // Stores the flag that playMedia_Index() obeys; nothing else.
    void setEnableAudio(bool isEnable);
    // With audio enabled: 0 starts the background music, 1..4 restart that cue from its
    // beginning; other indexes do nothing.
    void playMedia_Index(uchar index);
    // Starts the background music whatever the flag says; also reached when the background
    // or the start-up cue ends, so the music follows the cue and loops.
    void playMedia_Background();
    // Stops every player and drops its source. Never starts the background music.
    void clearAllMedia();

public:
    // Deletes the players and their outputs, and the back end's threads with them, for a window
    // that closed while the program goes on. Until createPlayersOnDemand() again, sounds asked
    // for wait, as before the first window.
    void dropPlayers();
    // Gives the players and their outputs up to the end of the process, for a process about
    // to end: they stop being children of the view and are never torn down, because the back
    // end's teardown blocks for good when the audio server stalls. They play on to their end
    // unheeded: stopping them is a state change of the back end too.
    void leavePlayersToProcessExit();

private:
    void playCue(int index);
    void startMusicOverNearItsEnd();
    // The player, made on demand if that is allowed; nullptr while the players wait.
    Phonon::MediaObject *playerToStart(int index);

    QObject *const playerParent;
    std::array<Phonon::MediaObject *, kPlayerCount> players{};
    std::array<Phonon::AudioOutput *, kPlayerCount> outputs{};
    // Players started before they existed, to start as soon as they do.
    std::array<bool, kPlayerCount> startWhenReady{};
    bool onDemand = false;
    bool enableAudio = true;
};
