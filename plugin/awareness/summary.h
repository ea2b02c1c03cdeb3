#pragma once

/// Writes the summary line when the seeing or the lost count changed since the last one written.
void SummaryLine(int total, int seeing, int lost, bool sceneShared);
