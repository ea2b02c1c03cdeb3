#pragma once

#include <cstdint>

class CRunningScript;

namespace plugin::scripting {

/// One script command encoded in the host's bytecode, with the variables it writes back.
///
/// Encoding: the command id as a 16-bit little-endian word, then per argument a type byte and its
/// value: 1 and a 32-bit integer, 6 and a 32-bit float, 3 and the 16-bit index of a local variable
/// that receives a result. The buffer starts at 32 bytes and grows in 32-byte steps; the first
/// kInlineBytes of it live in the object, so that the plugin's own commands take no heap memory.
class ScriptCode {
public:
    static constexpr std::uint32_t kGrowStep = 32;
    static constexpr std::uint32_t kInlineBytes = 128;
    static constexpr int kMaxResultVars = 31;
    /// Results past this many would land beyond the script's local variables and are never copied.
    static constexpr int kMaxBindings = 32;

    explicit ScriptCode(std::uint16_t command);
    ~ScriptCode();
    ScriptCode(const ScriptCode&) = delete;
    ScriptCode& operator=(const ScriptCode&) = delete;

    ScriptCode& operator<<(int value);
    ScriptCode& operator<<(float value);
    /// A result: the command writes the next local variable, copied to *p after it runs.
    ScriptCode& operator<<(float* p);
    ScriptCode& operator<<(int* p);

    const std::uint8_t* GetData() const { return data_; }
    std::uint32_t GetSize() const { return size_; }
    std::uint32_t GetCapacity() const { return capacity_; }
    /// False when memory ran out while building: the code is cut short and must not be run.
    bool IsComplete() const { return complete_; }

    /// Copies the bound local variables of the script into their destinations.
    void SaveResultVariables(const CRunningScript& script) const;

private:
    enum class ValueType : std::uint8_t { integer, real };
    struct Binding {
        std::uint16_t index;
        void* destination;
        ValueType type;
    };

    void Append(const void* bytes, std::uint32_t count);
    void AddResult(void* destination, ValueType type);

    bool OnHeap() const { return data_ != inline_; }

    std::uint8_t inline_[kInlineBytes];
    std::uint8_t* data_ = inline_;
    std::uint32_t capacity_ = kGrowStep;
    std::uint32_t size_ = 0;
    bool complete_ = true;
    std::uint16_t resultVars_ = 0;
    Binding bindings_[kMaxBindings];
    int bindingCount_ = 0;
};

}  // namespace plugin::scripting
