#include "settings/settings_classes.h"

#include "settings/form_storage.h"

// <windows.h> maps RegisterClass to the window-class function; here it is the toolkit's.
#undef RegisterClass

void RegisterSettingsClasses() {
    RegisterClass(TFormPlacement::StaticClass());
    RegisterClass(TFormStorage::StaticClass());
}
