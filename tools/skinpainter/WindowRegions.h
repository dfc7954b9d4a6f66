#pragma once
// Where the frame's parts sit in the 1000 × 600 window.
#include <QRect>
#include <QSize>

namespace regions {

constexpr QSize kWindow(1000, 600);
constexpr int kRadius = 10;
constexpr QRect kTopBar(0, 0, 1000, 56);
constexpr QRect kBottomBar(0, 544, 1000, 56);
constexpr QRect kFunctionMenu(0, 56, 150, 488);
constexpr QRect kProfileMenu(880, 56, 120, 488);
constexpr QRect kPageArea(160, 64, 710, 472);

}  // namespace regions
