#include "PreviewSheet.h"

#include "MouseLayout.h"
#include "PaintKit.h"
#include "SkinSet.h"
#include "WindowRegions.h"

#include <QDir>

using namespace paintkit;

namespace previewsheet {

namespace {

constexpr int kSheetWidth = 1640;
constexpr int kGap = 16;
constexpr int kCaption = 16;
constexpr int kLargeWidth = 1000;  // pictures this wide or wider are shown at half size

QImage load(const SkinStyle &skin, const QString &root, const QString &subPath)
{
    return QImage(QDir(root).filePath(skin.folder + QLatin1Char('/') + subPath));
}

void paintChecker(QPainter &painter, const QRect &area)
{
    const int cell = 8;
    painter.save();
    painter.setClipRect(area);
    for (int y = area.top(); y < area.bottom(); y += cell) {
        for (int x = area.left(); x < area.right(); x += cell) {
            const bool dark = ((x - area.left()) / cell + (y - area.top()) / cell) % 2 == 0;
            painter.fillRect(QRect(x, y, cell, cell), dark ? QColor("#202020") : QColor("#2A2A2A"));
        }
    }
    painter.restore();
}

QFont captionFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

void text(QPainter &painter, const QRectF &box, const QString &label, const QColor &color, int size,
          bool bold = false, Qt::Alignment align = Qt::AlignCenter)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(size);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, align, label);
}

void paintKeyPage(QPainter &painter, const SkinStyle &skin, const QString &root, const QPoint &page)
{
    const auto img = [&](const char *subPath) { return load(skin, root, QString::fromLatin1(subPath)); };
    const QColor ink("#AAAAAA");
    const QImage mouse = img("model_ms/model_W3_KeyDefine.png");
    const QPoint mouseAt = page + QPoint(30, 36);
    painter.drawImage(mouseAt, mouse);
    int number = 1;
    for (const mouselayout::ButtonCentre &button : mouselayout::buttonCentres()) {
        const QPointF c = mouseAt + button.centre;
        painter.setPen(QPen(skin.accent, 1));
        painter.setBrush(withAlpha(skin.panel, 0.85));
        painter.drawEllipse(c, 8, 8);
        text(painter, QRectF(c.x() - 8, c.y() - 8, 16, 16), QString::number(number++), skin.accent, 10, true);
    }
    const QPoint right = page + QPoint(380, 40);
    text(painter, QRectF(right, QSize(300, 20)), QStringLiteral("BUTTON 1 · LEFT"), ink, 12, true, Qt::AlignLeft);
    for (int k = 0; k < 4; ++k) {
        const QPoint row = right + QPoint(0, 34 + k * 28);
        painter.drawImage(row, img(k == 1 ? "common/radio_1.png" : "common/radio_0.png"));
        text(painter, QRectF(row + QPoint(28, 0), QSize(200, 20)),
             QStringList{"MOUSE", "KEYBOARD", "MEDIA", "MACRO"}[k], k == 1 ? skin.accent : ink, 12, false, Qt::AlignLeft | Qt::AlignVCenter);
    }
    painter.drawImage(right + QPoint(0, 160), img("common/dropdown_1.png"));
    painter.drawImage(right + QPoint(176, 170), img("common/arrow_down.png"));
    text(painter, QRectF(right + QPoint(12, 160), QSize(150, 32)), QStringLiteral("Ctrl + C"), ink, 12, false, Qt::AlignLeft | Qt::AlignVCenter);
    painter.drawImage(right + QPoint(0, 212), img("common/check_1.png"));
    text(painter, QRectF(right + QPoint(28, 212), QSize(200, 20)), QStringLiteral("REPEAT"), ink, 12, false, Qt::AlignLeft | Qt::AlignVCenter);
    painter.drawImage(right + QPoint(0, 252), img("common/slider_track.png"));
    painter.drawImage(right + QPoint(140, 246), img("common/slider_knob_1.png"));
    painter.drawImage(right + QPoint(250, 244), img("common/palette.png").copy(0, 0, 24, 24));
    painter.drawImage(right + QPoint(0, 290), img("common/plus_0.png"));
    painter.drawImage(right + QPoint(36, 290), img("common/delete_1.png"));
}

