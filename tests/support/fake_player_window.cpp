// A stand-in for the music player's window: a plain X client with a top-level window of the
// given title that writes every key it receives, by keysym name, as one line to a file.
//
//   fake_player_window --out FILE --title TITLE [--iconic] [--no-ping]
//                      [--names both|wm|net] [--timeout-ms N] [--slow-ms N]
//
// The first line of the file is "ready" once the window is on screen or, where a window
// manager runs, once it manages the window (minimised ones too). The program ends on Tab, on
// WM_DELETE_WINDOW, or after the timeout. It answers _NET_WM_PING after reading every event before
// it, like real clients, unless --no-ping is given.

#include <poll.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct Options {
    std::string out;
    std::string title;
    bool iconic = false;
    bool ping = true;
    std::string names = "both";
    long timeoutMs = 20000;
    long slowMs = 0;
};

bool parse(int argc, char** argv, Options& options) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--out" && hasValue) {
            options.out = args[++i];
        } else if (args[i] == "--title" && hasValue) {
            options.title = args[++i];
        } else if (args[i] == "--names" && hasValue) {
            options.names = args[++i];
        } else if (args[i] == "--timeout-ms" && hasValue) {
            options.timeoutMs = std::stol(std::string(args[++i]));
        } else if (args[i] == "--slow-ms" && hasValue) {
            options.slowMs = std::stol(std::string(args[++i]));
        } else if (args[i] == "--iconic") {
            options.iconic = true;
        } else if (args[i] == "--no-ping") {
            options.ping = false;
        } else {
            return false;
        }
    }
    return !options.out.empty() && !options.title.empty();
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

class FakePlayer {
  public:
    FakePlayer(Display* display, const Options& options)
        : m_display(display), m_options(options), m_out(options.out, std::ios::trunc) {}

    int run() {
        createWindow();
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(m_options.timeoutMs);
        while (!m_done) {
            while (!m_done && XPending(m_display) > 0) {
                XEvent event{};
                XNextEvent(m_display, &event);
                handle(event);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (m_done || left.count() <= 0) {
                break;
            }
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(left.count()));
        }
        return 0;
    }

  private:
    Atom atom(const char* name) { return XInternAtom(m_display, name, False); }

    void createWindow() {
        const int screen = DefaultScreen(m_display);
        m_window =
            XCreateSimpleWindow(m_display, RootWindow(m_display, screen), 10, 10, 200, 80, 1,
                                BlackPixel(m_display, screen), WhitePixel(m_display, screen));
        XSelectInput(m_display, m_window,
                     KeyPressMask | StructureNotifyMask | PropertyChangeMask | FocusChangeMask);
        if (m_options.names != "net") {
            XStoreName(m_display, m_window, m_options.title.c_str());
        }
        if (m_options.names != "wm") {
            XChangeProperty(m_display, m_window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                            PropModeReplace,
                            reinterpret_cast<const unsigned char*>(m_options.title.data()),
                            static_cast<int>(m_options.title.size()));
        }
        // A position of its own: a window manager would otherwise put it under the pointer,
        // and one whose focus follows the pointer would then move the focus on its own.
        XSizeHints size{};
        size.flags = USPosition | USSize;
        size.x = 10;
        size.y = 10;
        size.width = 200;
        size.height = 80;
        XSetWMNormalHints(m_display, m_window, &size);
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = m_options.iconic ? IconicState : NormalState;
        XSetWMHints(m_display, m_window, &hints);
        m_wmState = atom("WM_STATE");
        m_wmProtocols = atom("WM_PROTOCOLS");
        m_deleteWindow = atom("WM_DELETE_WINDOW");
        m_ping = atom("_NET_WM_PING");
        std::vector<Atom> protocols{m_deleteWindow};
        if (m_options.ping) {
            protocols.push_back(m_ping);
        }
        XSetWMProtocols(m_display, m_window, protocols.data(), static_cast<int>(protocols.size()));
        m_managed = managerRunning();
        XMapWindow(m_display, m_window);
        XFlush(m_display);
    }

    bool managerRunning() {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(m_display, DefaultRootWindow(m_display),
                           atom("_NET_SUPPORTING_WM_CHECK"), 0, 1, False, AnyPropertyType, &type,
                           &format, &count, &after, &data);
        if (data != nullptr) {
            XFree(data);
        }
        return count > 0;
    }

    void write(std::string_view line) {
        m_out << line << '\n';
        m_out.flush();
    }

    void markReady() {
        if (!m_ready) {
            m_ready = true;
            write("ready");
        }
    }

    void handle(XEvent& event) {
        switch (event.type) {
            case MapNotify:
                if (!m_managed) {
                    markReady();
                }
                break;
            case PropertyNotify:
                if (event.xproperty.atom == m_wmState &&
                    event.xproperty.state == PropertyNewValue) {
                    markReady();  // managed (a manager may map first, then set the state)
                }
                break;
            case KeyPress: {
                // A busy player: the key is handled a while after it arrived.
                std::this_thread::sleep_for(std::chrono::milliseconds(m_options.slowMs));
                const KeySym keysym = XLookupKeysym(&event.xkey, 0);
                const char* name = XKeysymToString(keysym);
                write(name != nullptr ? name : "NoSymbol");
                if (keysym == XK_Tab) {
                    m_done = true;  // closes without reading anything after, as the player does
                }
                break;
            }
            case ClientMessage:
                if (event.xclient.message_type != m_wmProtocols) {
                    break;
                }
                if (static_cast<Atom>(event.xclient.data.l[0]) == m_deleteWindow) {
                    m_done = true;
                } else if (static_cast<Atom>(event.xclient.data.l[0]) == m_ping && m_options.ping) {
                    const Window root = DefaultRootWindow(m_display);
                    event.xclient.window = root;
                    XSendEvent(m_display, root, False,
                               SubstructureNotifyMask | SubstructureRedirectMask, &event);
                    XFlush(m_display);
                }
                break;
            default:
                break;
        }
    }

    Display* m_display;
    const Options& m_options;
    std::ofstream m_out;
    Window m_window = None;
    Atom m_wmState = None;
    Atom m_wmProtocols = None;
    Atom m_deleteWindow = None;
    Atom m_ping = None;
    bool m_managed = false;
    bool m_ready = false;
    bool m_done = false;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "usage: fake_player_window --out FILE --title TITLE [--iconic] [--no-ping] "
                     "[--names both|wm|net] [--timeout-ms N] [--slow-ms N]\n";
        return 2;
    }
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::cerr << "fake_player_window: cannot open the display\n";
        return 1;
    }
    FakePlayer player(display.get(), options);
    return player.run();
}
