#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/game_clock.h"
#include "base/log.h"
#include "base/settings.h"
#include "host/constants.h"
#include "host/scripting.h"
#include "records/records.h"
#include "search/foot/random_span.h"
#include "search/foot/search_steps.h"
#include "search/ped_orders.h"

void GiveLookAbout(CPed& ped, CopState& cop, std::uint32_t now) {
    // A negative look time from the INI would put the deadline weeks away; a look never lasts below 0.
    const std::int64_t drawn = DrawBetween(cfg.LookMinMs, cfg.LookMaxMs);
    const auto t = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(drawn, 0, std::numeric_limits<std::int32_t>::max()));
    LogLine("looking about: ped=%p time=%d", static_cast<void*>(&ped), t);
    plugin::scripting::CallCommandById(host::kCommandLookAbout, HandleOf(ped), t);
    cop.foot.movesSincePause = 0;
    cop.foot.searchStep = kStepLookAbout;
    cop.foot.stepUntil = DeadlineAfter(now, t);
    cop.foot.alertUntil = cop.foot.stepUntil;
    cop.foot.searchTaskGiven = true;
    LogLine("look about done: ped=%p", static_cast<void*>(&ped));
}
