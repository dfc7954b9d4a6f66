// The interface sound players: which file each player holds after each slot, the audio flag,
// when the background music starts (and when it must not), and the cues asked for before the
// players exist, alone and in the view, which makes its players after its first frame and only
// once a sound is asked for.
#include "controller/SoundPlayer.h"
#include "controller/myQQuickView.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>
#include <phonon/Path>

#include <memory>

namespace {
const char *const kFiles[SoundPlayer::kPlayerCount] = {"00.mp3", "01.wav", "02.wav", "03.wav",
                                                       "04.wav"};
// Long enough for queued back-end signals to arrive, short of any cue's natural end.
constexpr int kSettleMs = 150;
// Generous bound for a cue of about a second to play to its end on the real back end.
constexpr int kCueEndTimeoutMs = 15000;
// The first bytes of the music: an MP3 cut between frames still plays, for about 2.5 s.
constexpr int kShortMusicBytes = 16000;
// Often enough to see the music's position go back.
constexpr int kPositionWatchMs = 20;
} // namespace

class TestSoundPlayer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void playersAreChildrenOfTheViewWithMusicOutputs();
    void cueIndexLoadsItsOwnFileOnly_data();
    void cueIndexLoadsItsOwnFileOnly();
    void cueStartsOverOnRepeat();
    void indexOutOfRangeDoesNothing_data();
    void indexOutOfRangeDoesNothing();
    void disabledAudioIgnoresEveryIndex_data();
    void disabledAudioIgnoresEveryIndex();
    void directBackgroundPlaysEvenWhenDisabled();
    void clearAllMediaDropsEverySource();
    void clearingDuringStartupCueNeverStartsBackground();
    void endOfPlayerStartsBackground_data();
    void endOfPlayerStartsBackground();
    void startupCueRunningOutLeadsIntoBackground();
    void missingFilesStaySilent();
    void musicStartsOverWithoutReloading();
    void playersLeftToProcessExitOutliveTheView();

    void noPlayersBeforeTheyAreMade();
    void requestsBeforePlayersExistPlayWhenReady_data();
    void requestsBeforePlayersExistPlayWhenReady();
    void earlyStartupCueStillLeadsIntoBackground();
    void makingPlayersTwiceKeepsThem();
    void playersOnDemandComeWithTheFirstSound();
    void viewMakesPlayersAfterItsFirstFrame();
    void viewWaitsForItsSceneToShow();
    void viewWithSoundOffMakesNoPlayers();

private:
    // A fresh sound player whose players are not made yet.
    void startWithoutPlayers();
    // The absolute path of a shipped sound inside the temporary run folder.
    static QString soundPath(int player);
    QString sourceOf(int player) const;
    void verifySources(const QStringList &expected) const;

    QString originalDir;
    std::unique_ptr<QTemporaryDir> runDir;
    std::unique_ptr<QObject> view;
    SoundPlayer *sounds = nullptr;
};

void TestSoundPlayer::initTestCase()
{
    // The players use paths relative to the working directory: run inside a copy of the
    // shipped sounds.
    originalDir = QDir::currentPath();
    runDir = std::make_unique<QTemporaryDir>();
    QVERIFY(runDir->isValid());
    QVERIFY(QDir(runDir->path()).mkpath("modules/media"));
    for (const char *file : kFiles) {
        const QString from = originalDir + "/modules/media/" + file;
        QVERIFY2(QFile::copy(from, runDir->path() + "/modules/media/" + file), qPrintable(from));
    }
    QVERIFY(QDir::setCurrent(runDir->path()));
}

void TestSoundPlayer::cleanupTestCase()
{
    QDir::setCurrent(originalDir);
}

void TestSoundPlayer::init()
{
    startWithoutPlayers();
    sounds->createPlayers();
}

void TestSoundPlayer::startWithoutPlayers()
{
    view = std::make_unique<QObject>();
    sounds = new SoundPlayer(view.get());
}

void TestSoundPlayer::cleanup()
{
    view.reset();
    sounds = nullptr;
}

