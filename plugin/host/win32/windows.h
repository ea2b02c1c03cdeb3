#pragma once

// The few Windows calls the plugin makes. On Windows they are the system's own; elsewhere they are
// declared here with their Windows shapes and answered by stand-ins (memory.cpp, module.cpp) or by
// the host, so that plugin code reads the same on every platform. Profile reading lives in
// private_profile.h.

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

#include <cstddef>

using HMODULE = void*;

constexpr int VK_F10 = 0x79;
constexpr unsigned long GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = 4;
constexpr unsigned long GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = 2;
constexpr unsigned long PAGE_EXECUTE_READWRITE = 0x40;
constexpr unsigned int MB_ICONERROR = 0x10;

/// Bit 15 set while the key is down. Answered by the host's input.
short GetAsyncKeyState(int virtualKey);

/// With the from-address flag, `moduleName` is an address inside the module wanted.
int GetModuleHandleExA(unsigned long flags, const char* moduleName, void** module);
/// The module's full file name and its length; a name that does not fit is cut to size - 1
/// characters and `size` is returned.
unsigned long GetModuleFileNameA(void* module, char* fileName, unsigned long size);

/// Changes the protection of host memory; returns non-zero on success.
int VirtualProtect(void* address, std::size_t size, unsigned long newProtect, unsigned long* oldProtect);

/// Shows a message box. Answered by the host's desktop.
int MessageBoxA(void* window, const char* text, const char* caption, unsigned int type);

#endif
