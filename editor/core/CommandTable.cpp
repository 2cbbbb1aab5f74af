#include "CommandTable.h"

#include <algorithm>
#include <vector>

#include "ColorSchemes.h"

namespace scrivo {

namespace {

constexpr std::string_view kFile = "&File";
constexpr std::string_view kEdit = "&Edit";
constexpr std::string_view kSearch = "Search";
constexpr std::string_view kRun = "Run";
constexpr std::string_view kView = "&View";
constexpr std::string_view kOptions = "Options";
constexpr std::string_view kHelp = "&Help";
constexpr std::string_view kSchemeSubmenu = "Editor color scheme";

Command item(int id, std::string_view menu, std::string_view caption, std::string_view prompt) {
    return Command{id, menu, {}, caption, {}, kNoToolbarSlot, {}, {}, prompt, {}, false, false};
}

Command keyed(Command command, std::string_view key, std::string_view secondKey = {}) {
    command.keys = {key, secondKey};
    return command;
}

Command onToolbar(Command command, int slot, std::string_view tooltip, ToolbarIcon icon) {
    command.toolbarSlot = slot;
    command.tooltip = tooltip;
    command.icon = icon;
    return command;
}

Command inContextMenu(Command command, std::string_view caption) {
    command.contextCaption = caption;
    return command;
}

Command separated(Command command) {
    command.separatorAfter = true;
    return command;
}

Command checkable(Command command) {
    command.checkable = true;
    return command;
}

std::vector<Command> buildTable() {
    using namespace command;
    std::vector<Command> table = {
        onToolbar(item(kFileNew, kFile, "New", "Create a New Document"), 0, "New",
                  {"document-new", ":/icons/new.xpm"}),
        onToolbar(item(kFileLoad, kFile, "Load", "Open an existing document"), 1, "Load",
                  {"document-open", ":/icons/load.xpm"}),
        onToolbar(keyed(item(kFileSave, kFile, "&Save", "Save the document"), "Ctrl+S"), 2, "Save",
                  {"document-save", ":/icons/save.xpm"}),
        separated(item(kFileSaveAs, kFile, "Save As ...", "Save the document to a different file")),
        separated(onToolbar(item(kFilePrint, kFile, "Print", "Print the document"), 7, "Print",
                            {"document-print", ":/icons/print.xpm"})),
        item(kFileExit, kFile, "E&xit", "Quit the application; prompts to save documents"),
        keyed(item(kEditUndo, kEdit, "&Undo", "Undo the last action"), "Ctrl+Z"),
        separated(
            keyed(item(kEditRedo, kEdit, "&Redo", "Redo the previously undone action"), "Ctrl+Y")),
        inContextMenu(onToolbar(keyed(item(kEditCut, kEdit, "Cu&t",
                                           "Cut the selection and put it on the Clipboard"),
                                      "Ctrl+X", "Shift+Del"),
                                4, "Cut", {"edit-cut", ":/icons/cut.xpm"}),
                      "Cut"),
        inContextMenu(onToolbar(keyed(item(kEditCopy, kEdit, "&Copy",
                                           "Copy the selection and put it on the Clipboard"),
                                      "Ctrl+C", "Ctrl+Ins"),
                                3, "Copy", {"edit-copy", ":/icons/copy.xpm"}),
                      "Copy"),
        inContextMenu(onToolbar(keyed(item(kEditPaste, kEdit, "&Paste",
                                           "Insert Clipboard contents into the document"),
                                      "Ctrl+V", "Shift+Ins"),
                                5, "Paste", {"edit-paste", ":/icons/paste.xpm"}),
                      "Paste"),
        keyed(item(kEditSelectAll, kEdit, "&Select All", {}), "Ctrl+A"),
        inContextMenu(item(kEditClear, kEdit, "Clear", "Erase the selection"), "Clear"),
        keyed(item(kSearchFind, kSearch, "&Find", {}), "Ctrl+F"),
        keyed(item(kSearchReplace, kSearch, "&Replace", {}), "Ctrl+H"),
        item(kSearchGoToLine, kSearch, "Go To Line", {}),
        onToolbar(keyed(item(kRunStart, kRun, "&Start", "Start the program"), "F5"), 6, "Start",
                  {"media-playback-start", ":/icons/start.xpm"}),
        checkable(item(kViewToolbar, kView, "&Toolbar", "Show or hide the toolbar")),
        checkable(item(kViewStatusBar, kView, "&Status Bar", "Show or hide the status bar")),
    };
    for (const ColorScheme &scheme : colorSchemes()) {
        Command schemeItem = item(scheme.id, kOptions, scheme.caption, {});
        schemeItem.submenu = kSchemeSubmenu;
        table.push_back(schemeItem);
    }
    table.push_back(checkable(item(kOptionsKeyClick, kOptions, "Key click sound", {})));
    table.push_back(separated(item(kHelpContents, kHelp, "Contents", {})));
    table.push_back(item(kHelpAbout, kHelp, "&About Scrivo...",
                         "Display program information, version number and copyright"));
    table.push_back(keyed(item(kNextPane, {}, {}, "Switch to the next window pane"), "F6"));
    table.push_back(
        keyed(item(kPreviousPane, {}, {}, "Switch back to the previous window pane"), "Shift+F6"));
    return table;
}

}  // namespace

std::span<const Command> commandTable() {
    static const std::vector<Command> table = buildTable();
    return table;
}

const Command *findCommand(int id) {
    const auto table = commandTable();
    const auto found =
        std::find_if(table.begin(), table.end(), [id](const Command &c) { return c.id == id; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace scrivo
