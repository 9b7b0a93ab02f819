#include "platform/linux/X11PlayerWindow.h"

#include <poll.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/linux/LazyLibrary.h"
#include "platform/linux/X11WindowSearch.h"
extern "C" {
#include <xdo.h>
}

namespace velmor::platform {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long a window manager gets to hand over the focus before we focus the window ourselves,
// and how long the direct way gets before the window counts as not activatable.
constexpr auto kManagerFocusTimeout = 250ms;
constexpr auto kDirectFocusTimeout = 250ms;
// A minimised window comes back only once its program has answered the request: a Windows
// program under Wine, on a busy machine, takes well over the times above.
constexpr auto kRestoreTimeout = 3s;
// How long a player that answers pings may take to read a key before we go on without it.
constexpr auto kPingTimeout = 250ms;
// A player that cannot be pinged gets this long to read a key once the server has queued it.
constexpr auto kSettleWait = 3ms;
constexpr long kSourcePager = 2;  // _NET_ACTIVE_WINDOW: not subject to focus-stealing rules
// libxdo's soname, found by the build.
constexpr const char* kLibxdo = VELMOR_LIBXDO_SONAME;

// The atoms this file uses, in the order of their names in Connection's constructor.
enum AtomId {
    WmState,
    WmProtocols,
    NetWmPing,
    NetWmName,
    Utf8String,
    NetActiveWindow,
    NetSupported,
    NetSupportingWmCheck,
    kAtomCount
};

// Errors about windows that vanished are expected here and answered by the failing call's
// status; the default handler would end the whole program instead.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}
// The connection's exit handler decides what a lost server means; this one only keeps quiet.
int quietIOError(Display*) {
    return 0;
}

// Keeps this object's X error handlers in place for one call and puts the previous ones back,
// so that other X code in the process keeps its own.
class ErrorHandlerScope final {
  public:
    ErrorHandlerScope()
        : m_error(XSetErrorHandler(ignoreXError)), m_ioError(XSetIOErrorHandler(quietIOError)) {}
    ~ErrorHandlerScope() {
        XSetErrorHandler(m_error);
        XSetIOErrorHandler(m_ioError);
    }
    ErrorHandlerScope(const ErrorHandlerScope&) = delete;
    ErrorHandlerScope& operator=(const ErrorHandlerScope&) = delete;

  private:
    XErrorHandler m_error;
    XIOErrorHandler m_ioError;
};

// The three functions of libxdo that send keys. The library (and the X extension libraries it
// brings along) is loaded with the first connection, when the player is first looked for, not
// at start-up. Null functions when it cannot be loaded: no key is then ever sent.
struct Xdo {
    decltype(xdo_new_with_opened_display)* open =
        lazyFunction<decltype(xdo_new_with_opened_display)>(kLibxdo, "xdo_new_with_opened_display");
    decltype(xdo_send_keysequence_window)* send =
        lazyFunction<decltype(xdo_send_keysequence_window)>(kLibxdo, "xdo_send_keysequence_window");
    decltype(xdo_free)* release = lazyFunction<decltype(xdo_free)>(kLibxdo, "xdo_free");

    bool usable() const { return open != nullptr && send != nullptr && release != nullptr; }
};

}  // namespace

class X11PlayerWindow::Connection final {
  public:
    static std::unique_ptr<Connection> open(const std::string& displayName) {
        Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
        if (display == nullptr) {
            return nullptr;
        }
        return std::make_unique<Connection>(display);
    }

