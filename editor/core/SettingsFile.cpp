// The settings file. The document is kept whole between read and write so that comments, the
// declaration and any elements a user added survive a run. It is read and replaced through the
// file store, so a link is written through, a FIFO or a device is left alone and a crash or a full
// disk never leaves half a file behind.
#include "SettingsFile.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "CLocaleText.h"
#include "ColorSchemes.h"
#include "FileStore.h"

namespace scrivo {
namespace {

using tinyxml2::XMLElement;
using tinyxml2::XMLError;

constexpr const char *kRootName = "ScrivoSettings";
constexpr const char *kColorSchemeName = "ColorScheme";
constexpr const char *kKeyClickName = "KeyClick";

const char *childText(const XMLElement *root, const char *name) {
    const XMLElement *child = root == nullptr ? nullptr : root->FirstChildElement(name);
    return child == nullptr ? nullptr : child->GetText();
}

XMLElement *childOrNew(XMLElement &parent, const char *name) {
    if (XMLElement *child = parent.FirstChildElement(name)) return child;
    return parent.InsertNewChildElement(name);
}

std::string printed(const tinyxml2::XMLDocument &document) {
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

EditorSettings SettingsFile::read() {
    EditorSettings settings{kFallbackSchemeId, true};
    std::string bytes;
    const FileResult loaded = readRegularFile(path_, bytes, kMaximumBytes);
    if (!loaded.ok()) {
        // A FIFO, a device or a file that cannot be read may mean something to its owner.
        const bool nothingThere = ::access(path_.c_str(), F_OK) != 0 && errno == ENOENT;
        origin_ = nothingThere ? Origin::Nothing : Origin::Unusable;
    } else {
        const XMLError parsed = document_.Parse(bytes.data(), bytes.size());
        origin_ = parsed == XMLError::XML_SUCCESS                ? Origin::Parsed
                  : parsed == XMLError::XML_ERROR_EMPTY_DOCUMENT ? Origin::Nothing
                                                                 : Origin::Unusable;
    }
    if (origin_ != Origin::Parsed) {
        document_.Clear();
        return settings;
    }
    // The values are read with character references and entities processed.
    tinyxml2::XMLDocument values;
    values.Parse(bytes.data(), bytes.size());
    const XMLElement *root = values.FirstChildElement();
    if (const char *text = childText(root, kColorSchemeName)) {
        settings.colorSchemeId = parseLeadingInteger(text);
    }
    if (const char *text = childText(root, kKeyClickName)) {
        settings.keyClick = parseLeadingInteger(text) == 1;
    }
    return settings;
}

bool SettingsFile::write(const EditorSettings &settings) {
    if (origin_ == Origin::Unusable) return false;
    if (document_.NoChildren()) document_.InsertEndChild(document_.NewDeclaration());
    XMLElement *root = document_.FirstChildElement();
    if (root == nullptr) {
        root = document_.InsertEndChild(document_.NewElement(kRootName))->ToElement();
    }
    childOrNew(*root, kColorSchemeName)->SetText(settings.colorSchemeId);
    childOrNew(*root, kKeyClickName)->SetText(settings.keyClick ? "1" : "0");
    return saveReplacing();
}

bool SettingsFile::saveReplacing() {
    const std::string text = printed(document_);
    // What the library cannot carry comes out changed, and changed again on every later save: a
    // document type with declarations of its own loses its end to the first ">" inside it, an
    // attribute in ' quotes holding " is written in " quotes. Such a file stays as the user wrote
    // it.
    tinyxml2::XMLDocument reread(false);
    if (reread.Parse(text.data(), text.size()) != XMLError::XML_SUCCESS ||
        printed(reread) != text) {
        return false;
    }
    // A Config folder that takes no new file is one the user keeps as it is.
    ReplaceOptions options;
    options.inPlaceWhenFolderRefuses = false;
    return replaceFileContents(path_, text, options).ok();
}

}  // namespace scrivo
