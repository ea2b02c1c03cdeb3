// Host operations on peds and their tasks.

#include "host/player.h"
#include "world/host_world.h"
#include "world/world.h"

float CPlaceable::GetHeading() const { return m_fHeading; }

CTask* CTaskManager::FindActiveTaskByType(int taskType) {
    auto* ped = static_cast<sandbox::Ped*>(m_pPed);
    for (sandbox::ActiveTask& task : ped->tasks) {
        if (task.type == taskType) return reinterpret_cast<CTask*>(&task);
    }
    return nullptr;
}

void CPedIntelligence::FlushImmediately(bool) {
    auto* ped = static_cast<sandbox::Ped*>(m_pPed);
    ped->tasks.clear();
    ped->moving = false;
    ped->move = {};
    ped->activity = {};
}

void CPed::ClearCriminalListSlot(int, int slot) {
    if (slot >= 0 && slot < kCriminalSlots) m_apCriminalsToKill[slot] = nullptr;
}

CPlayerPed* FindPlayerPed(int) {
    sandbox::World* world = sandbox::HostWorldIfAlive();
    return world != nullptr ? world->Player() : nullptr;
}

CWanted* FindPlayerWanted(int) {
    sandbox::World* world = sandbox::HostWorldIfAlive();
    return world != nullptr ? &world->Wanted() : nullptr;
}
