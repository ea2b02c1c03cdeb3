#pragma once

#include <filesystem>

#include "base/settings.h"

namespace sandbox {

/// The plugin module loaded with the platform's loader, as the host loads its plugins. Loading runs
/// the module's own start-up; unloading runs its teardown (which unhooks the host code).
class LoadedModule {
public:
    /// Throws std::runtime_error with the loader's message when the module cannot be loaded.
    explicit LoadedModule(const std::filesystem::path& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    /// An exported symbol of the module, or null.
    void* Symbol(const char* name) const;

    /// The module's exported settings record `cfg` as it holds it now (filled on its first frame), or
    /// null when the module exports none.
    const Settings* SettingsRecord() const;

private:
    void* handle_;
};

/// The module file's name on this platform: "vigilor.so", or "vigilor.dll" on Windows.
const char* ModuleFileName();

/// The folder this program was started from, where the built module lies beside it.
std::filesystem::path ProgramFolder();

}  // namespace sandbox
