#pragma once
// The checks every command table runs, one function per test slot. Each reads the current
// row of the table that the matching add*Columns() set up.
#include "tests/commands/CommandRig.h"

namespace rig {

// Set rows: call, block (plain, with check byte), payload (what the data reports carry
// before their zero padding), reports, pause, sleepsAfter, failText.
void addSetColumns();
void addSetRow(const char *name, const SetCall &call, const QByteArray &block, const QByteArray &payload,
               int reports, bool pause, bool sleepsAfter, const QString &failText);

// Get rows: call, block, reports (incoming data reports), answered (what the caller gets
// from the device), failed (after a failed transfer), untouched (after a refused token).
void addGetColumns();
void addGetRow(const char *name, const GetCall &call, const QByteArray &block, int reports,
               const QByteArray &answered, const QByteArray &failed, const QByteArray &untouched);

// The command block, the data reports, the pauses and the return time of a Set.
void checkSetOnWire(CommandRig &rig);
// A Set whose transfer cannot take place sends nothing and reports nothing.
void checkSetWithoutTransfer(CommandRig &rig);
// A Set that cannot take the token logs its text and is dropped.
void checkSetTokenRefused(CommandRig &rig);

void checkGetOnWire(CommandRig &rig);
void checkGetWithoutTransfer(CommandRig &rig);
void checkGetTokenRefused(CommandRig &rig);

}  // namespace rig
