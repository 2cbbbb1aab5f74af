// The editor's commands as data: one row per command with its identifier, where it stands in the
// menus, its caption, shortcut keys, toolbar slot with icon and tooltip, status-line prompt and its
// place in the text's context menu. The frame builds its menu bar, shortcuts, toolbar and context
// menu from these rows, so every attribute of a command lives in its row only. No window-system
// code here.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace scrivo {

// Command identifiers are numbers because the scheme identifiers are stored in the settings file.
namespace command {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileLoad = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 133;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileExit = 57665;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditSelectAll = 32776;
inline constexpr int kEditClear = 57632;
inline constexpr int kSearchFind = 32780;
inline constexpr int kSearchReplace = 32781;
inline constexpr int kSearchGoToLine = 32792;
inline constexpr int kRunStart = 32778;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kOptionsKeyClick = 32819;
inline constexpr int kHelpContents = 32779;
inline constexpr int kHelpAbout = 57664;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
// Scheme commands occupy this range; not every identifier in it names a scheme (the scheme table
// says which are free). Free outside it for a new command: 32777, 32782 to 32791, 32793, 32794,
// 32820 and up.
inline constexpr int kFirstScheme = 32795;
inline constexpr int kLastScheme = 32818;
}  // namespace command

inline constexpr int kNoToolbarSlot = -1;
inline constexpr int kToolbarSlotCount = 8;
// The toolbar's one separator stands before this slot.
inline constexpr int kToolbarSeparatorBeforeSlot = 3;

// A toolbar button's picture: the desktop theme's icon of this name, or else the picture bundled
// with the program (a Qt resource path).
struct ToolbarIcon {
    std::string_view themeName;
    std::string_view bundled;
};

struct Command {
    int id;
    std::string_view menu;     // top-level menu caption; empty when the command has no item
    std::string_view submenu;  // submenu caption inside `menu`, or empty
    std::string_view caption;  // the item's text, with its "&" mnemonic
    // Portable key sequences ("Ctrl+S"); empty = unused. A menu item shows the first at its right.
    std::array<std::string_view, 2> keys;
    int toolbarSlot;                  // position on the toolbar, or kNoToolbarSlot
    ToolbarIcon icon;                 // the button's picture; empty off the toolbar
    std::string_view tooltip;         // the button's tooltip; empty off the toolbar
    std::string_view prompt;          // status-line text while highlighted; empty shows nothing
    std::string_view contextCaption;  // the item's text in the text's context menu, or empty
    bool separatorAfter;              // a menu separator follows the item
    bool checkable;                   // the item carries a check mark
};

// Every command in menu order (menus left to right, items top to bottom), the scheme items in the
// order of the scheme table, then the key-only commands.
std::span<const Command> CommandTable();

// The row of this identifier, or nullptr.
const Command *FindCommand(int id);

}  // namespace scrivo
