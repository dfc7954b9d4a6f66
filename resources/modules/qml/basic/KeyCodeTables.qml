pragma Singleton
import QtQuick 2.15

// The key name tables behind KeyCodeString, built once for every field that names keys.
QtObject {
    readonly property string backslashName: "\\ |"
    readonly property int backslashCode: 0x31
    readonly property int backslashCodeNonUS: 0x32

    readonly property var keycode2str: buildKeyNames()
    readonly property var str2keycode: invert(keycode2str, backslashCodeNonUS)
    readonly property var mousecode2str: ({ 240: "MS-L", 241: "MS-R", 242: "MS-M", 243: "MS-B4", 244: "MS-B5" })
    readonly property var str2mousecode: invert(mousecode2str, -1)

    function invert(codeToName, skippedCode) {
        var result = {}
        for (var code in codeToName) {
            if (Number(code) !== skippedCode)
                result[codeToName[code]] = Number(code)
        }
        return result
    }

    function buildKeyNames() {
        var names = {}
        var i
        for (i = 0; i < 26; ++i)
            names[0x04 + i] = String.fromCharCode(65 + i)
        for (i = 1; i <= 9; ++i)
            names[0x1D + i] = String(i)
        names[0x27] = "0"
        var listed = [
            [0x28, "Enter"], [0x29, "Esc"], [0x2A, "Back"], [0x2B, "Tab"], [0x2C, "Space"],
            [0x2D, "- _"], [0x2E, "= +"], [0x2F, "[ {"], [0x30, "] }"],
            [0x31, backslashName], [0x32, backslashName],
            [0x33, "; :"], [0x34, "' \""], [0x35, "` ~"], [0x36, ", <"], [0x37, ". >"], [0x38, "/ ?"],
            [0x39, "Caps"],
            [0x46, "Prt"], [0x47, "Scr"], [0x48, "Pau"], [0x49, "Ins"], [0x4A, "Hom"], [0x4B, "PgU"],
            [0x4C, "Del"], [0x4D, "End"], [0x4E, "PgD"],
            [0x4F, "\u25BA"], [0x50, "\u25C4"], [0x51, "\u25BC"], [0x52, "\u25B2"],
            [0x53, "Num"], [0x54, "KP /"], [0x55, "KP *"], [0x56, "KP -"], [0x57, "KP +"], [0x58, "KP Enter"],
            [0x5F, "KP 7 "], [0x60, "KP 8"], [0x61, "KP 9"], [0x62, "KP 0"], [0x63, "KP ."],
            [0x64, "Eur 2"], [0x65, "App"], [0x66, "Power"], [0x67, "KP ="],
            [0x85, "Keypad"], [0x87, "Int'l 1"], [0x88, "Intl'2"], [0x89, "Int'l 2"], [0x8A, "Int'l 4"],
            [0x8B, "Int'l 5"], [0x90, "Lang 1"], [0x91, "Lang 2"],
            [0xE0, "L Ctrl"], [0xE1, "L Shift"], [0xE2, "L Alt"], [0xE3, "L Win"],
            [0xE4, "R Ctrl"], [0xE5, "R Shift"], [0xE6, "R Alt"], [0xE7, "R Win"]
        ]
        for (i = 0; i < listed.length; ++i)
            names[listed[i][0]] = listed[i][1]
        for (i = 1; i <= 12; ++i) {
            names[0x39 + i] = "F" + i
            names[0x67 + i] = "F" + (12 + i)
        }
        for (i = 1; i <= 6; ++i)
            names[0x58 + i] = "KP " + i
        return names
    }
}
