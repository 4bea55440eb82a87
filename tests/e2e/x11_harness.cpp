// gtest before Xlib, whose macros break gtest's headers.
#include <gtest/gtest.h>

#include "x11_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
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

namespace e2e {

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

double scaled(double seconds)
{
    static const double factor = [] {
        const char* s = std::getenv("MAZE_E2E_TIMEOUT_SCALE");
        double f = s ? std::atof(s) : 1.0;
        return f > 0 ? f : 1.0;
    }();
    return seconds * factor;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

std::string tempBase()
{
    const char* t = std::getenv("TMPDIR");
    return t && *t ? t : "/tmp";
}

// ---- The server -----------------------------------------------------------

struct Server {
    pid_t pid = 0;
    Display* dpy = nullptr;
    std::string name;
    std::string logDir;
    bool hasDamage = false;
    int damageEventBase = 0;
};

int g_xErrors = 0;

// X errors are expected while programs come and go (a window vanishing
// between two requests); they are counted, not fatal.
int countXError(Display*, XErrorEvent*)
{
    ++g_xErrors;
    return 0;
}

Server* g_server = nullptr;

void stopServer()
{
    Server* s = g_server;
    if (!s)
        return;
    g_server = nullptr;
    if (s->dpy)
        XCloseDisplay(s->dpy);
    if (s->pid > 0) {
        ::kill(s->pid, SIGTERM);
        double deadline = now() + 5;
        int status;
        while (waitpid(s->pid, &status, WNOHANG) == 0) {
            if (now() > deadline) {
                ::kill(s->pid, SIGKILL);
                waitpid(s->pid, &status, 0);
                break;
            }
            sleepFor(0.01);
        }
    }
    std::error_code ec;
    if (!s->logDir.empty())
        fs::remove_all(s->logDir, ec);
    delete s;
}

// Reads the display number Xvfb writes to the -displayfd pipe.
bool readDisplayNumber(int fd, double timeout, std::string* number)
{
    double deadline = now() + timeout;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        double left = deadline - now();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        int r = ::poll(&p, 1, int(left * 1000) + 1);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        char buf[32];
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;  // Xvfb ended without naming a display
        text.append(buf, size_t(n));
    }
    *number = text.substr(0, text.find('\n'));
    return !number->empty();
}

Server* startServer()
{
    auto* s = new Server;
    char dirTemplate[4096];
    std::snprintf(dirTemplate, sizeof dirTemplate, "%s/maze-e2e-xvfb-XXXXXX", tempBase().c_str());
    if (!mkdtemp(dirTemplate)) {
        std::fprintf(stderr, "e2e: cannot create a folder for the Xvfb log: %s\n", std::strerror(errno));
        delete s;
        return nullptr;
    }
    s->logDir = dirTemplate;
    std::string logPath = s->logDir + "/xvfb.log";

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        delete s;
        return nullptr;
    }
    int logFd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::string fdText = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", nullptr};
    pid_t parent = getpid();

