#pragma once
// Every picture of a skin by its path under the skin folder, and writing them all.
#include "SkinStyle.h"

#include <QImage>
#include <QString>
#include <QVector>
#include <functional>

namespace skinset {

struct Picture {
    QString subPath;  // e.g. "common/button_0.png"
    std::function<QImage(const SkinStyle &)> draw;
};

const QVector<Picture> &pictures();

// The pixel scales every picture is written at: 1× as "name.png", 2× as "name@2x.png" beside
// it, where Qt looks for the sharper one on a scaled screen.
const QVector<int> &pixelScales();
QString scaledPath(const QString &subPath, int scale);
// The picture with `scale` pixels per scene unit, drawn at that resolution.
QImage draw(const Picture &picture, const SkinStyle &skin, int scale);

// Writes every picture of the skin at every pixel scale under root/<skin folder>/. False, with the failing path in
// `error`, if a folder cannot be made or a file cannot be written.
bool writeSkin(const SkinStyle &skin, const QString &root, QString &error);

}  // namespace skinset
