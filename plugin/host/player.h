#pragma once

class CPlayerPed;

class CWanted {
public:
    unsigned int m_nWantedLevel = 0;  ///< 0 = not wanted
    /// The HUD flashes the stars while this stamp is recent.
    unsigned int m_nLastTimeWantedFlashed = 0;
};

/// The local player (-1) or null when there is none.
CPlayerPed* FindPlayerPed(int playerId);
CWanted* FindPlayerWanted(int playerId);