    explicit Connection(Display* display) : m_display(display), m_root(DefaultRootWindow(display)) {
        XSetIOErrorExitHandler(m_display, &Connection::onConnectionLost, this);
        std::array<std::string, kAtomCount> names{
            "WM_STATE",    "WM_PROTOCOLS",       "_NET_WM_PING",   "_NET_WM_NAME",
            "UTF8_STRING", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK"};
        std::array<char*, kAtomCount> pointers{};
        std::transform(names.begin(), names.end(), pointers.begin(),
                       [](std::string& name) { return name.data(); });
        XInternAtoms(m_display, pointers.data(), static_cast<int>(pointers.size()), False,
                     m_atoms.data());
        m_search.emplace(m_display, m_atoms[WmState], m_atoms[NetWmName], m_atoms[Utf8String]);
        int opcode = 0;
        int event = 0;
        int error = 0;
        m_hasXTest = XQueryExtension(m_display, "XTEST", &opcode, &event, &error) == True;
        if (m_xdoLibrary.usable()) {
            m_xdo = m_xdoLibrary.open(m_display, DisplayString(m_display), 0);
        }
    }

    ~Connection() {
        if (m_xdo != nullptr) {
            m_xdoLibrary.release(m_xdo);
        }
        XCloseDisplay(m_display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool lost() const { return m_lost; }

    bool activate(std::string_view title) {
        m_target = m_search->find(title);
        if (m_target == None || !focus(m_target)) {
            m_target = None;
            return false;
        }
        return true;
    }

    bool sendKeys(const std::vector<std::string_view>& keys) {
        if (m_target == None || m_xdo == nullptr || !m_hasXTest) {
            return false;
        }
        std::vector<std::string> names;
        for (std::string_view key : keys) {
            names.emplace_back(key);
            if (XStringToKeysym(names.back().c_str()) == NoSymbol) {
                return false;  // nothing sent: half a key list is worse than none
            }
        }
        const bool ping = supportsPing(m_target);
        // The ping answer goes to the root window, sent for StructureNotify by some toolkits
        // (Qt's) and SubstructureNotify by others; the window's end shows on the window itself.
        XSelectInput(m_display, m_root,
                     ping ? StructureNotifyMask | SubstructureNotifyMask : NoEventMask);
        XSelectInput(m_display, m_target, StructureNotifyMask);
        bool sent = true;
        for (const std::string& name : names) {
            // Keys go to whatever has the focus: never send one unless it is the player.
            if (!hasFocus(m_target) && !focus(m_target)) {
                sent = false;
                break;
            }
            if (m_xdoLibrary.send(m_xdo, CURRENTWINDOW, name.c_str(), 0) != XDO_SUCCESS) {
                sent = false;
                break;
            }
            XSync(m_display, False);
            // The server has handed the key out by now. If the focus left the player meanwhile,
            // the key may have gone elsewhere; a player that closed on it had it.
            if (m_lost || (!hasFocus(m_target) && exists(m_target))) {
                sent = false;
                break;
            }
            if (ping) {
                waitForPing(m_target);
            } else {
                std::this_thread::sleep_for(kSettleWait);
            }
        }
        if (!m_lost) {
            XSelectInput(m_display, m_root, NoEventMask);
            XSelectInput(m_display, m_target, NoEventMask);
            XSync(m_display, True);  // drops the notifications nobody asked about
        }
        return sent && !m_lost;
    }

    bool exists(std::string_view title) { return m_search->find(title) != None; }

    void minimise() {
        if (m_target != None && exists(m_target)) {
            XIconifyWindow(m_display, m_target, DefaultScreen(m_display));
            XFlush(m_display);
        }
    }

  private:
    static void onConnectionLost(Display*, void* self) {
        static_cast<Connection*>(self)->m_lost = true;
    }

    // A window manager that is running now (its check window is alive) and that activates
    // windows on request.
    bool managerActivates() {
        auto check =
            x11::readProperty(m_display, m_root, m_atoms[NetSupportingWmCheck], XA_WINDOW, 1);
        const auto checkWindow = check ? check->item32(0) : std::nullopt;
        if (!checkWindow) {
            return false;
        }
        const auto own = static_cast<Window>(*checkWindow);
        auto confirm =
            x11::readProperty(m_display, own, m_atoms[NetSupportingWmCheck], XA_WINDOW, 1);
        const auto confirmed = confirm ? confirm->item32(0) : std::nullopt;
        if (!confirmed || static_cast<Window>(*confirmed) != own) {
            return false;  // a stale property left by a window manager that has gone
        }
        auto supported = x11::readProperty(m_display, m_root, m_atoms[NetSupported], XA_ATOM, 4096);
        for (unsigned long i = 0; supported && i < supported->count; ++i) {
            if (supported->item32(i) == static_cast<long>(m_atoms[NetActiveWindow])) {
                return true;
            }
        }
        return false;
    }

    bool exists(Window window, int* mapState = nullptr) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(m_display, window, &attributes) == 0) {
            return false;
        }
        if (mapState != nullptr) {
            *mapState = attributes.map_state;
        }
        return true;
    }

    // The focus is on the window or on one of its own children.
    bool hasFocus(Window window) {
        Window focused = None;
        int revertTo = 0;
        XGetInputFocus(m_display, &focused, &revertTo);
        for (int level = 0; level < 8 && !m_lost; ++level) {
            if (focused == window) {
                return true;
            }
            const auto above = focused == None || focused == PointerRoot || focused == m_root
                                   ? std::nullopt
                                   : x11::queryTree(m_display, focused);
            if (!above) {
                return false;
            }
            focused = above->parent;
        }
        return false;
    }

    // Polls `check` (true: done; false: not yet; nothing: never) until done or out of time.
    template <class Check>
    bool pollUntil(Clock::duration timeout, Check check) {
        const auto deadline = Clock::now() + timeout;
        std::chrono::microseconds pause = 100us;
        while (!m_lost) {
            const std::optional<bool> done = check();
            if (!done || *done || Clock::now() >= deadline) {
                return done.value_or(false);
            }
            std::this_thread::sleep_for(pause);
            pause = std::min<std::chrono::microseconds>(pause * 2, 2ms);
        }
        return false;
    }

    bool waitForFocus(Window window, Clock::duration timeout) {
        return pollUntil(timeout, [&]() -> std::optional<bool> {
            if (hasFocus(window)) {
                return true;
            }
            return exists(window) ? std::optional<bool>(false) : std::nullopt;
        });
    }

    bool waitUntilViewable(Window window, Clock::duration timeout) {
        return pollUntil(timeout, [&]() -> std::optional<bool> {
            int mapState = IsUnmapped;
            return exists(window, &mapState) ? std::optional<bool>(mapState == IsViewable)
                                             : std::nullopt;
        });
    }

    bool focus(Window window) {
        int mapState = IsUnmapped;
        if (!exists(window, &mapState)) {
            return false;
        }
        if (managerActivates()) {
            if (mapState != IsViewable) {
                XMapRaised(m_display, window);  // asks the manager to bring a minimised one back
            }
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = m_atoms[NetActiveWindow];
            event.xclient.format = 32;
            event.xclient.data.l[0] = kSourcePager;
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(m_display, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                       &event);
            XFlush(m_display);
            if (waitForFocus(window, kManagerFocusTimeout)) {
                return true;
            }
        }
        // No manager, or one that did not answer: raise and focus the window ourselves. The
        // focus can only go to a window that is visible.
        const bool restored = mapState != IsViewable;
        if (restored) {
            XMapRaised(m_display, window);
        }
        const auto timeout = restored ? kRestoreTimeout : kDirectFocusTimeout;
        if (!waitUntilViewable(window, timeout)) {
            return false;
        }
        XRaiseWindow(m_display, window);
        XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
        return waitForFocus(window, timeout);
    }

    bool supportsPing(Window window) {
        Atom* protocols = nullptr;
        int count = 0;
        if (XGetWMProtocols(m_display, window, &protocols, &count) == 0) {
            return false;
        }
        std::unique_ptr<Atom, x11::XFreeDeleter> owner(protocols);
        return std::find(protocols, protocols + count, m_atoms[NetWmPing]) != protocols + count;
    }

    // A client reads its events in order, so its answer to a ping sent after a key means that
    // it has read the key. A window that closes on the key has read it too.
    void waitForPing(Window window) {
        XEvent ping{};
        ping.xclient.type = ClientMessage;
        ping.xclient.window = window;
        ping.xclient.message_type = m_atoms[WmProtocols];
        ping.xclient.format = 32;
        ping.xclient.data.l[0] = static_cast<long>(m_atoms[NetWmPing]);
        ping.xclient.data.l[1] = ++m_pingSerial;
        ping.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(m_display, window, False, NoEventMask, &ping);
        XFlush(m_display);
        const auto deadline = Clock::now() + kPingTimeout;
        while (!m_lost) {
            while (!m_lost && XPending(m_display) > 0) {
                XEvent event{};
                XNextEvent(m_display, &event);
                if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
                    return;
                }
                if (event.type == ClientMessage &&
                    event.xclient.message_type == m_atoms[WmProtocols] &&
                    event.xclient.data.l[0] == static_cast<long>(m_atoms[NetWmPing]) &&
                    event.xclient.data.l[1] == m_pingSerial) {
                    return;
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left <= 0ms) {
                return;  // a player that hangs still got its key, in order
            }
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            if (poll(&connection, 1, static_cast<int>(left.count()) + 1) == 0) {
                return;
            }
        }
    }

    Display* m_display;
    Window m_root;
    std::array<Atom, kAtomCount> m_atoms{};
    std::optional<x11::WindowSearch> m_search;  // made once the atoms are known
    Xdo m_xdoLibrary;
    xdo_t* m_xdo = nullptr;
    bool m_hasXTest = false;
    bool m_lost = false;
    Window m_target = None;
    long m_pingSerial = 0;
};

X11PlayerWindow::X11PlayerWindow(std::string displayName) : m_displayName(std::move(displayName)) {}

X11PlayerWindow::~X11PlayerWindow() {
    const ErrorHandlerScope handlers;
    m_connection.reset();
}

X11PlayerWindow::Connection* X11PlayerWindow::connection() {
    if (!m_connection || m_connection->lost()) {
        m_connection.reset();  // a server that went away may be back under the same name
        m_connection = Connection::open(m_displayName);
    }
    return m_connection.get();
}

bool X11PlayerWindow::activate(std::string_view title) {
    const ErrorHandlerScope handlers;
    Connection* server = connection();
    return server != nullptr && server->activate(title);
}

bool X11PlayerWindow::exists(std::string_view title) {
    const ErrorHandlerScope handlers;
    Connection* server = connection();
    return server != nullptr && server->exists(title);
}

void X11PlayerWindow::minimise() {
    const ErrorHandlerScope handlers;
    if (m_connection && !m_connection->lost()) {
        m_connection->minimise();
    }
}

bool X11PlayerWindow::sendKeys(const std::vector<std::string_view>& keys) {
    const ErrorHandlerScope handlers;
    return m_connection && !m_connection->lost() && m_connection->sendKeys(keys);
}

}  // namespace velmor::platform
