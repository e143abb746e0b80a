// The owner-drawn bitmap button: a push button face, its kind's glyph and its caption.
#include "Controls.h"

#include "Dpi.h"
#include "Form.h"
#include "Wide.h"

#include <uxtheme.h>
#include <vsstyle.h>

namespace platform {
namespace {

constexpr int GlyphSize = 18;

const wchar_t* GlyphResource(BitBtnKind kind) {
    switch (kind) {
    case BitBtnKind::Ok:
        return L"BITBTN_OK";
    case BitBtnKind::Cancel:
        return L"BITBTN_CANCEL";
    case BitBtnKind::Custom:
        break;
    }
    return nullptr;
}

// Paints `brush` wherever the glyph image at `source` is not its transparent colour.
void PaintGlyphShape(HDC dc, int x, int y, int size, HDC glyphDc, int sourceX, HBRUSH brush) {
    const COLORREF transparent = ::GetPixel(glyphDc, sourceX, GlyphSize - 1);
    UniqueMemoryDc maskDc(::CreateCompatibleDC(dc));
    UniqueHbitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
    SelectedObject maskSelected(maskDc.get(), mask.get());
    // Colour to monochrome: the transparent colour becomes 1, the drawing 0.
    const COLORREF oldGlyphBack = ::SetBkColor(glyphDc, transparent);
    ::SetStretchBltMode(maskDc.get(), COLORONCOLOR);
    ::StretchBlt(maskDc.get(), 0, 0, size, size, glyphDc, sourceX, 0, GlyphSize, GlyphSize, SRCCOPY);
    ::SetBkColor(glyphDc, oldGlyphBack);
    // Monochrome to colour: 0 maps to the text colour (all ones), 1 to the background (zero);
    // PSDPxax then takes the brush where the source is all ones and keeps the rest.
    const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(0, 0, 0));
    SelectedObject brushSelected(dc, brush);
    ::BitBlt(dc, x, y, size, size, maskDc.get(), 0, 0, 0x00B8074A);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

} // namespace

TBitBtn::TBitBtn(TForm& form, const ControlDescription& description)
    : TButton(form, description, BS_OWNERDRAW) {
    if (const wchar_t* name = GlyphResource(description.bitBtnKind)) {
        glyph_.reset(static_cast<HBITMAP>(
            ::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
}

void TBitBtn::Layout(int dpi) {
    dpi_ = dpi;
    TButton::Layout(dpi);
}

void TBitBtn::ShowAsDefault(bool isDefault) {
    if (showsAsDefault_ == isDefault) return;
    showsAsDefault_ = isDefault;
    ::InvalidateRect(handle_, nullptr, TRUE);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    RECT content = face;
    if (HTHEME theme = ::OpenThemeData(handle_, L"Button")) {
        const int state = disabled ? PBS_DISABLED : pressed ? PBS_PRESSED : showsAsDefault_ ? PBS_DEFAULTED : PBS_NORMAL;
        ::DrawThemeParentBackground(handle_, dc, &face);
        ::DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &face, nullptr);
        ::GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, state, &face, &content);
        ::CloseThemeData(theme);
    } else {
        ::FillRect(dc, &face, ::GetSysColorBrush(COLOR_BTNFACE));
        if (showsAsDefault_) {
            ::FrameRect(dc, &face, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            ::InflateRect(&face, -1, -1);
        }
        if (pressed) {
            ::FrameRect(dc, &face, ::GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            ::DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
        content = face;
        ::InflateRect(&content, -2, -2);
    }

    // Glyph and caption side by side, centred together; pressed, both move down and right.
    const std::u16string caption = Caption();
    HFONT font = form_.Font();
    SelectedObject fontSelected(dc, font);
    RECT textRect{0, 0, 0, 0};
    ::DrawTextW(dc, W(caption), -1, &textRect, DT_CALCRECT | DT_SINGLELINE);
    const int zoom = GlyphZoom(dpi_);
    const int glyph = glyph_ ? GlyphSize * zoom : 0;
    const int spacing = glyph_ && !caption.empty() ? ScaleToDpi(4, dpi_) : 0;
    const int total = glyph + spacing + textRect.right;
    const int shift = pressed ? 1 : 0;
    const int x = content.left + (content.right - content.left - total) / 2 + shift;
    const int middle = (content.top + content.bottom) / 2 + shift;

    if (glyph_) {
        UniqueMemoryDc glyphDc(::CreateCompatibleDC(dc));
        SelectedObject glyphSelected(glyphDc.get(), glyph_.get());
        const int y = middle - glyph / 2;
        if (disabled) {
            // The disabled look: the second image's shape embossed in the 3-D colours.
            PaintGlyphShape(dc, x + 1, y + 1, glyph, glyphDc.get(), GlyphSize, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            PaintGlyphShape(dc, x, y, glyph, glyphDc.get(), GlyphSize, ::GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            const COLORREF transparent = ::GetPixel(glyphDc.get(), 0, GlyphSize - 1);
            ::SetStretchBltMode(dc, COLORONCOLOR);
            ::TransparentBlt(dc, x, y, glyph, glyph, glyphDc.get(), 0, 0, GlyphSize, GlyphSize, transparent);
        }
    }

    RECT text{x + glyph + spacing, middle - textRect.bottom / 2, 0, 0};
    text.right = text.left + textRect.right;
    text.bottom = text.top + textRect.bottom;
    const UINT format = DT_SINGLELINE | DT_LEFT | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    ::SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        RECT raised = text;
        ::OffsetRect(&raised, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(dc, W(caption), -1, &raised, format);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    }
    ::DrawTextW(dc, W(caption), -1, &text, format);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = content;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace platform
