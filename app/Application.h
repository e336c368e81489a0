#pragma once

class QApplication;

// The look every window of the program shares: name, style and the
// interface font the control rectangles were laid out for.
void configureApplication(QApplication& app);
