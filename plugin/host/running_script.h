#pragma once

#include <cstdint>

union tScriptParam {
    int iParam;
    float fParam;
};

/// The host's script interpreter state for one script.
class CRunningScript {
public:
    static constexpr int kLocalVars = 32;

    char m_szName[8];
    std::uint8_t* m_pBaseIP;
    std::uint8_t* m_pCurrentIP;
    std::uint8_t* m_pEndIP;  ///< one past the last code byte; the interpreter never reads beyond it
    tScriptParam m_aLocalVars[kLocalVars];
    bool m_bIsActive;
    bool m_bIsMission;
    bool m_bCondResult;
    bool m_bNotFlag;  ///< negates the condition of the next command

    /// Resets the script to a runnable state (host operation).
    void Init();
    /// Runs the command at m_pCurrentIP and advances past it (host operation).
    char ProcessOneCommand();
};
