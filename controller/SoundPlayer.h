#pragma once
// The interface sounds: background music on player 0 and four cues on players 1 to 4, each
// player with its own output so that different cues can sound at the same time.
#include <QObject>
#include <array>

namespace Phonon {
class MediaObject;
}

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kPlayerCount = 5;
    static constexpr int kBackground = 0;

    // The players and their outputs become children of playerParent (the view), as does
    // this object.
    explicit SoundPlayer(QObject *playerParent);

    bool isEnableAudio() const { return enableAudio; }
    // Player 0..4, or nullptr for any other index.
    Phonon::MediaObject *player(int index) const;

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

private:
    std::array<Phonon::MediaObject *, kPlayerCount> players{};
    bool enableAudio = true;
};
