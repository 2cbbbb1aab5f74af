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

const char *ChildText(const XMLElement *root, const char *name) {
    const XMLElement *child = root == nullptr ? nullptr : root->FirstChildElement(name);
    return child == nullptr ? nullptr : child->GetText();
}

XMLElement *ChildOrNew(XMLElement &parent, const char *name) {
    if (XMLElement *child = parent.FirstChildElement(name)) return child;
    return parent.InsertNewChildElement(name);
}

std::string Printed(const tinyxml2::XMLDocument &document) {
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {}

EditorSettings SettingsFile::Read() {
    EditorSettings settings{kFallbackSchemeId, true};
    std::string bytes;
    const FileResult loaded = ReadRegularFile(m_path, bytes, kMaximumBytes);
    if (!loaded.Ok()) {
        // A FIFO, a device or a file that cannot be read may mean something to its owner.
        const bool nothingThere = ::access(m_path.c_str(), F_OK) != 0 && errno == ENOENT;
        m_origin = nothingThere ? Origin::Nothing : Origin::Unusable;
    } else {
        const XMLError parsed = m_document.Parse(bytes.data(), bytes.size());
        m_origin = parsed == XMLError::XML_SUCCESS                ? Origin::Parsed
                   : parsed == XMLError::XML_ERROR_EMPTY_DOCUMENT ? Origin::Nothing
                                                                  : Origin::Unusable;
    }
    if (m_origin != Origin::Parsed) {
        m_document.Clear();
        return settings;
    }
    // The values are read with character references and entities processed.
    tinyxml2::XMLDocument values;
    values.Parse(bytes.data(), bytes.size());
    const XMLElement *root = values.FirstChildElement();
    if (const char *text = ChildText(root, kColorSchemeName)) {
        settings.colorSchemeId = ParseLeadingInteger(text);
    }
    if (const char *text = ChildText(root, kKeyClickName)) {
        settings.keyClick = ParseLeadingInteger(text) == 1;
    }
    return settings;
}

bool SettingsFile::Write(const EditorSettings &settings) {
    if (m_origin == Origin::Unusable) return false;
    if (m_document.NoChildren()) m_document.InsertEndChild(m_document.NewDeclaration());
    XMLElement *root = m_document.FirstChildElement();
    if (root == nullptr) {
        root = m_document.InsertEndChild(m_document.NewElement(kRootName))->ToElement();
    }
    ChildOrNew(*root, kColorSchemeName)->SetText(settings.colorSchemeId);
    ChildOrNew(*root, kKeyClickName)->SetText(settings.keyClick ? "1" : "0");
    return SaveReplacing();
}

bool SettingsFile::SaveReplacing() {
    const std::string text = Printed(m_document);
    // What the library cannot carry comes out changed, and changed again on every later save: a
    // document type with declarations of its own loses its end to the first ">" inside it, an
    // attribute in ' quotes holding " is written in " quotes. Such a file stays as the user wrote
    // it.
    tinyxml2::XMLDocument reread(false);
    if (reread.Parse(text.data(), text.size()) != XMLError::XML_SUCCESS ||
        Printed(reread) != text) {
        return false;
    }
    // A Config folder that takes no new file is one the user keeps as it is.
    ReplaceOptions options;
    options.inPlaceWhenFolderRefuses = false;
    return ReplaceFileContents(m_path, text, options).Ok();
}

}  // namespace scrivo
