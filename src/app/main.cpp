// Snimanje.exe: start-up and shutdown of the backup tool.
#include <windows.h>

#include "app/form_snimanje_podataka.h"
#include "db/db_framework.h"
#include "toolkit/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RegisterDialogClasses();
    DatabaseFramework().Startup(Application());
    Application().Initialize();
    try {
        Application().CreateForm<TFSnimanjePodataka>();
        Application().Run();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
    Application().Shutdown();
    DatabaseFramework().Shutdown();
    return 0;
}
