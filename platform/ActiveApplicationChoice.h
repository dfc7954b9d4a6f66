#pragma once
// The back end that tells the application in front, chosen once at start from what the session
// offers; the choice is logged.
#include "platform/ActiveApplication.h"

#include <memory>

// The first back end of the list that fits the session and works; none when no back end does
// (the profile then follows no application).
std::unique_ptr<ActiveApplication> chooseActiveApplication();
