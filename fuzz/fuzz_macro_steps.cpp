// The macro encoder on arbitrary step lines, for both devices and an unknown one: the image
// always starts with the header and ends with the terminator, and cutting it to a slot keeps
// whole records and the terminator within the slot.
#include "controller/KeyNameTable.h"
#include "controller/MacroEncoder.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkImage(const QList<uchar> &image)
{
    require(image.size() >= MacroImage::kHeaderLength + MacroImage::kTerminatorLength);
    require(image.at(0) == 0x00 && image.at(1) == 0x01);
    require(image.at(image.size() - 2) == 0x00 && image.last() == 0x00);
}

void checkFitted(const QList<uchar> &image, int capacity)
{
    const QList<uchar> fitted = fitMacroImage(image, capacity);
    if (image.size() <= capacity) {
        require(fitted == image);
        return;
    }
    require(fitted.size() <= capacity);
    require(fitted.mid(0, fitted.size() - MacroImage::kTerminatorLength)
            == image.mid(0, fitted.size() - MacroImage::kTerminatorLength));
    require(fitted.at(fitted.size() - 2) == 0x00 && fitted.last() == 0x00);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const KeyNameTable keys;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), int(size)).split('\n');
    for (uint device : {0u, 1u, 2u}) {
        const QList<uchar> image = encodeMacro(lines, device, keys);
        checkImage(image);
        checkFitted(image, MacroImage::kMouseCapacity);
        checkFitted(image, MacroImage::kKeyboardCapacity);
    }
    return 0;
}
