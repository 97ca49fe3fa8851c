// Start-up time and idle memory of Vokabo Retano against a bare Qt tray
// program (bare_tray: a window, a list, a tray icon and a 100 ms timer),
// both on the same virtual desktop in the same run: Xvfb with openbox as the
// window manager and trayer as the tray host.
//
//   bench_startup [--runs N] [--idle SECONDS] [--program PATH] [--bare PATH]
//                 [--read-aloud] [--speech-service]
//
// Everything is seen from outside, as on a user's desktop: the start-up time
// runs from starting the process until the X server maps its main window
// (watched through xcb), and the memory is VmRSS from /proc after SECONDS
// (default 20) in the tray. The program gets a word file of 100 words and
// scheduled questions off, so that no question window opens. The two take
// turns at starting first.
//
// Then, one program at a time: how often each wakes up in the tray (context
// switches of all its threads, from /proc/PID/task/*/status, over --wakeups
// SECONDS, default 30), Vokabo Retano with scheduled questions on and its
// first question closed, and with its word dialog open before and after
// another program edits the word file; and how long "Vokabo Sor", chosen in the tray menu
// with the keyboard (xdotool), takes until the question window is mapped
// (--asks N, default 9). Prints figures; never fails on them.
//
// The desktop has no speech service unless --speech-service starts one
// (speech-dispatcher; otherwise its start on demand is switched off), and
// the program reads questions aloud (and so connects to the service as it
// starts) only with --read-aloud.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// --------------------------------------------------------------- processes

struct Child {
    pid_t pid = -1;
};

// Starts argv in a session of its own, output to the log file; keepFd stays
// open in the child.
Child spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const fs::path& log, const fs::path& cwd = {}, int keepFd = -1) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (keepFd >= 0)
            ::fcntl(keepFd, F_SETFD, 0);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
            ::_exit(127);
        ::execvpe(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(out);
    if (pid < 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return {pid};
}

bool exited(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == pid;
}

// SIGTERM to the process's group, then SIGKILL after a grace period.
void stop(Child& child) {
    if (child.pid <= 0)
        return;
    ::kill(-child.pid, SIGTERM);
    const auto start = Clock::now();
    while (!exited(child.pid)) {
        if (msSince(start) > 5000) {
            ::kill(-child.pid, SIGKILL);
            ::waitpid(child.pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    child.pid = -1;
}

std::optional<double> residentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
        status.ignore(1 << 12, '\n');
    }
    return std::nullopt;
}

// Context switches of each of the process's threads, by thread id: each is
// a wake-up.
std::map<std::string, long long> contextSwitches(pid_t pid) {
    std::map<std::string, long long> switches;
    std::error_code error;
    const fs::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : fs::directory_iterator(tasks, error)) {
        std::ifstream status(task.path() / "status");
        std::string key;
        long long total = 0;
        while (status >> key) {
            long long n = 0;
            if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
                status >> n;
                total += n;
            }
            status.ignore(1 << 12, '\n');
        }
        switches[task.path().filename()] = total;
    }
    return switches;
}

std::string output(const std::string& command, const std::vector<std::string>& env) {
    std::string line;
    for (const auto& e : env)
        line += "'" + e + "' ";
    FILE* pipe = ::popen(("env -i " + line + command).c_str(), "r");
    if (!pipe)
        return {};
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    ::pclose(pipe);
    return text;
}

// --------------------------------------------------------------- X side

class Display {
public:
    explicit Display(const std::string& name) : connection_(xcb_connect(name.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_))
            throw std::runtime_error("cannot connect to display " + name);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    xcb_atom_t atom(const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    bool windowManagerRunning() {
        return !property(root_, atom("_NET_SUPPORTING_WM_CHECK")).empty();
    }

    bool trayHostRunning() {
        std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
            xcb_get_selection_owner_reply(
                connection_, xcb_get_selection_owner(connection_, atom("_NET_SYSTEM_TRAY_S0")),
                nullptr),
            &std::free);
        return reply && reply->owner != XCB_WINDOW_NONE;
    }

