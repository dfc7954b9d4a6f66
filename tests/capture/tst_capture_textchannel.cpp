// The text channel: tagged texts to a window found by its exact title, in this process and in
// another process of the program; the folder its sockets live in, and names of other users.
#include "capture/InputCapture.h"
#include "platform/TextChannel.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quintptr kNoticeTag = 9487;
constexpr int kPeerTimeoutMs = 10000;
// How long the channel keeps a connection that has not completed its text.
constexpr int kChannelConnectionLimitMs = 3000;

struct Inbox {
    QList<CopyData> texts;
    // How long each text is held in a nested event loop, as a message box would.
    int holdMs = 0;
    static void onText(const CopyData *data, void *context)
    {
        auto *inbox = static_cast<Inbox *>(context);
        inbox->texts.append(*data);
        QElapsedTimer held;
        held.start();
        while (held.elapsed() < inbox->holdMs)
            QTest::qWait(10);
    }
};

// Bytes a text must carry unchanged: UTF-8, an embedded zero and a high byte.
QByteArray awkwardBytes()
{
    return QStringLiteral("===== Demo Mode ===== ä").toUtf8() + QByteArray("\0\xff", 2);
}

// A title no other test run shares, so parallel runs do not meet.
QString uniqueTitle(const char *what)
{
    return QStringLiteral("W3 text channel %1 %2").arg(what).arg(QCoreApplication::applicationPid());
}

QString peerProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/capture_text_peer");
}

// Sends from a peer while this process keeps its event loop turning; the peer's SendResult,
// or -1 when it did not end normally.
int sendFromPeer(const QString &title)
{
    QProcess peer;
    peer.start(peerProgram(), {QStringLiteral("send"), title, QString::number(kNoticeTag),
                               QString::fromLatin1(awkwardBytes().toHex())});
    QDeadlineTimer deadline(kPeerTimeoutMs);
    while (peer.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(10);
    return peer.state() == QProcess::NotRunning && peer.exitStatus() == QProcess::NormalExit
               ? peer.exitCode()
               : -1;
}

// Peers that run with their own runtime and temporary folders, inside one scratch folder.
class PeerPlace {
public:
    explicit PeerPlace(bool withRuntimeFolder)
    {
        env_.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env_.insert(QStringLiteral("TMPDIR"), makeFolder("tmp", 0700));
        if (withRuntimeFolder)
            env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), makeFolder("run", 0700));
    }

    QString path(const QString &relative) const { return scratch_.filePath(relative); }
    QString runtimeFolder() const { return env_.value(QStringLiteral("XDG_RUNTIME_DIR")); }
    // Where the channel falls back to without a usable runtime folder.
    QString fallbackFolder() const
    {
        return path(QStringLiteral("tmp/w3config-%1").arg(::getuid()));
    }

    QString makeFolder(const QString &relative, mode_t mode) const
    {
        const QString folder = path(relative);
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), mode);
        return folder;
    }

    QString socketName(const QString &title) const
    {
        QProcess peer;
        start(peer, {QStringLiteral("name"), title});
        peer.waitForFinished(kPeerTimeoutMs);
        return QString::fromLocal8Bit(peer.readAllStandardOutput().trimmed());
    }

    // A receiving window in a peer; true once it is ready. What it logged until then goes
    // to `log`.
    bool startReceiver(QProcess &peer, const QString &title, QString *log = nullptr) const
    {
        peer.setProcessChannelMode(QProcess::MergedChannels);
        start(peer, {QStringLiteral("receive"), title});
        QDeadlineTimer deadline(kPeerTimeoutMs);
        while (!deadline.hasExpired()) {
            if (!peer.canReadLine() && !peer.waitForReadyRead(int(deadline.remainingTime())))
                return false;
            while (peer.canReadLine()) {
                const QByteArray line = peer.readLine();
                if (line.trimmed() == "ready")
                    return true;
                if (log)
                    *log += QString::fromLocal8Bit(line);
            }
        }
        return false;
    }

    int send(const QString &title) const
    {
        QProcess peer;
        start(peer, {QStringLiteral("send"), title, QString::number(kNoticeTag),
                     QString::fromLatin1(awkwardBytes().toHex())});
        if (!peer.waitForFinished(kPeerTimeoutMs) || peer.exitStatus() != QProcess::NormalExit)
            return -1;
        return peer.exitCode();
    }

private:
    void start(QProcess &peer, const QStringList &arguments) const
    {
        peer.setProcessEnvironment(env_);
        peer.start(peerProgram(), arguments);
    }

    // A socket's path holds 107 bytes at most: a short folder name leaves room for the
    // channel's own names under whatever TMPDIR the suite runs with.
    QTemporaryDir scratch_{QDir::tempPath() + QStringLiteral("/w3-XXXXXX")};
    QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();
};

mode_t modeOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

bool runsAsRoot()
{
    return ::geteuid() == 0;
}

uid_t otherUser()
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}

bool giveToOtherUser(const QString &path)
{
    return ::lchown(QFile::encodeName(path).constData(), otherUser(), gid_t(-1)) == 0;
}

}  // namespace

