#pragma once
// Where the tests find the sample frames and the built command line: the environment
// variable when it is set, else the paths the build compiled in.

#include <cstdlib>
#include <string>

namespace corvane::test {

inline std::string SamplesDir() {
    const char* dir = std::getenv("CORVANE_SAMPLES");
    return dir ? dir : CORVANE_SOURCE_DIR "/samples";
}

inline std::string SamplePath(const std::string& name) { return SamplesDir() + "/" + name; }

inline std::string CliPath() {
    const char* cli = std::getenv("CORVANE_CLI");
    return cli ? cli : CORVANE_CLI_PATH;
}

}  // namespace corvane::test