    // Waits until process pid maps a window whose title starts with one of
    // `titles` ("" matches any window of it); nullopt after timeoutMs.
    std::optional<xcb_window_t>
    waitForMappedWindow(pid_t pid, const std::vector<std::string>& titles, double timeoutMs) {
        const auto start = Clock::now();
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const xcb_window_t found = handle(event, pid, titles);
                std::free(event);
                if (found != XCB_WINDOW_NONE)
                    return found;
            }
            const double left = timeoutMs - msSince(start);
            if (left <= 0 || xcb_connection_has_error(connection_))
                return std::nullopt;
            ::poll(&fd, 1, int(left) + 1);
        }
    }
    bool waitForMappedWindow(pid_t pid, const std::string& title, double timeoutMs) {
        return waitForMappedWindow(pid, std::vector{title}, timeoutMs).has_value();
    }

    // Asks a window to close, as its close button does.
    void close(xcb_window_t window) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom("WM_PROTOCOLS");
        message.data.data32[0] = atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    // The middle of the process's tray icon on the screen: its only small
    // viewable window.
    std::optional<std::pair<int, int>> trayIcon(pid_t pid) { return smallWindow(root_, pid); }

private:
    std::optional<std::pair<int, int>> smallWindow(xcb_window_t parent, pid_t pid) {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr),
            &std::free);
        if (!tree)
            return std::nullopt;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t w = children[i];
            std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
                xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, w), nullptr),
                &std::free);
            std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
                xcb_get_window_attributes_reply(connection_,
                                                xcb_get_window_attributes(connection_, w), nullptr),
                &std::free);
            if (geometry && attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                geometry->width > 1 && geometry->width <= 64 && geometry->height <= 64 &&
                ownedBy(w, pid)) {
                std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
                    xcb_translate_coordinates_reply(connection_,
                                                    xcb_translate_coordinates(connection_, w, root_,
                                                                              geometry->width / 2,
                                                                              geometry->height / 2),
                                                    nullptr),
                    &std::free);
                if (at)
                    return std::pair<int, int>(at->dst_x, at->dst_y);
            }
            if (auto found = smallWindow(w, pid))
                return found;
        }
        return std::nullopt;
    }

    bool ownedBy(xcb_window_t window, pid_t pid) {
        const std::string owner = property(window, atom("_NET_WM_PID"));
        uint32_t ownerPid = 0;
        if (owner.size() != sizeof ownerPid)
            return false;
        std::memcpy(&ownerPid, owner.data(), sizeof ownerPid);
        return ownerPid == uint32_t(pid);
    }

    // Top-level windows are created as children of the root; each is
    // watched from its creation on, so its mapping is seen whether the
    // window manager has reparented it or not.
    xcb_window_t handle(xcb_generic_event_t* event, pid_t pid,
                        const std::vector<std::string>& titles) {
        xcb_window_t window = XCB_WINDOW_NONE;
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(connection_, created->window, XCB_CW_EVENT_MASK, &mask);
            // It may have been mapped before the watch began.
            std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
                xcb_get_window_attributes_reply(
                    connection_, xcb_get_window_attributes(connection_, created->window), nullptr),
                &std::free);
            if (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED)
                window = created->window;
            break;
        }
        case XCB_MAP_NOTIFY:
            window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            break;
        default:
            break;
        }
        if (window == XCB_WINDOW_NONE)
            return XCB_WINDOW_NONE;
        for (const std::string& title : titles)
            if (isMainWindow(window, pid, title))
                return window;
        return XCB_WINDOW_NONE;
    }

    std::string property(xcb_window_t window, xcb_atom_t name) {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                nullptr),
            &std::free);
        if (!reply)
            return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
    }

    bool isMainWindow(xcb_window_t window, pid_t pid, const std::string& title) {
        const std::string owner = property(window, atom("_NET_WM_PID"));
        uint32_t ownerPid = 0;
        if (owner.size() != sizeof ownerPid)
            return false;
        std::memcpy(&ownerPid, owner.data(), sizeof ownerPid);
        if (ownerPid != uint32_t(pid))
            return false;
        const std::string name = property(window, atom("_NET_WM_NAME"));
        return (name.empty() ? property(window, XCB_ATOM_WM_NAME) : name).starts_with(title);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
};

