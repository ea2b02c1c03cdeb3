#pragma once

enum eWeaponState : int {
    WEAPONSTATE_READY = 0,
    WEAPONSTATE_FIRING = 1,
    WEAPONSTATE_RELOADING = 2,
    WEAPONSTATE_OUT_OF_AMMO = 3,
};

/// One of a ped's 13 weapon slots.
class CWeapon {
public:
    int m_eWeaponType = 0;  ///< host weapon type; 0 = unarmed
    eWeaponState m_nState = WEAPONSTATE_READY;
    unsigned int m_nAmmoInClip = 0;
    unsigned int m_nTotalAmmo = 0;
};
