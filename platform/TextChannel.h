#pragma once
// Tagged texts between the program's top-level windows, addressed by a window's exact title.
// A window of this process gets the text synchronously; a window of another process of the
// same user gets it over a local socket named after a hash of the title, in a folder only
// that user can enter. That process confirms the text once it has arrived and hands it to
// its receiver from its event loop, where the receiver may show a message box for as long
// as it likes.
#include <QByteArray>
#include <QString>
#include <functional>

class QCoreApplication;
class QObject;

namespace TextChannel {

using Receiver = std::function<void(quintptr tag, const QByteArray &bytes)>;

enum class SendResult {
    Delivered,    // the receiving window's process has the text (or handled it, in this one)
    Unhandled,    // the window was found but its process registered no receiver
    NoWindow,     // no top-level window carries the title: nothing was sent
    Skipped,      // the window found is the one to skip: nothing was sent
    NoAnswer,     // another process took the connection but did not confirm in time
};

// Every text that reaches one of the application's top-level windows goes to the receiver,
// replacing any receiver set before. The application's windows are watched from then on, and
// the process listens under each of their titles.
void setReceiver(QCoreApplication *app, Receiver receiver);

// Hands the text to the top-level window with exactly this title and returns after this
// process's receiver handled it or another process confirmed it, or after a short timeout
// when another process does not answer.
// A window of this process is preferred to one of another process.
SendResult send(const QString &title, quintptr tag, const QByteArray &bytes,
                const QObject *skip = nullptr);

// The local socket (a full path) for a title, in the user's private folder; empty, with the
// reason in `whyNot`, when the user has no such folder.
QString serverName(const QString &title, QString *whyNot = nullptr);

}  // namespace TextChannel