    pid_t pid = fork();
    if (pid == 0) {
        // Xvfb must not outlive a test process that crashes; SIGTERM lets it
        // remove its lock file.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        fcntl(fds[1], F_SETFD, 0);
        if (nullFd >= 0)
            dup2(nullFd, 0);
        if (logFd >= 0) {
            dup2(logFd, 1);
            dup2(logFd, 2);
        }
        execvp(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    ::close(fds[1]);
    if (logFd >= 0)
        ::close(logFd);
    if (nullFd >= 0)
        ::close(nullFd);
    if (pid < 0) {
        ::close(fds[0]);
        std::fprintf(stderr, "e2e: fork failed: %s\n", std::strerror(errno));
        fs::remove_all(s->logDir);
        delete s;
        return nullptr;
    }
    s->pid = pid;
    g_server = s;
    std::atexit(stopServer);

    std::string number;
    bool named = readDisplayNumber(fds[0], scaled(30), &number);
    ::close(fds[0]);
    if (named) {
        s->name = ":" + number;
        double deadline = now() + scaled(30);
        while (!s->dpy && now() < deadline) {
            s->dpy = XOpenDisplay(s->name.c_str());
            if (!s->dpy)
                sleepFor(0.05);
        }
    }
    if (!s->dpy) {
        std::fprintf(stderr, "e2e: Xvfb did not start (display '%s'); its log:\n%s\n", s->name.c_str(),
                     readFile(logPath).c_str());
        stopServer();
        return nullptr;
    }
    XSetErrorHandler(countXError);
    int event, error, major, minor;
    if (!XTestQueryExtension(s->dpy, &event, &error, &major, &minor))
        std::fprintf(stderr, "e2e: the X server has no XTEST extension\n");
    if (XDamageQueryExtension(s->dpy, &s->damageEventBase, &error)) {
        XDamageQueryVersion(s->dpy, &major, &minor);
        s->hasDamage = true;
    }
    return s;
}

Server* server()
{
    static bool tried = false;
    if (!tried) {
        tried = true;
        startServer();
    }
    return g_server;
}

Display* dpy()
{
    Server* s = server();
    return s ? s->dpy : nullptr;
}

// Runs f and reports whether the server answered it without an error.
template <typename F>
bool withoutXError(F f)
{
    Display* d = dpy();
    if (!d)
        return false;
    XSync(d, False);
    int before = g_xErrors;
    f(d);
    XSync(d, False);
    return g_xErrors == before;
}

Atom atom(const char* name)
{
    return XInternAtom(dpy(), name, False);
}

// A property as raw bytes (8-bit) or longs (32-bit formats); false if unset.
bool readProperty(Window w, Atom property, Atom type, std::string* bytes, std::vector<long>* longs)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool ok = withoutXError([&](Display* d) {
        if (XGetWindowProperty(d, w, property, 0, 1 << 16, False, type, &actualType, &format, &count,
                               &after, &data) != Success)
            data = nullptr;
    });
    if (!ok || !data || actualType == None) {
        if (data)
            XFree(data);
        return false;
    }
    if (format == 8 && bytes)
        bytes->assign(reinterpret_cast<const char*>(data), count);
    if (format == 32 && longs) {
        const long* l = reinterpret_cast<const long*>(data);
        longs->assign(l, l + count);
    }
    XFree(data);
    return true;
}

bool isTitleAtom(Atom a)
{
    return a == XA_WM_NAME || a == atom("_NET_WM_NAME");
}

// Our only interest in client windows is their properties; one mask for all
// selects keeps the helpers from overwriting each other's selection.
void selectWindowEvents(Window w)
{
    withoutXError([&](Display* d) { XSelectInput(d, w, PropertyChangeMask); });
}

struct TitleEventMatch {
    Window window;
};

Bool isTitleEvent(Display*, XEvent* e, XPointer arg)
{
    auto* m = reinterpret_cast<TitleEventMatch*>(arg);
    return e->type == PropertyNotify && e->xproperty.window == m->window &&
           e->xproperty.state == PropertyNewValue && isTitleAtom(e->xproperty.atom);
}

// Sleeps until the server sends us something or the time is up.
void waitForEvents(double seconds)
{
    Display* d = dpy();
    if (!d) {
        sleepFor(seconds);
        return;
    }
    XFlush(d);
    if (XPending(d) > 0)
        return;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    ::poll(&p, 1, std::max(1, int(seconds * 1000)));
}

#if defined(__SANITIZE_ADDRESS__)
#define MAZE_E2E_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAZE_E2E_ASAN 1
#endif
#endif

#ifdef MAZE_E2E_ASAN
// The first mapped file of ours whose name contains the text.
std::string mappedLibrary(const char* name)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        size_t slash = line.find('/');
        if (slash != std::string::npos && line.find(name, slash) != std::string::npos)
            return line.substr(slash);
    }
    return "";
}

// The programs are built with the sanitizers like this harness. The Mesa
// driver is unloaded at exit before LeakSanitizer looks, so its memory would
// be reported from "<unknown module>" and could not be told from ours.
// Preloading the driver keeps it mapped, so the suppressions can name it.
void addSanitizerEnvironment(std::vector<std::string>& env)
{
    std::string asan = mappedLibrary("/libasan.so");
    std::string x11 = mappedLibrary("/libX11.so");
    std::string driver = x11.empty() ? "" : x11.substr(0, x11.rfind('/')) + "/dri/swrast_dri.so";
    if (!asan.empty() && !driver.empty() && access(driver.c_str(), R_OK) == 0)
        env.push_back("LD_PRELOAD=" + asan + " " + driver);
}
#endif

}  // namespace

Display* display()
{
    return dpy();
}

std::string displayName()
{
    Server* s = server();
    return s ? s->name : "";
}

