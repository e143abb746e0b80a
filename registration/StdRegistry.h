// Registry reads where a missing or unreadable value is normal.
#pragma once

#include "Registry.h"

#include <string>
#include <string_view>

// The string value `name` of the open key; `defaultValue` when it does not exist, is not a
// string or cannot be read. Errors other than registry errors pass through.
std::u16string ReadStringDefault(const platform::TRegistry& registry, std::u16string_view name,
                                 std::u16string_view defaultValue);