class TestCaptureTextChannel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void deliversToWindowOfThisProcess();
    void sendsNothingWithoutWindow();
    void sendsNothingToSkippedWindow();
    void windowWithoutHandlerGetsNothing();
    void deliversToOtherProcess();
    void receivesFromOtherProcessUnderNewTitle();
    void receiverMayHoldTextLongerThanConnection();
    void socketLivesInPrivateFolder_data();
    void socketLivesInPrivateFolder();
    void refusesFolderOthersCanReach_data();
    void refusesFolderOthersCanReach();
    void refusesNameOfAnotherUser();

private:
    Inbox inbox_;
};

void TestCaptureTextChannel::init()
{
    inbox_ = Inbox();
    InputCapture::setCopyDataHandler(&Inbox::onText, qApp, &inbox_);
}

void TestCaptureTextChannel::deliversToWindowOfThisProcess()
{
    QWidget window;
    window.setWindowTitle(uniqueTitle("local"));
    InputCapture::sendText(window.windowTitle(), CopyData{kNoticeTag, awkwardBytes()});
    // Delivered before sendText returned.
    QCOMPARE(inbox_.texts.size(), 1);
    QCOMPARE(quint64(inbox_.texts[0].dwData), quint64(kNoticeTag));
    QCOMPARE(inbox_.texts[0].bytes, awkwardBytes());
}

void TestCaptureTextChannel::sendsNothingWithoutWindow()
{
    QWidget window;
    window.setWindowTitle(uniqueTitle("present"));
    // A title must match exactly: neither a prefix nor another case is that window.
    InputCapture::sendText(uniqueTitle("absent"), CopyData{kNoticeTag, "x"});
    InputCapture::sendText(window.windowTitle().left(10), CopyData{kNoticeTag, "x"});
    InputCapture::sendText(window.windowTitle().toUpper(), CopyData{kNoticeTag, "x"});
    QCOMPARE(TextChannel::send(uniqueTitle("absent"), kNoticeTag, "x"),
             TextChannel::SendResult::NoWindow);
    QVERIFY(inbox_.texts.isEmpty());
}

void TestCaptureTextChannel::sendsNothingToSkippedWindow()
{
    QWidget window;
    window.setWindowTitle(uniqueTitle("skipped"));
    InputCapture::sendText(window.windowTitle(), CopyData{kNoticeTag, "x"}, &window);
    QVERIFY(inbox_.texts.isEmpty());
}

void TestCaptureTextChannel::windowWithoutHandlerGetsNothing()
{
    InputCapture::setCopyDataHandler(nullptr, qApp, nullptr);
    QWidget window;
    window.setWindowTitle(uniqueTitle("unhandled"));
    InputCapture::sendText(window.windowTitle(), CopyData{kNoticeTag, "x"});
    QVERIFY(inbox_.texts.isEmpty());
}

void TestCaptureTextChannel::deliversToOtherProcess()
{
    const QString title = uniqueTitle("peer");
    QProcess peer;
    peer.start(peerProgram(), {QStringLiteral("receive"), title});
    QVERIFY2(peer.waitForStarted(kPeerTimeoutMs), qPrintable(peer.errorString()));
    QVERIFY(peer.waitForReadyRead(kPeerTimeoutMs));
    QCOMPARE(peer.readLine().trimmed(), QByteArray("ready"));

    QCOMPARE(TextChannel::send(title, kNoticeTag, awkwardBytes()),
             TextChannel::SendResult::Delivered);
    // The peer handles the text after it confirmed it, from its event loop.
    QVERIFY(peer.canReadLine() || peer.waitForReadyRead(kPeerTimeoutMs));
    const QByteArray expected = "received 9487 " + awkwardBytes().toHex();
    QCOMPARE(peer.readLine().trimmed(), expected);
    QVERIFY(inbox_.texts.isEmpty());

    peer.kill();
    peer.waitForFinished(kPeerTimeoutMs);
}

void TestCaptureTextChannel::receivesFromOtherProcessUnderNewTitle()
{
    QWidget window;
    window.setWindowTitle(uniqueTitle("before"));
    window.setWindowTitle(uniqueTitle("after"));  // the channel follows the title

    QCOMPARE(sendFromPeer(uniqueTitle("after")), int(TextChannel::SendResult::Delivered));
    QTRY_COMPARE(inbox_.texts.size(), 1);
    QCOMPARE(quint64(inbox_.texts[0].dwData), quint64(kNoticeTag));
    QCOMPARE(inbox_.texts[0].bytes, awkwardBytes());

    QCOMPARE(sendFromPeer(uniqueTitle("before")), int(TextChannel::SendResult::NoWindow));
    QCOMPARE(inbox_.texts.size(), 1);
}

