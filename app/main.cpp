#include "app/Application.h"
#include "app/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    configureApplication(app);
    Form1 form;
    form.show();
    return app.exec();
}
