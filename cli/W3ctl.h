#pragma once
// The w3ctl program: its entry point (shared by w3ctl and w3ctl-virtual) and one run of a
// command line, which tests call in-process and the running program calls for w3ctl.
#include <QDir>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

class CommandBench;
struct Invocation;

// Runs a command line where the running program lives instead of here: the exit code, with
// what the command printed written to out and err; nullopt when w3ctl runs it alone.
using CommandHandover = std::function<std::optional<int>(const QStringList &arguments, const Invocation &invocation,
                                                         QTextStream &out, QTextStream &err)>;

// Runs one command line (without the program name) in the working directory, which must be
// the data folder; the files the user names are relative to `userFolder`. A command (not the
// help, the version or a usage error the parser finds) is offered to `handover` first, else
// runs on w3ctl's own bench. Returns the exit code.
int runW3ctl(const QStringList &arguments, QTextStream &out, QTextStream &err,
             const QDir &userFolder = QDir::current(), const CommandHandover &handover = {});

// The same on a bench that is not w3ctl's own: the running program's controllers and mouse.
int runW3ctlOn(CommandBench &bench, const QStringList &arguments, QTextStream &out, QTextStream &err,
               const QDir &userFolder);

// main(): the QCoreApplication, the data folder, the device lock; `prepareDevices` runs
// before anything touches the bus (the virtual program plugs its mouse there). Commands go
// through the running program when it answers on the session bus (cli/ServiceClient.h).
int w3ctlMain(int argc, char **argv, const std::function<void()> &prepareDevices = {});
