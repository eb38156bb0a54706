// Start-up to the window shown, measured from outside as a desktop sees it: from the start of the
// process to the X server mapping its window. Dorvane (a folder of the sample pictures, beside
// the stand-in, which answers) and a bare Qt window of the same size, empty and with one caption
// (so that it loads the fonts, as every window with text does), are started in turns, in one run;
// the medians and the ratios are printed. Target: Dorvane at most 1.2 times the bare window.
//
//   bench_startup [runs, 20 when not given] [program, the built dvn when not given]
//   (needs DISPLAY: run it under Xvfb)

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Starts the program and returns the milliseconds until a window of the screen is mapped; the
// program is then ended.
double timeToWindow(Display* display, const std::vector<std::string>& command)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True); // nothing left over from the run before
    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        argv.reserve(command.size() + 1);
        for (const std::string& part : command)
            argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    double ms = -1;
    for (XEvent event; ms < 0;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display: run it under Xvfb\n");
        return 2;
    }
    const std::string program = argc > 2 ? argv[2] : DORVANE_BIN_DIR "/dvn";
    std::vector<double> dorvane, bare, captioned;
    for (int i = 0; i < runs; ++i) {
        dorvane.push_back(timeToWindow(display, {program}));
        bare.push_back(timeToWindow(display, {BARE_WINDOW_PATH}));
        captioned.push_back(timeToWindow(display, {BARE_WINDOW_PATH, "--caption"}));
    }
    const double ours = median(dorvane), empty = median(bare), text = median(captioned);
    std::printf("Start-up to the window shown, median of %d runs each, in one run:\n", runs);
    std::printf("  Dorvane                        %7.1f ms\n", ours);
    std::printf("  bare window, with one caption  %7.1f ms   ratio %.2f (target: 1.2 at most)\n",
                text, ours / text);
    std::printf("  bare window, empty             %7.1f ms   ratio %.2f\n", empty, ours / empty);
    XCloseDisplay(display);
    return 0;
}
