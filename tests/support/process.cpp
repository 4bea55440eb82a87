#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace proc {

namespace fs = std::filesystem;

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void sleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool waitUntil(double timeout, const std::function<bool()>& done, double pause)
{
    for (const double deadline = now() + timeout; !done(); sleepFor(pause))
        if (now() > deadline)
            return false;
    return true;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

long statusKb(pid_t pid, const char* field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(std::string(field) + ":", 0) == 0)
            return std::atol(line.c_str() + std::strlen(field) + 1);
    return -1;
}

TempDir::TempDir()
{
    std::error_code ec;
    std::string name = (fs::temp_directory_path(ec) / "maze-test-XXXXXX").string();
    path = mkdtemp(name.data()) ? name : "";
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path, ec);  // nothing if path is ""
}

std::string ExitStatus::str() const
{
    return exited   ? "exit code " + std::to_string(code)
           : signal ? "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")"
                    : "not ended";
}

bool Program::start()
{
    const fs::path run = fs::path(dir_.path) / "run";
    std::error_code ec;
    if (pid_ != 0 || dir_.path.empty() || !fs::create_directory(run, ec))
        return false;
    for (const auto& [name, bytes] : files_) {
        fs::create_directories((run / name).parent_path(), ec);
        if (!(std::ofstream(run / name, std::ios::binary) << bytes))
            return false;
    }
    // The child may make only async-signal-safe calls: everything is made here.
    std::vector<char*> argv{path_.data()}, envp;
    for (std::string& arg : args_)
        argv.push_back(arg.data());
    for (char** e = environ; *e; ++e)
        if (!env_.count(std::string(*e, std::strcspn(*e, "="))))
            envp.push_back(*e);
    for (auto& [name, var] : env_)
        envp.push_back(var.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    const std::string workDir = workDir_.empty() ? run.string() : workDir_;
    const std::string outPath = dir_.path + "/stdout", errPath = dir_.path + "/stderr";
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() == parent && dup2(open("/dev/null", O_RDONLY), 0) == 0 &&
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT, 0644), 1) == 1 &&
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT, 0644), 2) == 2 && chdir(workDir.c_str()) == 0) {
            close_range(3, ~0U, 0);
            execvpe(argv[0], argv.data(), envp.data());
        }
        _exit(127);
    }
    return pid_ > 0;
}

bool Program::running()
{
    int s = 0;
    const pid_t r = pid_ > 0 && !ended_ ? waitpid(pid_, &s, WNOHANG) : -1;
    if (r == 0 || r == -1)
        return r == 0;
    ended_ = true;
    status_ = {WIFEXITED(s) != 0, WIFEXITED(s) ? WEXITSTATUS(s) : -1, WIFSIGNALED(s) ? WTERMSIG(s) : 0};
    return false;
}

bool Program::waitExit(double timeout, ExitStatus* status)
{
    const bool ended = pid_ > 0 && waitUntil(timeout, [&] { return !running(); }, 0.002);
    if (ended && status)
        *status = status_;
    return ended;
}

void Program::stop()
{
    // Until we reap it, the pid stays our child's.
    if (running() && kill(pid_, SIGTERM) == 0 && !waitExit(5) && kill(pid_, SIGKILL) == 0)
        waitExit(60);
}

std::string Program::describe()
{
    return path_ + " (pid " + std::to_string(pid_) + ", " + (running() ? "still running" : status_.str()) +
           ")\n--- stdout ---\n" + out() + "\n--- stderr ---\n" + err() + "\n---";
}

bool Xvfb::start(double timeout)
{
    std::string n;  // the display number comes on stdout, ended by a newline
    auto named = [&] { return (n = out()).size() > 1 && n.back() == '\n'; };
    if (Program::start() && waitUntil(timeout, [&] { return named() || !running(); }) && named())
        display = ":" + n.substr(0, n.size() - 1);
    return !display.empty();
}

}  // namespace proc
