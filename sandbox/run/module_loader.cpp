#include "run/module_loader.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace sandbox {

LoadedModule::LoadedModule(const std::filesystem::path& path) {
    const std::string absolute = std::filesystem::absolute(path).string();
    // Local binding: the module's names never leak into the host's global scope.
    handle_ = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* error = dlerror();
        throw std::runtime_error("cannot load plugin module " + absolute + ": " +
                                 (error ? error : "unknown error"));
    }
}

LoadedModule::~LoadedModule() { dlclose(handle_); }

void* LoadedModule::Symbol(const char* name) const { return dlsym(handle_, name); }

const Settings* LoadedModule::SettingsRecord() const { return static_cast<const Settings*>(Symbol("cfg")); }

const char* ModuleFileName() { return "vigilor.so"; }

}  // namespace sandbox
