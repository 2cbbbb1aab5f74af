// Which folder the Save As dialog opens in. Left to itself the dialog opens wherever the last
// dialog was, which after a Load is the examples folder, and a learner's homework then lands among
// the examples. No window-system code here.
#pragma once

#include <string>

namespace scrivo {

struct SaveAsPlaces {
    std::string currentPath;      // the text's file; empty for an untitled text
    std::string lastSavedFolder;  // where this run last saved a file; empty before the first save
    std::string workingDirectory;
    std::string examplesFolder;
    std::string homeFolder;
};

// A titled text: its own file's folder, wherever that is. An untitled text: the folder last saved
// into, else the working directory, else the home folder, passing over the examples folder.
std::string SaveAsFolder(const SaveAsPlaces &places);

}  // namespace scrivo
