#include "host/script_code.h"

#include <cstdlib>
#include <cstring>

#include "host/module_file.h"
#include "host/running_script.h"
#include "host/win32/windows.h"

namespace plugin::scripting {

namespace {

constexpr std::uint8_t kTypeInt = 1;
constexpr std::uint8_t kTypeLocalVar = 3;
constexpr std::uint8_t kTypeFloat = 6;

void ReportLocalVarLimit() {
    char title[260];
    // A name too long for the caption leaves it empty; the message itself still shows.
    GetOwnModuleFileName(title, sizeof title);
    MessageBoxA(nullptr, "ScriptCode::operator<<(float *p): reached local var limit", title, MB_ICONERROR);
}

}  // namespace

ScriptCode::ScriptCode(std::uint16_t command) {
    data_ = static_cast<std::uint8_t*>(std::malloc(kGrowStep));
    capacity_ = data_ != nullptr ? kGrowStep : 0;
    Append(&command, sizeof command);
}

ScriptCode::~ScriptCode() { std::free(data_); }

void ScriptCode::Append(const void* bytes, std::uint32_t count) {
    // Once a piece is missing nothing may follow it, or the rest would decode as other arguments.
    if (!complete_) return;
    if (size_ + count > capacity_) {
        const std::uint32_t needed = size_ + count;
        const std::uint32_t grown = (needed + kGrowStep - 1) / kGrowStep * kGrowStep;
        auto* moved = static_cast<std::uint8_t*>(std::realloc(data_, grown));
        if (moved == nullptr) {
            complete_ = false;
            return;
        }
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
    AddResult(p, ValueType::real);
    return *this;
}

ScriptCode& ScriptCode::operator<<(int* p) {
    AddResult(p, ValueType::integer);
    return *this;
}

void ScriptCode::AddResult(void* destination, ValueType type) {
    // Reported, but the code is built all the same; the host refuses variables it does not have.
    if (resultVars_ >= kMaxResultVars) ReportLocalVarLimit();
    const std::uint16_t index = resultVars_++;
    Append(&kTypeLocalVar, 1);
    Append(&index, sizeof index);
    bindings_.push_back({index, destination, type});
}

void ScriptCode::SaveResultVariables(const CRunningScript& script) const {
    for (const Binding& b : bindings_) {
        if (b.index >= CRunningScript::kLocalVars || b.destination == nullptr) continue;
        const tScriptParam& var = script.m_aLocalVars[b.index];
        if (b.type == ValueType::real) {
            *static_cast<float*>(b.destination) = var.fParam;
        } else {
            *static_cast<int*>(b.destination) = var.iParam;
        }
    }
}

}  // namespace plugin::scripting
