// Runs `maze` (on the shipped maze and, given a second run folder, on a
// full 32 by 32 one), a minimal GLUT program and the fill floor (a window
// covered by one mipmapped texture in perspective, what any textured
// first-person view costs) side by side in an Xvfb of its own and prints
// their frame rates, CPU time per frame, start-up times and peak resident
// memory.
//
// Frames are counted by the swap counter shim (LD_PRELOAD), which records
// every glXSwapBuffers in a shared file, so all programs are measured the
// same way. The programs take turns, several rounds each, so that load from
// elsewhere on the machine hits them alike; figures are medians. CPU time per
// frame (all threads, from /proc) moves far less than the frame rate when
// the machine is shared.
//
// Usage: frame_bench --maze PATH --minimal PATH --fillfloor PATH --shim PATH
//                    --rundir DIR [--bigrundir DIR] [--rounds N] [--seconds S] [--warmup S]

#include <dirent.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "process.h"
#include "swap_record.h"

namespace {

int64_t nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// CPU time of all the process's threads so far, in nanoseconds (-1 if gone).
int64_t cpuNs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    int64_t sum = 0;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
        int64_t ns = 0;
        if (in >> ns)
            sum += ns;
    }
    closedir(dir);
    return sum;
}

struct Run {
    bool ok = false;
    double startupMs = 0;
    double startupCpuMs = 0;
    double fps = 0;
    double cpuMsPerFrame = 0;
    long hwmKb = 0;
    std::string renderer;
};

struct Options {
    std::string maze, minimal, fillFloor, shim, rundir, bigRundir;
    int rounds = 5;
    double seconds = 4;
    double warmup = 1;
};

