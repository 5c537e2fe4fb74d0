// Start-up benchmark of GUI programs under one private Xvfb: time from exec to the first painted
// top-level window of the program, and its peak resident memory (VmHWM) once settled. Programs are
// run alternately, several times each, and compared to the first one (the reference) in ratios.
//
// Usage: marlox-bench-gui [--runs N] NAME=COMMAND... (COMMAND is run through /bin/sh -c)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto TIMEOUT = std::chrono::seconds(20);
constexpr auto SETTLE = std::chrono::milliseconds(1000);

struct Program {
    std::string name;
    std::string command;
    std::vector<double> startMs;
    std::vector<long> peakKb;
};

// A child process, stopped (SIGTERM, then SIGKILL) and reaped when the object goes.
class Child {
public:
    Child(const std::string& command, const std::string& display) {
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setenv("DISPLAY", display.c_str(), 1);
            ::unsetenv("QT_QPA_PLATFORM");
            ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Child() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 200; ++i) {
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

long PeakRssKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

std::optional<pid_t> WindowPid(Display* display, Window window) {
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success ||
        data == nullptr)
        return std::nullopt;
    std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
    if (count != 1 || format != 32) return std::nullopt;
    return static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
}

// Painted: the window shows more than a background, i.e. several colours.
bool IsPainted(Display* display, Window window, const XWindowAttributes& attributes) {
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    std::set<unsigned long> colours;
    for (int y = 0; y < attributes.height && colours.size() < 4; y += 3) {
        for (int x = 0; x < attributes.width && colours.size() < 4; x += 3)
            colours.insert(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
    return colours.size() >= 4;
}

bool HasPaintedWindow(Display* display, pid_t pid) {
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return false;
    std::unique_ptr<Window, int (*)(void*)> owned(children, XFree);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable)
            continue;
        if (WindowPid(display, children[i]) == pid && IsPainted(display, children[i], attributes))
            return true;
    }
    return false;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }  // windows come and go while we look

bool RunOnce(Display* display, const std::string& displayName, Program& program) {
    const auto start = Clock::now();
    Child child(program.command, displayName);
    while (!HasPaintedWindow(display, child.Pid())) {
        if (Clock::now() - start > TIMEOUT || ::waitpid(child.Pid(), nullptr, WNOHANG) != 0)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    program.startMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    std::this_thread::sleep_for(SETTLE);
    program.peakKb.push_back(PeakRssKb(child.Pid()));
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A private X server; its display number is what it writes to the pipe.
class Xvfb {
public:
    Xvfb() {
        // Xvfb writes the number it chose to a file descriptor once it accepts clients.
        char path[] = "/tmp/marlox-bench-gui-XXXXXX";
        const int fd = ::mkstemp(path);
        if (fd < 0) return;
        ::unlink(path);
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string fdText = std::to_string(fd);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        char buffer[16] = {};
        for (int i = 0; i < 500 && m_display.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const ssize_t got = ::pread(fd, buffer, sizeof buffer - 1, 0);
            if (got > 0 && buffer[got - 1] == '\n')
                m_display = ":" + std::to_string(std::atoi(buffer));
        }
        ::close(fd);
    }
    ~Xvfb() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;
    const std::string& Name() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace

int main(int argc, char* argv[]) {
    int runs = 5;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (const auto equals = arg.find('='); equals != std::string::npos && equals > 0) {
            programs.push_back({arg.substr(0, equals), arg.substr(equals + 1), {}, {}});
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] NAME=COMMAND...\n", argv[0]);
            return 2;
        }
    }
    if (programs.empty()) return 2;

    Xvfb xvfb;
    Display* display = xvfb.Name().empty() ? nullptr : XOpenDisplay(xvfb.Name().c_str());
    if (display == nullptr) {
        std::fprintf(stderr, "no X server (Xvfb)\n");
        return 1;
    }
    XSetErrorHandler(IgnoreXErrors);
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) {
            if (!RunOnce(display, xvfb.Name(), program))
                std::fprintf(stderr, "%s: no painted window within %lld s\n", program.name.c_str(),
                             static_cast<long long>(TIMEOUT.count()));
        }
    }
    XCloseDisplay(display);

    const Program& base = programs.front();
    const double baseMs = Median(base.startMs);
    const long baseKb =
        base.peakKb.empty() ? 0 : *std::max_element(base.peakKb.begin(), base.peakKb.end());
    // The ratio columns name the reference: "start x floor".
    const std::string startX = "start x " + base.name, memoryX = "memory x " + base.name;
    std::printf("%-10s %6s %16s %14s %16s %16s\n", "program", "runs", "start to paint", "peak RSS",
                startX.c_str(), memoryX.c_str());
    for (const Program& program : programs) {
        const double ms = Median(program.startMs);
        const long kb = program.peakKb.empty()
                            ? 0
                            : *std::max_element(program.peakKb.begin(), program.peakKb.end());
        std::printf("%-10s %6zu %13.1f ms %11.1f MB %16.2f %16.2f\n", program.name.c_str(),
                    program.startMs.size(), ms, kb / 1024.0, baseMs > 0 ? ms / baseMs : 0.0,
                    baseKb > 0 ? double(kb) / baseKb : 0.0);
    }
    std::printf("(median start time, largest peak RSS; ratios against %s)\n", base.name.c_str());
    return 0;
}