void paintLightingPage(QPainter &painter, const SkinStyle &skin, const QString &root, const QPoint &page)
{
    const auto img = [&](const char *subPath) { return load(skin, root, QString::fromLatin1(subPath)); };
    const QColor ink("#AAAAAA");
    const QColor light("#FF2BD6");
    const QPoint mouseAt = page + QPoint(30, 36);
    painter.drawImage(mouseAt, img("model_ms/model_W3_Color.png"));
    QImage glow = img("model_ms/model_W3_Color_glow.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter tint(&glow);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(glow.rect(), light);
    }
    painter.drawImage(mouseAt, glow);
    const QPoint right = page + QPoint(380, 40);
    text(painter, QRectF(right, QSize(300, 20)), QStringLiteral("EFFECT"), ink, 12, true, Qt::AlignLeft);
    painter.drawImage(right + QPoint(0, 26), img("common/dropdown_0.png"));
    painter.drawImage(right + QPoint(176, 36), img("common/arrow_down.png"));
    text(painter, QRectF(right + QPoint(12, 26), QSize(150, 32)), QStringLiteral("BREATHING"), ink, 12, false,
         Qt::AlignLeft | Qt::AlignVCenter);
    const QStringList sliders = {"SPEED", "BRIGHTNESS"};
    for (int k = 0; k < sliders.size(); ++k) {
        const QPoint row = right + QPoint(0, 84 + k * 44);
        text(painter, QRectF(row, QSize(200, 16)), sliders[k], ink, 11, true, Qt::AlignLeft);
        painter.drawImage(row + QPoint(0, 24), img("common/slider_track.png"));
        painter.drawImage(row + QPoint(k == 0 ? 100 : 170, 18), img(k == 0 ? "common/slider_knob_0.png" : "common/slider_knob_1.png"));
    }
    const QColor colours[] = {QColor("#FF2BD6"), QColor("#FF0000"), QColor("#FFB400"), QColor("#00FF66"),
                              QColor("#00FFFF"), QColor("#2060FF"), QColor("#A040FF"), QColor("#FFFFFF")};
    for (int k = 0; k < 8; ++k) {
        const QRectF swatch(right.x() + k * 30 + 0.5, right.y() + 190.5, 23, 23);
        painter.setPen(QPen(k == 0 ? skin.accent : skin.stroke, 1));
        painter.setBrush(colours[k]);
        painter.drawRoundedRect(swatch, 5, 5);
    }
    painter.drawImage(right + QPoint(270, 84), img("common/palette.png"));
}

}  // namespace

QImage contactSheet(const SkinStyle &skin, const QString &root)
{
    // Lay the pictures out in rows, wrapping at the sheet width.
    struct Placed {
        QString name;
        QImage image;
        QRect box;
    };
    QVector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const skinset::Picture &entry : skinset::pictures()) {
        QImage image = load(skin, root, entry.subPath);
        if (image.width() >= kLargeWidth)
            image = image.scaledToWidth(image.width() / 2, Qt::SmoothTransformation);
        const int width = qMax(image.width(), 130);
        if (x + width + kGap > kSheetWidth) {
            x = kGap;
            y += rowHeight + kCaption + kGap;
            rowHeight = 0;
        }
        placed.append({entry.subPath, image, QRect(x, y, image.width(), image.height())});
        x += width + kGap;
        rowHeight = qMax(rowHeight, image.height());
    }
    QImage sheet(kSheetWidth, y + rowHeight + kCaption + kGap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor("#111111"));
    QPainter painter(&sheet);
    for (const Placed &item : placed) {
        paintChecker(painter, item.box);
        painter.drawImage(item.box.topLeft(), item.image);
        painter.setFont(captionFont());
        painter.setPen(QColor("#9A9A9A"));
        painter.drawText(QPointF(item.box.left(), item.box.bottom() + 13), item.name);
    }
    return sheet;
}