Run measure(const std::string& program, const Options& o, const std::string& display, const std::string& rundir)
{
    Run run;
    char path[] = "/tmp/maze-bench-swaps-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0 || ftruncate(fd, sizeof(SwapRecord)) != 0)
        return run;
    auto* rec = static_cast<SwapRecord*>(
        mmap(nullptr, sizeof(SwapRecord), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    close(fd);
    if (rec == MAP_FAILED) {
        unlink(path);
        return run;
    }

    // In the run folder, which holds the maze and the textures.
    proc::Program p(program);
    p.setWorkDir(rundir);
    p.setEnv("DISPLAY", display);
    p.setEnv("LD_PRELOAD", o.shim);
    p.setEnv(kSwapRecordEnv, path);
    const int64_t start = nowNs();
    p.start();

    auto swaps = [&] { return __atomic_load_n(&rec->swaps, __ATOMIC_ACQUIRE); };
    const int64_t deadline = start + 60 * int64_t(1000000000);
    while (swaps() == 0 && p.running() && nowNs() < deadline)
        proc::sleepFor(0.0005);
    if (swaps() > 0 && p.running()) {
        run.startupMs = double(rec->firstSwapNs - start) / 1e6;
        run.startupCpuMs = double(rec->firstSwapCpuNs) / 1e6;
        run.renderer = std::string(rec->renderer, strnlen(rec->renderer, sizeof rec->renderer));
        proc::sleepFor(o.warmup);
        // Swaps counted between two swap instants, so the window is exact.
        uint64_t c0 = swaps();
        int64_t t0 = __atomic_load_n(&rec->lastSwapNs, __ATOMIC_RELAXED);
        int64_t cpu0 = cpuNs(p.pid());
        proc::sleepFor(o.seconds);
        uint64_t c1 = swaps();
        int64_t t1 = __atomic_load_n(&rec->lastSwapNs, __ATOMIC_RELAXED);
        int64_t cpu1 = cpuNs(p.pid());
        if (p.running() && c1 > c0 && t1 > t0 && cpu0 >= 0 && cpu1 >= cpu0) {
            run.fps = double(c1 - c0) / (double(t1 - t0) / 1e9);
            run.cpuMsPerFrame = double(cpu1 - cpu0) / 1e6 / double(c1 - c0);
            run.hwmKb = proc::statusKb(p.pid(), "VmHWM");
            run.ok = run.hwmKb > 0;
        }
    }
    if (!run.ok)
        std::fprintf(stderr, "frame_bench: %s did not keep presenting frames\n", p.describe().c_str());
    p.stop();
    munmap(rec, sizeof(SwapRecord));
    unlink(path);
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> fps, cpu, startup, startupCpu, hwm;
    std::string renderer;
    void add(const Run& r)
    {
        fps.push_back(r.fps);
        cpu.push_back(r.cpuMsPerFrame);
        startup.push_back(r.startupMs);
        startupCpu.push_back(r.startupCpuMs);
        hwm.push_back(double(r.hwmKb));
        renderer = r.renderer;
    }
};

std::string range(const std::vector<double>& v, const char* format)
{
    char text[80];
    auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    std::string out = "(";
    std::snprintf(text, sizeof text, format, *lo);
    out += text;
    out += "..";
    std::snprintf(text, sizeof text, format, *hi);
    return out + text + ")";
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i], v = argv[i + 1];
        if (k == "--maze") o.maze = v;
        else if (k == "--minimal") o.minimal = v;
        else if (k == "--fillfloor") o.fillFloor = v;
        else if (k == "--bigrundir") o.bigRundir = v;
        else if (k == "--shim") o.shim = v;
        else if (k == "--rundir") o.rundir = v;
        else if (k == "--rounds") o.rounds = std::max(1, std::atoi(v.c_str()));
        else if (k == "--seconds") o.seconds = std::max(0.5, std::atof(v.c_str()));
        else if (k == "--warmup") o.warmup = std::max(0.0, std::atof(v.c_str()));
        else {
            std::fprintf(stderr, "frame_bench: unknown option %s\n", k.c_str());
            return 2;
        }
    }
    if (o.maze.empty() || o.minimal.empty() || o.fillFloor.empty() || o.shim.empty() || o.rundir.empty()) {
        std::fprintf(stderr, "usage: frame_bench --maze PATH --minimal PATH --fillfloor PATH --shim PATH --rundir DIR "
                             "[--bigrundir DIR] [--rounds N] [--seconds S] [--warmup S]\n");
        return 2;
    }

    // The programs run in the run folder: make every path absolute first.
    for (std::string* path : {&o.maze, &o.minimal, &o.fillFloor, &o.shim, &o.rundir, &o.bigRundir}) {
        if (path->empty())
            continue;
        char* full = realpath(path->c_str(), nullptr);
        if (!full) {
            std::fprintf(stderr, "frame_bench: %s: %s\n", path->c_str(), std::strerror(errno));
            return 2;
        }
        *path = full;
        std::free(full);
    }

    // Mesa's software rasteriser, whatever the machine has.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);

    proc::Xvfb xvfb;
    if (!xvfb.start(30)) {
        std::fprintf(stderr, "frame_bench: Xvfb did not start: %s\n", xvfb.describe().c_str());
        return 1;
    }
    const std::string display = xvfb.display;

    Series maze, minimal, fillFloor, bigMaze;
    struct Entry {
        const std::string* program;
        const std::string* rundir;
        Series* series;
    };
    std::vector<Entry> entries = {{&o.maze, &o.rundir, &maze}, {&o.minimal, &o.rundir, &minimal},
                                  {&o.fillFloor, &o.rundir, &fillFloor}};
    if (!o.bigRundir.empty())
        entries.push_back({&o.maze, &o.bigRundir, &bigMaze});
    const size_t n = entries.size();
    for (int r = 0; r < o.rounds; ++r) {
        // Rotate which goes first, so none always follows the same one.
        for (size_t k = 0; k < n; ++k) {
            const Entry& e = entries[(size_t(r) + k) % n];
            Run run = measure(*e.program, o, display, *e.rundir);
            if (!run.ok)
                return 1;
            e.series->add(run);
        }
    }

    std::vector<double> fpsRatio, startRatio, floorFps, floorCpu, bigFloorFps, bigFloorCpu;
    for (int r = 0; r < o.rounds; ++r) {
        fpsRatio.push_back(maze.fps[r] / minimal.fps[r]);
        startRatio.push_back(maze.startup[r] / minimal.startup[r]);
        floorFps.push_back(maze.fps[r] / fillFloor.fps[r]);
        floorCpu.push_back(maze.cpu[r] / fillFloor.cpu[r]);
        if (!bigMaze.fps.empty()) {
            bigFloorFps.push_back(bigMaze.fps[r] / fillFloor.fps[r]);
            bigFloorCpu.push_back(bigMaze.cpu[r] / fillFloor.cpu[r]);
        }
    }
    const double hwmAt = o.warmup + o.seconds;

    std::printf("Frame rate, 500x500 window, Xvfb %s, renderer \"%s\"\n", display.c_str(), maze.renderer.c_str());
    std::printf("  (buffer swaps over %.1f s after %.1f s of warm-up; median of %d alternating runs, range in brackets)\n",
                o.seconds, o.warmup, o.rounds);
    std::printf("  minimal GLUT   %8.1f frames/s %s\n", median(minimal.fps), range(minimal.fps, "%.1f").c_str());
    std::printf("  fill floor     %8.1f frames/s %s\n", median(fillFloor.fps), range(fillFloor.fps, "%.1f").c_str());
    std::printf("  maze           %8.1f frames/s %s\n", median(maze.fps), range(maze.fps, "%.1f").c_str());
    if (!bigMaze.fps.empty())
        std::printf("  maze 32x32     %8.1f frames/s %s\n", median(bigMaze.fps), range(bigMaze.fps, "%.1f").c_str());
    std::printf("  maze/minimal   %8.3f          %s\n", median(fpsRatio), range(fpsRatio, "%.3f").c_str());
    std::printf("  maze/floor     %8.3f          %s\n", median(floorFps), range(floorFps, "%.3f").c_str());
    if (!bigMaze.fps.empty())
        std::printf("  32x32/floor    %8.3f          %s\n", median(bigFloorFps), range(bigFloorFps, "%.3f").c_str());
    std::printf("CPU time per frame, all threads of the program (median)\n");
    std::printf("  minimal GLUT   %8.3f ms       %s\n", median(minimal.cpu), range(minimal.cpu, "%.3f").c_str());
    std::printf("  fill floor     %8.3f ms       %s\n", median(fillFloor.cpu), range(fillFloor.cpu, "%.3f").c_str());
    std::printf("  maze           %8.3f ms       %s\n", median(maze.cpu), range(maze.cpu, "%.3f").c_str());
    if (!bigMaze.cpu.empty())
        std::printf("  maze 32x32     %8.3f ms       %s\n", median(bigMaze.cpu), range(bigMaze.cpu, "%.3f").c_str());
    std::printf("  maze/floor     %8.3f          %s\n", median(floorCpu), range(floorCpu, "%.3f").c_str());
    if (!bigMaze.cpu.empty())
        std::printf("  32x32/floor    %8.3f          %s\n", median(bigFloorCpu), range(bigFloorCpu, "%.3f").c_str());
    std::printf("Start-up, exec to first swapped frame (median of %d)\n", o.rounds);
    std::printf("  minimal GLUT   %8.1f ms       %s\n", median(minimal.startup), range(minimal.startup, "%.1f").c_str());
    std::printf("  fill floor     %8.1f ms       %s\n", median(fillFloor.startup), range(fillFloor.startup, "%.1f").c_str());
    std::printf("  maze           %8.1f ms       %s\n", median(maze.startup), range(maze.startup, "%.1f").c_str());
    std::printf("  maze/minimal   %8.3f          %s\n", median(startRatio), range(startRatio, "%.3f").c_str());
    std::printf("Start-up CPU time, all threads, exec to first swapped frame (median)\n");
    std::printf("  minimal GLUT   %8.1f ms       %s\n", median(minimal.startupCpu), range(minimal.startupCpu, "%.1f").c_str());
    std::printf("  fill floor     %8.1f ms       %s\n", median(fillFloor.startupCpu), range(fillFloor.startupCpu, "%.1f").c_str());
    std::printf("  maze           %8.1f ms       %s\n", median(maze.startupCpu), range(maze.startupCpu, "%.1f").c_str());
    std::printf("Peak resident memory (VmHWM, %.0f s after the first frame; median of %d)\n", hwmAt, o.rounds);
    std::printf("  minimal GLUT   %8.1f MiB\n", median(minimal.hwm) / 1024);
    std::printf("  fill floor     %8.1f MiB\n", median(fillFloor.hwm) / 1024);
    std::printf("  maze           %8.1f MiB\n", median(maze.hwm) / 1024);
    if (!bigMaze.hwm.empty())
        std::printf("  maze 32x32     %8.1f MiB\n", median(bigMaze.hwm) / 1024);
    return 0;
}
