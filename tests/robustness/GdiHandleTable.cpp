#include "GdiHandleTable.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace robustness {
namespace {

// Wine's entry: UINT64 object, ULONG owner, USHORT unique, UCHAR type, UCHAR flags, UINT64
// user pointer, whatever the architecture. A free entry has type 0.
constexpr std::size_t EntrySize = 24;
constexpr std::size_t TypeOffset = 14;
constexpr std::size_t MaxEntries = 0x10000;

const unsigned char* HandleTable() {
    using QueryInformationProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryInformationProcess>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !basic.PebBaseAddress) {
        return nullptr;
    }
    // PEB.GdiSharedHandleTable
    constexpr std::size_t TableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    return *reinterpret_cast<const unsigned char* const*>(reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) +
                                                          TableOffset);
}

std::optional<long long> CountLiveEntries() {
    const unsigned char* table = HandleTable();
    if (!table) return std::nullopt;
    MEMORY_BASIC_INFORMATION region{};
    if (!::VirtualQuery(table, &region, sizeof region) || region.State != MEM_COMMIT) return std::nullopt;
    const auto readable = static_cast<std::size_t>(static_cast<const unsigned char*>(region.BaseAddress) +
                                                   region.RegionSize - table);
    long long live = 0;
    for (std::size_t i = 0; i < MaxEntries && (i + 1) * EntrySize <= readable; ++i) {
        if (table[i * EntrySize + TypeOffset] != 0) ++live;
    }
    return live;
}

} // namespace

std::optional<long long> GdiObjectsInHandleTable() {
    constexpr int Probes = 32;
    const auto before = CountLiveEntries();
    if (!before) return std::nullopt;
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < Probes; ++i) brushes.push_back(::CreateSolidBrush(RGB(i, 0, 0)));
    const auto during = CountLiveEntries();
    for (HBRUSH brush : brushes) ::DeleteObject(brush);
    const auto after = CountLiveEntries();
    if (!during || !after || *during != *before + Probes || *after != *before) return std::nullopt;
    return *after;
}

} // namespace robustness
