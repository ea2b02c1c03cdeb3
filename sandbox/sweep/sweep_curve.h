#pragma once

#include <string>
#include <vector>

#include "sweep/sweep_results.h"

namespace sandbox {

/// For one scenario and metric (`rows`: its statistics, one per variant), a plot of the metric against
/// the value of each --vary key given three or more values: the median with its 95% interval for a
/// time or a count, the share with its Wilson interval for a yes-or-no metric. With several keys, the
/// variants that agree on every other key form one line. Empty when no key has three values.
std::string CurvePlots(const SweepResults& results, const std::vector<const MetricStats*>& rows);

}  // namespace sandbox
