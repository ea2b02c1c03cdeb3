#pragma once

struct TickContext;

/// Lists every live cop within 200 m of the player, in pool order, with what each of them sees.
/// Reads the records as the last tick left them.
void BuildSightings(TickContext& tick);
