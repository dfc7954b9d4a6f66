import QtQuick 2.15

// The 11-step slider: positions 0..10 (default 5); on release at x the position is
// max(0, ceil(11 × x / (width − 1)) − 1), x clamped to the track.
Slider {
    position: 5
    positions: 11
}
