#pragma once
// Pictures for judging a skin by eye: a contact sheet of every picture, and a mock of the
// whole window composed from the pictures at their regions.
#include "SkinStyle.h"

#include <QImage>
#include <QString>

namespace previewsheet {

// Reads the written pictures of the skin from root/<skin folder>/.
QImage contactSheet(const SkinStyle &skin, const QString &root);
enum class MockPage { Keys, Lighting, Settings };
QImage windowMock(const SkinStyle &skin, const QString &root, MockPage page);

}  // namespace previewsheet
