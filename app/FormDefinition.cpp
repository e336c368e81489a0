#include "app/FormDefinition.h"

QRect ControlDefinition::pixelRect() const
{
    if (kind == ControlKind::Line)
        return QRect(QPoint(twipsToPixels(a), twipsToPixels(b)), QPoint(twipsToPixels(c), twipsToPixels(d)));
    return twipsToPixels(QRect(a, b, c, d));
}

std::span<const ControlDefinition> formControls()
{
    return FormTable::controls;
}

const ControlDefinition* findControl(QStringView name)
{
    for (const ControlDefinition& control : FormTable::controls) {
        if (name == QLatin1StringView(control.name))
            return &control;
    }
    return nullptr;
}

QString defaultConfigPath()
{
    return QString::fromLatin1(FormTable::DefaultPath);
}
