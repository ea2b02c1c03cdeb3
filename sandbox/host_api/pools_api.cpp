// The host's pool and handle operations, answered by the sandbox pools.

#include "world/host_world.h"
#include "world/world.h"

namespace {

template <class T>
auto& Impl(const CPool<T>* pool);

template <>
auto& Impl<CPed>(const CPool<CPed>* pool) {
    return *static_cast<const sandbox::PedPool*>(pool);
}
template <>
auto& Impl<CVehicle>(const CPool<CVehicle>* pool) {
    return *static_cast<const sandbox::VehiclePool*>(pool);
}

}  // namespace

template <class T>
int CPool<T>::GetSize() const {
    return Impl<T>(this).Size();
}

template <class T>
T* CPool<T>::GetAt(int index) const {
    return Impl<T>(this).At(index);
}

template <class T>
bool CPool<T>::Contains(const T* object) const {
    const auto& pool = Impl<T>(this);
    using Object = std::remove_pointer_t<decltype(pool.At(0))>;
    return pool.IndexOf(static_cast<const Object*>(object)) >= 0;
}

template class CPool<CPed>;
template class CPool<CVehicle>;

int CPools::GetPedRef(CPed* ped) {
    auto& peds = sandbox::HostWorld().Peds();
    return peds.HandleOf(static_cast<sandbox::Ped*>(ped));
}

CPed* CPools::GetPed(int handle) { return sandbox::HostWorld().Peds().FromHandle(handle); }

int CPools::GetVehicleRef(CVehicle* vehicle) {
    auto& vehicles = sandbox::HostWorld().Vehicles();
    return vehicles.HandleOf(static_cast<sandbox::Vehicle*>(vehicle));
}

CVehicle* CPools::GetVehicle(int handle) { return sandbox::HostWorld().Vehicles().FromHandle(handle); }
