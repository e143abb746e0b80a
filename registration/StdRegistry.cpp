#include "StdRegistry.h"

std::u16string ReadStringDefault(const platform::TRegistry& registry, std::u16string_view name,
                                 std::u16string_view defaultValue) {
    try {
        if (!registry.ValueExists(name)) return std::u16string(defaultValue);
        return registry.ReadString(name);
    } catch (const platform::ERegistryException&) {
        return std::u16string(defaultValue);
    }
}
