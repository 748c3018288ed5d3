#include "QtDialogService.h"
#include "VellorApp.h"
#include "WindowSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    ChooseWindowSystem();
    QApplication application(argc, argv);
    QtDialogService dialogs;
    CVellorApp app;
    app.InitInstance(dialogs);
    return 0;
}
