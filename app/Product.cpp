#include "Product.h"

#include "editions.h"

std::u16string DisplayName() {
    return std::u16string(ProductName) + u" " + EditionName();
}
