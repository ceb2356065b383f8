// The resources of the window environment as data: the menu MainMenu, the
// accelerator table MDIAccel, the About dialog (100), the printing dialog
// (200) and the icon paths of ringedit.qrc. The console code builds its
// menus, shortcuts and dialogs from these tables.
#pragma once

#include <span>
#include <string_view>

namespace resources {

// Icon resources: 400 the frame, 401 the console and graphics windows.
inline constexpr std::string_view kFrameIcon = ":/icons/400.png";
inline constexpr std::string_view kChildIcon = ":/icons/401.png";

// One item of a popup; identifier 0 is a separator. The text carries its
// mnemonic ('&') and, after a tab, its shortcut text.
struct MenuItemResource {
  int id;
  std::string_view text;
};
inline constexpr int kSeparator = 0;

struct PopupResource {
  std::string_view title;
  std::span<const MenuItemResource> items;
};

// MainMenu, popup "&File": item identifier -> text.
inline constexpr MenuItemResource kFilePopup[] = {
    {500, "&Save\tCtrl+S"}, {501, "Save As..."}, {kSeparator, ""}, {510, "Print...\tCtrl+P"},
    {kSeparator, ""},       {520, "&About..."},  {kSeparator, ""}, {530, "E&xit\tCtrl+Q"}};
// MainMenu, popup "&Edit": item identifier -> text.
inline constexpr MenuItemResource kEditPopup[] = {{600, "&Undo\tCtrl+Z"},  {kSeparator, ""},
                                                  {610, "Cu&t\tCtrl+X"},   {611, "&Copy\tCtrl+C"},
                                                  {612, "&Paste\tCtrl+V"}, {613, "De&lete"}};
// MainMenu, popup "F&ormat": item identifier -> text.
inline constexpr MenuItemResource kFormatPopup[] = {{650, "&Font..."}, {651, "&Color"}};
// MainMenu, popup "&Window": item identifier -> text. "Plot series" opens
// the plot of the series being edited.
inline constexpr MenuItemResource kWindowPopup[] = {{702, "&Cascade\tShift+F5"},
                                                    {701, "Tile &Horizontally"},
                                                    {700, "Tile &Vertically"},
                                                    {703, "&Arrange Icons"},
                                                    {kSeparator, ""},
                                                    {704, "&Plot series\tCtrl+G"}};

// MainMenu: the popups of the menu bar, left to right.
inline constexpr PopupResource kMainMenu[] = {{"&File", kFilePopup},
                                              {"&Edit", kEditPopup},
                                              {"F&ormat", kFormatPopup},
                                              {"&Window", kWindowPopup}};
// The popup that lists the child windows, and the identifier of its first child.
inline constexpr int kWindowMenuPosition = 3;
inline constexpr int kFirstChildId = 100;

// How an accelerator names its key.
enum class AccelKind { Character, VirtualKey };
// The virtual key F5.
inline constexpr int kVirtualF5 = 0x74;

struct AccelResource {
  AccelKind kind;
  int code;  // the character code, or the virtual key
  bool shift;
  int command;
};

// MDIAccel: key -> command; after the first five, the keys desktop users
// expect for Save (Ctrl+S), Print (Ctrl+P) and Exit (Ctrl+Q), and Ctrl+G
// for the plot.
inline constexpr AccelResource kMdiAccel[] = {
    {AccelKind::Character, 26, false, 600},         {AccelKind::Character, 24, false, 610},
    {AccelKind::Character, 3, false, 611},          {AccelKind::Character, 22, false, 612},
    {AccelKind::VirtualKey, kVirtualF5, true, 702}, {AccelKind::Character, 19, false, 500},
    {AccelKind::Character, 16, false, 510},         {AccelKind::Character, 17, false, 530},
    {AccelKind::Character, 7, false, 704}};

// Controls of a dialog resource, in dialog units of the 8-point font.
enum class ControlKind { Label, ValueField, Button };

struct ControlResource {
  ControlKind kind;
  int id;  // -1 for a static text
  std::string_view text;
  int x, y, width, height;
};

struct DialogResource {
  int id;
  std::string_view caption;
  int width, height;
  std::span<const ControlResource> controls;
};

// Both dialogs use an 8-point sans-serif font.
inline constexpr int kDialogPointSize = 8;
inline constexpr int kStatic = -1;
// The field of the About dialog's value fields, in order: page size, lowest
// and highest application address, processor type, number of processors.
inline constexpr int kPageSizeField = 102;
inline constexpr int kMinimumAddressField = 103;
inline constexpr int kMaximumAddressField = 104;
inline constexpr int kProcessorTypeField = 105;
inline constexpr int kProcessorCountField = 106;

// Dialog 100 "About KOVA": control -> text and place.
inline constexpr ControlResource kAboutControls[] = {
    {ControlKind::Label, kStatic, "KOVA console window environment", 10, 8, 180, 10},
    {ControlKind::Label, kStatic, "Page Size", 10, 26, 80, 10},
    {ControlKind::ValueField, kPageSizeField, "", 95, 26, 95, 10},
    {ControlKind::Label, kStatic, "Minimum Address", 10, 38, 80, 10},
    {ControlKind::ValueField, kMinimumAddressField, "", 95, 38, 95, 10},
    {ControlKind::Label, kStatic, "Maximum Address", 10, 50, 80, 10},
    {ControlKind::ValueField, kMaximumAddressField, "", 95, 50, 95, 10},
    {ControlKind::Label, kStatic, "Processor Type", 10, 62, 80, 10},
    {ControlKind::ValueField, kProcessorTypeField, "", 95, 62, 95, 10},
    {ControlKind::Label, kStatic, "Number of Processors", 10, 74, 80, 10},
    {ControlKind::ValueField, kProcessorCountField, "", 95, 74, 95, 10},
    {ControlKind::Button, 1, "Continue", 75, 92, 50, 14}};
inline constexpr DialogResource kAboutDialog = {100, "About KOVA", 200, 114, kAboutControls};

// Dialog 200 "KOVA", shown while printing: control -> text and place.
inline constexpr ControlResource kPrintingControls[] = {
    {ControlKind::Label, kStatic, "Printing...", 20, 10, 80, 10},
    {ControlKind::Button, 1, "Cancel", 35, 28, 50, 14}};
inline constexpr DialogResource kPrintingDialog = {200, "KOVA", 120, 50, kPrintingControls};

}  // namespace resources
