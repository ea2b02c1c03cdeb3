#pragma once

#include <vector>

#include "host/code.h"

namespace plugin {

/// A host call instruction that an event hooks, valid on one host build.
struct CallSite {
    CodeAddress address;
    unsigned int build;
};

/// One hook point in the host: callbacks run before and after the hooked host call.
class BaseEvent {
public:
    using Callback = void (*)();

    explicit BaseEvent(std::vector<CallSite> sites);
    ~BaseEvent();
    BaseEvent(const BaseEvent&) = delete;
    BaseEvent& operator=(const BaseEvent&) = delete;

    /// Adds a callback; a non-zero id, or an anonymous callback already listed, is added once.
    /// The first Add hooks the call sites of the running build.
    void AddBefore(Callback callback, unsigned int id = 0);
    void AddAfter(Callback callback, unsigned int id = 0);

    void RunBefore() const;
    void RunAfter() const;

private:
    struct Entry {
        Callback callback;
        unsigned int id;
    };
    void Add(std::vector<Entry>& list, Callback callback, unsigned int id);
    void Patch();

    std::vector<CallSite> sites_;
    std::vector<Entry> before_;
    std::vector<Entry> after_;
    std::vector<int> hooks_;  // slots of the call-site hooks this event installed
    bool patched_ = false;
};

namespace Events {
/// Runs once per frame around the host's frame processing in its main loop.
BaseEvent& processScriptsEvent();
}  // namespace Events

}  // namespace plugin