QString TestSoundPlayer::soundPath(int player)
{
    return QFileInfo(QStringLiteral("./modules/media/") + kFiles[player]).absoluteFilePath();
}

QString TestSoundPlayer::sourceOf(int player) const
{
    const Phonon::MediaSource source = sounds->player(player)->currentSource();
    return source.type() == Phonon::MediaSource::Empty ? QString() : source.fileName();
}

void TestSoundPlayer::verifySources(const QStringList &expected) const
{
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        QCOMPARE(sourceOf(i), expected.value(i));
}

void TestSoundPlayer::playersAreChildrenOfTheViewWithMusicOutputs()
{
    QVERIFY(sounds->isEnableAudio());
    QCOMPARE(sounds->player(-1), nullptr);
    QCOMPARE(sounds->player(SoundPlayer::kPlayerCount), nullptr);
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i) {
        Phonon::MediaObject *player = sounds->player(i);
        QVERIFY(player);
        QCOMPARE(player->parent(), view.get());
        const QList<Phonon::Path> paths = player->outputPaths();
        QCOMPARE(paths.size(), 1);
        auto *output = dynamic_cast<Phonon::AudioOutput *>(paths.first().sink());
        QVERIFY(output);
        QCOMPARE(output->category(), Phonon::MusicCategory);
        QCOMPARE(output->parent(), view.get());
    }
    verifySources({});
}

void TestSoundPlayer::cueIndexLoadsItsOwnFileOnly_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        QTest::addRow("index %d", i) << i;
}

void TestSoundPlayer::cueIndexLoadsItsOwnFileOnly()
{
    QFETCH(int, index);
    sounds->playMedia_Index(uchar(index));
    QStringList expected;
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        expected << (i == index ? soundPath(i) : QString());
    verifySources(expected);
}

void TestSoundPlayer::cueStartsOverOnRepeat()
{
    // A second click cuts the first: the same player holds the same file again, and
    // cues of other kinds keep theirs.
    sounds->playMedia_Index(2);
    sounds->playMedia_Index(4);
    sounds->playMedia_Index(2);
    verifySources({QString(), QString(), soundPath(2), QString(), soundPath(4)});
}

void TestSoundPlayer::indexOutOfRangeDoesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("5") << 5;
    QTest::newRow("255") << 255;
}

void TestSoundPlayer::indexOutOfRangeDoesNothing()
{
    QFETCH(int, index);
    sounds->playMedia_Index(uchar(index));
    QTest::qWait(kSettleMs);
    verifySources({});
}

void TestSoundPlayer::disabledAudioIgnoresEveryIndex_data()
{
    cueIndexLoadsItsOwnFileOnly_data();
}

void TestSoundPlayer::disabledAudioIgnoresEveryIndex()
{
    QFETCH(int, index);
    sounds->setEnableAudio(false);
    QVERIFY(!sounds->isEnableAudio());
    sounds->playMedia_Index(uchar(index));
    QTest::qWait(kSettleMs);
    verifySources({});
}

void TestSoundPlayer::directBackgroundPlaysEvenWhenDisabled()
{
    sounds->setEnableAudio(false);
    sounds->playMedia_Background();
    verifySources({soundPath(0)});
}

void TestSoundPlayer::clearAllMediaDropsEverySource()
{
    for (uchar i = 0; i < SoundPlayer::kPlayerCount; ++i)
        sounds->playMedia_Index(i);
    sounds->clearAllMedia();
    verifySources({});
    QTest::qWait(kSettleMs);
    verifySources({});
}

void TestSoundPlayer::clearingDuringStartupCueNeverStartsBackground()
{
    // Sound switched off while the start-up cue plays.
    sounds->playMedia_Index(1);
    QCOMPARE(sourceOf(1), soundPath(1));
    QTest::qWait(kSettleMs); // the back end is under way with the cue
    sounds->setEnableAudio(false);
    sounds->clearAllMedia();
    QTest::qWait(kSettleMs);
    verifySources({});
}

