#include "support/cli_runner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace corvane::test {

CliRun RunCli(const std::string& arguments, const std::string& workDir) {
    const std::string cli = CliPath();
    std::string errPath = workDir + "/.cli-stderr";
    std::string command =
        "cd '" + workDir + "' && " + cli + " " + arguments + " 2>" + errPath;
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("popen failed");
    }
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), n);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    run.err = ReadBytes(errPath);
    std::remove(errPath.c_str());
    return run;
}

}  // namespace corvane::test
