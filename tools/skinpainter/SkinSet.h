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

// Writes every picture of the skin under root/<skin folder>/. False, with the failing path in
// `error`, if a folder cannot be made or a file cannot be written.
bool writeSkin(const SkinStyle &skin, const QString &root, QString &error);

}  // namespace skinset
