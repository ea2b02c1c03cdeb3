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

static_assert(ScriptCode::kMaxBindings >= CRunningScript::kLocalVars);
static_assert(ScriptCode::kInlineBytes % ScriptCode::kGrowStep == 0);

ScriptCode::ScriptCode(std::uint16_t command) { Append(&command, sizeof command); }

ScriptCode::~ScriptCode() {
    if (OnHeap()) std::free(data_);
}

void ScriptCode::Append(const void* bytes, std::uint32_t count) {
    // Once a piece is missing nothing may follow it, or the rest would decode as other arguments.
    if (!complete_) return;
    if (size_ + count > capacity_) {
        const std::uint32_t needed = size_ + count;
        const std::uint32_t grown = (needed + kGrowStep - 1) / kGrowStep * kGrowStep;
        if (grown > kInlineBytes) {
            auto* moved =
                static_cast<std::uint8_t*>(OnHeap() ? std::realloc(data_, grown) : std::malloc(grown));
            if (moved == nullptr) {
                complete_ = false;
                return;
            }
            if (!OnHeap()) std::memcpy(moved, inline_, size_);
            data_ = moved;
        }
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
    if (index < kMaxBindings) bindings_[bindingCount_++] = {index, destination, type};
}

void ScriptCode::SaveResultVariables(const CRunningScript& script) const {
    for (int i = 0; i < bindingCount_; ++i) {
        const Binding& b = bindings_[i];
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
