#pragma once
// What w3ctl prints: results on standard output as text or, with --json, as one JSON
// document; failures on standard error as one line; and the exit codes scripts rely on.
#include <QJsonObject>
#include <QString>
#include <QTextStream>
#include <stdexcept>

enum class ExitCode : int {
    Success = 0,
    UsageError = 1,   // bad command line or a value the setting does not take
    NoDevice = 2,     // no W3 mouse on the bus
    DeviceError = 3,  // the mouse is busy, refused the handshake, or cannot be written;
                      // or a settings file cannot be written
};

// Ends a command: the message goes to standard error, the code is the program's exit code.
struct CliFailure : std::runtime_error {
    CliFailure(ExitCode code, const QString &message)
        : std::runtime_error(message.toStdString()), code(code), message(message) {}
    ExitCode code;
    QString message;
};

class Output {
public:
    Output(QTextStream &out, QTextStream &err, bool json) : out(out), err(err), json(json) {}

    bool isJson() const { return json; }
    // A read command's result: `text` as it is, or `fields` as JSON.
    void result(const QString &text, const QJsonObject &fields);
    // A change done: its description in text mode; nothing with --json (the exit code says it).
    void done(const QString &text);
    // "w3ctl: <message>" on standard error, line breaks folded into the one line and invisible
    // characters shown as their code points.
    void error(const QString &message);
    // Help and version texts go to standard output as they are.
    void plain(const QString &text);

private:
    QTextStream &out;
    QTextStream &err;
    const bool json;
};
