// Memory of the looping background music: the sound player loops the music as the idle window
// does, and the process's anonymous memory (RssAnon) is printed as it goes. Goal: no growth
// with the number of times the music started over. Never fails.
//   bench_music_loop [--minutes M] [--every SECONDS] [--music FILE]
// 15 minutes by default. A short clip as the music (--music; the shipped MP3 cut between
// frames, `head -c 40000 00.mp3 > short.mp3`, plays for about 6 s) starts it over many times
// in a short run.
#include "controller/SoundPlayer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <phonon/MediaObject>

#include <cstdio>

namespace {

constexpr int kMsPerMinute = 60000;
constexpr int kMsPerSecond = 1000;
// The music must have started over this often before growth per start means anything.
constexpr int kFewestStarts = 3;
// Often enough to see the position go back even with a clip of a fraction of a second.
constexpr int kPositionWatchMs = 20;

long rssAnonKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct Options {
    double minutes = 15;
    double everySeconds = 60;
    QString music;
};

bool parse(const QApplication &app, Options &options)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutes("minutes", "How long to measure (default 15).", "M", "15");
    const QCommandLineOption every("every", "Seconds between figures (default 60).", "SECONDS", "60");
    const QCommandLineOption music("music", "The music to loop (default: the shipped one).", "FILE",
                                   app.applicationDirPath() + "/modules/media/00.mp3");
    parser.addOptions({minutes, every, music});
    parser.process(app);
    bool minutesOk = false, everyOk = false;
    options.minutes = parser.value(minutes).toDouble(&minutesOk);
    options.everySeconds = parser.value(every).toDouble(&everyOk);
    options.music = QFileInfo(parser.value(music)).absoluteFilePath();
    if (!minutesOk || !everyOk || options.minutes <= 0 || options.everySeconds <= 0) {
        std::fprintf(stderr, "--minutes and --every take positive numbers\n");
        return false;
    }
    if (!QFile::exists(options.music)) {
        std::fprintf(stderr, "no music at %s\n", qPrintable(options.music));
        return false;
    }
    return true;
}

// The player finds its music at ./modules/media/00.mp3.
bool enterRunFolder(const QTemporaryDir &dir, const QString &music)
{
    const QString media = dir.filePath("modules/media");
    return QDir().mkpath(media) && QFile::copy(music, media + "/00.mp3") && QDir::setCurrent(dir.path());
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("bench_music_loop"));
    Options options;
    QTemporaryDir dir;
    if (!parse(app, options) || !enterRunFolder(dir, options.music))
        return 1;

    QObject owner;
    auto *sounds = new SoundPlayer(&owner);
    sounds->createPlayers();
    // The music started over when its position went back.
    int starts = 0;
    qint64 lastPosition = 0;
    const Phonon::MediaObject *music = sounds->player(SoundPlayer::kBackground);
    QTimer positionWatch;
    QObject::connect(&positionWatch, &QTimer::timeout, [&] {
        const qint64 position = music->currentTime();
        if (position < lastPosition)
            ++starts;
        lastPosition = position;
    });
    positionWatch.start(kPositionWatchMs);
    sounds->playMedia_Background();

    // The first start loads the back end's plugins: growth is counted from the first restart.
    long baseKb = -1;
    int baseStarts = 0;
    QElapsedTimer clock;
    clock.start();
    const auto report = [&] {
        const long kb = rssAnonKb();
        if (baseKb < 0 && starts > 0) {
            baseKb = kb;
            baseStarts = starts;
        }
        std::printf("%7.1f s  music started over %6d times  RssAnon %7ld kB\n",
                    clock.elapsed() / double(kMsPerSecond), starts, kb);
        std::fflush(stdout);
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, report);
    ticker.start(int(options.everySeconds * kMsPerSecond));
    QTimer::singleShot(int(options.minutes * kMsPerMinute), &app, &QCoreApplication::quit);
    report();
    app.exec();
    report();

    const long endKb = rssAnonKb();
    const int counted = starts - baseStarts;
    const double hours = clock.elapsed() / (60.0 * kMsPerMinute);
    if (baseKb < 0 || counted < kFewestStarts) {
        std::printf("the music started over %d times: too few to tell growth per start\n", starts);
        return 0;
    }
    std::printf("growth after the first start: %ld kB over %d starts, %.1f kB per start, %.1f MB per hour\n",
                endKb - baseKb, counted, double(endKb - baseKb) / counted,
                (endKb - baseKb) / 1024.0 / hours);
    return 0;
}
