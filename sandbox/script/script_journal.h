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

class ScriptJournal {
public:
    void Record(ScriptCall call);
    const std::vector<ScriptCall>& Calls() const { return calls_; }
    int Count(std::uint16_t command) const;
    /// Commands run, by command id, for the end-of-run summary.
    const std::map<std::uint16_t, int>& Counts() const { return counts_; }

private:
    std::vector<ScriptCall> calls_;
    std::map<std::uint16_t, int> counts_;
};

}  // namespace sandbox
