#pragma once

#include <cstdint>

class CWanted;

/// Redirects the host's calls of its star drawing to DrawWantedFaded (first frame, once).
void InstallStarHook();
/// Moves starAlpha towards its target and flashes the stars while the police have lost the player
/// (`lastSeenAny`: ms, the last time any cop saw him).
void UpdateStarAlpha(std::uint32_t now, std::uint32_t lastSeenAny, CWanted& wanted);
/// The stars at full strength again, as at load (the end of an episode, the plugin switched off).
void ResetStarAlpha();
/// Draws the wanted stars faded by starAlpha; called by the host in place of CHud::DrawWanted.
void DrawWantedFaded();