// ---- Programs -------------------------------------------------------------

std::string ExitStatus::str() const
{
    if (exited)
        return "exit code " + std::to_string(code);
    if (signal)
        return std::string("signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
    return "not ended";
}

Program::Program(std::string path, std::vector<std::string> args, Files files)
    : path_(std::move(path)), args_(std::move(args)), files_(std::move(files))
{
}

Program::~Program()
{
    kill();
    if (!root_.empty()) {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
}

void Program::setEnv(const std::string& name, const std::string& value)
{
    env_.push_back(name + "=" + value);
}

bool Program::start()
{
    if (pid_ != 0)
        return false;
    std::string display = displayName();
    if (display.empty())
        return false;

    char rootTemplate[4096];
    std::snprintf(rootTemplate, sizeof rootTemplate, "%s/maze-e2e-XXXXXX", tempBase().c_str());
    if (!mkdtemp(rootTemplate)) {
        std::fprintf(stderr, "e2e: cannot create a temporary folder: %s\n", std::strerror(errno));
        return false;
    }
    root_ = rootTemplate;
    dir_ = root_ + "/run";
    std::error_code ec;
    fs::create_directory(dir_, ec);
    for (const auto& [name, bytes] : files_) {
        fs::path p = fs::path(dir_) / name;
        fs::create_directories(p.parent_path(), ec);
        std::ofstream f(p, std::ios::binary);
        f.write(bytes.data(), std::streamsize(bytes.size()));
        if (!f) {
            std::fprintf(stderr, "e2e: cannot write %s\n", p.c_str());
            return false;
        }
    }

#ifdef MAZE_LSAN_SUPPRESSIONS
    // Sanitized programs end with memory that third-party libraries (Mesa,
    // Xlib) keep till exit; the suppressions name only those, and their use
    // is not reported, so stderr holds only the program's own text. An
    // LSAN_OPTIONS given with setEnv wins; one inherited from our
    // environment is kept.
    if (std::none_of(env_.begin(), env_.end(),
                     [](const std::string& e) { return e.rfind("LSAN_OPTIONS=", 0) == 0; })) {
        const char* inherited = std::getenv("LSAN_OPTIONS");
        setEnv("LSAN_OPTIONS", (inherited && *inherited ? std::string(inherited) + ":" : std::string()) +
                                   "suppressions=" MAZE_LSAN_SUPPRESSIONS ":print_suppressions=0");
    }
#endif

    // Everything the child needs is prepared before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> argStrings{path_};
    argStrings.insert(argStrings.end(), args_.begin(), args_.end());
    std::vector<std::string> extraEnv = env_;  // first, so that the test's own values win
#ifdef MAZE_E2E_ASAN
    addSanitizerEnvironment(extraEnv);
#endif
    std::vector<std::string> envStrings;
    auto overridden = [&](const char* entry) {
        std::string e(entry);
        std::string key = e.substr(0, e.find('=') + 1);
        if (key == "DISPLAY=")
            return true;
        for (const auto& mine : extraEnv)
            if (mine.compare(0, key.size(), key) == 0)
                return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!overridden(*e))
            envStrings.push_back(*e);
    envStrings.push_back("DISPLAY=" + display);
    envStrings.insert(envStrings.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int outFd = ::open((root_ + "/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int errFd = ::open((root_ + "/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (outFd < 0 || errFd < 0 || nullFd < 0) {
        std::fprintf(stderr, "e2e: cannot open the output files: %s\n", std::strerror(errno));
        for (int fd : {outFd, errFd, nullFd})
            if (fd >= 0)
                ::close(fd);
        return false;
    }
    const char* workDir = dir_.c_str();
    pid_t parent = getpid();
    std::fflush(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        setpgid(0, 0);
        if (chdir(workDir) != 0)
            _exit(127);
        dup2(nullFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        close_range(3, ~0U, 0);
        execve(argv[0], argv.data(), envp.data());
        static const char msg[] = "e2e: exec failed\n";
        ssize_t ignored = write(2, msg, sizeof msg - 1);
        (void)ignored;
        _exit(127);
    }
    ::close(outFd);
    ::close(errFd);
    ::close(nullFd);
    if (pid < 0) {
        std::fprintf(stderr, "e2e: fork failed: %s\n", std::strerror(errno));
        return false;
    }
    setpgid(pid, pid);  // also here, so the group exists whoever runs first
    pid_ = pid;
    return true;
}

bool Program::running()
{
    if (pid_ <= 0 || reaped_)
        return false;
    int status;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0)
        return true;
    reaped_ = true;
    if (r == pid_) {
        if (WIFEXITED(status)) {
            status_.exited = true;
            status_.code = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            status_.signal = WTERMSIG(status);
        }
    }
    return false;
}

bool Program::waitExit(double timeout, ExitStatus* status)
{
    double deadline = now() + scaled(timeout);
    while (running()) {
        if (now() > deadline)
            return false;
        sleepFor(0.01);
    }
    if (status)
        *status = status_;
    return pid_ > 0;
}

void Program::kill()
{
    if (!running())
        return;
    // The group is the program's own (setpgid above), named by its pid,
    // which stays ours until we reap it.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    int status;
    if (waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status))
        status_.signal = WTERMSIG(status);
    reaped_ = true;
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
    std::ostringstream d;
    d << path_ << " (pid " << pid_ << ", " << (running() ? "still running" : status_.str()) << ")\n"
      << "--- stdout ---\n" << clip(out()) << "\n--- stderr ---\n" << clip(err()) << "\n---";
    return d.str();
}

// ---- Windows --------------------------------------------------------------

std::vector<Window> topLevelWindows()
{
    std::vector<Window> result;
    Display* d = dpy();
    if (!d)
        return result;
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) && children) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

namespace {

bool attributes(Window w, XWindowAttributes* a)
{
    Status st = 0;
    bool ok = withoutXError([&](Display* d) { st = XGetWindowAttributes(d, w, a); });
    return ok && st;
}

}  // namespace

bool windowAlive(Window w)
{
    XWindowAttributes a;
    return attributes(w, &a);
}

bool windowViewable(Window w)
{
    XWindowAttributes a;
    return attributes(w, &a) && a.map_state == IsViewable;
}

bool windowSize(Window w, int* width, int* height)
{
    XWindowAttributes a;
    if (!attributes(w, &a))
        return false;
    *width = a.width;
    *height = a.height;
    return true;
}

std::string windowTitle(Window w)
{
    if (!dpy())
        return "";
    std::string title;
    if (readProperty(w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), &title, nullptr))
        return title;
    if (readProperty(w, XA_WM_NAME, AnyPropertyType, &title, nullptr))
        return title;
    return "";
}

pid_t windowPid(Window w)
{
    if (!dpy())
        return 0;
    std::vector<long> v;
    if (readProperty(w, atom("_NET_WM_PID"), XA_CARDINAL, nullptr, &v) && !v.empty())
        return pid_t(v[0]);
    return 0;
}

Window findProgramWindow(Program& program, const std::string& titlePrefix, double timeout)
{
    if (!dpy())
        return 0;
    double deadline = now() + scaled(timeout);
    for (;;) {
        for (Window w : topLevelWindows()) {
            pid_t owner = windowPid(w);
            bool mine = owner ? owner == program.pid()
                              : windowTitle(w).compare(0, titlePrefix.size(), titlePrefix) == 0;
            if (mine && windowViewable(w)) {
                withoutXError([&](Display* d) { XMoveWindow(d, w, 0, 0); });
                selectWindowEvents(w);
                return w;
            }
        }
        if (!program.running() || now() > deadline)
            return 0;
        sleepFor(0.02);
    }
}

Window findWindowByTitle(const std::string& title, double timeout, bool prefix)
{
    if (!dpy())
        return 0;
    double deadline = now() + scaled(timeout);
    for (;;) {
        for (Window w : topLevelWindows()) {
            std::string t = windowTitle(w);
            bool match = prefix ? t.compare(0, title.size(), title) == 0 : t == title;
            if (match && windowViewable(w)) {
                selectWindowEvents(w);
                return w;
            }
        }
        if (now() > deadline)
            return 0;
        sleepFor(0.02);
    }
}

bool waitForTitle(Window w, const std::function<bool(const std::string&)>& pred, double timeout,
                  std::string* last)
{
    double deadline = now() + scaled(timeout);
    for (;;) {
        std::string t = windowTitle(w);
        if (last)
            *last = t;
        if (pred(t))
            return true;
        if (now() > deadline || !windowAlive(w))
            return false;
        sleepFor(0.02);
    }
}

bool waitTitleUpdates(Window w, int n, double timeout, std::vector<TitleUpdate>* updates,
                      FrameCounter* frames)
{
    Display* d = dpy();
    if (!d)
        return false;
    selectWindowEvents(w);
    XSync(d, False);
    XEvent e;
    TitleEventMatch match{w};
    while (XCheckIfEvent(d, &e, isTitleEvent, reinterpret_cast<XPointer>(&match))) {
        // writes from before the call
    }
    double deadline = now() + scaled(timeout);
    double lastAliveCheck = now();
    int seen = 0;
    while (seen < n) {
        if (XCheckIfEvent(d, &e, isTitleEvent, reinterpret_cast<XPointer>(&match))) {
            ++seen;
            if (updates)
                updates->push_back({windowTitle(w), now(), frames ? frames->poll() : 0});
            continue;
        }
        if (now() > deadline)
            return false;
        if (now() - lastAliveCheck > 0.2) {
            if (!windowAlive(w))
                return false;
            lastAliveCheck = now();
        }
        if (frames)
            frames->poll();
        waitForEvents(frames ? 0.005 : 0.05);
    }
    return true;
}

WindowLog::WindowLog()
{
    if (Display* d = dpy()) {
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        XSync(d, False);
    }
}

WindowLog::~WindowLog()
{
    Display* d = dpy();
    if (!d)
        return;
    XSelectInput(d, DefaultRootWindow(d), NoEventMask);
    XSync(d, False);
    poll();  // drains what is left
}

void WindowLog::poll()
{
    Display* d = dpy();
    if (!d)
        return;
    XSync(d, False);
    Window root = DefaultRootWindow(d);
    XEvent e;
    while (XCheckWindowEvent(d, root, SubstructureNotifyMask, &e)) {
        if (e.type == CreateNotify && e.xcreatewindow.parent == root) {
            ++created_;
            windows_.push_back(e.xcreatewindow.window);
            selectWindowEvents(e.xcreatewindow.window);
            std::string t = windowTitle(e.xcreatewindow.window);
            if (!t.empty())
                titles_.push_back(t);
        } else if (e.type == MapNotify && e.xmap.event == root) {
            ++mapped_;
        }
    }
    for (Window w : windows_) {
        TitleEventMatch match{w};
        while (XCheckIfEvent(d, &e, isTitleEvent, reinterpret_cast<XPointer>(&match))) {
            std::string t = windowTitle(w);
            if (!t.empty())
                titles_.push_back(t);
        }
    }
}

// ---- Screenshots ----------------------------------------------------------

std::string str(Rgb c)
{
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

Rgb Image::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Rgb{};
    const uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
    return Rgb{p[0], p[1], p[2]};
}

namespace {

int maskShift(unsigned long mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

uint8_t channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    unsigned long v = (pixel & mask) >> maskShift(mask);
    unsigned long max = mask >> maskShift(mask);
    return uint8_t(v * 255 / max);
}

}  // namespace

Image screenshot(Window w)
{
    Image img;
    Display* d = dpy();
    XWindowAttributes a;
    if (!d || !attributes(w, &a) || a.map_state != IsViewable)
        return img;
    int rootX = 0, rootY = 0;
    Window child;
    if (!withoutXError([&](Display* dd) {
            XTranslateCoordinates(dd, w, DefaultRootWindow(dd), 0, 0, &rootX, &rootY, &child);
        }))
        return img;
    // XGetImage refuses any part of a window that lies off screen.
    int x0 = std::max(0, -rootX), y0 = std::max(0, -rootY);
    int x1 = std::min(a.width, DisplayWidth(d, DefaultScreen(d)) - rootX);
    int y1 = std::min(a.height, DisplayHeight(d, DefaultScreen(d)) - rootY);
    if (x1 <= x0 || y1 <= y0)
        return img;
    XImage* xi = nullptr;
    withoutXError([&](Display* dd) {
        xi = XGetImage(dd, w, x0, y0, unsigned(x1 - x0), unsigned(y1 - y0), AllPlanes, ZPixmap);
    });
    if (!xi)
        return img;
    img.width = xi->width;
    img.height = xi->height;
    img.rgb.resize(size_t(img.width) * size_t(img.height) * 3);
    uint8_t* out = img.rgb.data();
    bool fast = xi->bits_per_pixel == 32 && xi->red_mask == 0xff0000 && xi->green_mask == 0xff00 &&
                xi->blue_mask == 0xff && xi->byte_order == LSBFirst;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x, out += 3) {
            if (fast) {
                const uint8_t* p =
                    reinterpret_cast<const uint8_t*>(xi->data) + size_t(y) * size_t(xi->bytes_per_line) + size_t(x) * 4;
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
            } else {
                unsigned long pixel = XGetPixel(xi, x, y);
                out[0] = channel(pixel, xi->red_mask);
                out[1] = channel(pixel, xi->green_mask);
                out[2] = channel(pixel, xi->blue_mask);
            }
        }
    }
    XDestroyImage(xi);
    return img;
}