void TestSoundPlayer::endOfPlayerStartsBackground_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("startsBackground");
    QTest::newRow("background loops") << 0 << true;
    QTest::newRow("start-up cue leads in") << 1 << true;
    QTest::newRow("page cue") << 2 << false;
    QTest::newRow("web-link cue") << 3 << false;
    QTest::newRow("click") << 4 << false;
}

void TestSoundPlayer::endOfPlayerStartsBackground()
{
    QFETCH(int, index);
    QFETCH(bool, startsBackground);
    // The loop goes on even after sound was switched off and back on by the flag alone.
    sounds->setEnableAudio(false);
    QVERIFY(QMetaObject::invokeMethod(sounds->player(index), "finished"));
    QCOMPARE(sourceOf(0), startsBackground ? soundPath(0) : QString());
}

void TestSoundPlayer::startupCueRunningOutLeadsIntoBackground()
{
    // The real end of the start-up cue, not a simulated one.
    sounds->playMedia_Index(1);
    QTRY_COMPARE_WITH_TIMEOUT(sourceOf(0), soundPath(0), kCueEndTimeoutMs);
}

void TestSoundPlayer::missingFilesStaySilent()
{
    // Without the files the players neither complain nor end, so the background music
    // neither starts after the start-up cue nor restarts itself in a tight loop.
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    QVERIFY(QDir::setCurrent(empty.path()));
    QSignalSpy backgroundEnds(sounds->player(0), &Phonon::MediaObject::finished);
    QSignalSpy startupCueEnds(sounds->player(1), &Phonon::MediaObject::finished);
    sounds->playMedia_Index(1);
    QTest::qWait(kSettleMs);
    QCOMPARE(sourceOf(0), QString());
    sounds->playMedia_Background();
    QTest::qWait(kSettleMs);
    QVERIFY(QDir::setCurrent(runDir->path()));
    QCOMPARE(startupCueEnds.count(), 0);
    QCOMPARE(backgroundEnds.count(), 0);
}

// The music loops by seeking back while it plays: ending and starting it again rebuilds the
// back end's pipeline, which leaked memory every time.
void TestSoundPlayer::musicStartsOverWithoutReloading()
{
    QTemporaryDir shortRun;
    QVERIFY(QDir(shortRun.path()).mkpath("modules/media"));
    QFile music(soundPath(0));
    QVERIFY(music.open(QIODevice::ReadOnly));
    QFile shortMusic(shortRun.filePath("modules/media/00.mp3"));
    QVERIFY(shortMusic.open(QIODevice::WriteOnly));
    QCOMPARE(shortMusic.write(music.read(kShortMusicBytes)), qint64(kShortMusicBytes));
    shortMusic.close();
    QVERIFY(QDir::setCurrent(shortRun.path()));

    Phonon::MediaObject *player = sounds->player(0);
    sounds->playMedia_Background();
    QTRY_COMPARE_WITH_TIMEOUT(player->state(), Phonon::PlayingState, kCueEndTimeoutMs);
    QSignalSpy ends(player, &Phonon::MediaObject::finished);
    QSignalSpy sourceChanges(player, &Phonon::MediaObject::currentSourceChanged);
    int startsOver = 0;
    qint64 lastPosition = 0;
    QTimer positionWatch;
    connect(&positionWatch, &QTimer::timeout, [&] {
        startsOver += player->currentTime() < lastPosition ? 1 : 0;
        lastPosition = player->currentTime();
    });
    positionWatch.start(kPositionWatchMs);
    QTRY_VERIFY_WITH_TIMEOUT(startsOver >= 2, 4 * kCueEndTimeoutMs);
    QVERIFY(QDir::setCurrent(runDir->path()));
    QCOMPARE(ends.count(), 0);
    QCOMPARE(sourceChanges.count(), 0);
    QCOMPARE(player->state(), Phonon::PlayingState);
}

// Closing the program leaves the players alone: the view goes, they stay, never torn down.
void TestSoundPlayer::playersLeftToProcessExitOutliveTheView()
{
    sounds->playMedia_Index(1);
    QList<QPointer<QObject>> nodes;
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i) {
        nodes << sounds->player(i);
        nodes << dynamic_cast<QObject *>(sounds->player(i)->outputPaths().value(0).sink());
    }
    sounds->leavePlayersToProcessExit();
    QVERIFY(!sounds->hasPlayers());
    view.reset();
    for (const QPointer<QObject> &node : nodes) {
        QVERIFY(node);
        QCOMPARE(node->parent(), nullptr);
    }
    qDeleteAll(nodes);  // this test process ends normally
}

