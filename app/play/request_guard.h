#pragma once

#include <optional>
#include <string>

namespace app {

/// Who may talk to the play server: only a page it served itself, from the address it listens on.
/// A page on another site cannot know the token, and one that reaches us through a name it
/// controls (DNS rebinding) is turned away by the Host header; a cross-site form or script is
/// turned away by its Origin.
class RequestGuard {
public:
    RequestGuard(std::string address, int port, std::string token);

    /// Why a request with these headers and token must be refused, or nothing when it may pass.
    /// `origin` is absent when the request has no Origin header.
    std::optional<std::string> Refusal(const std::string& host, const std::optional<std::string>& origin,
                                       const std::string& token) const;

    const std::string& Token() const { return token_; }

private:
    bool OurHost(const std::string& host) const;

    std::string address_;
    std::string port_;
    std::string token_;
};

/// A token no other page can guess: 128 bits from the system's random source (never the C
/// runtime's generator, whose sequence belongs to the plugin's determinism), as hex.
std::string RandomToken();

}  // namespace app
