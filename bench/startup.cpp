// Start-up time: from the moment a process is started to its main window painted, for the program (splash
// screen on, a fresh copy of the built program folder) and for a bare Qt program that shows an empty
// QMainWindow. Both run offscreen, several times each, interleaved; the medians are reported.
//
// The benchmark starts itself as the child: "startup --child-program FOLDER" starts the program the way
// app/main.cpp does with FOLDER as its program folder; "startup --child-bare" is the bare Qt program. A
// child prints the monotonic clock (ns) once its main window is painted, then closes that window and ends
// as the program ends.
#include "browser/ProgramWindows.h"
#include "core/MainWindow.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
constexpr int kRuns = 9;

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Reports the time once `window` has been painted, then closes it.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* window) : window_(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The whole window is painted in the same pass; report once that pass is over.
            QTimer::singleShot(0, window_, [w = window_] {
                std::printf("%lld\n", monotonicNs());
                std::fflush(stdout);
                w->close();
            });
        }
        return false;
    }

private:
    QWidget* window_;
    bool seen_ = false;
};

int runProgram(int argc, char** argv, const char* folder)
{
    QApplication app(argc, argv);
    app.setApplicationName("Tovalquendry");
    paths::setProgramFolder(QString::fromLocal8Bit(folder));
    basMain::StartupWindows windows = programStartupWindows();
    auto createMainWindow = windows.createMainWindow;
    windows.createMainWindow = [createMainWindow] {
        IMainWindow* window = createMainWindow();
        new PaintWatch(window->widget());
        return window;
    };
    basMain::setStartupWindows(windows);
    if (!basMain::Main())
        return 1;
    return app.exec();
}

int runBare(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    PaintWatch watch(&window);
    window.show();
    return app.exec();
}

// Starts this program with the arguments; returns the nanoseconds from the start to the child's report,
// or -1 when the child failed.
long long timeChild(const char* self, const std::vector<std::string>& args)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(self)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    const long long start = monotonicNs();
    const int rc = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return -1;
    }
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        return -1;
    return std::atoll(text.c_str()) - start;
}

double medianMs(std::vector<long long> ns)
{
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

int runBenchmark(const char* self)
{
    namespace fs = std::filesystem;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char runtime[] = "/tmp/tq-bench-runtime-XXXXXX";
    char scratch[] = "/tmp/tq-bench-program-XXXXXX";
    if (!mkdtemp(runtime) || !mkdtemp(scratch)) {
        std::fprintf(stderr, "cannot make scratch folders\n");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", runtime, 1);

    std::vector<long long> program, bare;
    int failures = 0;
    for (int run = -1; run < kRuns; ++run) { // run -1 warms the file cache and is not counted
        const fs::path folder = fs::path(scratch) / ("run" + std::to_string(run + 1));
        fs::copy(TQ_BUILT_PROGRAM_DIR, folder, fs::copy_options::recursive);
        const long long p = timeChild(self, {"--child-program", folder.string()});
        const long long b = timeChild(self, {"--child-bare"});
        if (p < 0 || b < 0) {
            ++failures;
            continue;
        }
        if (run >= 0) {
            program.push_back(p);
            bare.push_back(b);
        }
    }
    fs::remove_all(scratch);
    fs::remove_all(runtime);
    if (program.empty() || failures > 0) {
        std::fprintf(stderr, "%d of %d start-ups failed\n", failures, kRuns + 1);
        return 1;
    }
    const double p = medianMs(program), b = medianMs(bare);
    std::printf("startup_program_to_main_window_painted %.1f ms\n", p);
    std::printf("startup_bare_qt_to_main_window_painted %.1f ms\n", b);
    std::printf("startup_ratio_program_to_bare_qt %.2f ratio\n", p / b);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child-program") == 0)
        return runProgram(1, argv, argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--child-bare") == 0)
        return runBare(1, argv);
    return runBenchmark("/proc/self/exe");
}
