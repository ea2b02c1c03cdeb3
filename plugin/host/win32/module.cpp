#include <dlfcn.h>

#include <cstring>

#include "host/win32/windows.h"

// Linux counterparts of the module calls: the module is found by an address inside it, and its
// handle is the loader's file name for it.

int GetModuleHandleExA(unsigned long flags, const char* moduleName, void** module) {
    if (module == nullptr) return 0;
    *module = nullptr;
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0) return 0;
    Dl_info info{};
    if (dladdr(moduleName, &info) == 0 || info.dli_fname == nullptr) return 0;
    *module = const_cast<char*>(info.dli_fname);
    return 1;
}

unsigned long GetModuleFileNameA(void* module, char* fileName, unsigned long size) {
    if (module == nullptr || fileName == nullptr || size == 0) return 0;
    const char* path = static_cast<const char*>(module);
    const auto length = static_cast<unsigned long>(std::strlen(path));
    // As Windows does: a name that does not fit is cut to size - 1 characters and the whole buffer
    // size is returned, so that the caller can tell it was cut.
    const unsigned long copied = length < size ? length : size - 1;
    std::memcpy(fileName, path, copied);
    fileName[copied] = '\0';
    return length < size ? length : size;
}
