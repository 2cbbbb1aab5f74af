// Where the editor keeps the texts a learner did not save: one folder of the user's, one file per
// text, named after the text's file and the moment it was first kept, and only the newest few
// dozen of them. A text keeps its one file while it is being edited, so the periodic copies of a
// long session do not push older texts out. No window-system code here.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "FileStore.h"

namespace scrivo {

inline constexpr std::size_t kRecoveredTextsKept = 50;

// $XDG_STATE_HOME/scrivo/recovered when that names an absolute folder (a relative one is ignored,
// as the XDG rules ask), else HOME/.local/state/scrivo/recovered; "" when neither is known.
std::string RecoveryFolderPath(const char *stateHome, const char *home);
// The folder for this user, from the environment (and the user database when HOME is unset).
std::string UserRecoveryFolder();

// The copy's name: the source file's name with the local time before its extension,
// "ball 2026-12-09 00-45-12.c"; "Untitled 2026-12-09 00-45-12.c" for a text without a file. A
// long name is shortened (never inside a UTF-8 character) so the whole name fits in a folder
// entry; `sequence` above 1 tells apart copies made in the same second: "ball ... (2).c".
std::string RecoveryFileName(std::string_view sourcePath, const std::tm &localTime, int sequence);

class RecoveryFolder {
  public:
    explicit RecoveryFolder(std::string folder, std::size_t keep = kRecoveredTextsKept);

    const std::string &Folder() const { return m_folder; }

    // Makes `bytes` the content of the copy called `name`, replacing that copy whole. With an
    // empty `name` a new copy is made, named after `sourcePath` and the time, and `name` is set;
    // then the oldest copies beyond the limit go. The folder is made (private to the user) when
    // missing. On failure `name` is as it was and nothing new is left in the folder.
    FileResult Keep(std::string &name, std::string_view sourcePath, std::string_view bytes);

    // Removes the copy called `name`, if there is one.
    void Discard(const std::string &name) const;

  private:
    FileResult MakeFolder() const;
    // Creates an empty file under the first free name for the source and the time.
    FileResult ReserveName(std::string_view sourcePath, std::string &name) const;
    // Removes the oldest files until `m_keep` remain; `current` stays whatever its age.
    void Prune(const std::string &current) const;

    std::string m_folder;
    std::size_t m_keep;
};

}  // namespace scrivo
