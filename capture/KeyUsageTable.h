#pragma once
// Linux input key codes to USB HID Keyboard/Keypad usages (page 0x07), for exactly the key
// positions that the capture reports. Keypad keys read as with Num Lock on; modifiers keep
// their side. Keys without a row are not reported.
#include <QtGlobal>
#include <array>
#include <vector>

class KeyUsageTable {
public:
    struct Row {
        quint16 linuxKey;
        uchar usage;
    };

    // The usage of the backslash key (KEY_BACKSLASH) on ISO keyboards: the non-US hash key.
    static constexpr uchar kIsoBackslashUsage = 0x32;

    // isoKeyboard only changes the backslash key's row.
    explicit KeyUsageTable(bool isoKeyboard = false);

    // 0 when the key has no row.
    uchar usage(int linuxKey) const;

    // The rows as built (with the ISO choice applied), in table order.
    std::vector<Row> rows() const;

private:
    static constexpr int kKeyCount = 256;
    std::array<uchar, kKeyCount> usages_{};
};
