#include "editions.h"

std::u16string EditionName() {
    return u"Evaluation Edition";
}
