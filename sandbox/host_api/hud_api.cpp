// The host's HUD calls: the font's alpha and the wanted stars.

#include "host/screen.h"
#include "world/host_world.h"
#include "world/world.h"

void CFont::SetAlphaFade(float alpha) { sandbox::HostWorld().Hud().fontAlpha = alpha; }

void CHud::DrawWanted() {
    sandbox::World& world = sandbox::HostWorld();
    world.Hud().DrawStars(world.Wanted(), world.Now());
}