double fractionWhere(const Image& img, const std::function<bool(Rgb)>& pred)
{
    if (img.empty())
        return 0;
    size_t hits = 0, total = size_t(img.width) * size_t(img.height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &img.rgb[i * 3];
        if (pred(Rgb{p[0], p[1], p[2]}))
            ++hits;
    }
    return double(hits) / double(total);
}

std::string dominantColours(const Image& img, int n)
{
    if (img.empty())
        return "(empty image)";
    std::map<uint32_t, size_t> counts;
    size_t total = size_t(img.width) * size_t(img.height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &img.rgb[i * 3];
        ++counts[uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]];
    }
    std::vector<std::pair<size_t, uint32_t>> byCount;
    for (auto& [c, k] : counts)
        byCount.push_back({k, c});
    std::sort(byCount.rbegin(), byCount.rend());
    std::ostringstream s;
    for (int i = 0; i < n && i < int(byCount.size()); ++i) {
        uint32_t c = byCount[size_t(i)].second;
        char pct[32];
        std::snprintf(pct, sizeof pct, "%.1f%%", 100.0 * double(byCount[size_t(i)].first) / double(total));
        s << (i ? ", " : "") << str(Rgb{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)}) << " " << pct;
    }
    return s.str();
}

bool savePpm(const Image& img, const std::string& path)
{
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << img.width << " " << img.height << "\n255\n";
    f.write(reinterpret_cast<const char*>(img.rgb.data()), std::streamsize(img.rgb.size()));
    return bool(f);
}

