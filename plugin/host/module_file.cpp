#include "host/module_file.h"

#include "host/win32/windows.h"

namespace plugin {

bool GetOwnModuleFileName(char* fileName, unsigned long size) {
    if (fileName == nullptr || size == 0) return false;
    fileName[0] = '\0';
    HMODULE module = nullptr;
    // Any address inside this module finds it; this function's own will do.
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<const char*>(&GetOwnModuleFileName), &module) == 0) {
        return false;
    }
    // A name that fills the buffer was cut: its folder part may name another folder altogether.
    const unsigned long length = GetModuleFileNameA(module, fileName, size);
    if (length == 0 || length >= size) {
        fileName[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace plugin
