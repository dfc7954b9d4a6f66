#include "virtual/WireLog.h"

#include "virtual/VirtualBus.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vhid {

namespace {

const char *operationName(Op op)
{
    switch (op) {
    case Op::Open: return "open";
    case Op::OpenFailed: return "open-failed";
    case Op::SendFeature: return "send-feature";
    case Op::GetFeature: return "get-feature";
    case Op::Write: return "write";
    case Op::Read: return "read";
    case Op::ReadTimeout: return "read-timeout";
    case Op::Close: return "close";
    }
    return "unknown";
}

std::string hex(const std::vector<std::uint8_t> &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0f];
    }
    return text.empty() ? "-" : text;
}

}  // namespace

bool logWireFromEnvironment()
{
    const char *path = std::getenv("W3_VIRTUAL_WIRE_LOG");
    if (!path || !*path)
        return true;
    // Left open for the life of the process: the bus logs until the process ends.
    std::FILE *file = std::fopen(path, "a");
    if (!file)
        return false;
    Bus::instance().setRecordSink([file](const Record &record) {
        const bool isFeature = record.op == Op::SendFeature || record.op == Op::GetFeature;
        std::fprintf(file, "%s %s.%s %s %d\n", operationName(record.op),
                     record.model == Model::Mouse ? "mouse" : "keyboard",
                     record.iface == Interface::Command ? "command" : "event",
                     hex(isFeature && !record.plainBlock.empty() ? record.plainBlock : record.bytes).c_str(),
                     record.result);
        std::fflush(file);
    });
    return true;
}

}  // namespace vhid
