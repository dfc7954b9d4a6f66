#pragma once
// The number of files and sockets the process may hold open. Desktops start programs with a
// soft limit of 1024 for the sake of programs that still use select(); this program does not,
// and serves local clients (OpenRGB's SDK) whose connections each take one.
namespace DescriptorLimit {

// Raises the soft limit to the hard one; logs why when the system refuses.
void raiseToHardLimit();

}  // namespace DescriptorLimit
