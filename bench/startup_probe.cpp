// Starts a program on the X display and measures, for the whole process, the
// time from exec to its first top-level window being mapped and its resident
// memory once it has settled. Programs take turns so that both see the same
// machine state.
//
//   startup_probe RUNS PROGRAM...      (run it under xvfb-run)
#include <X11/Xlib.h>

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
    double milliseconds;
    long residentKiB;    // all resident pages, shared libraries and fonts included
    long privateDirtyKiB; // what the process alone has written: its real cost
};

long field(pid_t pid, const std::string& name) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);)
        if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
    return -1;
}

bool measure(Display* display, const char* program, Sample& sample) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True); // drop events from earlier runs
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    bool mapped = false;
    while (!mapped) {
        while (!XPending(display)) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) return false; // died before showing
            if (Clock::now() - start > std::chrono::seconds(20)) return kill(pid, SIGKILL), false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        XEvent event;
        XNextEvent(display, &event);
        mapped = event.type == MapNotify;
    }
    sample.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(700)); // let it paint and settle
    sample.residentKiB = field(pid, "Rss");
    sample.privateDirtyKiB = field(pid, "Private_Dirty");
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return true;
}

template <class T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM...\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display (run it under xvfb-run)\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<Sample>> samples(static_cast<std::size_t>(programs));
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            Sample sample{};
            if (!measure(display, argv[p + 2], sample)) {
                std::fprintf(stderr, "startup_probe: %s did not show a window\n", argv[p + 2]);
                return 1;
            }
            samples[static_cast<std::size_t>(p)].push_back(sample);
        }
    }
    std::printf("%-32s %12s %13s %18s\n", "program (median of runs)", "start-up ms", "resident KiB",
                "private dirty KiB");
    for (int p = 0; p < programs; ++p) {
        std::vector<double> times;
        std::vector<long> resident, dirty;
        for (const Sample& s : samples[static_cast<std::size_t>(p)]) {
            times.push_back(s.milliseconds);
            resident.push_back(s.residentKiB);
            dirty.push_back(s.privateDirtyKiB);
        }
        std::printf("%-32s %12.1f %13ld %18ld\n", argv[p + 2], median(times), median(resident), median(dirty));
    }
    XCloseDisplay(display);
    return 0;
}
