#include "run/module_loader.h"

#ifdef _WIN32
#include "host/win32/windows.h"
#include "run/import_redirect.h"
#else
#include <dlfcn.h>
#endif

#include <stdexcept>
#include <string>

namespace sandbox {

namespace {

[[noreturn]] void CannotLoad(const std::string& path, const std::string& why) {
    throw std::runtime_error("cannot load plugin module " + path + ": " + why);
}

}  // namespace

#ifdef _WIN32

// Paths go to and come from the system in its wide form: the narrow one is the code page's, which
// cannot spell every folder name, where a narrow path of the C++ library is UTF-8.
LoadedModule::LoadedModule(const std::filesystem::path& path) {
    const std::filesystem::path absolute = std::filesystem::absolute(path);
    HMODULE module = LoadLibraryW(absolute.c_str());
    if (module == nullptr) CannotLoad(absolute.string(), "error " + std::to_string(GetLastError()));
    // Before the first frame, so that the module's first key-state query already reads our input.
    RedirectDesktopImports(module);
    handle_ = module;
}

LoadedModule::~LoadedModule() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* LoadedModule::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

const char* ModuleFileName() { return "vigilor.dll"; }

std::filesystem::path ProgramFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return std::filesystem::path(path).parent_path();
}

#else

LoadedModule::LoadedModule(const std::filesystem::path& path) {
    const std::string absolute = std::filesystem::absolute(path).string();
    // Local binding: the module's names never leak into the host's global scope.
    handle_ = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* error = dlerror();
        CannotLoad(absolute, error ? error : "unknown error");
    }
}

LoadedModule::~LoadedModule() { dlclose(handle_); }

void* LoadedModule::Symbol(const char* name) const { return dlsym(handle_, name); }

const char* ModuleFileName() { return "vigilor.so"; }

std::filesystem::path ProgramFolder() { return std::filesystem::canonical("/proc/self/exe").parent_path(); }

#endif

const Settings* LoadedModule::SettingsRecord() const { return static_cast<const Settings*>(Symbol("cfg")); }

}  // namespace sandbox
