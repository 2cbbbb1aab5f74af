// The editor's settings file: the colour scheme identifier and the key click switch, kept in a
// small XML document that is read once at start and written back whole at exit, so that anything
// else a user put in it survives. No window-system code here.
#pragma once

#include <tinyxml2.h>

#include <cstddef>
#include <string>

namespace scrivo {

struct EditorSettings {
    int colorSchemeId;
    bool keyClick;
    bool operator==(const EditorSettings &) const = default;
};

class SettingsFile {
  public:
    // Relative to the working directory at the moment of each read and write.
    static constexpr const char *kDefaultPath = "Config/Scrivo_Config.xml";

    explicit SettingsFile(std::string path = kDefaultPath);

    // Far more than any settings file holds; a larger file is not read at all.
    static constexpr std::size_t kMaximumBytes = 1 << 20;

    // Loads the document and keeps it. Anything missing or unreadable reads as the defaults: key
    // click on, scheme kFallbackSchemeId. Only a regular file is read (through links); a FIFO or a
    // device reads as the defaults at once, without waiting on it, and so does a file larger than
    // kMaximumBytes.
    EditorSettings Read();

    // Writes the two values into the kept document (creating a root and the elements when they
    // are missing) and saves it whole, indented, through a link to the file it names. Everything
    // else comes back as the user wrote it, character references and entities included. Returns
    // false when the file could not be written; an existing file is then left as it was. What the
    // last read found but could not read or parse (a FIFO or a device too), a file made
    // read-only, and a document the library cannot write back as it read it (a document type
    // that declares entities, an attribute in ' quotes holding ") are never overwritten.
    bool Write(const EditorSettings &settings);

  private:
    // What the last read found at the path. A file that exists but could not be read or parsed
    // holds text the user may want back, so it is never overwritten with what little we kept.
    enum class Origin { Nothing, Parsed, Unusable };

    bool SaveReplacing();

    std::string m_path;
    // Kept with its text as written: with entities processed, a "&#0;" would end the text it is in
    // and an entity of the user's own would come back as "&amp;" and its name.
    tinyxml2::XMLDocument m_document{false};
    Origin m_origin = Origin::Nothing;
};

}  // namespace scrivo
