#pragma once

// The few Windows calls the plugin makes, with their Windows shapes, so that plugin code reads the
// same on every platform. Profile reading lives in private_profile.h.

#include <cstddef>

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
