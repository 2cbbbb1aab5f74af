#include <cstdio>
#include <cstdlib>

#include "TextEditApp.h"

namespace {

// Qt aborts with a terse platform-plugin message when there is no display; say it plainly instead.
bool DisplayAvailable() {
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char **argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "Scrivo needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is "
                     "set.\nStart it from a desktop session (or set QT_QPA_PLATFORM).\n");
        return 1;
    }
    CTextEditApp app(argc, argv);
    app.InitInstance();
    return app.Run();
}
