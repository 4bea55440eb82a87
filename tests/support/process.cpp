#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace proc {

namespace fs = std::filesystem;

double now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void sleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, seconds)));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

long statusKb(pid_t pid, const char* field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    return -1;
}

std::string ExitStatus::str() const
{
    if (exited)
        return "exit code " + std::to_string(code);
    if (signal)
        return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    return "not ended";
}

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : path_(std::move(path)), args_(std::move(args)), files_(std::move(files))
{
}

Program::~Program()
{
    stop();
    std::error_code ec;
    if (!root_.empty())
        fs::remove_all(root_, ec);
}

bool Program::start()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string root = std::string(tmp && *tmp ? tmp : "/tmp") + "/maze-test-XXXXXX";
    if (pid_ != 0 || !mkdtemp(root.data()))
        return false;
    root_ = root;
    const fs::path filesDir = fs::path(root_) / "run";
    std::error_code ec;
    fs::create_directories(filesDir, ec);
    for (const auto& [name, bytes] : files_) {
        fs::create_directories((filesDir / name).parent_path(), ec);
        if (!(std::ofstream(filesDir / name, std::ios::binary) << bytes)) {
            std::fprintf(stderr, "cannot write %s\n", (filesDir / name).c_str());
            return false;
        }
    }

    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq)
            vars.emplace(std::string(*e, size_t(eq - *e)), eq + 1);
    }
    for (const auto& [name, value] : env_)
        vars[name] = value;
    std::vector<std::string> argStrings{path_}, envStrings;
    argStrings.insert(argStrings.end(), args_.begin(), args_.end());
    for (const auto& [name, value] : vars)
        envStrings.push_back(name + "=" + value);
    auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> p;
        for (std::string& s : strings)
            p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<char*> argv = pointers(argStrings), envp = pointers(envStrings);
    const std::string workDir = workDir_.empty() ? filesDir.string() : workDir_;
    const std::string outPath = root_ + "/stdout", errPath = root_ + "/stderr";
    const pid_t parent = getpid();
    std::fflush(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int in = open("/dev/null", O_RDONLY), out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
            err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (getppid() == parent && in >= 0 && out >= 0 && err >= 0 && chdir(workDir.c_str()) == 0) {
            dup2(in, 0);
            dup2(out, 1);
            dup2(err, 2);
            close_range(3, ~0U, 0);
            execvpe(argv[0], argv.data(), envp.data());
        }
        _exit(127);
    }
    return pid_ > 0;
}

bool Program::running()
{
    return reap(WNOHANG);
}

bool Program::reap(int flags)
{
    if (pid_ <= 0 || reaped_)
        return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, flags);
    if (r == 0)
        return true;
    reaped_ = true;
    status_.exited = r == pid_ && WIFEXITED(status);
    status_.code = status_.exited ? WEXITSTATUS(status) : -1;
    status_.signal = r == pid_ && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return false;
}

bool Program::waitExit(double timeout, ExitStatus* status)
{
    const double deadline = now() + timeout;
    for (double pause = 0.001; running(); pause = std::min(pause * 2, 0.01)) {
        if (now() > deadline)
            return false;
        sleepFor(pause);
    }
    if (status)
        *status = status_;
    return pid_ > 0;
}

void Program::stop(double grace)
{
    // Until we reap it, the pid stays our child's.
    if (running() && kill(pid_, SIGTERM) == 0 && !waitExit(grace) && kill(pid_, SIGKILL) == 0)
        reap(0);
}

std::string Program::out() const
{
    return root_.empty() ? "" : readFile(root_ + "/stdout");
}

std::string Program::err() const
{
    return root_.empty() ? "" : readFile(root_ + "/stderr");
}

std::string Program::describe()
{
    auto clip = [](std::string s) {
        return s.size() <= 4000 ? s : s.substr(0, 4000) + "\n[... " + std::to_string(s.size() - 4000) + " more bytes]";
    };
    return path_ + " (pid " + std::to_string(pid_) + ", " + (running() ? "still running" : status_.str()) +
           ")\n--- stdout ---\n" + clip(out()) + "\n--- stderr ---\n" + clip(err()) + "\n---";
}

bool Xvfb::start(double timeout)
{
    if (!server_.start())
        return false;
    const double deadline = now() + timeout;
    for (;;) {
        const std::string out = server_.out();
        if (out.size() > 1 && out.back() == '\n') {
            display_ = ":" + out.substr(0, out.size() - 1);
            return true;
        }
        if (!server_.running() || now() > deadline)
            return false;
        sleepFor(0.01);
    }
}

}  // namespace proc
