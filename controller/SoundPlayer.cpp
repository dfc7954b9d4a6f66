#include "SoundPlayer.h"

#include <QDebug>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <phonon/Path>

namespace {
// Relative to the working directory, which is the program's own directory.
const char *const kSoundFiles[SoundPlayer::kPlayerCount] = {
    "./modules/media/00.mp3", "./modules/media/01.wav", "./modules/media/02.wav",
    "./modules/media/03.wav", "./modules/media/04.wav",
};
constexpr int kStartupCue = 1;
// The music starts over this long before its end, with a seek while it plays: letting it end
// and starting it again rebuilds the back end's pipeline, which keeps well over 100 kB each
// time (GStreamer). The music is silent at both ends, so the cut is not heard.
constexpr qint64 kMusicLoopMarginMs = 300;
// Position reports of the music, well inside the margin.
constexpr qint32 kMusicTickMs = 100;

// Resolved against the working directory at the time of the call.
Phonon::MediaSource soundSource(int player)
{
    const QString path = QString::fromLatin1(kSoundFiles[player]);
    return Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
} // namespace

SoundPlayer::SoundPlayer(QObject *playerParent) : QObject(playerParent), playerParent(playerParent)
{
}

void SoundPlayer::createPlayers()
{
    if (hasPlayers())
        return;
    for (int i = 0; i < kPlayerCount; ++i) {
        players[i] = new Phonon::MediaObject(playerParent);
        outputs[i] = new Phonon::AudioOutput(Phonon::MusicCategory, playerParent);
        // Without a path the player stays silent, like a player whose file is missing.
        if (!Phonon::createPath(players[i], outputs[i]).isValid())
            qWarning() << "Sound player" << i << "has no audio output";
    }
    players[kBackground]->setTickInterval(kMusicTickMs);
    connect(players[kBackground], &Phonon::MediaObject::tick, this,
            &SoundPlayer::startMusicOverNearItsEnd);
    // A music shorter than the margin, or a back end that does not report positions.
    connect(players[kBackground], &Phonon::MediaObject::finished, this,
            &SoundPlayer::playMedia_Background);
    connect(players[kStartupCue], &Phonon::MediaObject::finished, this,
            &SoundPlayer::playMedia_Background);

    const std::array<bool, kPlayerCount> due = startWhenReady;
    startWhenReady.fill(false);
    if (due[kBackground])
        playMedia_Background();
    for (int i = kBackground + 1; i < kPlayerCount; ++i) {
        if (due[i])
            playCue(i);
    }
    emit playersReady();
}

void SoundPlayer::createPlayersOnDemand()
{
    onDemand = true;
    if (std::find(startWhenReady.begin(), startWhenReady.end(), true) != startWhenReady.end())
        createPlayers();
}

Phonon::MediaObject *SoundPlayer::playerToStart(int index)
{
    if (onDemand)
        createPlayers();
    return players[index];
}

Phonon::MediaObject *SoundPlayer::player(int index) const
{
    if (index < 0 || index >= kPlayerCount)
        return nullptr;
    return players[index];
}

void SoundPlayer::setEnableAudio(bool isEnable)
{
    enableAudio = isEnable;
}

void SoundPlayer::playMedia_Index(uchar index)
{
    if (!enableAudio || index >= kPlayerCount)
        return;
    emit cueAsked(index);
    if (index == kBackground)
        playMedia_Background();
    else
        playCue(index);
}

void SoundPlayer::playCue(int index)
{
    Phonon::MediaObject *cue = playerToStart(index);
    if (!cue) {
        startWhenReady[index] = true;
        return;
    }
    cue->clear();
    cue->setCurrentSource(soundSource(index));
    cue->play();
}

void SoundPlayer::playMedia_Background()
{
    Phonon::MediaObject *music = playerToStart(kBackground);
    if (!music) {
        startWhenReady[kBackground] = true;
        return;
    }
    music->setCurrentSource(soundSource(kBackground));
    music->play();
}

void SoundPlayer::startMusicOverNearItsEnd()
{
    Phonon::MediaObject *music = players[kBackground];
    if (music->totalTime() > kMusicLoopMarginMs && music->remainingTime() < kMusicLoopMarginMs)
        music->seek(0);
}

void SoundPlayer::dropPlayers()
{
    onDemand = false;
    startWhenReady.fill(false);
    for (int i = 0; i < kPlayerCount; ++i) {
        delete players[i];
        delete outputs[i];
    }
    players.fill(nullptr);
    outputs.fill(nullptr);
}

void SoundPlayer::leavePlayersToProcessExit()
{
    onDemand = false;
    startWhenReady.fill(false);
    if (!hasPlayers())
        return;
    for (int i = 0; i < kPlayerCount; ++i) {
        players[i]->disconnect(this);
        players[i]->setParent(nullptr);
        outputs[i]->setParent(nullptr);
    }
    players.fill(nullptr);
    outputs.fill(nullptr);
}

void SoundPlayer::clearAllMedia()
{
    startWhenReady.fill(false);
    for (auto *player : players) {
        if (player)
            player->clear();
    }
    emit cleared();
}
