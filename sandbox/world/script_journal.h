#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sandbox {

/// One decoded argument of a script command.
struct ScriptArg {
    enum class Type { integer, real, localVar } type;
    std::int32_t i = 0;
    float f = 0.0f;
};

/// A script command the host ran, for tests, probes and the replay.
struct ScriptCall {
    std::uint32_t time = 0;
    std::uint16_t command = 0;
    bool negated = false;
    std::vector<ScriptArg> args;
};

/// A host function the plugin called directly rather than through a script command.
struct HostCall {
    std::uint32_t time = 0;
    std::uint32_t address = 0;  ///< host code address of the function
    std::string target;         ///< scenario id of the object it was called on
    std::vector<float> args;
};

class ScriptJournal {
public:
    void Record(ScriptCall call);
    void RecordHostCall(HostCall call) { hostCalls_.push_back(std::move(call)); }
    const std::vector<HostCall>& HostCalls() const { return hostCalls_; }
    const std::vector<ScriptCall>& Calls() const { return calls_; }
    int Count(std::uint16_t command) const;
    /// Commands run, by command id, for the end-of-run summary.
    const std::map<std::uint16_t, int>& Counts() const { return counts_; }

private:
    std::vector<ScriptCall> calls_;
    std::vector<HostCall> hostCalls_;
    std::map<std::uint16_t, int> counts_;
};

}  // namespace sandbox