template <typename Probe> void waitUntil(const char* what, Probe probe) {
    const auto start = Clock::now();
    while (!probe()) {
        if (msSince(start) > 20000)
            throw std::runtime_error(std::string("no ") + what + " after 20 s");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// --------------------------------------------------------------- the desktop

class Desktop {
public:
    Desktop(const fs::path& root, bool speechService) : root_(root) {
        for (const char* folder : {"home", "config", "runtime", "logs"})
            fs::create_directories(root / folder);
        fs::permissions(root / "runtime", fs::perms::owner_all);
        env_ = {"PATH=" + std::string(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"),
                "HOME=" + (root / "home").string(),
                "XDG_CONFIG_HOME=" + (root / "config").string(),
                "XDG_RUNTIME_DIR=" + (root / "runtime").string(),
                "XDG_DATA_HOME=" + (root / "home/data").string(),
                "XDG_CACHE_HOME=" + (root / "home/cache").string(),
                "XDG_SESSION_TYPE=x11",
                "QT_QPA_PLATFORM=xcb",
                "LANG=C.UTF-8"};

        // Xvfb picks a free display and reports it once it takes clients.
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe");
        xvfb_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                       "-nolisten", "tcp", "-noreset"},
                      env_, log("xvfb"), {}, fds[1]);
        ::close(fds[1]);
        std::string number;
        char c;
        pollfd fd{fds[0], POLLIN, 0};
        while (::poll(&fd, 1, 20000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty())
            throw std::runtime_error("Xvfb reported no display");
        env_.push_back("DISPLAY=:" + number);
        display_ = std::make_unique<Display>(":" + number);

        const std::string bus = output("dbus-launch --sh-syntax", env_);
        const auto address = value(bus, "DBUS_SESSION_BUS_ADDRESS='", "'");
        busPid_ = std::atoi(value(bus, "DBUS_SESSION_BUS_PID=", ";").c_str());
        if (address.empty() || busPid_ <= 0)
            throw std::runtime_error("dbus-launch started no session bus");
        env_.push_back("DBUS_SESSION_BUS_ADDRESS=" + address);

        openbox_ = spawn({"openbox", "--sm-disable"}, env_, log("openbox"));
        waitUntil("window manager", [this] { return display_->windowManagerRunning(); });
        trayer_ =
            spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                   "120", "--height", "32", "--SetDockType", "true", "--transparent", "false"},
                  env_, log("trayer"));
        waitUntil("tray host", [this] { return display_->trayHostRunning(); });

        if (speechService) {
            speechd_ = spawn({"speech-dispatcher", "--run-single", "--timeout", "0"}, env_,
                             log("speech-dispatcher"));
            const fs::path socket = root / "runtime" / "speech-dispatcher" / "speechd.sock";
            waitUntil("speech service", [&socket] { return fs::exists(socket); });
        } else {
            fs::create_directories(root / "config" / "speech-dispatcher");
            std::ofstream(root / "config" / "speech-dispatcher" / "speechd.conf")
                << "DisableAutoSpawn\n";
        }
    }

    ~Desktop() {
        stop(speechd_);
        stop(trayer_);
        stop(openbox_);
        if (busPid_ > 0)
            ::kill(busPid_, SIGTERM);
        display_.reset();
        stop(xvfb_);
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Child start(const fs::path& exe, const std::string& name,
                const std::vector<std::string>& args = {}) {
        std::vector<std::string> argv{exe.string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return spawn(argv, env_, log(name), exe.parent_path());
    }
    // Runs xdotool with these arguments and waits for it.
    void xdotool(const std::vector<std::string>& args) {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        Child tool = spawn(argv, env_, log("xdotool"));
        ::waitpid(tool.pid, nullptr, 0);
    }
    Display& display() { return *display_; }

private:
    fs::path log(const std::string& name) const { return root_ / "logs" / (name + ".log"); }

    static std::string value(const std::string& text, const std::string& before,
                             const std::string& after) {
        const auto at = text.find(before);
        if (at == std::string::npos)
            return {};
        const auto from = at + before.size();
        return text.substr(from, text.find(after, from) - from);
    }

    fs::path root_;
    std::vector<std::string> env_;
    Child xvfb_, openbox_, trayer_, speechd_;
    pid_t busPid_ = -1;
    std::unique_ptr<Display> display_;
};

// --------------------------------------------------------------- figures

struct Subject {
    std::string name;
    fs::path exe;
    std::string title;
    std::vector<double> startMs;
    std::vector<double> rssMb;
    int missed = 0;
};

struct Running {
    Subject* subject;
    Child child;
    Clock::time_point started;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const auto n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void printRow(const Subject& s) {
    if (s.startMs.empty()) {
        std::printf("%-22s  no main window seen (%d runs)\n", s.name.c_str(), s.missed);
        return;
    }
    const auto [lowRss, highRss] = std::minmax_element(s.rssMb.begin(), s.rssMb.end());
    std::printf("%-22s %8.1f %8.1f %8.1f   %8.1f %8.1f %8.1f\n", s.name.c_str(), median(s.startMs),
                *std::min_element(s.startMs.begin(), s.startMs.end()), s.startMs.front(),
                median(s.rssMb), *lowRss, *highRss);
}

void writeSettings(const fs::path& root, int SorDak, bool readAloud) {
    std::ofstream(root / "config" / "vokabo" / "registry.ini")
        << "[SOFTWARE]\nVokabo\\SorDak=" << SorDak << "\n"
        << (readAloud ? "Vokabo\\seslendir=E\n" : "");
}

// The titles a question window has, whatever the word's count.
const std::vector<std::string> QuestionTitles{"Yeni ya da bilemediğiniz vokabo",
                                              "Bu vokaboyi son "};

// Wake-ups a second of a running process over `seconds`: looked at every
// second, thread by thread, since a thread that ends (Qt's pool threads do
// after 30 s idle) takes its count along.
double wakeUpRate(pid_t pid, int seconds) {
    auto before = contextSwitches(pid);
    const auto from = Clock::now();
    long long wakeUps = 0;
    for (int second = 0; second < seconds; ++second) {
        std::this_thread::sleep_until(from + std::chrono::seconds(second + 1));
        const auto now = contextSwitches(pid);
        for (const auto& [task, count] : now) {
            const auto earlier = before.find(task);
            wakeUps += count - (earlier == before.end() ? 0 : earlier->second);
        }
        before = now;
    }
    return double(wakeUps) / (msSince(from) / 1000);
}

// Wake-ups a second of a program in the tray, over `seconds`; a question
// that opens at start is closed first, as its user would.
std::optional<double> wakeUpsPerSecond(Desktop& desktop, const fs::path& exe,
                                       const std::string& name, const std::string& title,
                                       bool questionAtStart, int seconds) {
    Child child = desktop.start(
        exe, name, questionAtStart ? std::vector<std::string>{"-o"} : std::vector<std::string>{});
    std::optional<double> rate;
    const auto window = desktop.display().waitForMappedWindow(
        child.pid, questionAtStart ? QuestionTitles : std::vector{title}, 20000);
    if (window) {
        if (questionAtStart)
            desktop.display().close(*window);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rate = wakeUpRate(child.pid, seconds);
    }
    stop(child);
    return rate;
}

struct DialogWakeUps {
    std::optional<double> before;
    std::optional<double> after;
};

// Wake-ups a second with the word dialog open ("Yeni Vokabo" from the tray
// menu, the keyboard on its "Ekle" button, where no cursor blinks): first as
// it is, then after another program added a line to the word file.
DialogWakeUps dialogWakeUps(Desktop& desktop, const fs::path& exe, const fs::path& wordFile,
                            int seconds) {
    DialogWakeUps rates;
    Child child = desktop.start(exe, "vokabo-dialog", {"-o"});
    std::optional<std::pair<int, int>> icon;
    waitUntil("tray icon", [&] { return (icon = desktop.display().trayIcon(child.pid)); });
    desktop.xdotool({"mousemove", "--sync", std::to_string(icon->first),
                     std::to_string(icon->second), "click", "3"});
    if (desktop.display().waitForMappedWindow(child.pid, std::vector<std::string>{""}, 5000)) {
        desktop.xdotool({"key", "Down", "Return"});
        if (desktop.display().waitForMappedWindow(child.pid, "Yeni Vokabo", 5000)) {
            desktop.xdotool({"key", "Tab", "Tab", "Tab"});
            std::this_thread::sleep_for(std::chrono::seconds(2));
            rates.before = wakeUpRate(child.pid, seconds);
            std::ofstream(wordFile, std::ios::binary | std::ios::app) << "ladder|merdiven||0|A\r\n";
            std::this_thread::sleep_for(std::chrono::seconds(2));
            rates.after = wakeUpRate(child.pid, seconds);
        }
    }
    stop(child);
    return rates;
}

// Milliseconds from choosing "Vokabo Sor" in the tray menu (the Return key
// sent by xdotool, whose own start is counted) until the question window is
// mapped; each question is closed again.
std::vector<double> askLatencies(Desktop& desktop, const fs::path& exe, int asks) {
    std::vector<double> ms;
    Child child = desktop.start(exe, "vokabo-ask", {"-o"});
    std::optional<std::pair<int, int>> icon;
    waitUntil("tray icon", [&] { return (icon = desktop.display().trayIcon(child.pid)); });
    for (int i = 0; i < asks; ++i) {
        desktop.xdotool({"mousemove", "--sync", std::to_string(icon->first),
                         std::to_string(icon->second), "click", "3"});
        if (!desktop.display().waitForMappedWindow(child.pid, std::vector<std::string>{""}, 5000))
            continue;
        // Yeni Vokabo, then Vokabo Sor.
        desktop.xdotool({"key", "Down", "Down"});
        const auto chosen = Clock::now();
        desktop.xdotool({"key", "Return"});
        const auto question =
            desktop.display().waitForMappedWindow(child.pid, QuestionTitles, 5000);
        if (!question)
            continue;
        ms.push_back(msSince(chosen));
        desktop.display().close(*question);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    stop(child);
    return ms;
}

void writeWordFile(const fs::path& path) {
    static const char* const words[][2] = {
        {"apple", "elma"},      {"house", "ev"},       {"income", "gelir  kazanç"},
        {"river", "nehir"},     {"window", "pencere"}, {"journey", "yolculuk"},
        {"answer", "cevap"},    {"mountain", "dağ"},   {"friend", "arkadaş"},
        {"knowledge", "bilgi"},
    };
    std::ofstream file(path, std::ios::binary);
    // The program's own file format: fields split by "|", CR LF; plain
    // ASCII and UTF-8 letters both read back.
    for (int i = 0; i < 100; ++i) {
        const auto& w = words[i % 10];
        file << w[0] << (i / 10 ? std::to_string(i / 10) : "") << '|' << w[1] << "|An example with "
             << w[0] << ".|" << i % 7 << '|' << (i % 5 ? 'A' : 'P') << "\r\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    int runs = 5;
    int idleSeconds = 20;
    int wakeUpSeconds = 30;
    int asks = 9;
    bool readAloud = false;
    bool speechService = false;
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    fs::path program = here.parent_path() / "src" / "vokabo";
    fs::path bare = here / "bare_tray";
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--read-aloud") {
            readAloud = true;
            continue;
        }
        if (option == "--speech-service") {
            speechService = true;
            continue;
        }
        if (i + 1 == argc)
            break;
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--idle")
            idleSeconds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--program")
            program = argv[i + 1];
        else if (option == "--bare")
            bare = argv[i + 1];
        else if (option == "--wakeups")
            wakeUpSeconds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--asks")
            asks = std::max(1, std::atoi(argv[i + 1]));
        ++i;
    }

    char pattern[] = "/tmp/vokabo-bench-startup-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    int code = 0;
    try {
        // Each program runs from a folder of its own, as an installed copy
        // would: the program keeps its word file beside itself.
        for (const char* folder : {"program", "bare"})
            fs::create_directories(root / folder);
        fs::copy_file(program, root / "program" / "vokabo");
        fs::copy_file(bare, root / "bare" / "bare_tray");
        writeWordFile(root / "program" / "vokabo.txt");
        fs::create_directories(root / "config" / "vokabo");
        writeSettings(root, 0, readAloud);

        Subject subjects[] = {
            {"bare Qt tray program",
             root / "bare" / "bare_tray",
             "Bare Qt tray program",
             {},
             {},
             0},
            {"Vokabo Retano", root / "program" / "vokabo", "Vokabo Retano", {}, {}, 0},
        };
        Desktop desktop(root, speechService);
        std::printf("%d runs each, %d s in the tray; the two take turns at starting first\n", runs,
                    idleSeconds);
        std::printf("speech service %s; questions %sread aloud\n",
                    speechService ? "running" : "none", readAloud ? "" : "not ");
        for (int run = 0; run < runs; ++run) {
            std::vector<Running> running;
            for (int k = 0; k < 2; ++k) {
                Subject& s = subjects[(run + k) % 2];
                Running r{&s, {}, Clock::now()};
                r.child = desktop.start(s.exe, s.name == "Vokabo Retano" ? "vokabo" : "bare");
                if (desktop.display().waitForMappedWindow(r.child.pid, s.title, 20000))
                    s.startMs.push_back(msSince(r.started));
                else
                    ++s.missed;
                running.push_back(r);
            }
            for (Running& r : running) {
                const auto due = r.started + std::chrono::seconds(idleSeconds);
                std::this_thread::sleep_until(due);
                if (const auto rss = residentMegabytes(r.child.pid))
                    r.subject->rssMb.push_back(*rss);
                stop(r.child);
            }
            std::printf("  run %d: %s %.1f ms %.1f MB, %s %.1f ms %.1f MB\n", run + 1,
                        subjects[0].name.c_str(),
                        subjects[0].startMs.empty() ? 0.0 : subjects[0].startMs.back(),
                        subjects[0].rssMb.empty() ? 0.0 : subjects[0].rssMb.back(),
                        subjects[1].name.c_str(),
                        subjects[1].startMs.empty() ? 0.0 : subjects[1].startMs.back(),
                        subjects[1].rssMb.empty() ? 0.0 : subjects[1].rssMb.back());
            std::fflush(stdout);
        }

        std::printf("\n%-22s %26s   %26s\n", "", "start-up to mapped ms", "VmRSS MB after idle");
        std::printf("%-22s %8s %8s %8s   %8s %8s %8s\n", "", "median", "min", "1st run", "median",
                    "min", "max");
        for (const Subject& s : subjects)
            printRow(s);
        const Subject& base = subjects[0];
        const Subject& ours = subjects[1];
        if (!base.startMs.empty() && !ours.startMs.empty() && !base.rssMb.empty() &&
            !ours.rssMb.empty()) {
            const double start = median(ours.startMs) / median(base.startMs);
            const double memory = median(ours.rssMb) / median(base.rssMb);
            std::printf("\nstart-up %.2fx the bare program (aim: within 1.5x, %s)\n", start,
                        start <= 1.5 ? "met" : "not met");
            std::printf("memory   %.2fx the bare program (aim: within 1.3x, %s)\n", memory,
                        memory <= 1.3 ? "met" : "not met");
        }

        std::printf("\nwake-ups a second in the tray, over %d s (context switches, all threads)\n",
                    wakeUpSeconds);
        const auto bareRate = wakeUpsPerSecond(desktop, subjects[0].exe, "bare-idle",
                                               subjects[0].title, false, wakeUpSeconds);
        writeSettings(root, 5, readAloud);
        const auto ourRate = wakeUpsPerSecond(desktop, subjects[1].exe, "vokabo-idle",
                                              subjects[1].title, true, wakeUpSeconds);
        writeSettings(root, 0, readAloud);
        std::printf("%-22s %8.2f  (a 100 ms timer)\n", subjects[0].name.c_str(),
                    bareRate.value_or(-1));
        std::printf("%-22s %8.2f  (questions every 5 minutes, the first one closed)\n",
                    subjects[1].name.c_str(), ourRate.value_or(-1));
        if (ourRate)
            std::printf("aim: at most 1 a second, %s\n", *ourRate <= 1 ? "met" : "not met");

        const DialogWakeUps dialog =
            dialogWakeUps(desktop, subjects[1].exe, root / "program" / "vokabo.txt", wakeUpSeconds);
        std::printf("\nwake-ups a second with the word dialog open, over %d s each\n",
                    wakeUpSeconds);
        std::printf("%-40s %8.2f\n", "as it is", dialog.before.value_or(-1));
        std::printf("%-40s %8.2f\n", "after an outside edit of the word file",
                    dialog.after.value_or(-1));
        if (dialog.before && dialog.after)
            std::printf("aim: no wake-up more after the edit, %s (%+.2f a second)\n",
                        *dialog.after - *dialog.before <= 0.1 ? "met" : "not met",
                        *dialog.after - *dialog.before);

        const std::vector<double> ask = askLatencies(desktop, subjects[1].exe, asks);
        if (ask.empty()) {
            std::printf("\n\"Vokabo Sor\": no question window seen\n");
        } else {
            const auto [fastest, slowest] = std::minmax_element(ask.begin(), ask.end());
            std::printf("\n\"Vokabo Sor\" in the tray menu to the question mapped, %zu of %d asks:"
                        "\nmedian %.1f ms, min %.1f, max %.1f (aim: within 100 ms, %s)\n",
                        ask.size(), asks, median(ask), *fastest, *slowest,
                        median(ask) <= 100 ? "met" : "not met");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_startup: %s (scripts/deps.sh test installs the desktop)\n",
                     e.what());
        code = 1;
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return code;
}
