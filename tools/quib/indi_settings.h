#pragma once
// What the INDI camera source is told: the server, the camera, the mode and, in Capture
// mode, the exposures to take.

#include <optional>
#include <string>
#include <string_view>

namespace quib {

struct IndiServer {
    std::string host = "localhost";
    int port = 7624;  // INDI's usual port

    std::string Text() const { return host + ":" + std::to_string(port); }
};

// "HOST:PORT", or "HOST" alone for the usual port. Nothing when the text is not one.
std::optional<IndiServer> ParseIndiServer(std::string_view text);

enum class IndiMode {
    Capture,  // quib drives the camera
    Listen,   // quib keeps the frames another client triggers
};

struct CaptureSettings {
    double exposureS = 1.0;
    int count = 0;                  // frames to take; 0: until stopped
    double delayS = 0.0;            // pause between one frame and the next exposure
    std::optional<int> binning;     // both axes; unset: as the camera is
    std::optional<int> filterSlot;  // 1-based wheel slot; unset: the wheel is left alone
};

struct IndiRun {
    IndiServer server;
    std::string device;  // the camera's INDI device name
    IndiMode mode = IndiMode::Listen;
    CaptureSettings capture;
    std::string folder;  // where the frames are written
    std::string prefix;  // their names' start
};

}  // namespace quib
