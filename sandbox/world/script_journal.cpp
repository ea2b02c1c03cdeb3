#include "world/script_journal.h"

namespace sandbox {

void ScriptJournal::Record(ScriptCall call) {
    ++counts_[call.command];
    calls_.push_back(std::move(call));
}

int ScriptJournal::Count(std::uint16_t command) const {
    auto it = counts_.find(command);
    return it == counts_.end() ? 0 : it->second;
}

}  // namespace sandbox
