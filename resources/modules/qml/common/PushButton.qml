import QtQuick 2.15

// A labelled 140 × 36 button: outline by default, accent fill when `primary`.
Button_2state {
    normalSource: primary ? "common/button_primary_0.png" : "common/button_0.png"
    hoverSource: primary ? "common/button_primary_1.png" : "common/button_1.png"
}
