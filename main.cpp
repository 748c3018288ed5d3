#include "QtDialogService.h"
#include "VellorApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QtDialogService dialogs;
    CVellorApp app;
    app.InitInstance(dialogs);
    return 0;
}
