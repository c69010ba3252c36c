#include "indi_settings.h"

#include <charconv>

namespace quib {

std::optional<IndiServer> ParseIndiServer(std::string_view text) {
    IndiServer server;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        const std::string_view port = text.substr(colon + 1);
        const auto [end, error] =
            std::from_chars(port.data(), port.data() + port.size(), server.port);
        if (error != std::errc{} || end != port.data() + port.size() || server.port < 1 ||
            server.port > 65535) {
            return std::nullopt;
        }
        text = text.substr(0, colon);
    }
    if (text.empty() || text.find_first_of(" \t/") != std::string_view::npos) {
        return std::nullopt;
    }
    server.host = std::string(text);
    return server;
}

}  // namespace quib