void TestSoundPlayer::noPlayersBeforeTheyAreMade()
{
    startWithoutPlayers();
    QVERIFY(!sounds->hasPlayers());
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        QCOMPARE(sounds->player(i), nullptr);
    QVERIFY(view->children() == QObjectList{sounds});
}

void TestSoundPlayer::requestsBeforePlayersExistPlayWhenReady_data()
{
    // Steps: a number is playMedia_Index(number); "background", "clear", "off" and "on" are
    // playMedia_Background(), clearAllMedia() and setEnableAudio(false / true).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("playing");
    QTest::newRow("start-up cue") << QStringList{"1"} << QList<int>{1};
    QTest::newRow("every cue") << QStringList{"4", "2", "3", "1"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("index 0 is the background") << QStringList{"0"} << QList<int>{0};
    QTest::newRow("same cue twice") << QStringList{"2", "2"} << QList<int>{2};
    QTest::newRow("out of range") << QStringList{"5", "255"} << QList<int>{};
    QTest::newRow("audio off ignores cues") << QStringList{"off", "1", "0"} << QList<int>{};
    QTest::newRow("direct background while off") << QStringList{"off", "background"} << QList<int>{0};
    QTest::newRow("switched off after the cue goes on") << QStringList{"1", "off"} << QList<int>{1};
    QTest::newRow("sound switched off") << QStringList{"1", "0", "off", "clear"} << QList<int>{};
    QTest::newRow("cue after clearing") << QStringList{"1", "clear", "4"} << QList<int>{4};
    QTest::newRow("sound switched back on") << QStringList{"off", "clear", "on", "0"} << QList<int>{0};
}

void TestSoundPlayer::requestsBeforePlayersExistPlayWhenReady()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, playing);
    startWithoutPlayers();
    for (const QString &step : steps) {
        if (step == "background")
            sounds->playMedia_Background();
        else if (step == "clear")
            sounds->clearAllMedia();
        else if (step == "off" || step == "on")
            sounds->setEnableAudio(step == "on");
        else
            sounds->playMedia_Index(uchar(step.toInt()));
    }
    QSignalSpy ready(sounds, &SoundPlayer::playersReady);
    sounds->createPlayers();
    QCOMPARE(ready.count(), 1);
    QStringList expected;
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        expected << (playing.contains(i) ? soundPath(i) : QString());
    verifySources(expected);
}

void TestSoundPlayer::earlyStartupCueStillLeadsIntoBackground()
{
    startWithoutPlayers();
    sounds->playMedia_Index(1);
    sounds->createPlayers();
    QTRY_COMPARE_WITH_TIMEOUT(sourceOf(0), soundPath(0), kCueEndTimeoutMs);
}

void TestSoundPlayer::makingPlayersTwiceKeepsThem()
{
    QSignalSpy ready(sounds, &SoundPlayer::playersReady);
    QList<Phonon::MediaObject *> before;
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        before << sounds->player(i);
    sounds->playMedia_Index(2);
    sounds->createPlayers();
    for (int i = 0; i < SoundPlayer::kPlayerCount; ++i)
        QCOMPARE(sounds->player(i), before.at(i));
    QCOMPARE(ready.count(), 0);
    verifySources({QString(), QString(), soundPath(2)});
}

void TestSoundPlayer::playersOnDemandComeWithTheFirstSound()
{
    startWithoutPlayers();
    QSignalSpy ready(sounds, &SoundPlayer::playersReady);
    sounds->createPlayersOnDemand();
    sounds->setEnableAudio(false);
    sounds->playMedia_Index(2);
    sounds->clearAllMedia();
    sounds->setEnableAudio(true);
    QVERIFY(!sounds->hasPlayers());

    sounds->playMedia_Index(3);
    QCOMPARE(ready.count(), 1);
    verifySources({QString(), QString(), QString(), soundPath(3)});

    // A closing program leaves its players for good: no sound makes new ones.
    sounds->leavePlayersToProcessExit();
    sounds->playMedia_Index(4);
    sounds->playMedia_Background();
    QVERIFY(!sounds->hasPlayers());
    QCOMPARE(ready.count(), 1);
}

