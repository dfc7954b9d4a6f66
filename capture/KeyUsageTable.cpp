#include "capture/KeyUsageTable.h"

#include <linux/input-event-codes.h>

namespace {

using Row = KeyUsageTable::Row;

// One row per reported key position. The positions are those of the PC keyboard's scan-code
// set 1, which Linux numbers one to one: a plain position's key code is its scan code
// (0x1E = KEY_A = 30); an extended (E0) position has a key code of its own (E0 0x48 =
// KEY_UP). Pause (plain 0x45 as Windows' hook reports it) and Num Lock (extended 0x45) are
// KEY_PAUSE and KEY_NUMLOCK; Ctrl+Break and Alt+Print Screen already arrive as KEY_PAUSE and
// KEY_SYSRQ. The right Windows key, the Japanese and Brazilian keys and every other position
// have no row.
constexpr Row kRows[] = {
    // Plain positions 0x01 to 0x35.
    {KEY_ESC, 0x29},        {KEY_1, 0x1E},          {KEY_2, 0x1F},
    {KEY_3, 0x20},          {KEY_4, 0x21},          {KEY_5, 0x22},
    {KEY_6, 0x23},          {KEY_7, 0x24},          {KEY_8, 0x25},
    {KEY_9, 0x26},          {KEY_0, 0x27},          {KEY_MINUS, 0x2D},
    {KEY_EQUAL, 0x2E},      {KEY_BACKSPACE, 0x2A},  {KEY_TAB, 0x2B},
    {KEY_Q, 0x14},          {KEY_W, 0x1A},          {KEY_E, 0x08},
    {KEY_R, 0x15},          {KEY_T, 0x17},          {KEY_Y, 0x1C},
    {KEY_U, 0x18},          {KEY_I, 0x0C},          {KEY_O, 0x12},
    {KEY_P, 0x13},          {KEY_LEFTBRACE, 0x2F},  {KEY_RIGHTBRACE, 0x30},
    {KEY_ENTER, 0x28},      {KEY_LEFTCTRL, 0xE0},   {KEY_A, 0x04},
    {KEY_S, 0x16},          {KEY_D, 0x07},          {KEY_F, 0x09},
    {KEY_G, 0x0A},          {KEY_H, 0x0B},          {KEY_J, 0x0D},
    {KEY_K, 0x0E},          {KEY_L, 0x0F},          {KEY_SEMICOLON, 0x33},
    {KEY_APOSTROPHE, 0x34}, {KEY_GRAVE, 0x35},      {KEY_LEFTSHIFT, 0xE1},
    {KEY_BACKSLASH, 0x31},  {KEY_Z, 0x1D},          {KEY_X, 0x1B},
    {KEY_C, 0x06},          {KEY_V, 0x19},          {KEY_B, 0x05},
    {KEY_N, 0x11},          {KEY_M, 0x10},          {KEY_COMMA, 0x36},
    {KEY_DOT, 0x37},        {KEY_SLASH, 0x38},
    // Plain positions 0x37 to 0x53 (0x45 is Pause, see above).
    {KEY_KPASTERISK, 0x55}, {KEY_LEFTALT, 0xE2},    {KEY_SPACE, 0x2C},
    {KEY_CAPSLOCK, 0x39},   {KEY_F1, 0x3A},         {KEY_F2, 0x3B},
    {KEY_F3, 0x3C},         {KEY_F4, 0x3D},         {KEY_F5, 0x3E},
    {KEY_F6, 0x3F},         {KEY_F7, 0x40},         {KEY_F8, 0x41},
    {KEY_F9, 0x42},         {KEY_F10, 0x43},        {KEY_PAUSE, 0x48},
    {KEY_SCROLLLOCK, 0x47}, {KEY_KP7, 0x5F},        {KEY_KP8, 0x60},
    {KEY_KP9, 0x61},        {KEY_KPMINUS, 0x56},    {KEY_KP4, 0x5C},
    {KEY_KP5, 0x5D},        {KEY_KP6, 0x5E},        {KEY_KPPLUS, 0x57},
    {KEY_KP1, 0x59},        {KEY_KP2, 0x5A},        {KEY_KP3, 0x5B},
    {KEY_KP0, 0x62},        {KEY_KPDOT, 0x63},
    // Plain positions 0x56, 0x57, 0x58 and 0x6E.
    {KEY_102ND, 0x64},      {KEY_F11, 0x44},        {KEY_F12, 0x45},
    {KEY_F23, 0x72},
    // Extended positions 0x1C, 0x1D, 0x35, 0x36, 0x37, 0x38, 0x45.
    {KEY_KPENTER, 0x58},    {KEY_RIGHTCTRL, 0xE4},  {KEY_KPSLASH, 0x54},
    {KEY_RIGHTSHIFT, 0xE5}, {KEY_SYSRQ, 0x46},      {KEY_RIGHTALT, 0xE6},
    {KEY_NUMLOCK, 0x53},
    // Extended positions 0x47 to 0x53: the navigation block and the arrows.
    {KEY_HOME, 0x4A},       {KEY_UP, 0x52},         {KEY_PAGEUP, 0x4B},
    {KEY_LEFT, 0x50},       {KEY_RIGHT, 0x4F},      {KEY_END, 0x4D},
    {KEY_DOWN, 0x51},       {KEY_PAGEDOWN, 0x4E},   {KEY_INSERT, 0x49},
    {KEY_DELETE, 0x4C},
    // Extended positions 0x5B and 0x5D: the left Windows key and the menu key.
    {KEY_LEFTMETA, 0xE3},   {KEY_COMPOSE, 0x65},
};

}  // namespace

static_assert(KEY_F23 < 256 && KEY_COMPOSE < 256, "every key of the table fits the lookup array");

KeyUsageTable::KeyUsageTable(bool isoKeyboard)
{
    for (const Row &row : kRows)
        usages_[row.linuxKey] = row.usage;
    if (isoKeyboard)
        usages_[KEY_BACKSLASH] = kIsoBackslashUsage;
}

uchar KeyUsageTable::usage(int linuxKey) const
{
    if (linuxKey < 0 || linuxKey >= kKeyCount)
        return 0;
    return usages_[linuxKey];
}

std::vector<KeyUsageTable::Row> KeyUsageTable::rows() const
{
    std::vector<Row> built;
    for (const Row &row : kRows)
        built.push_back({row.linuxKey, usages_[row.linuxKey]});
    return built;
}
