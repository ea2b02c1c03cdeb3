#pragma once

class CPed;
class CVehicle;

/// A host object pool: fixed slots, each empty or holding one object.
template <class T>
class CPool {
public:
    int GetSize() const;
    /// The object in the slot, or null when the slot is empty.
    T* GetAt(int index) const;
    /// True when an in-use slot holds exactly this object.
    bool Contains(const T* object) const;

protected:
    CPool() = default;
};

// Defined by the host.
extern template class CPool<CPed>;
extern template class CPool<CVehicle>;

class CPools {
public:
    static CPool<CPed>* ms_pPedPool;
    static CPool<CVehicle>* ms_pVehiclePool;

    /// Script handles: they change when a slot is reused, so a stale handle finds nothing.
    static int GetPedRef(CPed* ped);
    static CPed* GetPed(int handle);
    static int GetVehicleRef(CVehicle* vehicle);
    static CVehicle* GetVehicle(int handle);
};