void TestSoundPlayer::viewMakesPlayersAfterItsFirstFrame()
{
    // The scene's opening asks for the start-up cue before the view has drawn anything.
    myQQuickView quickView;
    quickView.resize(100, 60);
    SoundPlayer &viewSounds = quickView.sounds();
    viewSounds.playMedia_Index(1);
    QTest::qWait(kSettleMs);
    QVERIFY(!viewSounds.hasPlayers());

    bool rendered = false;
    bool playersBeforeFrame = false;
    connect(quickView.quickWindow(), &QQuickWindow::afterRendering, this, [&] {
        if (!rendered)
            playersBeforeFrame = viewSounds.hasPlayers();
        rendered = true;
    }, Qt::DirectConnection);
    quickView.show();
    QTRY_VERIFY_WITH_TIMEOUT(viewSounds.hasPlayers(), kCueEndTimeoutMs);
    QVERIFY(rendered);
    QVERIFY(!playersBeforeFrame);
    QCOMPARE(viewSounds.player(1)->currentSource().fileName(), soundPath(1));
    QCOMPARE(viewSounds.player(1)->parent(), &quickView);
}

void TestSoundPlayer::viewWaitsForItsSceneToShow()
{
    // The scene's root stays invisible until "run"; frames of the empty window come before.
    QTemporaryDir sceneDir;
    QVERIFY(sceneDir.isValid());
    QFile scene(sceneDir.filePath("hidden.qml"));
    QVERIFY(scene.open(QIODevice::WriteOnly));
    scene.write("import QtQuick 2.15\nRectangle { width: 100; height: 60; visible: false }\n");
    scene.close();
    myQQuickView quickView;
    quickView.setSource(QUrl::fromLocalFile(scene.fileName()));
    QVERIFY(quickView.rootObject());
    SoundPlayer &viewSounds = quickView.sounds();
    int frames = 0;
    connect(quickView.quickWindow(), &QQuickWindow::afterRendering, this, [&] { ++frames; },
            Qt::DirectConnection);
    quickView.show();
    QTRY_VERIFY_WITH_TIMEOUT(frames > 0, kCueEndTimeoutMs);
    QTest::qWait(kSettleMs);
    QVERIFY(!viewSounds.hasPlayers());

    viewSounds.playMedia_Index(1);
    quickView.rootObject()->setVisible(true);
    QTRY_VERIFY_WITH_TIMEOUT(viewSounds.hasPlayers(), kCueEndTimeoutMs);
    QCOMPARE(viewSounds.player(1)->currentSource().fileName(), soundPath(1));
}

void TestSoundPlayer::viewWithSoundOffMakesNoPlayers()
{
    // The settings keep the sound off: the opening's cue is ignored and the sound back end is
    // not started, until the sound is switched on and asked for.
    myQQuickView quickView;
    quickView.resize(100, 60);
    SoundPlayer &viewSounds = quickView.sounds();
    viewSounds.setEnableAudio(false);
    viewSounds.playMedia_Index(1);
    bool rendered = false;
    connect(quickView.quickWindow(), &QQuickWindow::afterRendering, this, [&] { rendered = true; },
            Qt::DirectConnection);
    quickView.show();
    QTRY_VERIFY_WITH_TIMEOUT(rendered, kCueEndTimeoutMs);
    QTest::qWait(kSettleMs);
    QVERIFY(!viewSounds.hasPlayers());

    viewSounds.setEnableAudio(true);
    viewSounds.playMedia_Index(0);
    QVERIFY(viewSounds.hasPlayers());
    QCOMPARE(viewSounds.player(0)->currentSource().fileName(), soundPath(0));
    QCOMPARE(viewSounds.player(0)->parent(), &quickView);
}

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
