// File names as the system's bytes. The system takes any bytes but "/" and NUL in a name, while Qt
// shows names as text and turns a byte that is not UTF-8 into U+FFFD, after which the name no
// longer opens. Names from a drop or a file dialog are turned back into the system's bytes here.
#pragma once

#include <string>

class QString;
class QUrl;

namespace scrivo {

// The bytes of a local file URL's path, percent-escapes decoded as bytes; "" for any other URL.
std::string LocalFileBytes(const QUrl &url);

// The bytes of an absolute path as Qt shows it. A component with U+FFFD in it is matched against
// the names in its folder; a component that matches no name, or more than one, is kept as shown.
std::string LocalFileBytes(const QString &shownPath);

}  // namespace scrivo
