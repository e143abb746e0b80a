// Any input either parses into a consistent description or raises a description error.
#include "FormDescription.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <unordered_set>

using namespace platform;

namespace {

constexpr std::u16string_view Resource = u"FUZZ";

void Require(bool condition) {
    if (!condition) std::abort();
}

// What the window code relies on once a description has parsed.
void CheckDescription(const FormDescription& form) {
    Require(form.outerSize.has_value() != form.clientSize.has_value());
    Require(form.font.size > 0 && form.designDpi > 0);
    std::unordered_set<std::u16string_view> names{form.className};
    for (const ControlDescription& control : form.controls) {
        Require(names.insert(control.name).second);
        Require(control.bounds.width >= 0 && control.bounds.height >= 0);
        Require(control.tabOrder >= -1);
    }
    for (const ControlDescription& control : form.controls) {
        Require(control.focusControl.empty() || names.contains(control.focusControl));
    }
    if (!form.activeControl.empty()) {
        bool focusable = false;
        for (const ControlDescription& control : form.controls) {
            if (control.name == form.activeControl) focusable = control.kind != ControlKind::Label;
        }
        Require(focusable);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        CheckDescription(ParseFormDescription(text, Resource));
    } catch (const EDescriptionError& error) {
        Require(error.Message().starts_with(u"FUZZ, line "));
    }
    return 0;
}
