#pragma once

// Child processes for the tests and the benchmarks: programs started in
// temporary folders with their output captured and stopped by their pid, an
// Xvfb of our own, and what /proc says about a process.

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace proc {

double now();  // seconds on the steady clock
void sleepFor(double seconds);

// The whole file, "" if it cannot be read.
std::string readFile(const std::string& path);

// A field of /proc/PID/status given in kB (VmRSS, VmHWM, ...); -1 if unavailable.
long statusKb(pid_t pid, const char* field);

using Files = std::map<std::string, std::string>;  // file name -> bytes

struct ExitStatus {
    bool exited = false;  // ended through exit(): code holds the exit code
    int code = -1;
    int signal = 0;       // ended by this signal
    std::string str() const;
};

// A program run in a fresh temporary folder holding the given files, with
// stdin from /dev/null and stdout and stderr captured in files; it gets
// SIGTERM if we die. A path without a slash is looked up in PATH. The
// destructor stops it if it is still running and removes the folder.
class Program {
public:
    explicit Program(std::string path, std::vector<std::string> args = {}, Files files = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Our environment plus these, for start().
    void setEnv(const std::string& name, const std::string& value) { env_[name] = value; }
    // Runs the program in dir instead of the folder with the files.
    void setWorkDir(const std::string& dir) { workDir_ = dir; }
    // Writes the files and starts the program; false if that failed.
    bool start();

    pid_t pid() const { return pid_; }
    // True until the process has ended (reaps it when it has).
    bool running();
    // Waits for the process to end; false on timeout (it is left running).
    bool waitExit(double timeout, ExitStatus* status = nullptr);
    // SIGTERM, then SIGKILL after `grace` seconds; reaps the process.
    void stop(double grace = 5);

    // Everything the program wrote so far.
    std::string out() const;
    std::string err() const;
    // State, stdout and stderr in a few lines, for failure messages.
    std::string describe();

private:
    bool reap(int waitFlags);  // waitpid; true while the process runs

    std::string path_;
    std::vector<std::string> args_;
    Files files_;
    std::map<std::string, std::string> env_;
    std::string root_, workDir_;
    pid_t pid_ = 0;
    bool reaped_ = false;
    ExitStatus status_;
};

// Xvfb, one 1024x768 screen at 24 bits, on a free display it picks itself,
// stopped with the object.
class Xvfb {
public:
    // Starts the server and waits until it names its display; false if it
    // did not within the timeout (describe() then shows why).
    bool start(double timeout);
    const std::string& display() const { return display_; }  // ":N", "" until started
    std::string describe() { return server_.describe(); }

private:
    // -displayfd 1: the display number comes on the captured stdout.
    Program server_{"Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}};
    std::string display_;
};

}  // namespace proc
