#include "play/request_guard.h"

#include <cstdint>
#include <random>

namespace app {

namespace {

// Compares without stopping at the first difference, so the time taken tells nothing of the token.
bool SameSecret(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

}  // namespace

RequestGuard::RequestGuard(std::string address, int port, std::string token)
    : address_(std::move(address)), port_(std::to_string(port)), token_(std::move(token)) {}

bool RequestGuard::OurHost(const std::string& host) const {
    // An IPv6 address stands in brackets before its port.
    const std::string ours = address_.find(':') != std::string::npos ? "[" + address_ + "]" : address_;
    return host == ours + ":" + port_ || host == "localhost:" + port_;
}

std::optional<std::string> RequestGuard::Refusal(const std::string& host,
                                                 const std::optional<std::string>& origin,
                                                 const std::string& token) const {
    if (!OurHost(host)) return "foreign Host header";
    if (origin && !(origin->starts_with("http://") && OurHost(origin->substr(7)))) return "foreign Origin";
    if (!SameSecret(token, token_)) return "missing or wrong token";
    return std::nullopt;
}

std::string RandomToken() {
    std::random_device source;
    std::string token;
    constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t word = source();
        for (int nibble = 0; nibble < 8; ++nibble) token += kHex[(word >> (nibble * 4)) & 0xF];
    }
    return token;
}

}  // namespace app
