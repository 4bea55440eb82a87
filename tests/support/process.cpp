#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
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
    std::string line;
    while (std::getline(in, line))
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

void Program::setEnv(const std::string& name, const std::string& value)
{
    const std::string key = name + "=";
    auto same = std::find_if(env_.begin(), env_.end(),
                             [&](const std::string& e) { return e.compare(0, key.size(), key) == 0; });
    if (same != env_.end())
        *same = key + value;
    else
        env_.push_back(key + value);
}

bool Program::start()
{
    if (pid_ != 0)
        return false;
    const char* tmp = std::getenv("TMPDIR");
    std::string rootTemplate = std::string(tmp && *tmp ? tmp : "/tmp") + "/maze-test-XXXXXX";
    if (!mkdtemp(rootTemplate.data())) {
        std::fprintf(stderr, "cannot create a temporary folder: %s\n", std::strerror(errno));
        return false;
    }
    root_ = rootTemplate;
    const fs::path filesDir = fs::path(root_) / "run";
    std::error_code ec;
    fs::create_directory(filesDir, ec);
    for (const auto& [name, bytes] : files_) {
        fs::path p = filesDir / name;
        fs::create_directories(p.parent_path(), ec);
        std::ofstream f(p, std::ios::binary);
        if (!f.write(bytes.data(), std::streamsize(bytes.size()))) {
            std::fprintf(stderr, "cannot write %s\n", p.c_str());
            return false;
        }
    }

    // Everything the child needs is prepared before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> argStrings{path_}, envStrings;
    argStrings.insert(argStrings.end(), args_.begin(), args_.end());
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        std::string key(*e, eq ? size_t(eq - *e + 1) : std::strlen(*e));
        bool overridden = false;
        for (const std::string& mine : env_)
            overridden = overridden || mine.compare(0, key.size(), key) == 0;
        if (!overridden)
            envStrings.push_back(*e);
    }
    envStrings.insert(envStrings.end(), env_.begin(), env_.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string workDir = workDir_.empty() ? filesDir.string() : workDir_;

    int outFd = ::open((root_ + "/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int errFd = ::open((root_ + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_t parent = getpid();
    std::fflush(nullptr);
    pid_t pid = outFd < 0 || errFd < 0 || nullFd < 0 ? -1 : fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        setpgid(0, 0);
        if (chdir(workDir.c_str()) != 0)
            _exit(127);
        dup2(nullFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        close_range(3, ~0U, 0);
        execvpe(argv[0], argv.data(), envp.data());
        static const char msg[] = "exec failed\n";
        ssize_t ignored = write(2, msg, sizeof msg - 1);
        (void)ignored;
        _exit(127);
    }
    const int error = errno;
    for (int fd : {outFd, errFd, nullFd})
        if (fd >= 0)
            ::close(fd);
    if (pid < 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", path_.c_str(), std::strerror(error));
        return false;
    }
    setpgid(pid, pid);  // also here, so the group exists whoever runs first
    pid_ = pid;
    return true;
}

bool Program::running()
{
    return reap(WNOHANG);
}

bool Program::reap(int flags)
{
    if (pid_ <= 0 || reaped_)
        return false;
    int status;
    pid_t r = waitpid(pid_, &status, flags);
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
    // The group is the program's own, named by its pid, which stays ours
    // until we reap it.
    if (!running())
        return;
    ::kill(-pid_, SIGTERM);
    if (waitExit(grace))
        return;
    ::kill(-pid_, SIGKILL);
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
        const size_t max = 4000;
        if (s.size() > max)
            s = s.substr(0, max) + "\n[... " + std::to_string(s.size() - max) + " more bytes]";
        return s;
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
        const size_t end = out.find('\n');
        if (end != std::string::npos && end > 0) {
            display_ = ":" + out.substr(0, end);
            return true;
        }
        if (!server_.running() || now() > deadline)
            return false;
        sleepFor(0.01);
    }
}

}  // namespace proc
