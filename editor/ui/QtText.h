// The core's texts (UTF-8, as string views that need not end in NUL) as Qt's strings.
#pragma once

#include <QString>
#include <string_view>

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
