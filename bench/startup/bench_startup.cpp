// Start-up of the editor beside a bare Qt window with a menu: the time from starting the process
// to its main window being mapped on the X display named by DISPLAY, over alternating pairs of
// whole process starts in one run. Each program is started as a user starts it, in a folder
// that holds the sample "WN.dat", and ended as soon as its window is up.
//
// Usage: bench_startup [PAIRS]   (20 pairs unless given; run under xvfb-run without a display)

#include "samplefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How long a program may take to show its window before the run is given up; a deadline only.
constexpr auto kPatience = std::chrono::seconds(30);

struct Program
{
    const char* name;
    const char* path;
    std::vector<double> milliseconds;
};

// Waits for a top-level window that is not a popup to be mapped.
bool WaitForMappedWindow(Display* display, Clock::time_point deadline)
{
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, int(left.count()));
    }
}

// Starts `path` in `folder`, waits for its window and ends it again; gives the time from the
// start to the window being mapped, or nothing when no window came.
std::optional<double> TimeOneStart(Display* display, const char* path, const std::string& folder)
{
    XSync(display, True); // what earlier runs left in the queue is no part of this one
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // What the programs say on their way up is no part of the report.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        // On the display watched here, whatever platform the caller's environment names.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        if (chdir(folder.c_str()) == 0)
            execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0)
        return std::nullopt;
    const bool mapped = WaitForMappedWindow(display, start + kPatience);
    const Clock::time_point end = Clock::now();
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    if (!mapped)
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(const Program& program)
{
    const auto [low, high] =
        std::minmax_element(program.milliseconds.begin(), program.milliseconds.end());
    std::printf("%-34s median %7.1f ms   min %7.1f ms   max %7.1f ms   (%zu starts)\n",
                program.name, Median(program.milliseconds), *low, *high,
                program.milliseconds.size());
}

bool WriteNameList(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("WN.dat")));
    const QByteArray bytes = kt63::sample::MakeSampleNameList(1);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 20;
    Display* display = XOpenDisplay(nullptr);
    if (!display || pairs < 1) {
        std::fputs(display ? "PAIRS must be at least 1\n" : "needs an X display (DISPLAY)\n",
                   stderr);
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    QTemporaryDir folder;
    if (!folder.isValid() || !WriteNameList(folder.path())) {
        std::fputs("cannot write the sample WN.dat\n", stderr);
        return 2;
    }
    const std::string workingFolder = folder.path().toStdString();

    Program bare{"bare Qt window with a menu", BAREWINDOW_PATH, {}};
    Program editor{"kt63ue", KT63UE_PATH, {}};
    // One start of each first, unmeasured, so that both find their files in the page cache.
    for (int run = -1; run < pairs; ++run) {
        // Which program starts first alternates from pair to pair.
        Program* order[2] = {&bare, &editor};
        if (run % 2)
            std::swap(order[0], order[1]);
        for (Program* program : order) {
            const std::optional<double> time = TimeOneStart(display, program->path, workingFolder);
            if (!time) {
                std::fprintf(stderr, "%s showed no window within %lld s\n", program->path,
                             static_cast<long long>(kPatience.count()));
                return 1;
            }
            if (run >= 0)
                program->milliseconds.push_back(*time);
        }
    }
    XCloseDisplay(display);

    std::printf("Process start to main window mapped, %d alternating pairs:\n", pairs);
    Report(bare);
    Report(editor);
    std::printf("ratio of the medians (kt63ue / bare window): %.2f\n",
                Median(editor.milliseconds) / Median(bare.milliseconds));
    return 0;
}
