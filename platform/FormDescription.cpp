#include "FormDescription.h"

#include "Utf.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace platform {
namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Excerpts of the input in messages are cut to fit an error box.
constexpr std::size_t QuoteLimit = 60;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }

bool IsWord(std::string_view text) {
    return !text.empty() && IsWordStart(text.front()) && std::all_of(text.begin(), text.end(), IsWordChar);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Only for text known to be ASCII: words and numbers.
std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Quoted(std::u16string_view text) {
    std::u16string out = u"'";
    std::size_t cut = text.size();
    if (cut > QuoteLimit) {
        cut = QuoteLimit;
        if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
    }
    // Control characters would break the message's one line or vanish in it.
    for (const char16_t c : text.substr(0, cut)) out.push_back(c < 0x20 && c != u'\t' ? u'\uFFFD' : c);
    if (cut < text.size()) out += u"...";
    out += u"'";
    return out;
}

// Input bytes need not be UTF-8; they are decoded leniently, and only as far as can be shown.
std::u16string Quoted(std::string_view raw) {
    return Quoted(DecodeUtf8(raw.substr(0, QuoteLimit * 4)));
}

[[noreturn]] void Fail(std::u16string_view resource, std::size_t line, std::u16string_view what) {
    std::u16string message(resource);
    message += u", line ";
    message += Widen(std::to_string(line));
    message += u": ";
    message += what;
    throw EDescriptionError(std::move(message));
}

std::optional<int> ParseInteger(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// One property's value; whatever does not fit the property is a bad value of that property.
struct Value {
    std::u16string_view resource;
    std::size_t line;
    std::string_view property;
    std::u16string_view owner;
    std::string_view text;

    [[noreturn]] void Bad() const {
        Fail(resource, line, u"bad value for " + Quoted(property) + u" of " + Quoted(owner) + u": " + Quoted(text));
    }

    int Integer(int min = INT_MIN) const {
        const std::optional<int> value = ParseInteger(text);
        if (!value || *value < min) Bad();
        return *value;
    }

    template <std::size_t N>
    std::array<int, N> Integers() const {
        std::array<int, N> values{};
        std::string_view rest = text;
        for (std::size_t i = 0; i < N; ++i) {
            const std::size_t comma = rest.find(',');
            if ((comma == std::string_view::npos) != (i + 1 == N)) Bad();
            const std::optional<int> value = ParseInteger(Trim(rest.substr(0, comma)));
            if (!value) Bad();
            values[i] = *value;
            if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
        }
        return values;
    }

    Size NonNegativeSize() const {
        const auto [width, height] = Integers<2>();
        if (width < 0 || height < 0) Bad();
        return {width, height};
    }

    template <typename T>
    T Choice(std::initializer_list<std::pair<std::string_view, T>> choices) const {
        for (const auto& [word, choice] : choices) {
            if (text == word) return choice;
        }
        Bad();
    }

    bool Boolean() const { return Choice<bool>({{"true", true}, {"false", false}}); }

    std::u16string Word() const {
        if (!IsWord(text)) Bad();
        return Widen(text);
    }

    std::u16string String() const {
        if (!text.starts_with('"')) Bad();
        std::string bytes;
        std::size_t i = 1;
        for (;;) {
            if (i >= text.size()) Bad();
            const char c = text[i++];
            if (c == '"') break;
            if (c != '\\') {
                bytes.push_back(c);
                continue;
            }
            if (i >= text.size()) Bad();
            const char escaped = text[i++];
            if (escaped == '"' || escaped == '\\') {
                bytes.push_back(escaped);
            } else if (escaped == 'n') {
                bytes.push_back('\n');
            } else {
                Bad();
            }
        }
        if (i != text.size()) Bad();
        std::optional<std::u16string> decoded = DecodeUtf8Strict(bytes);
        if (!decoded) Bad();
        return std::move(*decoded);
    }
};

constexpr unsigned KindBit(ControlKind kind) { return 1u << static_cast<unsigned>(kind); }
constexpr unsigned Labels = KindBit(ControlKind::Label);
constexpr unsigned Edits = KindBit(ControlKind::Edit);
constexpr unsigned Memos = KindBit(ControlKind::Memo);
constexpr unsigned Buttons = KindBit(ControlKind::Button) | KindBit(ControlKind::BitBtn);
constexpr unsigned BitBtns = KindBit(ControlKind::BitBtn);
constexpr unsigned AnyKind = Labels | Edits | Memos | Buttons;

constexpr std::pair<std::string_view, ControlKind> KindNames[] = {
    {"label", ControlKind::Label}, {"edit", ControlKind::Edit},     {"memo", ControlKind::Memo},
    {"button", ControlKind::Button}, {"bitbtn", ControlKind::BitBtn},
};

std::string_view KindName(ControlKind kind) {
    for (const auto& [name, named] : KindNames) {
        if (named == kind) return name;
    }
    return {};
}

struct ControlProperty {
    std::string_view name;
    unsigned kinds;
    void (*apply)(const Value&, ControlDescription&);
};

constexpr ControlProperty ControlProperties[] = {
    {"bounds", AnyKind,
     [](const Value& v, ControlDescription& c) {
         const auto [left, top, width, height] = v.Integers<4>();
         if (width < 0 || height < 0) v.Bad();
         c.bounds = {left, top, width, height};
     }},
    {"caption", Labels | Buttons, [](const Value& v, ControlDescription& c) { c.caption = v.String(); }},
    {"text", Edits, [](const Value& v, ControlDescription& c) { c.caption = v.String(); }},
    {"line", Memos, [](const Value& v, ControlDescription& c) { c.lines.push_back(v.String()); }},
    {"autoSize", Labels, [](const Value& v, ControlDescription& c) { c.autoSize = v.Boolean(); }},
    {"wordWrap", Labels | Memos, [](const Value& v, ControlDescription& c) { c.wordWrap = v.Boolean(); }},
    {"focusControl", Labels, [](const Value& v, ControlDescription& c) { c.focusControl = v.Word(); }},
    {"readOnly", Edits | Memos, [](const Value& v, ControlDescription& c) { c.readOnly = v.Boolean(); }},
    {"scrollBars", Memos,
     [](const Value& v, ControlDescription& c) {
         c.scrollBars = v.Choice<ScrollBars>({{"none", ScrollBars::None},
                                              {"vertical", ScrollBars::Vertical},
                                              {"horizontal", ScrollBars::Horizontal},
                                              {"both", ScrollBars::Both}});
     }},
    {"wantReturns", Memos, [](const Value& v, ControlDescription& c) { c.wantReturns = v.Boolean(); }},
    {"wantEscape", Memos, [](const Value& v, ControlDescription& c) { c.wantEscape = v.Boolean(); }},
    {"kind", BitBtns,
     [](const Value& v, ControlDescription& c) {
         c.bitBtnKind = v.Choice<BitBtnKind>(
             {{"custom", BitBtnKind::Custom}, {"ok", BitBtnKind::Ok}, {"cancel", BitBtnKind::Cancel}});
     }},
    {"default", Buttons, [](const Value& v, ControlDescription& c) { c.isDefault = v.Boolean(); }},
    {"cancel", Buttons, [](const Value& v, ControlDescription& c) { c.isCancel = v.Boolean(); }},
    {"modalResult", Buttons,
     [](const Value& v, ControlDescription& c) {
         c.modalResult = v.Choice<ModalResult>(
             {{"none", ModalResult::None}, {"ok", ModalResult::Ok}, {"cancel", ModalResult::Cancel}});
     }},
    {"cursor", AnyKind,
     [](const Value& v, ControlDescription& c) {
         c.cursor = v.Choice<CursorKind>({{"default", CursorKind::Default}, {"handPoint", CursorKind::HandPoint}});
     }},
    {"enabled", AnyKind, [](const Value& v, ControlDescription& c) { c.enabled = v.Boolean(); }},
    {"tabOrder", Edits | Memos | Buttons, [](const Value& v, ControlDescription& c) { c.tabOrder = v.Integer(0); }},
    {"onClick", Buttons, [](const Value& v, ControlDescription& c) { c.onClick = v.Word(); }},
    {"onChange", Edits | Memos, [](const Value& v, ControlDescription& c) { c.onChange = v.Word(); }},
};

struct FormProperty {
    std::string_view name;
    void (*apply)(const Value&, FormDescription&);
};

constexpr FormProperty FormProperties[] = {
    {"caption", [](const Value& v, FormDescription& f) { f.caption = v.String(); }},
    {"outerSize", [](const Value& v, FormDescription& f) { f.outerSize = v.NonNegativeSize(); }},
    {"clientSize", [](const Value& v, FormDescription& f) { f.clientSize = v.NonNegativeSize(); }},
    {"position",
     [](const Value& v, FormDescription& f) {
         f.position = v.Choice<FormPosition>(
             {{"designed", FormPosition::Designed}, {"screenCenter", FormPosition::ScreenCenter}});
     }},
    {"border",
     [](const Value& v, FormDescription& f) {
         f.border = v.Choice<BorderStyle>({{"sizeable", BorderStyle::Sizeable}, {"dialog", BorderStyle::Dialog}});
     }},
    {"color",
     [](const Value& v, FormDescription& f) {
         f.color = v.Choice<ColorName>({{"btnFace", ColorName::BtnFace}, {"window", ColorName::Window}});
     }},
    {"fontName", [](const Value& v, FormDescription& f) { f.font.name = v.String(); }},
    {"fontSize", [](const Value& v, FormDescription& f) { f.font.size = v.Integer(1); }},
    {"fontHeight", [](const Value& v, FormDescription& f) { f.font.height = v.Integer(); }},
    {"designDpi", [](const Value& v, FormDescription& f) { f.designDpi = v.Integer(1); }},
    {"activeControl", [](const Value& v, FormDescription& f) { f.activeControl = v.Word(); }},
    {"onCreate", [](const Value& v, FormDescription& f) { f.onCreate = v.Word(); }},
};

template <typename Table>
constexpr std::size_t IndexOf(const Table& table, std::string_view name) {
    for (std::size_t i = 0; i < std::size(table); ++i) {
        if (table[i].name == name) return i;
    }
    return std::size(table);
}

// Properties given explicitly in a block, one bit per table row.
using PropertySet = std::uint32_t;
static_assert(std::size(ControlProperties) <= 32 && std::size(FormProperties) <= 32);

constexpr PropertySet ControlBit(std::string_view name) {
    return PropertySet{1} << IndexOf(ControlProperties, name);
}

// A bitbtn's kind stands for the usual caption and roles of an OK or Cancel button, but a
// property written out in the block wins, wherever it stands.
void ApplyKindDefaults(ControlDescription& control, PropertySet given) {
    if (control.kind != ControlKind::BitBtn || control.bitBtnKind == BitBtnKind::Custom) return;
    const bool ok = control.bitBtnKind == BitBtnKind::Ok;
    if (!(given & ControlBit("caption"))) control.caption = ok ? u"OK" : u"Cancel";
    if (!(given & ControlBit("modalResult"))) control.modalResult = ok ? ModalResult::Ok : ModalResult::Cancel;
    if (ok && !(given & ControlBit("default"))) control.isDefault = true;
    if (!ok && !(given & ControlBit("cancel"))) control.isCancel = true;
}

class Parser {
public:
    Parser(std::string_view sourceText, std::u16string_view resourceName)
        : source(sourceText), resource(resourceName) {}

    FormDescription Parse() {
        std::string_view rest = source;
        if (rest.starts_with(Utf8Bom)) rest.remove_prefix(Utf8Bom.size());
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            std::string_view text = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            if (text.ends_with('\r')) text.remove_suffix(1);
            ++line;
            ParseLine(Trim(text));
        }
        switch (state) {
        case State::BeforeForm:
            line = std::max<std::size_t>(line, 1);
            Fail(u"no 'form' block");
        case State::InForm:
            Fail(u"missing 'end' for " + Quoted(form.className));
        case State::InControl:
            Fail(u"missing 'end' for " + Quoted(form.controls.back().name));
        case State::AfterForm:
            break;
        }
        CheckReferences();
        return std::move(form);
    }

private:
    enum class State { BeforeForm, InForm, InControl, AfterForm };

    [[noreturn]] void Fail(std::u16string_view what) const { platform::Fail(resource, line, what); }
    [[noreturn]] void FailAt(std::size_t where, std::u16string_view what) const {
        platform::Fail(resource, where, what);
    }

    void ParseLine(std::string_view text) {
        if (text.empty() || text.front() == '#') return;
        if (state == State::AfterForm) Fail(u"text after the end of " + Quoted(form.className) + u": " + Quoted(text));

        std::size_t wordEnd = 0;
        while (wordEnd < text.size() && IsWordChar(text[wordEnd])) ++wordEnd;
        const std::string_view word = text.substr(0, wordEnd);
        const std::string_view rest = Trim(text.substr(wordEnd));
        const bool separated = wordEnd == text.size() || IsBlank(text[wordEnd]) || text[wordEnd] == '=';
        if (!IsWord(word) || !separated) Fail(u"malformed line " + Quoted(text));

        if (rest.starts_with('=')) return SetProperty(word, Trim(rest.substr(1)));
        if (rest.empty() && word == "end") return CloseBlock();
        if (rest.empty() || word == "end" || std::any_of(rest.begin(), rest.end(), IsBlank)) {
            Fail(u"malformed line " + Quoted(text));
        }
        OpenBlock(text, word, rest);
    }

    void OpenBlock(std::string_view text, std::string_view kindWord, std::string_view name) {
        if (kindWord == "form") {
            if (state != State::BeforeForm) Fail(u"second form " + Quoted(name));
            if (!IsWord(name)) Fail(u"bad name " + Quoted(name));
            form.className = Widen(name);
            names.insert(name);
            formLine = line;
            state = State::InForm;
            return;
        }
        if (state == State::BeforeForm) Fail(u"expected 'form' before " + Quoted(kindWord));
        if (state == State::InControl) {
            Fail(u"missing 'end' for " + Quoted(form.controls.back().name) + u" before " + Quoted(name));
        }
        const auto known = std::find_if(std::begin(KindNames), std::end(KindNames),
                                        [&](const auto& entry) { return entry.first == kindWord; });
        if (known == std::end(KindNames)) {
            // "caption "x"" is a property without its "=", not a block of an unknown kind.
            if (!IsWord(name)) Fail(u"malformed line " + Quoted(text));
            Fail(u"unknown kind " + Quoted(kindWord));
        }
        if (!IsWord(name)) Fail(u"bad name " + Quoted(name));
        if (!names.insert(name).second) Fail(u"duplicate name " + Quoted(name));

        ControlDescription& control = form.controls.emplace_back();
        control.kind = known->second;
        control.name = Widen(name);
        control.line = static_cast<int>(line);
        focusControlLines.push_back(0);
        controlGiven = 0;
        state = State::InControl;
    }

    void CloseBlock() {
        switch (state) {
        case State::BeforeForm:
            Fail(u"expected 'form' before 'end'");
        case State::InForm:
            state = State::AfterForm;
            break;
        case State::InControl:
            ApplyKindDefaults(form.controls.back(), controlGiven);
            state = State::InForm;
            break;
        case State::AfterForm:
            break;
        }
    }

    void SetProperty(std::string_view name, std::string_view text) {
        if (state == State::BeforeForm) Fail(u"expected 'form' before " + Quoted(name));
        if (state == State::InForm) {
            SetFormProperty(name, text);
        } else {
            SetControlProperty(name, text);
        }
    }

    void SetFormProperty(std::string_view name, std::string_view text) {
        const std::u16string& owner = form.className;
        const std::size_t index = IndexOf(FormProperties, name);
        if (index == std::size(FormProperties)) {
            Fail(u"unknown property " + Quoted(name) + u" of " + Quoted(owner));
        }
        if (!form.controls.empty()) {
            Fail(u"property " + Quoted(name) + u" of " + Quoted(owner) + u" after the first control");
        }
        const PropertySet bit = PropertySet{1} << index;
        if (formGiven & bit) Fail(u"duplicate property " + Quoted(name) + u" of " + Quoted(owner));
        formGiven |= bit;

        FormProperties[index].apply(Value{resource, line, name, owner, text}, form);
        if (form.outerSize && form.clientSize) {
            Fail(Quoted(owner) + u" has both 'outerSize' and 'clientSize'");
        }
        if (name == "activeControl") activeControlLine = line;
    }

    void SetControlProperty(std::string_view name, std::string_view text) {
        ControlDescription& control = form.controls.back();
        const std::size_t index = IndexOf(ControlProperties, name);
        if (index == std::size(ControlProperties)) {
            Fail(u"unknown property " + Quoted(name) + u" of " + Quoted(control.name));
        }
        const ControlProperty& property = ControlProperties[index];
        if (!(property.kinds & KindBit(control.kind))) {
            Fail(u"property " + Quoted(name) + u" does not apply to " + Widen(KindName(control.kind)) + u" " +
                 Quoted(control.name));
        }
        const PropertySet bit = PropertySet{1} << index;
        if ((controlGiven & bit) && name != "line") {
            Fail(u"duplicate property " + Quoted(name) + u" of " + Quoted(control.name));
        }
        controlGiven |= bit;

        property.apply(Value{resource, line, name, control.name, text}, control);
        if (name == "focusControl") focusControlLines.back() = line;
    }

    void CheckReferences() const {
        if (!form.outerSize && !form.clientSize) {
            FailAt(formLine, Quoted(form.className) + u" needs 'outerSize' or 'clientSize'");
        }
        std::unordered_map<std::u16string_view, const ControlDescription*> byName;
        for (const ControlDescription& control : form.controls) byName.emplace(control.name, &control);

        if (!form.activeControl.empty()) {
            const auto found = byName.find(form.activeControl);
            if (found == byName.end()) {
                FailAt(activeControlLine, u"unknown control " + Quoted(form.activeControl) +
                                              u" for 'activeControl' of " + Quoted(form.className));
            }
            if (found->second->kind == ControlKind::Label) {
                FailAt(activeControlLine, u"'activeControl' of " + Quoted(form.className) + u" names label " +
                                              Quoted(form.activeControl) + u", which takes no focus");
            }
        }
        for (std::size_t i = 0; i < form.controls.size(); ++i) {
            const ControlDescription& control = form.controls[i];
            if (!control.focusControl.empty() && !byName.contains(control.focusControl)) {
                FailAt(focusControlLines[i], u"unknown control " + Quoted(control.focusControl) +
                                                 u" for 'focusControl' of " + Quoted(control.name));
            }
        }
    }

    std::string_view source;
    std::u16string_view resource;
    std::size_t line = 0;
    State state = State::BeforeForm;
    FormDescription form;
    std::size_t formLine = 0;
    PropertySet formGiven = 0;
    PropertySet controlGiven = 0;
    std::unordered_set<std::string_view> names;  // the class and every control
    std::size_t activeControlLine = 0;
    std::vector<std::size_t> focusControlLines;  // one per control; 0 where it has none
};

} // namespace

FormDescription ParseFormDescription(std::string_view text, std::u16string_view resourceName) {
    return Parser(text, resourceName).Parse();
}

} // namespace platform
