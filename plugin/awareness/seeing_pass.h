#pragma once

struct TickContext;

/// What the seeing pass found this tick.
struct SeeingResult {
    int seeing = 0;
    bool sceneShared = false;
};

/// Gives every listed cop his record (a new one its first stamp), stamps the cops that see the
/// player, lets the disguise know they recognised him and moves the scene to him when one of them
/// may share it.
SeeingResult SeeingPass(TickContext& tick);
