#include "app/ModeSwitching.h"

#include "app/FormDefinition.h"

#include <array>

namespace {

constexpr bool Show = true;
constexpr bool Hide = false;

constexpr std::array<VisibilityStep, 10> bindMode{{
    {"Label97", Show},
    {"Label94", Show},
    {"Label1", Show},
    {"Combo1", Show},
    {"Combo2", Show},
    {"Label2", Hide},
    {"Text1", Show},
    {"Command1", Show},
    {"Label131", Hide},
    {"Label130", Hide},
}};

constexpr std::array<VisibilityStep, 10> nameMode{{
    {"Label94", Hide},
    {"Label1", Hide},
    {"Combo1", Hide},
    {"Combo2", Hide},
    {"Label2", Show},
    {"Label97", Hide},
    {"Text1", Show},
    {"Command1", Show},
    {"Label131", Hide},
    {"Label130", Hide},
}};

constexpr std::array<VisibilityStep, 4> coloursPanel{{
    {"Picture1", Show},
    {"Picture3", Hide},
    {"Label132", Hide},
    {"Label133", Hide},
}};

constexpr std::array<VisibilityStep, 4> symbolsPanel{{
    {"Picture1", Hide},
    {"Picture3", Show},
    {"Label132", Hide},
    {"Label133", Hide},
}};

template <std::size_t Count>
constexpr bool namesOnlyFormControls(const std::array<VisibilityStep, Count>& steps)
{
    for (const VisibilityStep& step : steps) {
        if (!isFormControl(step.control))
            return false;
    }
    return true;
}

// Each name is looked up when the button is clicked; a name the window lacks
// must not wait until then to show.
static_assert(namesOnlyFormControls(bindMode));
static_assert(namesOnlyFormControls(nameMode));
static_assert(namesOnlyFormControls(coloursPanel));
static_assert(namesOnlyFormControls(symbolsPanel));

} // namespace

std::span<const VisibilityStep> bindModeSteps() { return bindMode; }
std::span<const VisibilityStep> nameModeSteps() { return nameMode; }
std::span<const VisibilityStep> coloursPanelSteps() { return coloursPanel; }
std::span<const VisibilityStep> symbolsPanelSteps() { return symbolsPanel; }
