#include "tests/core_startup/XDisplaySupport.h"

#if defined(QUILLON_X11_TEST) && defined(QUILLON_PROGRAM)
#include <fstream>
#include <iterator>

namespace {

// The display number the server chose and wrote to `fd`, empty when it
// says nothing within ten seconds.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    char ch = 0;
    while (poll(&ready, 1, 10000) == 1 && read(fd, &ch, 1) == 1 && ch != '\n') number += ch;
    return number;
}

// A window that goes away while the test reads it is a failed look, not
// the end of the test program (Xlib's own handler exits).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

std::string TitleOf(Display* x, Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(x, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

Window FindTerminal(Display* x, Window parent) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (TitleOf(x, children[i]).rfind("Terminal", 0) == 0) found = children[i];
        if (found == 0) found = FindTerminal(x, children[i]);
    }
    if (children != nullptr) XFree(children);
    return found;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

bool VirtualDisplay::Start(const std::string& errorsFile) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return m_why = "no pipe for the virtual X server", false;
    const bool started = m_server.Start({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                        nullptr, pipeFds[1], errorsFile);
    close(pipeFds[1]);
    const std::string number = started ? ReadDisplayNumber(pipeFds[0]) : "";
    close(pipeFds[0]);
    if (!started) return m_why = "the virtual X server (Xvfb, package xvfb) cannot be started", false;
    if (number.empty()) return m_why = "the virtual X server did not start: " + ReadFile(errorsFile), false;
    m_name = ":" + number;
    XSetErrorHandler(IgnoreXError);
    m_x = XOpenDisplay(m_name.c_str());
    if (m_x == nullptr) return m_why = "the virtual X server on " + m_name + " accepts no connection", false;
    return true;
}

bool VirtualDisplay::ConnectAnew() {
    m_x = XOpenDisplay(m_name.c_str());
    return m_x != nullptr;
}

void VirtualDisplay::Kill() {
    if (m_x != nullptr) XCloseDisplay(m_x);
    m_x = nullptr;
    m_server.Signal(SIGTERM);
    m_server.Wait(10);
}

VirtualDisplay::~VirtualDisplay() {
    if (m_x != nullptr) XCloseDisplay(m_x);
}

bool TerminalWindow::Start(const std::vector<std::string>& arguments, const std::string& errors) {
    // This process's environment with the display set to the server's and
    // the other display variables removed.
    std::vector<std::string> environment = {"DISPLAY=" + m_display.Name()};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
            text.rfind("SDL_VIDEODRIVER=", 0) != 0)
            environment.push_back(text);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> argv = {QUILLON_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return m_program.Start(argv, envp.data(), -1, errors);
}

bool TerminalWindow::FindWindow(int seconds) {
    return WaitUntil(
        [this] {
            m_window = FindTerminal(m_display.X(), DefaultRootWindow(m_display.X()));
            return m_window != 0;
        },
        seconds);
}

std::string TerminalWindow::Title() const { return TitleOf(m_display.X(), m_window); }

Surface TerminalWindow::Screen() const {
    XImage* image = XGetImage(m_display.X(), m_window, 0, 0, kScreenWidth * 2, kScreenHeight * 2, AllPlanes, ZPixmap);
    if (image == nullptr) return Surface();
    Surface screen(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            screen.At(x, y) = 0xFF000000u | (XGetPixel(image, x * 2, y * 2) & 0xFFFFFFu);
    XDestroyImage(image);
    return screen;
}

// Without a window manager the keyboard follows the pointer.
void TerminalWindow::PointAtWindow() const {
    Display* x = m_display.X();
    int left = 0, top = 0;
    Window child = 0;
    XTranslateCoordinates(x, m_window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
    XTestFakeMotionEvent(x, DefaultScreen(x), left + kScreenWidth, top + kScreenHeight, CurrentTime);
}

void TerminalWindow::Hold(KeySym key, bool down) const {
    PointAtWindow();
    XTestFakeKeyEvent(m_display.X(), XKeysymToKeycode(m_display.X(), key), down ? True : False, CurrentTime);
    XFlush(m_display.X());
}

void TerminalWindow::Key(KeySym key, bool control) const {
    if (control) Hold(XK_Control_L, true);
    Hold(key, true);
    Hold(key, false);
    if (control) Hold(XK_Control_L, false);
    // A person's keys come apart: the terminal sees each before the next.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void TerminalWindow::Close() const {
    Display* x = m_display.X();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_window;
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x, m_window, False, NoEventMask, &event);
    XFlush(x);
}

Window TerminalWindow::LayWindowOver() const {
    Display* x = m_display.X();
    int left = 0, top = 0;
    Window child = 0;
    XTranslateCoordinates(x, m_window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
    const Window cover = XCreateSimpleWindow(x, DefaultRootWindow(x), left, top, kScreenWidth * 2, kScreenHeight * 2,
                                             0, 0, 0xFF0000);
    XMapRaised(x, cover);
    XFlush(x);
    return cover;
}

void TerminalWindow::TakeAway(Window cover) const {
    XDestroyWindow(m_display.X(), cover);
    XFlush(m_display.X());
}

void TerminalWindow::Destroy() const {
    XDestroyWindow(m_display.X(), m_window);
    XFlush(m_display.X());
}

void TerminalWindow::Kill() const {
    XKillClient(m_display.X(), m_window);
    XFlush(m_display.X());
}
#endif
