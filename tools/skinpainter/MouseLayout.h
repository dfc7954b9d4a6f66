#pragma once
// The mouse picture's geometry (300 × 400, seen from above, nose up). The button centres are
// the ones the key page places its callouts on; the shapes are built around them.
#include <QPainterPath>
#include <QPointF>
#include <QSize>
#include <QVector>

namespace mouselayout {

constexpr QSize kPictureSize(300, 400);

struct ButtonCentre {
    int slot;       // the key page's button slot
    QPointF centre;
};

// Left, right, middle, scroll up, scroll down, DPI up, DPI down, forward, backward.
const QVector<ButtonCentre> &buttonCentres();
QPointF centreOf(int slot);

QPainterPath body();            // the whole outline
QPainterPath leftShell();
QPainterPath rightShell();
QPainterPath palm();             // the body behind the shells
QRectF wheelSlot();
QRectF wheel();
QRectF dpiUp();
QRectF dpiDown();
QRectF sideForward();
QRectF sideBackward();

// Light zones: logo, the ring round the wheel, the strip along both rear flanks.
QRectF logoBox();
QPainterPath wheelRing();
QPainterPath sideStrip();

}  // namespace mouselayout
