#pragma once
// The 1..20 pointer speed scale on the -1..1 scale of libinput-based desktops (GNOME's
// "speed", Plasma's pointer acceleration): speed 10, the neutral value, maps to 0, 1 to -1
// and 20 to 1, linearly on either side. Speeds outside 1..20 are clamped.
namespace pointerspeed {

constexpr int kMinSpeed = 1;
constexpr int kNeutralSpeed = 10;
constexpr int kMaxSpeed = 20;

double libinputSpeed(int systemSpeed);

}  // namespace pointerspeed
