#pragma once
// What quib decides from the state of the watched folder: which files are new, when one
// has stopped changing and may be handed to the main window, and when the file the main
// window holds is being written again and must be released first. No Qt here: the window
// calls Scan on a timer and whenever the system reports a change.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quib {

struct WatchSettings {
    std::string folder;                 // watched directory
    std::vector<std::string> patterns;  // file-name globs, case ignored
    std::string singleFile;             // single-file mode: the one name the camera rewrites
    std::int64_t settleMs = 1000;       // a file is complete once unchanged this long
};

// The glob patterns quib watches unless told otherwise: the image files the main window
// reads, by their usual extensions.
std::vector<std::string> DefaultPatterns();
// Splits a list of patterns at blanks, commas and semicolons.
std::vector<std::string> SplitPatterns(const std::string& text);

enum class WatchActionKind {
    Release,   // send 1035: the main window must let go of `path`
    HandOver,  // send the copy-data message with `path`, number 1
};

struct WatchAction {
    WatchActionKind kind;
    std::string path;

    friend bool operator==(const WatchAction&, const WatchAction&) = default;
};

class FolderWatch {
public:
    // The files present now are the baseline: they are not new.
    FolderWatch(WatchSettings settings, std::int64_t nowMs);

    // Looks at the folder at time `nowMs` (milliseconds on any steady clock) and returns
    // what to send, in order.
    std::vector<WatchAction> Scan(std::int64_t nowMs);

    // The file the main window holds after the last hand-over, if any.
    const std::string& HeldPath() const { return heldPath_; }
    const WatchSettings& Settings() const { return settings_; }

private:
    struct FileState {
        std::uintmax_t size = 0;
        std::int64_t modifiedNs = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const FileState&, const FileState&) = default;
    };
    struct Tracked {
        FileState state;
        std::int64_t changedMs = 0;  // when `state` was first seen
        bool pending = false;        // new or changed and not handed over yet
    };

    std::map<std::string, FileState> List() const;
    bool Watched(const std::string& name) const;

    WatchSettings settings_;
    std::map<std::string, Tracked> files_;  // by file name
    std::string heldPath_;
};

}  // namespace quib
