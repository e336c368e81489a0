#pragma once

#include <span>

// What each option button shows and hides, in order. The choices live only in
// the controls' visibility: Bind mode exactly while Combo1 is shown.
struct VisibilityStep
{
    const char* control;
    bool shown;
};

std::span<const VisibilityStep> bindModeSteps();      // Option2
std::span<const VisibilityStep> nameModeSteps();      // Option1
std::span<const VisibilityStep> coloursPanelSteps();  // Option3
std::span<const VisibilityStep> symbolsPanelSteps();  // Option4
