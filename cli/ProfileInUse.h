#pragma once
// The profile w3ctl works on, kept between runs in "./modules/setting/w3ctl.ini". The window
// keeps its own choice for as long as it runs; `w3ctl profile N` sends profile N to the mouse.
#include "controller/AtomicWrite.h"

#include <QString>

namespace ProfileInUse {

constexpr const char *kStatePath = "./modules/setting/w3ctl.ini";

// Profile index 0..9; 0 when none was chosen or the file holds no valid index.
int load(const QString &path = kStatePath);
// Stores the profile; a damaged file is written sound. The file stays as it was when the
// write fails.
WriteOutcome save(int profile, const QString &path = kStatePath);

}  // namespace ProfileInUse
