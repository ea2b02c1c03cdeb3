#pragma once

/// Forgets the blurred player position that tracking cars drive to.
void ResetCarTrack();
