#include "host/events.h"

#include <algorithm>

#include "host/call_hook.h"
#include "host/game_version.h"

namespace plugin {

BaseEvent::BaseEvent(std::vector<CallSite> sites) : sites_(std::move(sites)) {}

BaseEvent::~BaseEvent() {
    // Unhook in reverse order so that chained hooks unwind to the host's own bytes.
    for (auto it = hooks_.rbegin(); it != hooks_.rend(); ++it) RemoveCallHook(*it);
}

void BaseEvent::AddBefore(Callback callback, unsigned int id) { Add(before_, callback, id); }
void BaseEvent::AddAfter(Callback callback, unsigned int id) { Add(after_, callback, id); }

void BaseEvent::Add(std::vector<Entry>& list, Callback callback, unsigned int id) {
    const bool listed = std::any_of(list.begin(), list.end(), [&](const Entry& e) {
        return id != 0 ? e.id == id : e.callback == callback;
    });
    if (listed) return;
    if (!patched_) Patch();
    list.push_back({callback, id});
}

void BaseEvent::Patch() {
    patched_ = true;
    const unsigned int build = GetGameVersion();
    for (const CallSite& site : sites_) {
        if (site.build != build) continue;
        const int slot = InstallCallHook(site.address, this);
        if (slot >= 0) hooks_.push_back(slot);
    }
}

void BaseEvent::RunBefore() const {
    for (const Entry& e : before_) e.callback();
}

void BaseEvent::RunAfter() const {
    for (const Entry& e : after_) e.callback();
}

namespace Events {

BaseEvent& processScriptsEvent() {
    static BaseEvent event({{0x53E981, 1001}, {0x53E981, 1002}});
    return event;
}

}  // namespace Events

}  // namespace plugin