QImage windowMock(const SkinStyle &skin, const QString &root, MockPage shown)
{
    const bool settingsOpen = shown == MockPage::Settings;
    const auto img = [&](const char *subPath) { return load(skin, root, QString::fromLatin1(subPath)); };
    QImage window(regions::kWindow, QImage::Format_ARGB32_Premultiplied);
    window.fill(QColor("#303030"));  // what a desktop behind the rounded corners might show
    QPainter painter(&window);
    prepare(painter);
    const QColor ink("#AAAAAA");

    painter.drawImage(0, 0, img("background.png"));
    painter.drawImage(0, 0, img("frame/decoration.png"));
    painter.drawImage(0, 0, img("list_up/bar.png"));
    painter.drawImage(0, regions::kBottomBar.top(), img("list_dn/bar.png"));
    painter.drawImage(14, 8, img("frame/wordmark.png"));
    painter.drawImage((regions::kWindow.width() - 180) / 2, 4, img("frame/web_0.png"));
    painter.drawImage(908, 12, img("list_up/settings_0.png"));
    painter.drawImage(950, 12, img("list_up/close_1.png"));

    const char *icons[] = {"list_fn/icon_key.png", "list_fn/icon_macro.png", "list_fn/icon_color.png",
                           "list_fn/icon_sensor.png"};
    const char *labels[] = {"KEY", "MACRO", "COLOR", "SENSOR"};
    for (int k = 0; k < 4; ++k) {
        const int top = 64 + k * 96;
        painter.setOpacity(settingsOpen ? 0.2 : 1.0);
        painter.drawImage(0, top, img(k == 0 ? "list_fn/tab_2.png" : k == 2 ? "list_fn/tab_1.png" : "list_fn/tab_0.png"));
        painter.drawImage(59, top + 16, img(icons[k]));
        text(painter, QRectF(8, top + 56, 138, 24), QString::fromLatin1(labels[k]), k == 0 ? skin.accent : ink, 12, true);
    }
    for (int k = 0; k < 10; ++k) {
        const int top = 66 + k * 44;
        painter.drawImage(885, top, img(k == 0 ? "list_pf/row_2.png" : k == 3 ? "list_pf/row_1.png" : "list_pf/row_0.png"));
        text(painter, QRectF(885, top, 110, 38), QStringLiteral("P%1").arg(k + 1, 2, 10, QLatin1Char('0')),
             k == 0 ? skin.accent : ink, 12, k == 0);
    }

    const QPoint page = regions::kPageArea.topLeft();
    painter.drawImage(page, img("list_center/page.png"));
    if (shown == MockPage::Lighting)
        paintLightingPage(painter, skin, root, page);
    else
        paintKeyPage(painter, skin, root, page);
    const QPoint buttons = page + QPoint(710 - 300, 472 - 56);
    painter.drawImage(buttons, img("common/button_0.png"));
    text(painter, QRectF(buttons, QSize(140, 36)), QStringLiteral("RESET"), ink, 12, true);
    painter.drawImage(buttons + QPoint(150, 0), img("common/button_primary_0.png"));
    text(painter, QRectF(buttons + QPoint(150, 0), QSize(140, 36)), QStringLiteral("APPLY"), QColor("#F2F6F8"), 12, true);

    painter.setOpacity(1.0);
    if (settingsOpen) {
        painter.drawImage(page, img("list_center/settings.png"));
        text(painter, QRectF(page + QPoint(24, 0), QSize(300, 48)), QStringLiteral("SETTINGS"), skin.accent, 13, true,
             Qt::AlignLeft | Qt::AlignVCenter);
        const QStringList rows = {"SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND", "TEXT SIZE", "TEXT COLOR", "BRIGHTNESS"};
        for (int k = 0; k < rows.size(); ++k) {
            const QPoint row = page + QPoint(24, 64 + k * 44);
            text(painter, QRectF(row, QSize(160, 32)), rows[k], ink, 12, true, Qt::AlignLeft | Qt::AlignVCenter);
            painter.drawImage(row + QPoint(170, 0), img(k == 3 ? "common/dropdown_1.png" : "common/dropdown_0.png"));
            painter.drawImage(row + QPoint(170 + 176, 10), img("common/arrow_down.png"));
        }
        painter.drawImage(page + QPoint(640, 64), img("common/palette.png"));
    }

    painter.drawImage(840 - 150, 554, img("common/button_0.png"));
    text(painter, QRectF(840 - 150, 554, 140, 36), QStringLiteral("ALL RESET"), ink, 12, true);
    painter.drawImage(840, 554, img("common/button_primary_1.png"));
    text(painter, QRectF(840, 554, 140, 36), QStringLiteral("ALL SAVE"), QColor("#F2F6F8"), 12, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor("#3CE07A"));
    painter.drawEllipse(QPointF(24, 572), 4, 4);
    text(painter, QRectF(36, 560, 300, 24), QStringLiteral("W3 Mouse  ·  FW 1.0A"), ink, 12, false, Qt::AlignLeft | Qt::AlignVCenter);
    return window;
}

}  // namespace previewsheet
