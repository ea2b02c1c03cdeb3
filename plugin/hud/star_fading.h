#pragma once

#include <cstdint>

class CWanted;

/// Redirects the host's calls of its star drawing to DrawWantedFaded (first frame, once).
void InstallStarHook();
/// Moves starAlpha towards its target and flashes the stars while the police have lost the player.
void UpdateStarAlpha(std::uint32_t now, CWanted& wanted);
/// Draws the wanted stars faded by starAlpha; called by the host in place of CHud::DrawWanted.
void DrawWantedFaded();
