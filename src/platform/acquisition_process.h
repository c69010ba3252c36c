#pragma once
// The system side of the acquisition program: who the user is (the link's scope), where
// the program lies, and noticing when a started copy of it has ended.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The login name of the user running this process; the numeric user id when the system
// knows no name for it.
std::string CurrentUserName();

// The executable `name` in `besideDirectory` (the directory of the running program), else
// in the first directory of `searchPath` (a ':'-separated list, as PATH) that holds it.
// Empty when neither has it. An empty entry of the list is the current directory.
std::string FindProgram(std::string_view name, const std::string& besideDirectory,
                        std::string_view searchPath);

// The process at the other end of a connected local socket, as the system recorded it
// when the connection was made; 0 where the system does not tell.
int PeerProcessId(int socketDescriptor);

// Watches one process, started by this program or not, for its end.
class ProcessWatch {
public:
    // Nothing when the process does not exist (any more).
    static std::optional<ProcessWatch> Open(int pid);

    ProcessWatch(ProcessWatch&& other) noexcept;
    ProcessWatch& operator=(ProcessWatch&& other) noexcept;
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;
    ~ProcessWatch();

    // A descriptor that becomes readable when the process ends, for an event loop to wait
    // on; -1 where the system offers none (then poll Ended on a timer).
    int Descriptor() const { return fd_; }
    bool Ended() const;
    int Pid() const { return pid_; }

private:
    ProcessWatch(int pid, int fd) : pid_(pid), fd_(fd) {}
    int pid_ = 0;
    int fd_ = -1;
};

}  // namespace corvane
