#include "play/play_server.h"

#include <httplib.h>

#include <stdexcept>

#include "files/json_out.h"
#include "files/whole_file.h"
#include "play/play_loop.h"
#include "play/request_guard.h"

namespace app {

namespace {

// How long a page's event stream waits for news before it writes a keep-alive comment, so that a
// page that went away is noticed.
constexpr int kStreamWaitMs = 1000;

// A reply may quote what the page sent, bytes that are not UTF-8 included: those are replaced.
void Reply(httplib::Response& res, int status, const nlohmann::json& body) {
    res.status = status;
    res.set_content(sandbox::JsonText(body), "application/json");
}

void Refuse(httplib::Response& res, int status, const std::string& why) {
    Reply(res, status, {{"error", why}});
}

// Runs a handler that reads a JSON body; a bad body or a refused message gets an error, never more.
template <class Handler>
void WithJson(const httplib::Request& req, httplib::Response& res, Handler&& handler) {
    try {
        Reply(res, 200, handler(nlohmann::json::parse(req.body)));
    } catch (const nlohmann::json::exception& e) {
        Refuse(res, 400, std::string("bad message: ") + e.what());
    } catch (const std::exception& e) {
        Refuse(res, 400, e.what());
    }
}

}  // namespace

struct PlayServer::Impl {
    Impl(PlayLoop& l, std::string page, std::filesystem::path save, std::string a)
        : loop(l), pageHtml(std::move(page)), saveTo(std::move(save)), address(std::move(a)) {}
    PlayLoop& loop;
    std::string pageHtml;
    std::filesystem::path saveTo;
    std::string address;
    int port = 0;
    std::unique_ptr<RequestGuard> guard;
    httplib::Server server;
};

PlayServer::PlayServer(PlayLoop& loop, std::string pageHtml, std::filesystem::path saveTo,
                       const std::string& address, int port)
    : impl_(std::make_unique<Impl>(loop, std::move(pageHtml), std::move(saveTo), address)) {
    Impl& s = *impl_;
    // Each update is a small write that the page wants at once, not gathered with the next.
    s.server.set_tcp_nodelay(true);
    // A page sends a message for each key: its connection stays open for all of them.
    s.server.set_keep_alive_max_count(100000);
    if (port == 0) {
        s.port = s.server.bind_to_any_port(address);
        if (s.port < 0) throw std::runtime_error("cannot listen on " + address);
    } else {
        if (!s.server.bind_to_port(address, port))
            throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
        s.port = port;
    }
    s.guard = std::make_unique<RequestGuard>(address, s.port, RandomToken());
    s.server.set_payload_max_length(1 << 16);
    s.server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        const RequestGuard& guard = *impl_->guard;
        const std::optional<std::string> origin =
            req.has_header("Origin") ? std::optional(req.get_header_value("Origin")) : std::nullopt;
        const std::string token = req.has_param("token") ? req.get_param_value("token") : "";
        if (const auto why = guard.Refusal(req.get_header_value("Host"), origin, token)) {
            Refuse(res, 403, *why);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.server.Get("/", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_header(
            "Content-Security-Policy",
            "default-src 'self'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src data:");
        res.set_content(impl_->pageHtml, "text/html; charset=utf-8");
    });
    s.server.Get("/events", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        auto page = std::make_shared<PlayLoop::Follower>();
        res.set_chunked_content_provider("text/event-stream",
                                         [this, page](std::size_t, httplib::DataSink& sink) {
                                             if (impl_->loop.Stopped()) return false;
                                             std::string text = impl_->loop.NextEvent(*page, kStreamWaitMs);
                                             if (text.empty()) text = ": waiting\n\n";
                                             return sink.write(text.data(), text.size());
                                         });
    });
    s.server.Post("/act", [this](const httplib::Request& req, httplib::Response& res) {
        WithJson(req, res, [this](const nlohmann::json& m) { return impl_->loop.Handle(m); });
    });
    s.server.Get("/settings", [this](const httplib::Request&, httplib::Response& res) {
        Reply(res, 200, impl_->loop.Settings());
    });
    s.server.Post("/settings", [this](const httplib::Request& req, httplib::Response& res) {
        WithJson(req, res, [this](const nlohmann::json& m) { return impl_->loop.ChangeSettings(m); });
    });
    s.server.Get("/saved", [this](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Disposition", "attachment; filename=\"played.json\"");
        res.set_content(impl_->loop.SavedText(), "application/json");
    });
    s.server.Get("/replay", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content(impl_->loop.ReplayPage(), "text/html; charset=utf-8");
    });
    // The play as a scenario file, and its replay page beside it.
    s.server.Post("/save", [this](const httplib::Request&, httplib::Response& res) {
        const auto where = [](const std::filesystem::path& p) {
            return std::filesystem::absolute(p).lexically_normal().string();
        };
        try {
            std::filesystem::path page = impl_->saveTo;
            page.replace_extension(".html");
            sandbox::WriteWholeFile(impl_->saveTo, impl_->loop.SavedText());
            sandbox::WriteWholeFile(page, impl_->loop.ReplayPage());
            Reply(res, 200, {{"path", where(impl_->saveTo)}, {"replay", where(page)}});
        } catch (const std::exception& e) {
            Refuse(res, 500, e.what());
        }
    });
}

PlayServer::~PlayServer() = default;

int PlayServer::Port() const { return impl_->port; }

std::string PlayServer::Url() const {
    const std::string host =
        impl_->address.find(':') != std::string::npos ? "[" + impl_->address + "]" : impl_->address;
    return "http://" + host + ":" + std::to_string(impl_->port) + "/?token=" + impl_->guard->Token();
}

void PlayServer::Serve() { impl_->server.listen_after_bind(); }

void PlayServer::Stop() { impl_->server.stop(); }

}  // namespace app
