#include "host/script_code.h"

#include <cstdlib>
#include <cstring>

#include "host/running_script.h"
#include "host/win32/windows.h"

namespace plugin::scripting {

namespace {

constexpr std::uint8_t kTypeInt = 1;
constexpr std::uint8_t kTypeLocalVar = 3;
constexpr std::uint8_t kTypeFloat = 6;
constexpr std::uint32_t kGrowStep = 32;

}  // namespace

ScriptCode::ScriptCode(std::uint16_t command) {
    capacity_ = kGrowStep;
    data_ = static_cast<std::uint8_t*>(std::malloc(capacity_));
    Append(&command, sizeof command);
}

ScriptCode::~ScriptCode() { std::free(data_); }

void ScriptCode::Append(const void* bytes, std::uint32_t count) {
    if (size_ + count > capacity_) {
        const std::uint32_t needed = size_ + count;
        const std::uint32_t grown = (needed + kGrowStep - 1) / kGrowStep * kGrowStep;
        auto* moved = static_cast<std::uint8_t*>(std::realloc(data_, grown));
        if (moved == nullptr) return;  // out of memory: the command is cut short and fails to decode
        data_ = moved;
        capacity_ = grown;
    }
    std::memcpy(data_ + size_, bytes, count);
    size_ += count;
}

ScriptCode& ScriptCode::operator<<(int value) {
    Append(&kTypeInt, 1);
    Append(&value, sizeof value);
    return *this;
}

ScriptCode& ScriptCode::operator<<(float value) {
    Append(&kTypeFloat, 1);
    Append(&value, sizeof value);
    return *this;
}

ScriptCode& ScriptCode::operator<<(float* p) {
    if (resultVars_ >= kMaxResultVars) {
        MessageBoxA(nullptr, "ScriptCode::operator<<(float *p): reached local var limit", "vigilor",
                    MB_ICONERROR);
    }
    const std::uint16_t index = resultVars_++;
    Append(&kTypeLocalVar, 1);
    Append(&index, sizeof index);
    bindings_.push_back({index, p});
    return *this;
}

void ScriptCode::SaveResultVariables(const CRunningScript& script) const {
    for (const Binding& b : bindings_) {
        if (b.index < CRunningScript::kLocalVars && b.destination != nullptr) {
            *b.destination = script.m_aLocalVars[b.index].fParam;
        }
    }
}

}  // namespace plugin::scripting
