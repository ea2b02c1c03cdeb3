#include "replay/replay_page.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

#include "replay/replay_compact.h"
#include "replay/viewer_assets.h"

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

// Puts `text` in place of every `marker` in the page; text put in is not searched again.
void Fill(std::string& page, std::string_view marker, const std::string& text) {
    for (auto at = page.find(marker); at != std::string::npos; at = page.find(marker, at + text.size())) {
        page.replace(at, marker.size(), text);
    }
}

}  // namespace

// The viewer's page with its style, the data and its scripts put in at their markers.
std::string ReplayPage(const nlohmann::json& data) {
    const std::string name = data.contains("scenario") ? data["scenario"].value("name", "") : "";
    std::string page;
    std::string style;
    std::string script;
    for (const ViewerAsset& asset : ViewerAssets()) {
        if (asset.name == "page.html") page = asset.text;
        else if (asset.name.ends_with(".css")) style.append(asset.text);
        else if (asset.name.ends_with(".js")) script.append(asset.text).append("\n");
    }
    // Our own texts first: the data, free text, may hold anything but markup, so it goes in after
    // them, and the title, whose marker is markup, last.
    Fill(page, "/*STYLE*/", style);
    Fill(page, "/*SCRIPT*/", script);
    Fill(page, "/*DATA*/", ScriptSafe(CompactReplay(data).dump()));
    Fill(page, "<!--TITLE-->", HtmlText(name));
    return page;
}

void WriteReplayPage(const std::filesystem::path& path, const nlohmann::json& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ReplayPage(data);
    if (!out) throw std::runtime_error("cannot write the replay " + path.string());
}

}  // namespace sandbox
