#include "host/module_file.h"

#include "host/win32/windows.h"

namespace plugin {

void GetOwnModuleFileName(char* fileName, unsigned long size) {
    if (fileName == nullptr || size == 0) return;
    fileName[0] = '\0';
    void* module = nullptr;
    // Any address inside this module finds it; this function's own will do.
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<const char*>(&GetOwnModuleFileName), &module) == 0) {
        return;
    }
    GetModuleFileNameA(module, fileName, size);
}

}  // namespace plugin
