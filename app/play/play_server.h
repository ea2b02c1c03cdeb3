#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace app {

class PlayLoop;

/// The play's web server: its own page and the data of the world it runs, nothing else, to
/// requests that pass the guard (request_guard.h).
class PlayServer {
public:
    /// Binds to the address and port (0: any free one). Throws std::runtime_error when it cannot.
    PlayServer(PlayLoop& loop, std::string pageHtml, std::filesystem::path saveTo, const std::string& address,
               int port);
    ~PlayServer();
    PlayServer(const PlayServer&) = delete;
    PlayServer& operator=(const PlayServer&) = delete;

    int Port() const;
    /// The address to open, with the token.
    std::string Url() const;
    /// Serves until Stop (from another thread).
    void Serve();
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace app
