#include "LocalFileNames.h"

#include <dirent.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

namespace scrivo {
namespace {

// The one name in `folder` that Qt shows as `shown`, if there is exactly one.
std::optional<std::string> OnlyNameShownAs(const std::string &folder, const QString &shown) {
    const std::unique_ptr<DIR, int (*)(DIR *)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory) {
        return std::nullopt;
    }
    std::optional<std::string> match;
    while (const dirent *entry = ::readdir(directory.get())) {
        if (QFile::decodeName(entry->d_name) != shown) {
            continue;
        }
        if (match) {
            return std::nullopt;
        }
        match = entry->d_name;
    }
    return match;
}

}  // namespace

std::string LocalFileBytes(const QUrl &url) {
    if (!url.isLocalFile()) {
        return {};
    }
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

std::string LocalFileBytes(const QString &shownPath) {
    if (!shownPath.contains(QChar::ReplacementCharacter)) {
        return QFile::encodeName(shownPath).toStdString();
    }
    std::string path;
    for (const QString &component : shownPath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        std::optional<std::string> name;
        if (component.contains(QChar::ReplacementCharacter)) {
            name = OnlyNameShownAs(path.empty() ? "/" : path, component);
        }
        path += '/';
        path += name.value_or(QFile::encodeName(component).toStdString());
    }
    return path;
}

}  // namespace scrivo
