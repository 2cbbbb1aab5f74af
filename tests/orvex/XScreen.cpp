#include "XScreen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace orvex_test {

namespace {

pid_t ParentOf(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // "pid (name) state ppid ...": the name may hold anything, so read from its closing bracket.
    std::istringstream rest(line.substr(std::min(line.rfind(')') + 1, line.size())));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    return parent;
}

std::vector<Window> ChildrenOf(Display *display, Window window) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
        return {};
    }
    std::vector<Window> found(children, children + count);
    XFree(children);
    return found;
}

long ProcessOf(Display *display, Window window, Atom pidAtom) {
    Atom type;
    int format;
    unsigned long items, after;
    unsigned char *value = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &after, &value) != Success ||
        value == nullptr) {
        return 0;
    }
    const long pid = items == 1 ? *reinterpret_cast<long *>(value) : 0;
    XFree(value);
    return pid;
}

}  // namespace

XScreen::XScreen() : Connection(XOpenDisplay(nullptr)) {
    // A window that goes away between two requests is no fault of the program.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
}

XScreen::~XScreen() {
    if (Connection != nullptr) {
        XCloseDisplay(Connection);
    }
}

std::optional<unsigned long> XScreen::WindowOfChildOf(pid_t parent) const {
    const Atom pidAtom = XInternAtom(Connection, "_NET_WM_PID", True);
    if (pidAtom == None) {
        return std::nullopt;
    }
    // A window manager puts a frame around each window: look one level down as well.
    std::vector<Window> windows = ChildrenOf(Connection, DefaultRootWindow(Connection));
    for (std::size_t frame = 0, frames = windows.size(); frame < frames; ++frame) {
        const std::vector<Window> inside = ChildrenOf(Connection, windows[frame]);
        windows.insert(windows.end(), inside.begin(), inside.end());
    }
    for (const Window window : windows) {
        const long pid = ProcessOf(Connection, window, pidAtom);
        XWindowAttributes attributes;
        if (pid > 0 && ParentOf(pid) == parent &&
            XGetWindowAttributes(Connection, window, &attributes) &&
            attributes.map_state == IsViewable) {
            return window;
        }
    }
    return std::nullopt;
}

std::size_t XScreen::DrawnPixels(unsigned long window) const {
    // On top, so that what is read back is the window's own drawing.
    XRaiseWindow(Connection, window);
    XSync(Connection, False);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(Connection, window, &attributes)) {
        return 0;
    }
    XImage *image = XGetImage(Connection, window, 0, 0, attributes.width, attributes.height,
                              AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0;
    }
    std::map<unsigned long, std::size_t> counts;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            ++counts[XGetPixel(image, x, y)];
        }
    }
    XDestroyImage(image);
    std::size_t background = 0;
    for (const auto &[pixel, count] : counts) {
        background = std::max(background, count);
    }
    return static_cast<std::size_t>(attributes.width) * attributes.height - background;
}

}  // namespace orvex_test
