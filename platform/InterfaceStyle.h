#pragma once

#include <QProxyStyle>

// Fusion with the tighter spacing of the classic controls: an option button's
// caption starts closer to its mark, so "Colors" fits its 49-pixel button.
class InterfaceStyle : public QProxyStyle
{
    Q_OBJECT

public:
    InterfaceStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
