#include "controller/MacroEncoder.h"

#include "controller/KeyNameTable.h"

#include <QString>
#include <algorithm>

namespace {

constexpr int kTagLength = 10;
const QString kDownTag = QStringLiteral("    [Down]");
const QString kUpTag = QStringLiteral("      [Up]");
const QString kDelayTag = QStringLiteral("   [Delay]");

constexpr uint kKeyboard = 0;
constexpr uint kMouse = 1;

constexpr uchar kPressFlag = 0x01;    // press, 10 ms after it until a delay folds in
constexpr uchar kReleaseFlag = 0x81;  // release: bit 7 set
constexpr uchar kReleaseBit = 0x80;
constexpr uchar kDelayUnitsMask = 0x7F;
constexpr uchar kMouseDelayMark = 0x01;     // second byte of both mouse delay records
constexpr uchar kKeyboardDelayFlag = 0x7F;  // keyboard delay: 7F 00 H L
constexpr uchar kKeyboardDelayMark = 0x00;

constexpr uint kFoldLimitMs = 1270;    // longest delay a key record's 7 bits hold (10 ms units)
constexpr uint kMediumLimitMs = 5100;  // longest delay of the one-byte medium record (20 ms units)
constexpr uint kMaxCount = 0xFFFF;     // longest count of a 16-bit delay record

uchar highByte(uint v) { return uchar((v >> 8) & 0xFF); }
uchar lowByte(uint v) { return uchar(v & 0xFF); }

class Encoder {
public:
    Encoder(uint deviceId, const KeyNameTable &keys) : deviceId(deviceId), keys(keys)
    {
        out << 0x00 << 0x01;  // header placeholder; the mouse sender writes the repeat count
    }

    void addLine(const QStringList &lines, int i)
    {
        const QString &line = lines.at(i);
        if (line.size() < kTagLength)
            return;
        const QString tag = line.right(kTagLength);
        const QString value = line.left(line.size() - kTagLength);
        if (tag == kDownTag)
            addKey(value, kPressFlag);
        else if (tag == kUpTag)
            addKey(value, kReleaseFlag);
        else if (tag == kDelayTag)
            addDelay(value, i > 0 && !lines.at(i - 1).endsWith(kDelayTag));
    }

    QList<uchar> finish()
    {
        out << 0x00 << 0x00;
        return out;
    }

private:
    void addKey(const QString &name, uchar flag)
    {
        const uchar code = keys.code(name);
        if (code == 0)
            return;
        out << flag << code;
        lastKeyRecord = out.size() - 2;
    }

    // afterKeyLine: the line before is a step other than a delay.
    void addDelay(const QString &value, bool afterKeyLine)
    {
        bool ok = false;
        const uint ms = value.toUInt(&ok);  // negative and non-numeric delays are skipped
        if (!ok || ms == 0)
            return;
        if (deviceId == kKeyboard) {
            appendCounted(kKeyboardDelayFlag, kKeyboardDelayMark, ms / 10);
        } else if (deviceId == kMouse) {
            // Folding needs a key record at the end to fold into: a delay after a skipped
            // key line must not alter the header or a delay record.
            const bool canFold = afterKeyLine && lastKeyRecord == out.size() - 2;
            if (ms <= kFoldLimitMs && canFold) {
                uchar &flag = out[lastKeyRecord];
                flag = uchar((flag & kReleaseBit) | (((std::max(ms, 10u) + 5) / 10) & kDelayUnitsMask));
            } else if (ms > kFoldLimitMs && ms <= kMediumLimitMs) {
                out << uchar((ms + 10) / 20) << kMouseDelayMark;
            } else {
                appendCounted(0x00, kMouseDelayMark, (quint64(std::max(ms, 20u)) + 10) / 20);
            }
        }
    }

    // A four-byte delay record; counts beyond 16 bits keep the longest delay it can hold.
    void appendCounted(uchar first, uchar second, quint64 count)
    {
        const uint held = uint(std::min<quint64>(count, kMaxCount));
        out << first << second << highByte(held) << lowByte(held);
    }

    const uint deviceId;
    const KeyNameTable &keys;
    QList<uchar> out;
    int lastKeyRecord = -1;
};

// Length of the record starting at pos: two bytes, or four for the long delays
// (00 01 H L mouse, 7F 00 H L keyboard); 0 at the terminator or a truncated tail.
int recordLength(const QList<uchar> &image, int pos)
{
    if (pos + 2 > image.size())
        return 0;
    const uchar first = image.at(pos);
    const uchar second = image.at(pos + 1);
    if (first == 0x00 && second == 0x00)
        return 0;
    const bool longMouseDelay = first == 0x00 && second == kMouseDelayMark;
    const bool keyboardDelay = second == kKeyboardDelayMark;
    const int length = (longMouseDelay || keyboardDelay) ? 4 : 2;
    return pos + length <= image.size() ? length : 0;
}

}  // namespace

QList<uchar> encodeMacro(const QStringList &macros, uint deviceId, const KeyNameTable &keys)
{
    Encoder encoder(deviceId, keys);
    for (int i = 0; i < macros.size(); ++i)
        encoder.addLine(macros, i);
    return encoder.finish();
}

QList<uchar> fitMacroImage(const QList<uchar> &image, int capacity)
{
    if (image.size() <= capacity)
        return image;
    int end = std::min<int>(MacroImage::kHeaderLength, image.size());
    for (int length = recordLength(image, end);
         length > 0 && end + length + MacroImage::kTerminatorLength <= capacity;
         length = recordLength(image, end))
        end += length;
    QList<uchar> cut = image.mid(0, end);
    cut << 0x00 << 0x00;
    return cut;
}
