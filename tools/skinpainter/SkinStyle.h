#pragma once
// The colours and surface of one skin; every picture of a skin is drawn from these alone.
#include <QColor>
#include <QString>
#include <QVector>

struct SkinStyle {
    enum class Surface { CarbonWeave, BrushedMetal };

    QString folder;            // sub-folder under modules/img, e.g. "skin1"
    QString name;              // shown on the preview sheet
    Surface surface;
    QColor backgroundTop;
    QColor backgroundBottom;
    QColor panel;
    QColor panelRaised;        // hover and sheet surfaces, a step lighter than panel
    QColor stroke;
    QColor strokeBright;       // outlines of controls that must read on a panel
    QColor accent;
    qreal glowAlpha;           // strength of the soft outer glow around accent lines
    QColor text;               // normal text colour of the scene
    QColor danger;             // hover of the close and delete buttons
    QColor shellTop;           // mouse body, lit end
    QColor shellBottom;        // mouse body, shaded end

    QColor accentAt(qreal alpha) const;
    QColor glow() const { return accentAt(glowAlpha); }
};

SkinStyle carbonStyle();
SkinStyle emberStyle();
QVector<SkinStyle> allSkins();
