#pragma once
// The virtual programs run as processes write what crosses their virtual bus to the file named
// by W3_VIRTUAL_WIRE_LOG, one line per hidapi call as it happens, so that a test outside the
// process can compare the bytes two programs sent:
//   <operation> <model>.<interface> <hex bytes> <result>
// where the bytes of a feature report are its plain 8-byte block (descrambled) and those of
// the other calls as they crossed the bus.
namespace vhid {

// Starts the log when the variable names a file (appended to); without it, does nothing.
// False when the file cannot be opened.
bool logWireFromEnvironment();

}  // namespace vhid
