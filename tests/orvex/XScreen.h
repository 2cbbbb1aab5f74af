// Looks at the X server's screen as a learner would: which window a program opened, and whether
// it shows more than its background. Kept apart from GoogleTest, whose templates Xlib's macros
// break.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>

struct _XDisplay;

namespace orvex_test {

class XScreen {
  public:
    XScreen();  // the display named by DISPLAY
    ~XScreen();
    XScreen(const XScreen &) = delete;
    XScreen &operator=(const XScreen &) = delete;

    bool Connected() const { return Connection != nullptr; }

    // The viewable top-level window of a child process of `parent`, by the process id that SDL
    // gives every window.
    std::optional<unsigned long> WindowOfChildOf(pid_t parent) const;

    // How many of the window's pixels differ from its most common colour.
    std::size_t DrawnPixels(unsigned long window) const;

  private:
    _XDisplay *Connection;
};

}  // namespace orvex_test
