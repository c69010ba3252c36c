#pragma once
// Runs the built corvane-cli (its path in CORVANE_CLI, set by CTest) as a user would.

#include <string>

namespace corvane::test {

struct CliRun {
    int status = 0;   // the exit status, 0 on success
    std::string out;  // standard output
    std::string err;  // standard error
};

// `arguments` are passed through the shell; `workDir` is the current directory of the run.
CliRun RunCli(const std::string& arguments, const std::string& workDir);

}  // namespace corvane::test
