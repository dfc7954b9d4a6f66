import QtQuick 2.15

// Key names of the scene, both ways: the 127 keyboard names (USB usage IDs of page 0x07) and
// the five mouse buttons (0xF0..0xF4). Backslash keys report 0x31 on most keyboards and 0x32
// on some: both show the backslash name and keep the captured code; the name itself maps to
// 0x31, the code of the key name table used by the macro encoder.
QtObject {
    readonly property string backslashName: KeyCodeTables.backslashName
    readonly property int backslashCode: KeyCodeTables.backslashCode
    readonly property int backslashCodeNonUS: KeyCodeTables.backslashCodeNonUS

    readonly property var keycode2str: KeyCodeTables.keycode2str
    readonly property var str2keycode: KeyCodeTables.str2keycode
    readonly property var mousecode2str: KeyCodeTables.mousecode2str
    readonly property var str2mousecode: KeyCodeTables.str2mousecode

    function strTokeycode(str) { return str2keycode[str] }
    function keycodeTostr(keycode) { return keycode2str[keycode] }
    function strTomousecode(str) { return str2mousecode[str] }
    function mousecodeTostr(mousecode) { return mousecode2str[mousecode] }

    // Keyboard or mouse name of a code, or undefined.
    function nameOf(code) {
        var name = keycode2str[code]
        return name !== undefined ? name : mousecode2str[code]
    }

    // 1-based position of the lowest set bit of an 8-bit value; 0 when none is set.
    function logByte(value) {
        var bits = Number(value) & 0xFF
        for (var position = 1; position <= 8; ++position) {
            if (bits & 1)
                return position
            bits >>= 1
        }
        return 0
    }
}
