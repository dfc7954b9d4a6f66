#pragma once
// w3ctl's side of the running program's Commands interface on the session bus: while W3 Config
// runs, a command runs there, on the window's own units and mouse, so that nobody waits for a
// lock and the window, the tray and the bus see the change. w3ctl never starts the program for
// this: without it, when it works on another data folder (another installation) or when it
// does not answer in time, w3ctl works alone. Called in the data folder.
#include <QStringList>
#include <QTextStream>
#include <optional>

struct Invocation;

namespace ServiceClient {

// How long the running program may take to answer at all before w3ctl works alone.
constexpr int kAnswerTimeoutMs = 5000;
// How long a command may take there once its turn came (beyond the --wait for the turn).
constexpr int kCommandTimeoutMs = 60000;

// Runs the command line in the running program: its exit code, with what it printed written
// to out and err. nullopt when w3ctl should run it alone (no session bus, no running program,
// one on another data folder, one that does not answer or does not run commands; the last
// two are told on err).
std::optional<int> runCommand(const QStringList &arguments, const Invocation &invocation, QTextStream &out,
                              QTextStream &err);

}  // namespace ServiceClient