// A message box kept open beyond the channel's limit for a connection: the connection is over
// by then (the sender has its answer) and nothing of it is torn down under the box.
void TestCaptureTextChannel::receiverMayHoldTextLongerThanConnection()
{
    QWidget window;
    window.setWindowTitle(uniqueTitle("held"));
    inbox_.holdMs = kChannelConnectionLimitMs + 1000;
    QElapsedTimer sending;
    sending.start();
    QCOMPARE(sendFromPeer(window.windowTitle()), int(TextChannel::SendResult::Delivered));
    QTRY_COMPARE(inbox_.texts.size(), 1);
    // Held past the limit, and the channel still takes the next text.
    QTRY_VERIFY_WITH_TIMEOUT(sending.elapsed() > inbox_.holdMs, 2 * inbox_.holdMs);
    inbox_.holdMs = 0;
    QCOMPARE(sendFromPeer(window.windowTitle()), int(TextChannel::SendResult::Delivered));
    QTRY_COMPARE(inbox_.texts.size(), 2);
    QCOMPARE(inbox_.texts[0].bytes, awkwardBytes());
}

void TestCaptureTextChannel::socketLivesInPrivateFolder_data()
{
    QTest::addColumn<bool>("withRuntimeFolder");
    QTest::addColumn<int>("runtimeFolderMode");
    QTest::addColumn<bool>("inRuntimeFolder");
    QTest::newRow("runtime folder") << true << 0700 << true;
    QTest::newRow("no runtime folder") << false << 0 << false;
    QTest::newRow("runtime folder open to others") << true << 0755 << false;
}

void TestCaptureTextChannel::socketLivesInPrivateFolder()
{
    QFETCH(bool, withRuntimeFolder);
    QFETCH(int, runtimeFolderMode);
    QFETCH(bool, inRuntimeFolder);
    const PeerPlace place(withRuntimeFolder);
    if (withRuntimeFolder)
        place.makeFolder(QStringLiteral("run"), mode_t(runtimeFolderMode));
    const QString title = uniqueTitle("private");

    QProcess receiver;
    QVERIFY(place.startReceiver(receiver, title));
    const QString folder = inRuntimeFolder ? place.runtimeFolder() : place.fallbackFolder();
    const QString name = place.socketName(title);
    QCOMPARE(QFileInfo(name).absolutePath(), folder);
    QVERIFY2(QFileInfo(name).exists(), qPrintable(name));
    QCOMPARE(modeOf(folder), mode_t(0700));
    QCOMPARE(place.send(title), int(TextChannel::SendResult::Delivered));
    receiver.kill();
    receiver.waitForFinished(kPeerTimeoutMs);
}

// Without a runtime folder, a fallback folder that is not privately the user's is refused:
// neither listened in nor sent to, and the log says why.
void TestCaptureTextChannel::refusesFolderOthersCanReach_data()
{
    QTest::addColumn<QString>("squat");
    QTest::addColumn<QString>("reason");
    QTest::newRow("open to others") << "mode" << "has mode 0777";
    QTest::newRow("a link") << "link" << "is not a folder";
    QTest::newRow("another user's") << "owner" << "belongs to another user";
}

void TestCaptureTextChannel::refusesFolderOthersCanReach()
{
    QFETCH(QString, squat);
    QFETCH(QString, reason);
    if (squat == "owner" && !runsAsRoot())
        QSKIP("making a folder of another user needs root");
    const PeerPlace place(false);
    const QString fallback = place.fallbackFolder();
    if (squat == "mode") {
        place.makeFolder(QFileInfo(fallback).fileName().prepend("tmp/"), 0777);
    } else if (squat == "link") {
        QVERIFY(QFile::link(place.makeFolder(QStringLiteral("elsewhere"), 0700), fallback));
    } else {
        place.makeFolder(QFileInfo(fallback).fileName().prepend("tmp/"), 0700);
        QVERIFY(giveToOtherUser(fallback));
    }
    const QString title = uniqueTitle("refused");

    QProcess receiver;
    QString log;
    QVERIFY(place.startReceiver(receiver, title, &log));
    QVERIFY2(log.contains("Text channel: not listening") && log.contains(reason), qPrintable(log));
    QVERIFY(QDir(fallback).entryList({QStringLiteral("w3config-text-*")}, QDir::System).isEmpty());
    QCOMPARE(place.send(title), int(TextChannel::SendResult::NoWindow));
    receiver.kill();
    receiver.waitForFinished(kPeerTimeoutMs);
}

// A name another user took first in the runtime folder: the window does not remove it and
// says so, and a sender does not hand the text to that user.
void TestCaptureTextChannel::refusesNameOfAnotherUser()
{
    if (!runsAsRoot())
        QSKIP("making a socket of another user needs root");
    const PeerPlace place(true);
    const QString title = uniqueTitle("squatted");
    const QString name = place.socketName(title);
    QLocalServer squatter;
    QVERIFY(squatter.listen(name));
    QVERIFY(giveToOtherUser(name));

    QProcess receiver;
    QString log;
    QVERIFY(place.startReceiver(receiver, title, &log));
    QVERIFY2(log.contains("Text channel: not listening") && log.contains("belongs to another user"),
             qPrintable(log));
    QCOMPARE(place.send(title), int(TextChannel::SendResult::NoWindow));
    QVERIFY(!squatter.hasPendingConnections());
    QVERIFY(QFileInfo::exists(name));
    receiver.kill();
    receiver.waitForFinished(kPeerTimeoutMs);
}

QTEST_MAIN(TestCaptureTextChannel)
#include "tst_capture_textchannel.moc"

