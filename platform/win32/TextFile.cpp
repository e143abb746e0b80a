#include "TextFile.h"

#include "Exception.h"
#include "Handle.h"
#include "StringFormat.h"
#include "TextDecoding.h"
#include "Wide.h"

#include <limits>

namespace platform {
namespace {

std::string ReadWhole(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max() / 4) {
        throw std::bad_alloc();
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + done, chunk, &read, nullptr)) return {};
        if (read == 0) break;  // the file shrank while we read it
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::u16string DecodeSystemCodePage(std::string_view bytes) {
    std::u16string text;
    if (bytes.empty()) return text;
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    text.resize(static_cast<std::size_t>(length));
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                          reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

std::u16string LoadTextFile(std::u16string_view fileName) {
    const std::u16string name(fileName);
    UniqueFile file(::CreateFileW(W(name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const auto cannotOpen = [&] { return Exception(FormatS(u"Cannot open file %s", fileName)); };
    if (!file) throw cannotOpen();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) throw cannotOpen();
    std::string bytes = ReadWhole(file.get());
    if (bytes.empty() && size.QuadPart > 0) throw cannotOpen();
    file.reset();
    std::u16string text = DecodeText(bytes, DecodeSystemCodePage);
    bytes = std::string();  // the raw bytes are no longer needed; a large licence needs the room
    return NormalizeLineBreaks(text);
}

} // namespace platform
