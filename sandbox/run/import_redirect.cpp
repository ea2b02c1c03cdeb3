#include "run/import_redirect.h"

#ifdef _WIN32

#include <cstring>

#include "host_api/desktop.h"

namespace sandbox {

namespace {

SHORT WINAPI KeyStateForModule(int virtualKey) { return HostKeyState(virtualKey); }

int WINAPI MessageBoxForModule(HWND, LPCSTR text, LPCSTR caption, UINT) {
    return HostMessageBox(text, caption);
}

// The replacement for an import by name from user32, or null to leave the slot alone.
ULONG_PTR ReplacementFor(const char* name) {
    if (std::strcmp(name, "GetAsyncKeyState") == 0) return reinterpret_cast<ULONG_PTR>(&KeyStateForModule);
    if (std::strcmp(name, "MessageBoxA") == 0) return reinterpret_cast<ULONG_PTR>(&MessageBoxForModule);
    return 0;
}

void WriteSlot(IMAGE_THUNK_DATA* slot, ULONG_PTR value) {
    DWORD old = 0;
    // The import table may sit in a read-only section once the loader is done with it.
    if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old) == 0) return;
    slot->u1.Function = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

int RedirectDesktopImports(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return 0;
    int rewritten = 0;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), "user32.dll") != 0) continue;
        // Names come from the unbound list; the bound slots are what the module calls through.
        const DWORD names = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + names);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (const ULONG_PTR replacement = ReplacementFor(reinterpret_cast<const char*>(byName->Name))) {
                WriteSlot(slot, replacement);
                ++rewritten;
            }
        }
    }
    return rewritten;
}

}  // namespace sandbox

#endif
