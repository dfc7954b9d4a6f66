#pragma once
// The w3ctl program: its entry point (shared by w3ctl and w3ctl-virtual) and one run of a
// command line, which tests call in-process.
#include <QDir>
#include <QStringList>
#include <QTextStream>
#include <functional>

// Runs one command line (without the program name) in the working directory, which must be
// the data folder; the files the user names are relative to `userFolder`. Returns the exit code.
int runW3ctl(const QStringList &arguments, QTextStream &out, QTextStream &err,
             const QDir &userFolder = QDir::current());

// main(): the QCoreApplication, the data folder, the device lock; `prepareDevices` runs
// before anything touches the bus (the virtual program plugs its mouse there).
int w3ctlMain(int argc, char **argv, const std::function<void()> &prepareDevices = {});
