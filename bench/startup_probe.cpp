// Starts a program on the X display and measures, for the whole process, the
// time from exec to its first top-level window being mapped, and to the first
// drawing on the screen after that (the window shown with its contents), and
// its resident memory once it has settled. Programs take turns so that all see
// the same machine state. The last program is the floor: the others are
// judged against it, by the ratio of their median time to the map and by the
// private (anonymous) memory they use beyond it.
//
//   startup_probe RUNS PROGRAM... FLOOR     (run it under xvfb-run)
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double mappedMs;
    double paintedMs;
    long residentKiB;    // all resident pages, shared libraries and fonts included
    long privateDirtyKiB; // what the process alone has written
    long anonymousKiB;    // its private heap and stacks: what no other process can share
};


long field(pid_t pid, const std::string& name) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);)
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    return -1;
}

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Screen damage is tracked on the root window, which sees every window's
// drawing; a Qt window is mapped without a background, so the first damage
// after the map is the program's own first paint. Every drawing is reported
// (raw rectangles): with one report per non-empty region, a paint that came
// between an earlier report and its subtraction would be lost.
// Returns why it could not measure, or nullptr.
const char* measure(Display* display, int damageEvent, const char* program, Sample& sample) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    const Damage damage = XDamageCreate(display, root, XDamageReportRawRectangles);
    XSync(display, True); // drop events from earlier runs
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    sample.mappedMs = sample.paintedMs = 0;
    while (sample.paintedMs == 0) {
        while (!XPending(display)) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) return "it ended before showing a window";
            if (Clock::now() - start > std::chrono::seconds(20)) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return sample.mappedMs == 0 ? "no window was mapped within 20 s"
                                            : "its window was mapped but not drawn within 20 s";
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && sample.mappedMs == 0) {
            sample.mappedMs = since(start);
        } else if (event.type == damageEvent + XDamageNotify && sample.mappedMs != 0) {
            sample.paintedMs = since(start);
        }
    }
    XDamageDestroy(display, damage);
    std::this_thread::sleep_for(std::chrono::milliseconds(700)); // let it paint and settle
    sample.residentKiB = field(pid, "Rss");
    sample.privateDirtyKiB = field(pid, "Private_Dirty");
    sample.anonymousKiB = field(pid, "Anonymous");
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return nullptr;
}

template <class T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM... FLOOR\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display (run it under xvfb-run)\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startup_probe: the X server has no DAMAGE extension\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<Sample>> samples(static_cast<std::size_t>(programs));
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            Sample sample{};
            if (const char* why = measure(display, damageEvent, argv[p + 2], sample)) {
                std::fprintf(stderr, "startup_probe: %s, run %d: %s\n", argv[p + 2], run + 1, why);
                return 1;
            }
            samples[static_cast<std::size_t>(p)].push_back(sample);
        }
    }
    struct Medians {
        double mapped, painted;
        long resident, dirty, anonymous;
    };
    std::vector<Medians> medians;
    for (const auto& runsOf : samples) {
        std::vector<double> mapped, painted;
        std::vector<long> resident, dirty, anonymous;
        for (const Sample& s : runsOf) {
            mapped.push_back(s.mappedMs);
            painted.push_back(s.paintedMs);
            resident.push_back(s.residentKiB);
            dirty.push_back(s.privateDirtyKiB);
            anonymous.push_back(s.anonymousKiB);
        }
        medians.push_back({median(mapped), median(painted), median(resident), median(dirty), median(anonymous)});
    }
    std::printf("%-34s %10s %11s %13s %14s %15s\n", "program (median of runs)", "mapped ms", "painted ms",
                "resident KiB", "private KiB", "anonymous KiB");
    for (int p = 0; p < programs; ++p) {
        const Medians& m = medians[static_cast<std::size_t>(p)];
        std::printf("%-34s %10.1f %11.1f %13ld %14ld %15ld\n", argv[p + 2], m.mapped, m.painted, m.resident,
                    m.dirty, m.anonymous);
    }
    const Medians& floor = medians.back();
    for (int p = 0; p + 1 < programs; ++p) {
        const Medians& m = medians[static_cast<std::size_t>(p)];
        const double ratio = m.mapped / floor.mapped;
        const long extra = m.anonymous - floor.anonymous;
        std::printf("%s: %d runs; time to the map %.2fx the floor's; private (anonymous) memory the floor's %+ld KiB\n",
                    argv[p + 2], runs, ratio, extra);
    }
    XCloseDisplay(display);
    return 0;
}
