// The product's identity: its name, its edition and the name the windows show.
#pragma once

#include <string>
#include <string_view>

// The visible name, and the last part of the registry key that holds the registration record.
inline constexpr std::u16string_view ProductName = u"Quorvel";

// "Quorvel Evaluation Edition": what every "%s" in the windows' texts stands for.
std::u16string DisplayName();
