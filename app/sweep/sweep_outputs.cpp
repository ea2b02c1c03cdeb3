#include "sweep/sweep_outputs.h"

#include <string>

#include "files/whole_file.h"
#include "sweep/sweep_html.h"
#include "sweep/sweep_replays.h"

namespace app {

namespace fs = std::filesystem;

namespace {

void Remove(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) throw std::runtime_error("cannot remove " + path.string() + ": " + ec.message());
}

}  // namespace

void RemoveEarlierReport(const fs::path& dir) {
    for (const char* name : {"report.html", "replays"}) Remove(dir / name);
}

void RemoveWorkerFolders(const fs::path& dir) {
    const fs::path runs = dir / "runs";
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(runs, ec)) {
        if (entry.path().filename().string().rfind("worker-", 0) == 0) Remove(entry.path());
    }
    if (fs::is_empty(runs, ec)) fs::remove(runs, ec);
}

WrittenSweep WriteSweepOutputs(const fs::path& dir, const sandbox::SweepRecord& record) {
    WrittenSweep written{sandbox::ResultsOf(record.definition, record.finished), {}};
    sandbox::SweepResults& results = written.results;
    results.planned = record.Planned();
    if (record.shard)
        results.share = "shard " + std::to_string(record.shard->k) + " of " + std::to_string(record.shard->n);
    for (const sandbox::SweepResults::Row& row : results.rows) {
        const std::string link = sandbox::ReplayLink(record.definition, row.result.index);
        std::error_code ec;
        if (fs::is_regular_file(dir / link, ec)) results.replays[row.result.index] = link;
    }
    written.stats = sandbox::ComputeSweepStats(results);
    sandbox::WriteWholeFile(dir / sandbox::kSweepRecordName, sandbox::SweepRecordText(record));
    sandbox::WriteWholeFile(dir / "results.csv", sandbox::SweepCsv(results));
    sandbox::WriteWholeFile(dir / "report.html", sandbox::SweepReportHtml(results, written.stats));
    return written;
}

}  // namespace app
