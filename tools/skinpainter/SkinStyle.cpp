#include "SkinStyle.h"

QColor SkinStyle::accentAt(qreal alpha) const
{
    QColor color = accent;
    color.setAlphaF(alpha);
    return color;
}

SkinStyle carbonStyle()
{
    return {QStringLiteral("skin1"), QStringLiteral("Carbon"), SkinStyle::Surface::CarbonWeave,
            QColor("#0E1116"), QColor("#161B22"), QColor("#1B222C"), QColor("#222B37"),
            QColor("#2E3A48"), QColor("#4A5D73"), QColor("#00FFFF"), 0.35, QColor("#AAAAAA"),
            QColor("#FF4D5E"), QColor("#3A4553"), QColor("#161B22")};
}

SkinStyle emberStyle()
{
    return {QStringLiteral("skin2"), QStringLiteral("Ember"), SkinStyle::Surface::BrushedMetal,
            QColor("#17110F"), QColor("#231815"), QColor("#241A17"), QColor("#2E211C"),
            QColor("#4A3128"), QColor("#7A5444"), QColor("#FFB400"), 0.40, QColor("#AAAAAA"),
            QColor("#FF5A3C"), QColor("#4A3830"), QColor("#1C1411")};
}

QVector<SkinStyle> allSkins()
{
    return {carbonStyle(), emberStyle()};
}
