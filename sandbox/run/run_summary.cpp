#include "run/run_summary.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace sandbox {

namespace {

std::string Seconds(std::uint32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fs", static_cast<double>(ms) / 1000.0);
    return text;
}

bool StartsWith(const std::string& s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }

// The ped named by "ped=%p" in a line, by its scenario id when known.
std::string PedOf(const std::string& line, const RunOutcome& outcome) {
    const auto at = line.find("ped=");
    if (at == std::string::npos) return "?";
    const auto end = line.find_first_of(" ,", at + 4);
    const std::string pointer = line.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4);
    auto it = outcome.pedNames.find(pointer);
    return it != outcome.pedNames.end() ? it->second : pointer;
}

}  // namespace

std::string ScriptCommandName(std::uint16_t command) {
    static const std::map<std::uint16_t, const char*> names = {
        {0x05D1, "drive to point"},  {0x05F5, "walk along path nodes"}, {0x05D3, "go straight to point"},
        {0x05C9, "look about"},      {0x01B9, "set current weapon"},    {0x0667, "aim at point"},
        {0x0633, "leave vehicle"},   {0x05E2, "attack ped"},            {0x02C0, "closest path node"},
    };
    auto it = names.find(command);
    return it != names.end() ? it->second : "command";
}

std::string SummariseRun(const Scenario& scenario, const RunOutcome& outcome) {
    std::ostringstream out;
    out << "run " << scenario.name << ": " << outcome.frames << " frames, " << Seconds(outcome.lastRunMs) << "\n";

    out << "wanted episodes:";
    bool open = false;
    int episodes = 0;
    for (const LoggedLine& line : outcome.record.log) {
        if (StartsWith(line.text, "wanted level started")) {
            out << "\n  started " << Seconds(line.runMs);
            open = true;
            ++episodes;
        } else if (line.text == "wanted level ended" && open) {
            out << ", ended " << Seconds(line.runMs);
            open = false;
        }
    }
    if (open) out << ", still running at the end";
    if (episodes == 0) out << " none";
    out << "\n";

    std::map<std::string, std::string> cops;
    for (const LoggedLine& line : outcome.record.log) {
        if (StartsWith(line.text, "cop lost the player:")) {
            cops[PedOf(line.text, outcome)] += " lost " + Seconds(line.runMs);
        } else if (StartsWith(line.text, "cop is chasing again:")) {
            cops[PedOf(line.text, outcome)] += " chased " + Seconds(line.runMs);
        }
    }
    out << "cops:" << (cops.empty() ? " none lost the player" : "") << "\n";
    for (const auto& [cop, story] : cops) out << "  " << cop << ":" << story << "\n";

    out << "stars:";
    if (outcome.starFades.empty()) out << " never faded";
    for (const auto& [ms, faded] : outcome.starFades) out << (faded ? " faded " : " back ") << Seconds(ms);
    out << "\n";

    out << "orders:";
    if (outcome.commandCounts.empty()) out << " none";
    for (const auto& [command, count] : outcome.commandCounts) {
        char id[8];
        std::snprintf(id, sizeof id, "%04X", command);
        out << "\n  " << id << " " << ScriptCommandName(command) << ": " << count;
    }
    out << "\n";
    for (const std::string& error : outcome.hostErrors) out << "host: " << error << "\n";
    return out.str();
}

}  // namespace sandbox
