#pragma once
// Turns a macro's step lines into the byte image a device macro slot stores:
// a two-byte repeat header, two- and four-byte records, and the terminator 00 00.
#include <QList>
#include <QStringList>

class KeyNameTable;

namespace MacroImage {
// Slot capacities of the two devices' macro write commands.
constexpr int kMouseCapacity = 128;
constexpr int kKeyboardCapacity = 192;
constexpr int kHeaderLength = 2;
constexpr int kTerminatorLength = 2;
}  // namespace MacroImage

// Encodes the step lines ("value" + 10-character tag) with the delay records of the device
// type (0 keyboard, 1 mouse; any other type writes no delays). Unknown names, tags and
// unusable delays are skipped.
QList<uchar> encodeMacro(const QStringList &macros, uint deviceId, const KeyNameTable &keys);

// An image that fits `capacity` unchanged; a longer one cut after the last whole record that
// still leaves room for the terminator, which is then appended.
QList<uchar> fitMacroImage(const QList<uchar> &image, int capacity);
