#include "replay/replay_page.h"

#include "files/whole_file.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

#include "replay/json_text.h"
#include "replay/replay_recorder.h"
#include "replay/viewer_assets.h"

namespace sandbox {

namespace {

constexpr std::string_view kDataMarker = "/*DATA*/";

// Puts `text` in place of every `marker` in the page; text put in is not searched again.
void Fill(std::string& page, std::string_view marker, const std::string& text) {
    for (auto at = page.find(marker); at != std::string::npos; at = page.find(marker, at + text.size())) {
        page.replace(at, marker.size(), text);
    }
}

}  // namespace

void WriteReplayPage(std::ostream& out, const std::string& title,
                     const std::function<void(std::ostream&)>& writeData, std::string_view extraFolder) {
    std::string page;
    std::string style;
    std::string script;
    std::string extraStyle;
    std::string extraScript;
    // The viewer's own files (the top and js/), then the extra folder's, each in path order.
    for (const ViewerAsset& asset : ViewerAssets()) {
        const bool own = asset.name.find('/') == std::string_view::npos || asset.name.starts_with("js/");
        const bool extra = !extraFolder.empty() && asset.name.starts_with(extraFolder);
        if (asset.name == "page.html")
            page = asset.text;
        else if (asset.name.ends_with(".css") && (own || extra))
            (own ? style : extraStyle).append(asset.text);
        else if (asset.name.ends_with(".js") && (own || extra))
            (own ? script : extraScript).append(asset.text).append("\n");
    }
    style += extraStyle;
    script += extraScript;
    // The page is cut at the data marker before any free text goes in, so no title can move it;
    // our own texts go in before the title, and the data is streamed in between without a search.
    const auto at = page.find(kDataMarker);
    if (at == std::string::npos) throw std::runtime_error("the replay viewer has no data marker");
    std::string head = page.substr(0, at);
    std::string tail = page.substr(at + kDataMarker.size());
    for (std::string* part : {&head, &tail}) {
        Fill(*part, "/*STYLE*/", style);
        Fill(*part, "/*SCRIPT*/", script);
        Fill(*part, "<!--TITLE-->", HtmlEscape(title));
    }
    out << head;
    writeData(out);
    out << tail;
}

void WriteReplayPage(const std::filesystem::path& path, const ReplayRecorder& recorder) {
    WriteWholeFile(path, [&](std::ostream& out) {
        WriteReplayPage(out, recorder.Title(), [&](std::ostream& o) { recorder.WriteData(o); });
    });
}

}  // namespace sandbox
