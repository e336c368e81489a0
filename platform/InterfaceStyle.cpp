#include "platform/InterfaceStyle.h"

#include <QStyleFactory>

InterfaceStyle::InterfaceStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int InterfaceStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_RadioButtonLabelSpacing)
        return 4;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
