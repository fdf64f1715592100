#include "toolkit/form_resource.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/form_reader.h"
#include "core/text.h"

void ReadFormResource(TComponent& root, const std::string& resourceName) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!res) throw EReadError(Format("Resource %s not found", resourceName.c_str()));
    HGLOBAL data = LoadResource(module, res);
    const char* bytes = static_cast<const char*>(LockResource(data));
    ReadFormDescription(root, std::string(bytes, SizeofResource(module, res)));
}
