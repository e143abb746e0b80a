#include "Exception.h"

#include "Utf.h"

namespace platform {

Exception::Exception(std::u16string message) : message_(std::move(message)), utf8_(EncodeUtf8(message_)) {}

} // namespace platform
