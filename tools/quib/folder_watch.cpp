#include "folder_watch.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace quib {

std::vector<std::string> DefaultPatterns() {
    return {"*.fit", "*.fits", "*.fts", "*.mt", "*.dat", "*.cal",
            "*.abs", "*.afl",  "*.tif", "*.tiff", "*.st6"};
}

std::vector<std::string> SplitPatterns(const std::string& text) {
    std::vector<std::string> patterns;
    std::string current;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == ';' || c == '\t') {
            if (!current.empty()) {
                patterns.push_back(std::move(current));
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        patterns.push_back(std::move(current));
    }
    return patterns;
}

FolderWatch::FolderWatch(WatchSettings settings, std::int64_t nowMs)
    : settings_(std::move(settings)) {
    for (auto& [name, state] : List()) {
        files_[name] = Tracked{state, nowMs, false};
    }
}

bool FolderWatch::Watched(const std::string& name) const {
    if (name.empty() || name.front() == '.') {
        return false;  // hidden files: editors' and copiers' temporaries
    }
    if (!settings_.singleFile.empty()) {
        return name == settings_.singleFile;
    }
    for (const std::string& pattern : settings_.patterns) {
        if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
            return true;
        }
    }
    return false;
}

std::map<std::string, FolderWatch::FileState> FolderWatch::List() const {
    std::map<std::string, FileState> found;
    std::error_code error;
    std::filesystem::directory_iterator it(settings_.folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!Watched(name)) {
            continue;
        }
        struct stat info {};
        if (::stat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        found[name] = FileState{static_cast<std::uintmax_t>(info.st_size),
                                static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                                    info.st_mtim.tv_nsec,
                                static_cast<std::uint64_t>(info.st_ino)};
    }
    return found;
}

std::vector<WatchAction> FolderWatch::Scan(std::int64_t nowMs) {
    std::vector<WatchAction> actions;
    const std::map<std::string, FileState> now = List();

    for (auto it = files_.begin(); it != files_.end();) {
        it = now.count(it->first) ? std::next(it) : files_.erase(it);
    }
    for (const auto& [name, state] : now) {
        const std::string path = (std::filesystem::path(settings_.folder) / name).string();
        auto known = files_.find(name);
        if (known != files_.end() && known->second.state == state) {
            continue;
        }
        // New or written again. The main window must not keep the file while the camera
        // writes it: release it at the first sign of writing.
        if (path == heldPath_) {
            actions.push_back({WatchActionKind::Release, path});
            heldPath_.clear();
        }
        files_[name] = Tracked{state, nowMs, true};
    }
    for (auto& [name, tracked] : files_) {
        if (tracked.pending && tracked.state.size > 0 &&
            nowMs - tracked.changedMs >= settings_.settleMs) {
            tracked.pending = false;
            heldPath_ = (std::filesystem::path(settings_.folder) / name).string();
            actions.push_back({WatchActionKind::HandOver, heldPath_});
        }
    }
    return actions;
}

}  // namespace quib
