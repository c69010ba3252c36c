#include "platform/directories.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace corvane {

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr) {
        return {};
    }
    return buffer;
}

std::vector<std::string> FileSystemRoots() { return {"/"}; }

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string PathUnder(const std::string& directory, const std::string& name) {
    if (!name.empty() && name.front() == '/') {
        return name;
    }
    if (directory.empty() || directory.back() == '/') {
        return directory + name;
    }
    return directory + "/" + name;
}

std::vector<std::string> Subdirectories(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.empty() || name.front() == '.') {
            continue;
        }
        if (IsDirectory(PathUnder(directory, name))) {
            names.push_back(std::move(name));
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    if (directory != "/") {
        names.insert(names.begin(), "..");
    }
    return names;
}

std::string EnterDirectory(const std::string& directory, const std::string& name) {
    std::string joined = PathUnder(directory, name);
    char* resolved = ::realpath(joined.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result = resolved;
    std::free(resolved);
    if (!IsDirectory(result) || ::access(result.c_str(), X_OK) != 0) {
        return {};
    }
    return result;
}

}  // namespace corvane
