#include "sweep/sweep_record.h"

#include <fstream>
#include <sstream>

#include "files/json_out.h"

namespace sandbox {

std::size_t SweepRecord::Planned() const {
    const std::size_t runs = RunCount(definition);
    return shard ? shard->Size(runs) : runs;
}

std::string StoppedText(std::size_t finished, std::size_t planned) {
    return "stopped after " + std::to_string(finished) + " of " + std::to_string(planned) + " runs";
}

std::string SweepRecordText(const SweepRecord& record) {
    const nlohmann::json head = {
        {"what", "the record of a vigilor-sandbox sweep, read by sweep --resume and sweep merge"},
        {"definition", DefinitionJson(record.definition)},
        {"shard", record.shard ? nlohmann::json(record.shard->Text()) : nlohmann::json()},
        {"planned", record.Planned()},
        {"finished", record.finished.size()},
        {"stopped", record.Stopped()},
    };
    std::string text = JsonText(head);
    text.pop_back();  // the closing brace: the results follow, one a line
    text += ",\"results\":[";
    for (std::size_t i = 0; i < record.finished.size(); ++i)
        text += (i > 0 ? ",\n" : "\n") + JsonText(SweepResultJson(record.finished[i]));
    return text + "\n]}\n";
}

SweepRecord ReadSweepRecord(const std::filesystem::path& dir) {
    const std::filesystem::path file = dir / kSweepRecordName;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw SweepRecordError(dir.string() + ": holds no sweep record (" + kSweepRecordName +
                               "); is it the --out folder of a sweep?");
    }
    try {
        const nlohmann::json json = nlohmann::json::parse(in);
        SweepRecord record;
        record.definition = DefinitionFromJson(json.at("definition"));
        if (!json.at("shard").is_null()) record.shard = ParseShard(json.at("shard").get<std::string>());
        for (const nlohmann::json& r : json.at("results")) record.finished.push_back(SweepResultFromJson(r));
        return record;
    } catch (const std::exception& e) {
        throw SweepRecordError(file.string() + ": not a sweep record this program can read: " + e.what());
    }
}

}  // namespace sandbox
