#pragma once

// Child processes for the tests and the benchmarks: programs run in folders
// of their own and stopped by pid, an Xvfb of our own, /proc figures.

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace proc {

double now();  // seconds on the steady clock
void sleepFor(double seconds);
// Calls done() every `pause` seconds until it holds (true) or the time is up (false).
bool waitUntil(double timeout, const std::function<bool()>& done, double pause = 0.01);
std::string readFile(const std::string& path);  // "" if it cannot be read
long statusKb(pid_t pid, const char* field);    // a kB field of /proc/PID/status, -1 if none

// A fresh folder under $TMPDIR (or /tmp), removed with its contents with the object.
struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path;  // "" if it could not be made
};

using Files = std::map<std::string, std::string>;  // file name -> bytes

struct ExitStatus {
    bool exited = false;      // through exit(), with this code
    int code = -1, signal = 0;  // or killed by this signal
    std::string str() const;
};

// A program run in a folder holding the given files, stdin from /dev/null, stdout and stderr
// captured; it gets SIGTERM if we die. A path without a slash is looked up in PATH.
class Program {
public:
    explicit Program(std::string path, std::vector<std::string> args = {}, Files files = {})
        : path_(std::move(path)), args_(std::move(args)), files_(std::move(files)) {}
    ~Program() { stop(); }

    void setEnv(const std::string& name, const std::string& value) { env_[name] = name + "=" + value; }
    void setWorkDir(const std::string& dir) { workDir_ = dir; }  // instead of the files' folder
    bool start();  // writes the files and starts the program

    pid_t pid() const { return pid_; }
    bool running();  // reaps the process once it has ended
    bool waitExit(double timeout, ExitStatus* status = nullptr);  // false on timeout
    void stop();  // SIGTERM, SIGKILL 5 s later

    std::string out() const { return readFile(dir_.path + "/stdout"); }
    std::string err() const { return readFile(dir_.path + "/stderr"); }
    std::string describe();  // state, stdout and stderr, for failure messages

private:
    std::string path_, workDir_;
    std::vector<std::string> args_;
    Files files_;
    std::map<std::string, std::string> env_;  // name -> "name=value"
    TempDir dir_;
    pid_t pid_ = 0;
    bool ended_ = false;
    ExitStatus status_;
};

// Xvfb, one 1024x768 screen at 24 bits on a free display it picks itself (-displayfd).
struct Xvfb : Program {
    Xvfb() : Program("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}) {}
    bool start(double timeout);  // false if it named no display in time
    std::string display;         // ":N" once started
};

}  // namespace proc
