// The host's code as the plugin reaches it: bytes at addresses, and calls into it.

#include "host/code.h"
#include "world/host_world.h"
#include "world/world.h"

namespace plugin {

std::uint8_t* CodePointer(CodeAddress address) { return sandbox::HostWorld().Code().Pointer(address); }

CodeAddress CodeAddressOf(void (*function)()) { return sandbox::HostWorld().Code().EntryFor(function); }

void CallCode(CodeAddress address) { sandbox::HostWorld().Code().Call(address); }

void CallCodeMethod(CodeAddress address, void* self, float a, float b, float c, float d, float e) {
    sandbox::HostWorld().Code().CallMethod(address, self, {a, b, c, d, e});
}

}  // namespace plugin
