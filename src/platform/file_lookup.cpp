#include "platform/file_lookup.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace corvane {

namespace {

bool IsRegularFile(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

LookupResult FindFirstFile(const std::string& pattern) {
    LookupResult result;
    if (pattern.empty()) {
        result.errorCode = ENOENT;
        return result;
    }
    // A name that exists as written is taken as it is, brackets and all.
    if (IsRegularFile(pattern.c_str())) {
        result.found = true;
        result.fileName = BaseName(pattern);
        return result;
    }
    glob_t matches{};
    int rc = ::glob(pattern.c_str(), GLOB_ERR, nullptr, &matches);
    if (rc == 0) {
        // glob sorts its matches; the first regular file counts.
        for (std::size_t i = 0; i < matches.gl_pathc; ++i) {
            if (IsRegularFile(matches.gl_pathv[i])) {
                result.found = true;
                result.fileName = BaseName(matches.gl_pathv[i]);
                break;
            }
        }
    }
    ::globfree(&matches);
    if (!result.found) {
        result.errorCode = rc == GLOB_NOSPACE ? ENOMEM : ENOENT;
    }
    return result;
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return path;
    }
    std::string dir(cwd);
    if (dir.back() != '/') {
        dir += '/';
    }
    return dir + path;
}

bool FileExists(const std::string& path) { return IsRegularFile(path.c_str()); }

}  // namespace corvane
