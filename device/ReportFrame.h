#pragma once
// Byte positions of the 9-byte feature report and of the 8-byte block it carries.
namespace frame {
constexpr int kFeatureReportSize = 9;
constexpr int kReportIdPos = 0;   // always 0x00
constexpr int kBlockPos = 1;      // the command or reply block follows the report ID
constexpr int kBlockSize = 8;

// Positions inside a block (B0..B7 of a command, A0..A7 of a reply).
constexpr int kCodePos = 0;
constexpr int kFirstParamPos = 1;
constexpr int kLastParamPos = 6;
constexpr int kCheckPos = 7;

constexpr unsigned char kReportId = 0x00;
constexpr unsigned char kReadBit = 0x80;  // a read uses the code of its write with bit 7 set

// Acknowledgement the device sends on its event interface.
constexpr int kAckSize = 4;
constexpr unsigned char kAck[kAckSize] = {0x04, 0x04, 0x00, 0x00};
}  // namespace frame
