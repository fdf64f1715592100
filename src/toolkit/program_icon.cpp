#include "toolkit/program_icon.h"

#include <string>

namespace {

BOOL CALLBACK TakeFirst(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    auto* first = reinterpret_cast<std::string*>(found);
    // A numbered group comes as #N, as FindResource and LoadImage take it.
    *first = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
    return FALSE;
}

}  // namespace

HICON LoadProgramIcon(int size) {
    HMODULE module = GetModuleHandleA(nullptr);
    std::string first;
    EnumResourceNamesA(module, RT_GROUP_ICON, &TakeFirst, reinterpret_cast<LONG_PTR>(&first));
    if (first.empty()) return nullptr;
    return static_cast<HICON>(LoadImageA(module, first.c_str(), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
