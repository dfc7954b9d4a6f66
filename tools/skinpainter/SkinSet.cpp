#include "SkinSet.h"

#include "ControlPainter.h"
#include "FramePainter.h"
#include "MenuPainter.h"
#include "MousePainter.h"
#include "PaintKit.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace skinset {

namespace {

using menupainter::State;
using menupainter::TabIcon;

template <typename Draw>
Picture picture(const char *subPath, Draw draw)
{
    return {QString::fromLatin1(subPath), draw};
}

bool save(const QImage &image, const QString &path, QString &error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("cannot create the folder of %1").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace

const QVector<Picture> &pictures()
{
    namespace fp = framepainter;
    namespace mp = menupainter;
    namespace cp = controlpainter;
    namespace ms = mousepainter;
    static const QVector<Picture> all = {
        picture("background.png", fp::background),
        picture("frame/decoration.png", fp::decoration),
        picture("frame/web_0.png", [](const SkinStyle &s) { return fp::webLogo(s, false); }),
        picture("frame/web_1.png", [](const SkinStyle &s) { return fp::webLogo(s, true); }),
        picture("frame/wordmark.png", fp::wordmark),
        picture("list_up/bar.png", fp::topBar),
        picture("list_dn/bar.png", fp::bottomBar),
        picture("list_up/settings_0.png", [](const SkinStyle &s) { return fp::settingsButton(s, false); }),
        picture("list_up/settings_1.png", [](const SkinStyle &s) { return fp::settingsButton(s, true); }),
        picture("list_up/close_0.png", [](const SkinStyle &s) { return fp::closeButton(s, false); }),
        picture("list_up/close_1.png", [](const SkinStyle &s) { return fp::closeButton(s, true); }),
        picture("list_fn/tab_0.png", [](const SkinStyle &s) { return mp::functionTab(s, State::Normal); }),
        picture("list_fn/tab_1.png", [](const SkinStyle &s) { return mp::functionTab(s, State::Hover); }),
        picture("list_fn/tab_2.png", [](const SkinStyle &s) { return mp::functionTab(s, State::Selected); }),
        picture("list_fn/icon_key.png", [](const SkinStyle &s) { return mp::tabIcon(s, TabIcon::Key); }),
        picture("list_fn/icon_macro.png", [](const SkinStyle &s) { return mp::tabIcon(s, TabIcon::Macro); }),
        picture("list_fn/icon_color.png", [](const SkinStyle &s) { return mp::tabIcon(s, TabIcon::Color); }),
        picture("list_fn/icon_sensor.png", [](const SkinStyle &s) { return mp::tabIcon(s, TabIcon::Sensor); }),
        picture("list_pf/row_0.png", [](const SkinStyle &s) { return mp::profileRow(s, State::Normal); }),
        picture("list_pf/row_1.png", [](const SkinStyle &s) { return mp::profileRow(s, State::Hover); }),
        picture("list_pf/row_2.png", [](const SkinStyle &s) { return mp::profileRow(s, State::Selected); }),
        picture("list_center/page.png", mp::pagePanel),
        picture("list_center/settings.png", mp::settingsSheet),
        picture("common/button_0.png", [](const SkinStyle &s) { return cp::button(s, false); }),
        picture("common/button_1.png", [](const SkinStyle &s) { return cp::button(s, true); }),
        picture("common/button_primary_0.png", [](const SkinStyle &s) { return cp::primaryButton(s, false); }),
        picture("common/button_primary_1.png", [](const SkinStyle &s) { return cp::primaryButton(s, true); }),
        picture("common/check_0.png", [](const SkinStyle &s) { return cp::checkBox(s, false); }),
        picture("common/check_1.png", [](const SkinStyle &s) { return cp::checkBox(s, true); }),
        picture("common/radio_0.png", [](const SkinStyle &s) { return cp::radioButton(s, false); }),
        picture("common/radio_1.png", [](const SkinStyle &s) { return cp::radioButton(s, true); }),
        picture("common/slider_track.png", cp::sliderTrack),
        picture("common/slider_knob_0.png", [](const SkinStyle &s) { return cp::sliderKnob(s, false); }),
        picture("common/slider_knob_1.png", [](const SkinStyle &s) { return cp::sliderKnob(s, true); }),
        picture("common/dropdown_0.png", [](const SkinStyle &s) { return cp::dropdown(s, false); }),
        picture("common/dropdown_1.png", [](const SkinStyle &s) { return cp::dropdown(s, true); }),
        picture("common/arrow_down.png", cp::arrowDown),
        picture("common/plus_0.png", [](const SkinStyle &s) { return cp::plusButton(s, false); }),
        picture("common/plus_1.png", [](const SkinStyle &s) { return cp::plusButton(s, true); }),
        picture("common/delete_0.png", [](const SkinStyle &s) { return cp::deleteButton(s, false); }),
        picture("common/delete_1.png", [](const SkinStyle &s) { return cp::deleteButton(s, true); }),
        picture("common/palette.png", [](const SkinStyle &) { return cp::paletteStrip(); }),
        picture("model_ms/model_W3_KeyDefine.png", ms::keyDefinePicture),
        picture("model_ms/model_W3_Color.png", ms::colorPicture),
        picture("model_ms/model_W3_Color_glow.png", [](const SkinStyle &) { return ms::glowMask(); }),
    };
    return all;
}

const QVector<int> &pixelScales()
{
    static const QVector<int> scales = {1, 2};
    return scales;
}

QString scaledPath(const QString &subPath, int scale)
{
    if (scale == 1)
        return subPath;
    const int dot = subPath.lastIndexOf(QLatin1Char('.'));
    return subPath.left(dot) + QStringLiteral("@%1x").arg(scale) + subPath.mid(dot);
}

QImage draw(const Picture &picture, const SkinStyle &skin, int scale)
{
    const paintkit::PixelScale pixels(scale);
    return picture.draw(skin);
}

bool writeSkin(const SkinStyle &skin, const QString &root, QString &error)
{
    const QDir folder(QDir(root).filePath(skin.folder));
    for (const Picture &entry : pictures()) {
        for (const int scale : pixelScales()) {
            if (!save(draw(entry, skin, scale), folder.filePath(scaledPath(entry.subPath, scale)), error))
                return false;
        }
    }
    return true;
}

}  // namespace skinset
