#include "app/HelpText.h"

QString helpText()
{
    return QStringLiteral(
        "First you have to choose, which you want to make - bind or name. "
        "To make a bind insert a command, what the bind will do and a key which will execute the bind. "
        "After this insert the value, like text what will appear or something. "
        "Then you must choose the directory of sof2mp.cfg and press 'Save'. "
        "To make a name just insert your wanted name in name box, choose sof2mp.cfg's directory if needed and press 'Save'. "
        "You can make your binds and names more colorful by pressing on the color boxes.");
}