std::string saveDebugImage(const Image& img, const std::string& name)
{
    std::string dir = tempBase() + "/maze-e2e-images";
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::string test = "unknown";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        test = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(test.begin(), test.end(), '/', '_');
    std::string path = dir + "/" + test + "-" + name + ".ppm";
    if (savePpm(img, path))
        std::fprintf(stderr, "e2e: screenshot saved to %s\n", path.c_str());
    else
        std::fprintf(stderr, "e2e: could not save screenshot to %s\n", path.c_str());
    return path;
}

// ---- Frames ---------------------------------------------------------------

namespace {

struct DamageMatch {
    int type;
    Damage damage;
};

Bool isDamageEvent(Display*, XEvent* e, XPointer arg)
{
    auto* m = reinterpret_cast<DamageMatch*>(arg);
    return e->type == m->type && reinterpret_cast<XDamageNotifyEvent*>(e)->damage == m->damage;
}

}  // namespace

FrameCounter::FrameCounter(Window w) : window_(w)
{
    Server* s = server();
    if (!s || !s->hasDamage)
        return;
    Damage damage = 0;
    if (withoutXError([&](Display* d) { damage = XDamageCreate(d, w, XDamageReportNonEmpty); }))
        damage_ = damage;
}

FrameCounter::~FrameCounter()
{
    if (!damage_)
        return;
    Display* d = dpy();
    // The server has already freed it if the window is gone; the error that
    // gives is counted and ignored.
    withoutXError([&](Display* dd) { XDamageDestroy(dd, damage_); });
    DamageMatch match{server()->damageEventBase + XDamageNotify, damage_};
    XEvent e;
    while (XCheckIfEvent(d, &e, isDamageEvent, reinterpret_cast<XPointer>(&match))) {
    }
}

