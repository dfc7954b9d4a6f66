#pragma once
// The virtual W3 mouse and keyboard. The library provides the hidapi functions the program
// uses (hid_enumerate, hid_open_path, hid_send_feature_report, ...) and answers as the
// device protocol says. Tests and w3config-virtual link it in place of the real hidapi.
//
// Like the real hidraw back end, hidapi must not be entered from two threads at once: a call
// that starts while another runs is recorded as a violation (see Bus::takeViolations), as is
// every report the real device would refuse and every data-phase report nobody read.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vhid {

enum class Model { Keyboard, Mouse };
enum class Interface { Command, Event };

// What one hidapi call did to a device, in order of occurrence.
enum class Op {
    Open,         // hid_open_path succeeded
    OpenFailed,   // hid_open_path refused
    SendFeature,  // hid_send_feature_report: bytes as sent, report ID first, still scrambled
    GetFeature,   // hid_get_feature_report: bytes as answered, report ID first
    Write,        // hid_write: the whole output report, report ID first
    Read,         // hid_read / hid_read_timeout returned data: bytes as delivered
    ReadTimeout,  // a read that waited and returned no data
    Close,        // hid_close of an open handle
};

struct Record {
    Op op;
    Model model;
    Interface iface;
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::time_point at;
    // The plain command or reply block (8 bytes) for SendFeature and GetFeature, as the
    // device understood it after descrambling; empty for the other operations.
    std::vector<std::uint8_t> plainBlock;
    // What the call returned to the program (bytes moved, 0 for a read without data, -1 for
    // a failure).
    int result = 0;
};

// Switches that make a device misbehave, all off by default.
struct Faults {
    bool failOpen = false;            // every hid_open_path of this device fails
    bool wrongChallengeAnswer = false; // 00H answers with altered bytes
    bool noAcks = false;              // never sends 04 04 00 00 on the event interface
    int dataReportsBeforeStall = -1;  // incoming data phase stops after this many reports (-1: never)
    bool refuseFeatureReports = false; // hid_send_feature_report returns -1
    // A busy device: each hid_send_feature_report returns only after this many milliseconds.
    int featureReportDelayMs = 0;
};

// The sensor a mouse reports in 83H P1.
enum class Sensor : std::uint8_t { ANDS3050 = 0, ANDS3320 = 1, ANDS5050 = 2, ANDS3325 = 3 };

// Device memory behind the commands. Each command stores and answers at the positions of
// its table; values a test wants to assert on are reachable here.
struct MouseMemory {
    std::uint8_t reportRate = 2;           // 01H / 81H
    std::uint8_t profile = 0;              // 02H / 82H (shared)
    std::uint8_t sensorType = 0;           // 03H type / 83H
    std::uint8_t functionRate = 2;         // 03H rate
    std::uint8_t functionOption1 = 0x80;   // 03H option1 / 83H (bit 6: wheel swapped)
    std::uint8_t functionOption2 = 0;      // 03H option2 / 83H
    std::map<int, std::vector<std::uint8_t>> ledInstruct;  // 07H / 87H: type -> option1..3
    std::uint8_t dpiStage = 2;             // 0BH / 8BH
    std::uint8_t ledEffect[3] = {1, 255, 0};  // 0DH / 8DH
    std::vector<std::uint8_t> colors[3];   // 10H / 90H: type 0 and 1 24 bytes, type 2 4 bytes
    std::uint8_t dpiMaxStage = 8;          // 91H A1; 11H B1 sets it
    std::vector<std::uint8_t> dpiCodes;    // 11H / 91H, 8 bytes
    std::vector<std::uint8_t> keyMatrix;   // 12H / 92H, 64 bytes
    std::map<int, std::vector<std::uint8_t>> macros;  // 13H / 93H: id -> 128 bytes
    std::uint8_t firmware[2] = {0x01, 0x0A};  // 80H A1, A2
};

struct KeyboardMemory {
    std::uint8_t reportRate = 1;
    std::uint8_t profile = 0;
    std::uint8_t options[4] = {};          // 03H / 83H
    std::uint8_t sensitivity[4] = {};      // 04H / 84H
    std::uint8_t indicator[2] = {};        // 07H
    std::uint8_t ledType[6] = {};          // 08H option..direction / 88H
    std::uint8_t mode = 0;                 // 09H / 89H
    std::vector<std::uint8_t> keyMatrix;   // 0DH / 8DH, 512 bytes
    std::vector<std::uint8_t> keyOnOff;    // 0EH / 8EH, 21 bytes
    std::map<int, std::vector<std::uint8_t>> macros;    // 11H / 91H: id -> 192 bytes
    std::map<int, std::vector<std::uint8_t>> pictures;  // 12H / 92H: index -> 512 bytes
    std::map<int, std::vector<std::uint8_t>> colors;    // 14H / 94H: index -> r, g, b
    int recoveries = 0;                    // 13H count
    std::uint8_t firmware[2] = {0x01, 0x00};
};

// The bus with its plugged devices. One process-wide instance.
//
// Paths: each device exposes its command and its event interface under paths of their own.
// As with hidraw, every open handle has its own queue of input reports: a report reaches the
// handles of its interface that are open when it arrives, and is lost when there are none.
// Acknowledgements 04 04 00 00 arrive on the event interface a few milliseconds after the
// command, the time the firmware takes to act on it; the data phase of a read arrives on the
// command interface as soon as the command is taken. Scrambling follows the catalogue's
// "common/isEncode".
//
// The device refuses (the call returns -1) what the real one would: a feature report that is
// not 9 bytes with report ID 0x00 or whose command block has a wrong check byte, and an output
// report that is not report ID 0x00 followed by one report length.
//
// The callbacks of withMouse/withKeyboard run under the bus lock: they must not call hidapi.
class Bus {
public:
    static Bus &instance();

    // Unplugs everything, clears records, faults and memory; ids come from ":/DevInfo.ini".
    void reset();

    // Plugs a factory-fresh device of the model (both interfaces), or replugs one that was
    // unplugged with its memory kept. Vendor, product and usages are the catalogue's.
    void plug(Model model);
    // Pulls the device out: enumeration no longer lists it, opens fail, calls on handles
    // already open fail.
    void unplug(Model model);
    bool isPlugged(Model model) const;

    void setFaults(Model model, const Faults &faults);
    void setSecrecyText(Model model, const std::string &text);  // default "417306"
    void setAcknowledges(Model model, bool sendsAcks);

    // Memory access for tests, under the bus lock.
    void withMouse(const std::function<void(MouseMemory &)> &fn);
    void withKeyboard(const std::function<void(KeyboardMemory &)> &fn);

    std::vector<Record> records() const;
    void clearRecords();
    // Also hands each record to `sink` as it is made, under the bus lock (a wire log of a
    // program run as a process); an empty sink stops it. Kept across reset().
    void setRecordSink(std::function<void(const Record &)> sink);
    // Command codes the model did not know, in order of arrival (they are otherwise ignored).
    std::vector<std::uint8_t> unknownCodes(Model model) const;
    // Number of handles currently open on any device.
    int openHandles() const;

    // Faults of the program seen since the last call (or reset), oldest first: overlapping
    // hidapi calls, refused reports, data-phase reports nobody read. A test fails on any.
    std::vector<std::string> takeViolations();
    // The same joined into one line; empty when there were none.
    std::string violationReport();
};

}  // namespace vhid
