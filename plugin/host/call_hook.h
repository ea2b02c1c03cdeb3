#pragma once

#include <cstdint>

#include "host/code.h"

namespace plugin {

class BaseEvent;

/// Hooks the five-byte relative call at `site` so that the host runs the event's callbacks around
/// the call's destination. Hooks on one site chain: each calls the destination it replaced.
/// Returns a slot for RemoveCallHook, or -1 when no slot is free, the site is not a call or the
/// code cannot be written.
int InstallCallHook(CodeAddress site, const BaseEvent* event);
/// Takes the hook out of its site's chain: the site's bytes as they were before it are written
/// back, or, when a later hook chains to it, that hook calls what this one called.
void RemoveCallHook(int slot);

/// Length of a relative call instruction: the opcode and a 32-bit displacement.
constexpr int kCallSize = 5;

/// Writes the five bytes of a call instruction at `site`, lifting the page protection for the write
/// when `unprotect` is set. False when the code could not be made writable (nothing is written).
bool WriteCallBytes(CodeAddress site, const std::uint8_t* bytes, bool unprotect = true);
/// Rewrites the relative call at `site` to call `destination`, lifting the page protection for the
/// write when `unprotect` is set. Returns the destination replaced, or 0 when nothing was written.
CodeAddress WriteRelativeCall(CodeAddress site, CodeAddress destination, bool unprotect = true);
/// Destination of the relative call at `site`, or 0 when the bytes there are not one.
CodeAddress ReadRelativeCall(CodeAddress site);

}  // namespace plugin
