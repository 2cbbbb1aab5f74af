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

Command Item(int id, std::string_view menu, std::string_view caption, std::string_view prompt) {
    return Command{id, menu, {}, caption, {}, kNoToolbarSlot, {}, {}, prompt, {}, false, false};
}

Command Keyed(Command command, std::string_view key, std::string_view secondKey = {}) {
    command.keys = {key, secondKey};
    return command;
}

Command OnToolbar(Command command, int slot, std::string_view tooltip, ToolbarIcon icon) {
    command.toolbarSlot = slot;
    command.tooltip = tooltip;
    command.icon = icon;
    return command;
}

Command InContextMenu(Command command, std::string_view caption) {
    command.contextCaption = caption;
    return command;
}

Command Separated(Command command) {
    command.separatorAfter = true;
    return command;
}

Command Checkable(Command command) {
    command.checkable = true;
    return command;
}

std::vector<Command> BuildTable() {
    using namespace command;
    std::vector<Command> table = {
        OnToolbar(Item(kFileNew, kFile, "New", "Create a New Document"), 0, "New",
                  {"document-new", ":/icons/new.xpm"}),
        OnToolbar(Item(kFileLoad, kFile, "Load", "Open an existing document"), 1, "Load",
                  {"document-open", ":/icons/load.xpm"}),
        OnToolbar(Keyed(Item(kFileSave, kFile, "&Save", "Save the document"), "Ctrl+S"), 2, "Save",
                  {"document-save", ":/icons/save.xpm"}),
        Separated(Item(kFileSaveAs, kFile, "Save As ...", "Save the document to a different file")),
        Separated(OnToolbar(Item(kFilePrint, kFile, "Print", "Print the document"), 7, "Print",
                            {"document-print", ":/icons/print.xpm"})),
        Item(kFileExit, kFile, "E&xit", "Quit the application; prompts to save documents"),
        Keyed(Item(kEditUndo, kEdit, "&Undo", "Undo the last action"), "Ctrl+Z"),
        Separated(
            Keyed(Item(kEditRedo, kEdit, "&Redo", "Redo the previously undone action"), "Ctrl+Y")),
        InContextMenu(OnToolbar(Keyed(Item(kEditCut, kEdit, "Cu&t",
                                           "Cut the selection and put it on the Clipboard"),
                                      "Ctrl+X", "Shift+Del"),
                                4, "Cut", {"edit-cut", ":/icons/cut.xpm"}),
                      "Cut"),
        InContextMenu(OnToolbar(Keyed(Item(kEditCopy, kEdit, "&Copy",
                                           "Copy the selection and put it on the Clipboard"),
                                      "Ctrl+C", "Ctrl+Ins"),
                                3, "Copy", {"edit-copy", ":/icons/copy.xpm"}),
                      "Copy"),
        InContextMenu(OnToolbar(Keyed(Item(kEditPaste, kEdit, "&Paste",
                                           "Insert Clipboard contents into the document"),
                                      "Ctrl+V", "Shift+Ins"),
                                5, "Paste", {"edit-paste", ":/icons/paste.xpm"}),
                      "Paste"),
        Keyed(Item(kEditSelectAll, kEdit, "&Select All", {}), "Ctrl+A"),
        InContextMenu(Item(kEditClear, kEdit, "Clear", "Erase the selection"), "Clear"),
        Keyed(Item(kSearchFind, kSearch, "&Find", {}), "Ctrl+F"),
        Keyed(Item(kSearchReplace, kSearch, "&Replace", {}), "Ctrl+H"),
        Item(kSearchGoToLine, kSearch, "Go To Line", {}),
        OnToolbar(Keyed(Item(kRunStart, kRun, "&Start", "Start the program"), "F5"), 6, "Start",
                  {"media-playback-start", ":/icons/start.xpm"}),
        Checkable(Item(kViewToolbar, kView, "&Toolbar", "Show or hide the toolbar")),
        Checkable(Item(kViewStatusBar, kView, "&Status Bar", "Show or hide the status bar")),
    };
    for (const ColorScheme &scheme : ColorSchemes()) {
        Command schemeItem = Item(scheme.id, kOptions, scheme.caption, {});
        schemeItem.submenu = kSchemeSubmenu;
        table.push_back(schemeItem);
    }
    table.push_back(Checkable(Item(kOptionsKeyClick, kOptions, "Key click sound", {})));
    table.push_back(Separated(Item(kHelpContents, kHelp, "Contents", {})));
    table.push_back(Item(kHelpAbout, kHelp, "&About Scrivo...",
                         "Display program information, version number and copyright"));
    table.push_back(Keyed(Item(kNextPane, {}, {}, "Switch to the next window pane"), "F6"));
    table.push_back(
        Keyed(Item(kPreviousPane, {}, {}, "Switch back to the previous window pane"), "Shift+F6"));
    return table;
}

}  // namespace

std::span<const Command> CommandTable() {
    static const std::vector<Command> table = BuildTable();
    return table;
}

const Command *FindCommand(int id) {
    const auto table = CommandTable();
    const auto found =
        std::find_if(table.begin(), table.end(), [id](const Command &c) { return c.id == id; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace scrivo