int FrameCounter::poll()
{
    if (!damage_)
        return count_;
    Display* d = dpy();
    XFlush(d);
    DamageMatch match{server()->damageEventBase + XDamageNotify, damage_};
    XEvent e;
    while (XCheckIfEvent(d, &e, isDamageEvent, reinterpret_cast<XPointer>(&match))) {
        ++count_;
        // Empties the damage so that the next drawing reports again.
        XDamageSubtract(d, damage_, None, None);
    }
    XFlush(d);
    return count_;
}

bool FrameCounter::waitFrames(int n, double timeout)
{
    if (!damage_)
        return false;
    int target = poll() + n;
    double deadline = now() + scaled(timeout);
    double lastAliveCheck = now();
    while (poll() < target) {
        if (now() > deadline)
            return false;
        if (now() - lastAliveCheck > 0.1) {
            if (!windowAlive(window_))
                return false;
            lastAliveCheck = now();
        }
        waitForEvents(0.005);
    }
    return true;
}

bool waitUntilStable(Window w, double timeout, Image* last, int minFrames)
{
    const double pollInterval = 0.12;
    FrameCounter frames(w);
    double deadline = now() + scaled(timeout);
    Image previous = screenshot(w);
    int framesAtPrevious = frames.poll();
    int sameInARow = 0;
    for (;;) {
        // Sleep while taking in damage events, so the counter keeps up.
        double wakeUp = now() + pollInterval;
        while (now() < wakeUp) {
            frames.poll();
            waitForEvents(std::min(0.01, wakeUp - now()));
        }
        Image current = screenshot(w);
        if (current.empty())
            return false;  // window gone
        if (current == previous && !previous.empty()) {
            ++sameInARow;
            bool stable = frames.ok() ? frames.poll() - framesAtPrevious >= minFrames : sameInARow >= 2;
            if (stable) {
                if (last)
                    *last = std::move(current);
                return true;
            }
        } else {
            previous = std::move(current);
            framesAtPrevious = frames.poll();
            sameInARow = 0;
        }
        if (now() > deadline)
            return false;
    }
}

