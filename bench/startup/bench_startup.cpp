// Start-up of the editor beside two bare Qt windows with a menu (a plain one, and one drawn in
// the editor's Japanese font with a Japanese label): the time from starting the process to the
// first drawing into its main window on the X display named by DISPLAY, over rounds of whole
// process starts that alternate the order of the programs, in the C and the Japanese locale.
// Each program is started as a user starts it, in a folder that holds the sample "WN.dat", and
// ended as soon as its window shows something.
//
// Usage: bench_startup [ROUNDS [EDITOR]]   (20 rounds a locale unless given; EDITOR is another
// build of the editor to measure instead of this one, such as the one before a change; run under
// xvfb-run without a display)

#include "samplefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How long a program may take to show its window before the run is given up; a deadline only.
constexpr auto kPatience = std::chrono::seconds(30);

const char* const kLocales[] = {"C.UTF-8", "ja_JP.UTF-8"};

// What one start took: the time on the clock, and the processor time the program used on its
// way up, which a machine busy with other work stretches far less.
struct Start
{
    double milliseconds;
    double cpuMilliseconds;
};

struct Program
{
    const char* name;
    const char* path;
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;
};

// A window may be gone again before it is watched; that error is no fault of the run.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// Watches the top-level windows that programs create on the display, for the first drawing
// into one of them that is mapped: the moment the user sees the window.
class DisplayWatch
{
public:
    explicit DisplayWatch(Display* display) : mDisplay(display)
    {
        int errorBase = 0;
        mHasDamage = XDamageQueryExtension(display, &mDamageEventBase, &errorBase);
        XSetErrorHandler(IgnoreXError);
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    }

    bool HasDamage() const { return mHasDamage; }

    // Forgets what earlier runs left behind.
    void Reset()
    {
        XSync(mDisplay, True);
        for (Damage damage : mDamages)
            XDamageDestroy(mDisplay, damage);
        mDamages.clear();
        mMapped.clear();
    }

    bool WaitForFirstDrawing(Clock::time_point deadline)
    {
        for (;;) {
            while (XPending(mDisplay)) {
                XEvent event;
                XNextEvent(mDisplay, &event);
                if (Handle(event))
                    return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd connection{ConnectionNumber(mDisplay), POLLIN, 0};
            poll(&connection, 1, int(left.count()));
        }
    }

private:
    // A window is watched from its creation on, well before the program maps and draws it.
    bool Handle(const XEvent& event)
    {
        if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
            mDamages.push_back(
                XDamageCreate(mDisplay, event.xcreatewindow.window, XDamageReportNonEmpty));
            XFlush(mDisplay);
        } else if (event.type == MapNotify && !event.xmap.override_redirect) {
            mMapped.insert(event.xmap.window);
        } else if (event.type == mDamageEventBase + XDamageNotify) {
            return mMapped.count(reinterpret_cast<const XDamageNotifyEvent&>(event).drawable) > 0;
        }
        return false;
    }

    Display* mDisplay;
    bool mHasDamage = false;
    int mDamageEventBase = 0;
    std::vector<Damage> mDamages;
    std::set<Window> mMapped;
};

// Starts `path` in `folder` under `locale`, waits for its window's first drawing and ends it
// again; gives the time from the start to that drawing, or nothing when no window came.
std::optional<Start> TimeOneStart(DisplayWatch& watch, const char* path, const std::string& folder,
                                  const char* locale)
{
    watch.Reset();
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // What the programs say on their way up is no part of the report.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        // On the display watched here, whatever platform the caller's environment names.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("LANG", locale, 1);
        setenv("LC_ALL", locale, 1);
        if (chdir(folder.c_str()) == 0)
            execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0)
        return std::nullopt;
    const bool drawn = watch.WaitForFirstDrawing(start + kPatience);
    const Clock::time_point end = Clock::now();
    kill(child, SIGKILL);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    if (!drawn)
        return std::nullopt;
    const auto cpu = [](const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    return Start{std::chrono::duration<double, std::milli>(end - start).count(),
                 cpu(usage.ru_utime) + cpu(usage.ru_stime)};
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
    std::printf("  %-38s median %6.1f ms  min %6.1f  max %6.1f  processor median %6.1f ms\n",
                program.name, Median(program.milliseconds), *low, *high,
                Median(program.cpuMilliseconds));
}

bool WriteNameList(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("WN.dat")));
    const QByteArray bytes = kt63::sample::MakeSampleNameList(1);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One locale: one unmeasured start of each program first, so that all find their files in the
// page cache, then `rounds` rounds, each starting the three in another order.
bool MeasureLocale(DisplayWatch& watch, const std::string& folder, const char* locale, int rounds,
                   const char* editorPath)
{
    std::vector<Program> programs{
        {"bare Qt window with a menu", BAREWINDOW_PATH, {}, {}},
        {"bare window, Japanese font and label", BAREWINDOW_JAPANESE_PATH, {}, {}},
        {"kt63ue", editorPath, {}, {}},
    };
    for (int round = -1; round < rounds; ++round) {
        const size_t first = static_cast<size_t>(round + 1) % programs.size();
        for (size_t k = 0; k < programs.size(); ++k) {
            Program& program = programs[(first + k) % programs.size()];
            const std::optional<Start> time = TimeOneStart(watch, program.path, folder, locale);
            if (!time) {
                std::fprintf(stderr, "%s showed no window within %lld s under %s\n", program.path,
                             static_cast<long long>(kPatience.count()), locale);
                return false;
            }
            if (round >= 0) {
                program.milliseconds.push_back(time->milliseconds);
                program.cpuMilliseconds.push_back(time->cpuMilliseconds);
            }
        }
    }
    std::printf("%s (%d starts each):\n", locale, rounds);
    for (const Program& program : programs)
        Report(program);
    const auto ratio = [&](std::vector<double> Program::*times, size_t bare) {
        return Median(programs[2].*times) / Median(programs[bare].*times);
    };
    std::printf("  ratio of the medians: kt63ue / bare %.2f, kt63ue / bare Japanese %.2f; "
                "processor %.2f, %.2f\n",
                ratio(&Program::milliseconds, 0), ratio(&Program::milliseconds, 1),
                ratio(&Program::cpuMilliseconds, 0), ratio(&Program::cpuMilliseconds, 1));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    const char* editorPath = argc > 2 ? argv[2] : KT63UE_PATH;
    Display* display = XOpenDisplay(nullptr);
    if (!display || rounds < 1) {
        std::fputs(display ? "ROUNDS must be at least 1\n" : "needs an X display (DISPLAY)\n",
                   stderr);
        return 2;
    }
    DisplayWatch watch(display);
    if (!watch.HasDamage()) {
        std::fputs("the X display has no DAMAGE extension to see a window drawn\n", stderr);
        return 2;
    }
    QTemporaryDir folder;
    if (!folder.isValid() || !WriteNameList(folder.path())) {
        std::fputs("cannot write the sample WN.dat\n", stderr);
        return 2;
    }
    std::printf("Process start to the first drawing into its main window, %d rounds a locale, "
                "the order alternating:\n",
                rounds);
    for (const char* locale : kLocales) {
        if (!MeasureLocale(watch, folder.path().toStdString(), locale, rounds, editorPath))
            return 1;
    }
    XCloseDisplay(display);
    return 0;
}
