// Which edition of the product this program registers.
#pragma once

#include <string>

std::u16string EditionName();
