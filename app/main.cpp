#include "app/Application.h"
#include "app/Form1.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // Past a file-size limit a write should fail and the save report it,
    // not end the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    configureApplication(app);
    Form1 form;
    form.show();
    return app.exec();
}
