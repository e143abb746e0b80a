#include "ErrorBox.h"

#include "Application.h"
#include "ErrorText.h"
#include "Exception.h"
#include "Utf.h"
#include "Wide.h"

#include <new>

namespace platform {

void ShowErrorBox(std::u16string_view message) noexcept {
    try {
        const std::u16string text = ErrorBoxText(message);
        const std::u16string caption = Application.Title();
        ::MessageBoxW(Application.Handle(), W(text), W(caption), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory while reporting: say what we can without allocating.
        ::MessageBoxW(nullptr, L"Out of memory.", nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
}

void ShowCurrentException() noexcept {
    try {
        throw;
    } catch (const Exception& error) {
        ShowErrorBox(error.Message());
    } catch (const std::bad_alloc&) {
        ShowErrorBox(u"Out of memory");
    } catch (const std::exception& error) {
        ShowErrorBox(DecodeUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(u"Unexpected error");
    }
}

} // namespace platform
