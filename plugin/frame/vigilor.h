#pragma once

#include "base/export.h"

/// The plugin object: constructing it hooks ProcessFrame into the host's frame.
class Vigilor {
public:
    Vigilor();
};

VIGILOR_EXPORT extern Vigilor vigilor;

/// Runs every phase of one host frame in its fixed order.
void ProcessFrame();
/// Gives back every host value the plugin holds changed and forgets all records.
void ResetAll();
