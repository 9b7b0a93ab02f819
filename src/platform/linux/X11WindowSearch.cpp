// Qt first, before this file's own header: the X11 headers define macros (KeyPress, None,
// Bool...) that break Qt's headers.
#include <QString>

#include "platform/linux/X11WindowSearch.h"

#include <cstring>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace velmor::platform::x11 {

namespace {

// Window names longer than this (in 32-bit units) are cut; titles are short.
constexpr long kMaxNameLongs = 1024;
// Reparenting window managers put the client one or two levels below the frame.
constexpr int kFrameDepth = 3;

QString textOf(const Property& property, Atom utf8) {
    const auto* chars = reinterpret_cast<const char*>(property.data.get());
    const auto size = static_cast<qsizetype>(property.count);
    return property.type == utf8 ? QString::fromUtf8(chars, size)
                                 : QString::fromLatin1(chars, size);
}

QString decodeText(Display* display, const Property& name, Atom utf8) {
    if (name.type == XA_STRING || name.type == utf8) {
        return textOf(name, utf8);
    }
    // COMPOUND_TEXT and other encodings: Xlib knows how to convert them.
    XTextProperty text{name.data.get(), name.type, name.format, name.count};
    char** list = nullptr;
    int count = 0;
    QString result;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list != nullptr) {
        for (int i = 0; i < count; ++i) {
            result += QString::fromUtf8(list[i]);
        }
        XFreeStringList(list);
        return result;
    }
    return textOf(name, None);
}

// Both the old name and the UTF-8 one: programs set either or both.
std::vector<QString> windowNames(Display* display, Window window, Atom netWmName, Atom utf8) {
    std::vector<QString> names;
    if (auto name = readProperty(display, window, netWmName, utf8, kMaxNameLongs);
        name && name->format == 8) {
        names.push_back(textOf(*name, utf8));
    }
    if (auto name = readProperty(display, window, XA_WM_NAME, AnyPropertyType, kMaxNameLongs);
        name && name->format == 8) {
        names.push_back(decodeText(display, *name, utf8));
    }
    return names;
}

bool anyMatches(const std::vector<QString>& names, const QString& folded, bool prefix) {
    for (const QString& name : names) {
        const QString candidate = name.toCaseFolded();
        if (prefix ? candidate.startsWith(folded) : candidate == folded) {
            return true;
        }
    }
    return false;
}

std::vector<Window> children(Display* display, Window window) {
    auto below = queryTree(display, window);
    return below ? std::move(below->children) : std::vector<Window>{};
}

}  // namespace

// Xlib hands 32-bit items out as longs.
std::optional<long> Property::item32(unsigned long index) const {
    if (format != 32 || index >= count) {
        return std::nullopt;
    }
    long value = 0;
    std::memcpy(&value, data.get() + index * sizeof(long), sizeof(long));
    return value;
}

std::optional<Property> readProperty(Display* display, Window window, Atom name, Atom type,
                                     long maxLongs) {
    Property result;
    unsigned long after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, name, 0, maxLongs, False, type, &result.type,
                           &result.format, &result.count, &after, &raw) != Success) {
        return std::nullopt;
    }
    result.data.reset(raw);
    if (result.type == None || (type != AnyPropertyType && result.type != type)) {
        return std::nullopt;
    }
    return result;
}

std::optional<Tree> queryTree(Display* display, Window window) {
    Window root = None;
    Tree result;
    Window* list = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &result.parent, &list, &count) == 0) {
        return std::nullopt;
    }
    const std::unique_ptr<Window, XFreeDeleter> owner(list);
    result.children.assign(list, list + count);
    return result;
}

// The client window (the one carrying WM_STATE) in or below a top-level window.
std::optional<Window> WindowSearch::managedClient(Window window, int depth) {
    if (auto state = readProperty(m_display, window, m_wmState, m_wmState, 2)) {
        const std::optional<long> value = state->item32(0);
        if (value) {
            return *value == WithdrawnState ? std::nullopt : std::optional<Window>(window);
        }
    }
    if (depth == 0) {
        return std::nullopt;
    }
    const std::vector<Window> below = children(m_display, window);
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        if (auto client = managedClient(*it, depth - 1)) {
            return client;
        }
    }
    return std::nullopt;
}

// Top-level windows, uppermost first: what a window manager manages (minimised windows
// included) and, where none manages them, the visible children of the root.
std::vector<Window> WindowSearch::topLevelWindows() {
    std::vector<Window> result;
    const std::vector<Window> stack = children(m_display, DefaultRootWindow(m_display));
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (auto client = managedClient(*it, kFrameDepth)) {
            result.push_back(*client);
            continue;
        }
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(m_display, *it, &attributes) != 0 &&
            attributes.override_redirect == False && attributes.map_state == IsViewable) {
            result.push_back(*it);
        }
    }
    return result;
}

Window WindowSearch::find(std::string_view title) {
    const QString folded =
        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())).toCaseFolded();
    if (folded.isEmpty()) {
        return None;  // every name begins with nothing
    }
    Window prefixMatch = None;
    for (Window window : topLevelWindows()) {
        const std::vector<QString> names =
            windowNames(m_display, window, m_netWmName, m_utf8String);
        if (anyMatches(names, folded, false)) {
            return window;
        }
        if (prefixMatch == None && anyMatches(names, folded, true)) {
            prefixMatch = window;
        }
    }
    return prefixMatch;
}

}  // namespace velmor::platform::x11
