#include "pools/ped.h"

#include <algorithm>

#include "pools/host_tasks.h"

namespace sandbox {

Ped::Ped(std::string pedId) : id(std::move(pedId)) {
    intelligence.m_pPed = this;
    intelligence.m_TaskMgr.m_pPed = this;
    m_pIntelligence = &intelligence;
}

bool Ped::HasCriminal(const CPed* criminal) const {
    return std::find(std::begin(m_apCriminalsToKill), std::end(m_apCriminalsToKill), criminal) !=
           std::end(m_apCriminalsToKill);
}

bool Ped::AddCriminal(CPed* criminal) {
    if (HasCriminal(criminal)) return true;
    for (int n = 0; n < kCriminalSlots; ++n) {
        const int slot = (nextCriminalSlot + n) % kCriminalSlots;
        if (AddCriminalAt(criminal, slot)) return true;
    }
    return false;
}

bool Ped::AddCriminalAt(CPed* criminal, int slot) {
    if (HasCriminal(criminal)) return true;
    if (slot < 0 || slot >= kCriminalSlots || m_apCriminalsToKill[slot] != nullptr) return false;
    m_apCriminalsToKill[slot] = criminal;
    nextCriminalSlot = (slot + 1) % kCriminalSlots;
    return true;
}

void Ped::DropCriminal(const CPed* criminal) {
    std::replace(std::begin(m_apCriminalsToKill), std::end(m_apCriminalsToKill), const_cast<CPed*>(criminal),
                 static_cast<CPed*>(nullptr));
}

bool Ped::HasTask(int type) const {
    return std::any_of(tasks.begin(), tasks.end(), [type](const ActiveTask& t) { return t.type == type; });
}

bool Ped::HasPursuitTask() const {
    // One pass over his tasks: a cop asks this every frame.
    return std::any_of(tasks.begin(), tasks.end(), [](const ActiveTask& t) {
        return std::find(std::begin(kPursuitTasks), std::end(kPursuitTasks), t.type) !=
               std::end(kPursuitTasks);
    });
}

void Ped::AddTask(int type, std::uint32_t until) {
    RemoveTask(type);
    tasks.push_back({type, until});
}

void Ped::RemoveTask(int type) {
    std::erase_if(tasks, [type](const ActiveTask& t) { return t.type == type; });
}

}  // namespace sandbox
