#pragma once

#include <cstdint>
#include <vector>

class CRunningScript;

namespace plugin::scripting {

/// One script command encoded in the host's bytecode, with the variables it writes back.
class ScriptCode {
public:
    static constexpr int kMaxResultVars = 31;

    explicit ScriptCode(std::uint16_t command);
    ~ScriptCode();
    ScriptCode(const ScriptCode&) = delete;
    ScriptCode& operator=(const ScriptCode&) = delete;

    ScriptCode& operator<<(int value);
    ScriptCode& operator<<(float value);
    /// A result: the command writes a local variable that is copied to *p after it runs.
    ScriptCode& operator<<(float* p);

    const std::uint8_t* GetData() const { return data_; }
    std::uint32_t GetSize() const { return size_; }
    std::uint32_t GetCapacity() const { return capacity_; }

    /// Copies the bound local variables of the script into their destinations.
    void SaveResultVariables(const CRunningScript& script) const;

private:
    void Append(const void* bytes, std::uint32_t count);

    struct Binding {
        std::uint16_t index;
        float* destination;
    };
    std::uint8_t* data_ = nullptr;
    std::uint32_t capacity_ = 0;
    std::uint32_t size_ = 0;
    std::uint16_t resultVars_ = 0;
    std::vector<Binding> bindings_;
};

}  // namespace plugin::scripting
