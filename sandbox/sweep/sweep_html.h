#pragma once

#include <string>
#include <vector>

#include "sweep/sweep_results.h"

namespace sandbox {

/// report.html: one page with no outside references: per scenario and metric, a box plot of every
/// variant (inline SVG) and the table of median, IQR, bootstrap interval and the test against base.
std::string SweepReportHtml(const SweepResults& results, const std::vector<MetricStats>& stats);

}  // namespace sandbox
