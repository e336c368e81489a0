#pragma once

#include <QString>

// The usage text behind "Help?": one paragraph that the message box wraps.
QString helpText();
