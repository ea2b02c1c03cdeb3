#include "replay/replay_page.h"

#include <fstream>
#include <stdexcept>

namespace sandbox {

namespace {

// Log lines and ids are free text: none of it may close the script element or open markup. These
// characters occur in JSON only inside strings, where their \u escapes mean the same.
std::string ScriptSafe(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    for (char c : json) {
        switch (c) {
            case '<': out += "\\u003c"; break;
            case '>': out += "\\u003e"; break;
            case '&': out += "\\u0026"; break;
            default: out += c;
        }
    }
    return out;
}

std::string HtmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string ReplayPage(const nlohmann::json& data) {
    const std::string name = data.contains("scenario") ? data["scenario"].value("name", "") : "";
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Vigilor replay: " +
                       HtmlText(name) + "</title>\n</head>\n<body>\n<h1>Vigilor replay: " + HtmlText(name) +
                       "</h1>\n<p id=\"summary\"></p>\n<script type=\"application/json\" id=\"replay-data\">" +
                       ScriptSafe(data.dump()) + "</script>\n";
    page +=
        "<script>\n"
        "const replay = JSON.parse(document.getElementById('replay-data').textContent);\n"
        "document.getElementById('summary').textContent = replay.samples.length + ' samples, ' +\n"
        "    replay.log.length + ' log lines';\n"
        "</script>\n</body>\n</html>\n";
    return page;
}

void WriteReplayPage(const std::filesystem::path& path, const nlohmann::json& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ReplayPage(data);
    if (!out) throw std::runtime_error("cannot write the replay " + path.string());
}

}  // namespace sandbox
