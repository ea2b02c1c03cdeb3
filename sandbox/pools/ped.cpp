#include "pools/ped.h"

#include <algorithm>

namespace sandbox {

Ped::Ped(std::string pedId) : id(std::move(pedId)) {
    intelligence.m_pPed = this;
    intelligence.m_TaskMgr.m_pPed = this;
    m_pIntelligence = &intelligence;
}

bool Ped::HasTask(int type) const {
    return std::any_of(tasks.begin(), tasks.end(), [type](const ActiveTask& t) { return t.type == type; });
}

void Ped::AddTask(int type, std::uint32_t until) {
    RemoveTask(type);
    tasks.push_back({type, until});
}

void Ped::RemoveTask(int type) {
    std::erase_if(tasks, [type](const ActiveTask& t) { return t.type == type; });
}

}  // namespace sandbox
