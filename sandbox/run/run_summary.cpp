#include "run/run_summary.h"

#include "run/run_story.h"

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

}  // namespace

std::string ScriptCommandName(std::uint16_t command) {
    static const std::map<std::uint16_t, const char*> names = {
        {0x05D1, "drive to point"},       {0x05F5, "walk along path nodes"},
        {0x05D3, "go straight to point"}, {0x05C9, "look about"},
        {0x01B9, "set current weapon"},   {0x0667, "aim at point"},
        {0x0633, "leave vehicle"},        {0x05E2, "attack ped"},
        {0x02C0, "closest path node"},
    };
    auto it = names.find(command);
    return it != names.end() ? it->second : "command";
}

std::string SummariseRun(const Scenario& scenario, const RunOutcome& outcome) {
    std::ostringstream out;
    out << "run " << scenario.name << ": " << outcome.frames << " frames, " << Seconds(outcome.lastRunMs)
        << "\n";

    const RunStory story = TellRun(outcome);
    out << "wanted episodes:";
    for (const Episode& episode : story.episodes) {
        out << "\n  started " << Seconds(episode.startMs);
        out << (episode.endMs ? ", ended " + Seconds(*episode.endMs)
                              : std::string(", still running at the end"));
    }
    if (story.episodes.empty()) out << " none";
    out << "\n";
    if (outcome.escapedMs)
        out << "  escaped at " << Seconds(*outcome.escapedMs) << ": the host cleared the wanted level\n";
    if (outcome.arrestedMs)
        out << "  arrested at " << Seconds(*outcome.arrestedMs) << " by the host's police\n";

    out << "cops:" << (story.cops.empty() ? " none lost the player" : "") << "\n";
    for (const CopStory& cop : story.cops) {
        out << "  " << cop.cop << ":";
        for (const auto& [ms, lost] : cop.turns) out << (lost ? " lost " : " chased ") << Seconds(ms);
        out << "\n";
    }

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
