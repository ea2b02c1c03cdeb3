#include "awareness/summary.h"

#include "base/log.h"

namespace {
// Counts of the last line written; -1 so that the first tick of the process always writes one.
// The reset leaves them alone: a new episode that starts like the last one ended says nothing new.
int loggedSeeing = -1;
int loggedLost = -1;
}  // namespace

void SummaryLine(int total, int seeing, int lost, bool sceneShared) {
    if (seeing == loggedSeeing && lost == loggedLost) return;
    LogLine("cops: total=%d seeing=%d lost=%d sceneShared=%d", total, seeing, lost, sceneShared ? 1 : 0);
    loggedSeeing = seeing;
    loggedLost = lost;
}
