#pragma once

#include <QProxyStyle>

// Fusion with the plainness of the classic controls: an option button's
// caption starts closer to its mark, so "Colors" fits its 49-pixel button,
// and the message boxes' buttons carry words only.
class InterfaceStyle : public QProxyStyle
{
    Q_OBJECT

public:
    InterfaceStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