// ---- Keys -----------------------------------------------------------------

bool focusWindow(Window w)
{
    return withoutXError([&](Display* d) {
        XRaiseWindow(d, w);
        XSetInputFocus(d, w, RevertToPointerRoot, CurrentTime);
    });
}

bool sendKeysym(Window w, unsigned long keysym)
{
    Display* d = dpy();
    if (!d || !focusWindow(w))
        return false;
    KeyCode code = XKeysymToKeycode(d, KeySym(keysym));
    if (code == 0)
        return false;
    bool shift;
    if (XkbKeycodeToKeysym(d, code, 0, 0) == KeySym(keysym))
        shift = false;
    else if (XkbKeycodeToKeysym(d, code, 0, 1) == KeySym(keysym))
        shift = true;
    else
        return false;
    KeyCode shiftCode = XKeysymToKeycode(d, XK_Shift_L);
    return withoutXError([&](Display* dd) {
        if (shift)
            XTestFakeKeyEvent(dd, shiftCode, True, CurrentTime);
        XTestFakeKeyEvent(dd, code, True, CurrentTime);
        XTestFakeKeyEvent(dd, code, False, CurrentTime);
        if (shift)
            XTestFakeKeyEvent(dd, shiftCode, False, CurrentTime);
    });
}

bool sendKey(Window w, char c)
{
    KeySym ks;
    switch (c) {
    case '\x1b': ks = XK_Escape; break;
    case '\r':
    case '\n': ks = XK_Return; break;
    case '\t': ks = XK_Tab; break;
    case '\b': ks = XK_BackSpace; break;
    default:
        if (c < 0x20 || c > 0x7e)
            return false;
        ks = KeySym(c);  // printable ASCII keysyms equal their codes
    }
    return sendKeysym(w, ks);
}

bool sendKeyWaiting(Window w, char c, double timeout)
{
    if (!sendKey(w, c))
        return false;
    // sendKey has synced with the server, so the key is on its way to the
    // program before the counter exists: every frame it counts comes after.
    FrameCounter frames(w);
    if (frames.ok() && !frames.waitFrames(kMotionFrames, timeout))
        return false;
    return waitUntilStable(w, timeout);
}

bool sendKeysWaiting(Window w, const std::string& keys, double timeoutPerKey, size_t* failedAt)
{
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!sendKeyWaiting(w, keys[i], timeoutPerKey)) {
            if (failedAt)
                *failedAt = i;
            return false;
        }
    }
    return true;
}

// ---- Soak helpers ---------------------------------------------------------

bool resizeWindow(Window w, int width, int height)
{
    if (width < 1 || height < 1)
        return false;
    return withoutXError([&](Display* d) { XResizeWindow(d, w, unsigned(width), unsigned(height)); });
}

long residentKb(pid_t pid)
{
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

}  // namespace e2e
