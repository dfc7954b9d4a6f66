// The text channel: tagged texts to a window found by its exact title, in this process and in
// another process of the program.
#include "capture/InputCapture.h"
#include "platform/TextChannel.h"

#include <QProcess>
#include <QWidget>
#include <QtTest>

namespace {

constexpr quintptr kNoticeTag = 9487;
constexpr int kPeerTimeoutMs = 10000;

struct Inbox {
    QList<CopyData> texts;
    static void onText(const CopyData *data, void *context)
    {
        static_cast<Inbox *>(context)->texts.append(*data);
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

}  // namespace

class TestCaptureTextChannel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void deliversToWindowOfThisProcess();
    void sendsNothingWithoutWindow();
    void sendsNothingToSkippedWindow();
    void windowWithoutHandlerGetsNothing();
    void deliversToOtherProcessAfterHandling();
    void receivesFromOtherProcessUnderNewTitle();

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

void TestCaptureTextChannel::deliversToOtherProcessAfterHandling()
{
    const QString title = uniqueTitle("peer");
    QProcess peer;
    peer.start(peerProgram(), {QStringLiteral("receive"), title});
    QVERIFY2(peer.waitForStarted(kPeerTimeoutMs), qPrintable(peer.errorString()));
    QVERIFY(peer.waitForReadyRead(kPeerTimeoutMs));
    QCOMPARE(peer.readLine().trimmed(), QByteArray("ready"));

    InputCapture::sendText(title, CopyData{kNoticeTag, awkwardBytes()});
    // The peer prints its line before it answers, half a second after the text arrived: a
    // send that returned before the peer handled the text finds no line yet.
    QVERIFY(peer.canReadLine() || peer.waitForReadyRead(100));
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

    const auto sendFromPeer = [](const QString &title) {
        QProcess peer;
        peer.start(peerProgram(), {QStringLiteral("send"), title,
                                   QString::number(kNoticeTag),
                                   QString::fromLatin1(awkwardBytes().toHex())});
        // The peer waits for this process's answer: keep the event loop turning meanwhile.
        QDeadlineTimer deadline(kPeerTimeoutMs);
        while (peer.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        return peer.state() == QProcess::NotRunning && peer.exitStatus() == QProcess::NormalExit
                   ? peer.exitCode()
                   : -1;
    };
    QCOMPARE(sendFromPeer(uniqueTitle("after")), int(TextChannel::SendResult::Delivered));
    QCOMPARE(inbox_.texts.size(), 1);
    QCOMPARE(quint64(inbox_.texts[0].dwData), quint64(kNoticeTag));
    QCOMPARE(inbox_.texts[0].bytes, awkwardBytes());

    QCOMPARE(sendFromPeer(uniqueTitle("before")), int(TextChannel::SendResult::NoWindow));
    QCOMPARE(inbox_.texts.size(), 1);
}

QTEST_MAIN(TestCaptureTextChannel)
#include "tst_capture_textchannel.moc"
