#pragma once

#include <cstdint>

#include "host/code.h"

namespace plugin {

class BaseEvent;

/// Hooks the five-byte relative call at `site` so that the host runs the event's callbacks around
/// the call's destination. Hooks on one site chain: each calls the destination it replaced.
/// Returns a slot for RemoveCallHook, or -1 when no slot is free or the site is not a call.
int InstallCallHook(CodeAddress site, const BaseEvent* event);
/// Writes the site's original bytes back.
void RemoveCallHook(int slot);

/// Rewrites the relative call at `site` to call `destination`; returns the destination replaced.
CodeAddress WriteRelativeCall(CodeAddress site, CodeAddress destination);
/// Destination of the relative call at `site`, or 0 when the bytes there are not one.
CodeAddress ReadRelativeCall(CodeAddress site);

}  // namespace plugin
