// Window descriptions: a form's layout, texts and handler bindings, in a small text format.
//
//   # comment
//   form TregisterForm
//     caption = "Please Register %s"
//     outerSize = 366, 219
//     border = sizeable
//     onCreate = FormCreate
//     edit eUserName
//       bounds = 8, 64, 345, 21
//       onChange = eUserNameChange
//     end
//   end
//
// A block opens with a kind and a name and closes with "end"; inside it, one "property = value"
// a line, where a value is a number, a "quoted string" (\" \\ \n escapes, UTF-8), a bare word,
// or a comma-separated list of numbers. Indentation is free. Form properties come before the
// controls; a memo may repeat "line" to hold several lines.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Exception.h"

namespace platform {

enum class ControlKind { Label, Edit, Memo, Button, BitBtn };
enum class BorderStyle { Sizeable, Dialog };
enum class FormPosition { Designed, ScreenCenter };
enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };
enum class BitBtnKind { Custom, Ok, Cancel };
enum class ScrollBars { None, Vertical, Horizontal, Both };
enum class CursorKind { Default, HandPoint };
enum class ColorName { BtnFace, Window };

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Bounds&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct FontDescription {
    std::u16string name = u"MS Sans Serif";
    int size = 8;      // points
    int height = -11;  // pixels at the design DPI
};

struct ControlDescription {
    ControlKind kind = ControlKind::Label;
    std::u16string name;
    int line = 0;  // where the block opens, for messages

    Bounds bounds;
    std::u16string caption;  // label and button caption; edit text
    std::vector<std::u16string> lines;  // memo content

    // label
    bool autoSize = true;
    bool wordWrap = false;
    std::u16string focusControl;  // empty: the accelerator moves no focus

    // edit and memo
    bool readOnly = false;
    ScrollBars scrollBars = ScrollBars::None;
    bool wantReturns = false;  // memo: Enter stays in the box
    bool wantEscape = false;   // memo: Esc stays in the box

    // buttons
    BitBtnKind bitBtnKind = BitBtnKind::Custom;
    bool isDefault = false;
    bool isCancel = false;
    ModalResult modalResult = ModalResult::None;
    CursorKind cursor = CursorKind::Default;

    bool enabled = true;
    int tabOrder = -1;  // -1: after the controls that name one, in description order

    std::u16string onClick;
    std::u16string onChange;
};

struct FormDescription {
    std::u16string className;
    std::u16string caption;
    std::optional<Size> outerSize;   // exactly one of outerSize and clientSize
    std::optional<Size> clientSize;
    FormPosition position = FormPosition::Designed;
    BorderStyle border = BorderStyle::Sizeable;
    ColorName color = ColorName::BtnFace;
    FontDescription font;
    int designDpi = 96;
    std::u16string activeControl;  // empty: the first control in tab order
    std::u16string onCreate;
    std::vector<ControlDescription> controls;
};

// A malformed description. The message names the resource, the line and the item, e.g.
// "TREGISTERFORM, line 12: unknown property 'colour' of 'eUserName'".
class EDescriptionError : public Exception {
public:
    using Exception::Exception;
};

// Parses and checks a description (UTF-8 text): unknown kinds and properties, bad values,
// duplicate names, missing "end", controls that activeControl or focusControl name but that
// do not exist, and a form with neither or both of outerSize and clientSize are errors.
FormDescription ParseFormDescription(std::string_view text, std::u16string_view resourceName);

} // namespace platform
