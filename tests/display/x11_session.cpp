#include "x11_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdio>
#include <thread>

namespace tickvane::display::testing {
namespace {

Display* dpy(void* connection) { return static_cast<Display*>(connection); }

// One channel of an X pixel, left-aligned in 8 bits.
uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int bits = std::popcount(mask);
    auto value = static_cast<uint32_t>((pixel & mask) >> std::countr_zero(mask));
    return bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
}

uint32_t rgb(unsigned long pixel, unsigned long r, unsigned long g, unsigned long b)
{
    return channel(pixel, r) << 16 | channel(pixel, g) << 8 | channel(pixel, b);
}

// Xvfb writes its display number to `fd` once it accepts connections.
std::string read_line(int fd)
{
    std::string line;
    pollfd p{fd, POLLIN, 0};
    for (char c; ::poll(&p, 1, 10000) == 1 && read(fd, &c, 1) == 1 && c != '\n';)
        line += c;
    return line;
}

}  // namespace

std::unique_ptr<X11Session> X11Session::start(int depth, std::string* why_not,
                                              const std::vector<std::string>& server_args, bool own_ipc_namespace)
{
    int fds[2];
    if (pipe(fds) != 0)
        return nullptr;
    std::vector<std::string> args{"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                  "-screen",   "0",          "1024x768x" + std::to_string(depth),
                                  "-nolisten", "tcp"};
    args.insert(args.end(), server_args.begin(), server_args.end());
    if (own_ipc_namespace)
        args.insert(args.begin(), {"unshare", "--ipc"});
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        int null = open("/dev/null", O_WRONLY);  // its chatter is not test output
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        // A test killed by an X error must not leave its server running (and holding ctest's pipe).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string number = pid > 0 ? read_line(fds[0]) : "";
    close(fds[0]);
    std::unique_ptr<X11Session> session(pid > 0 ? new X11Session(pid, ":" + number) : nullptr);
    if (!session || session->connection_ == nullptr) {
        *why_not = own_ipc_namespace ? "no Xvfb could be started in an IPC namespace of its own (unshare --ipc)"
                                     : "no Xvfb could be started (is it installed?)";
        return nullptr;
    }
    return session;
}

X11Session::X11Session(pid_t pid, std::string name) : pid_(pid), name_(std::move(name))
{
    if (name_.size() > 1)
        connection_ = XOpenDisplay(name_.c_str());
}

X11Session::~X11Session()
{
    if (connection_)
        XCloseDisplay(dpy(connection_));
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

unsigned long X11Session::find_window(const std::string& title)
{
    std::string command = "DISPLAY=" + name_ + " xdotool search --name '^" + title + "$' 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    unsigned long id = 0;
    if (out != nullptr && std::fscanf(out, "%lu", &id) != 1)
        id = 0;
    if (out != nullptr)
        pclose(out);
    return id;
}

std::pair<int, int> X11Session::window_size(unsigned long window)
{
    XWindowAttributes at{};
    XGetWindowAttributes(dpy(connection_), window, &at);
    return {at.width, at.height};
}

std::vector<uint32_t> X11Session::capture(unsigned long window, int width, int height)
{
    std::vector<uint32_t> pixels;
    // A window caught unmapped, or at another size while it turns, refuses the request
    // (BadMatch); Xlib's own handler would end the test program for it.
    XErrorHandler before = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XImage* image = XGetImage(dpy(connection_), window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    XSetErrorHandler(before);
    if (image == nullptr)
        return pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(rgb(XGetPixel(image, x, y), image->red_mask, image->green_mask, image->blue_mask));
    XDestroyImage(image);
    return pixels;
}

void X11Session::cover(unsigned long window)
{
    Display* d = dpy(connection_);
    XWindowAttributes at{};
    XGetWindowAttributes(d, window, &at);
    Window top = XCreateSimpleWindow(d, DefaultRootWindow(d), at.x, at.y, static_cast<unsigned>(at.width),
                                     static_cast<unsigned>(at.height), 0, 0, WhitePixel(d, DefaultScreen(d)));
    XMapRaised(d, top);
    XSync(d, False);
}

std::string X11Session::properties(unsigned long window)
{
    std::string command = "DISPLAY=" + name_ + " xprop -id " + std::to_string(window) + " 2>/dev/null", text;
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr)
        return text;
    char chunk[512];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;)
        text.append(chunk, n);
    pclose(out);
    return text;
}

void X11Session::request_close(unsigned long window)
{
    Display* d = dpy(connection_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
}

void X11Session::take_map_requests()
{
    Display* d = dpy(connection_);
    XSelectInput(d, DefaultRootWindow(d), SubstructureRedirectMask);
    XSync(d, False);
}

unsigned long X11Session::next_map_request(std::chrono::milliseconds limit)
{
    Display* d = dpy(connection_);
    auto until = std::chrono::steady_clock::now() + limit;
    for (XEvent event;; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        XSync(d, False);
        if (XCheckTypedEvent(d, MapRequest, &event))
            return event.xmaprequest.window;
        if (std::chrono::steady_clock::now() >= until)
            return 0;
    }
}

void X11Session::map(unsigned long window)
{
    XMapWindow(dpy(connection_), window);
    XSync(dpy(connection_), False);
}

}  // namespace tickvane::display::testing
