// Errors that reach the user: each carries the exact message the standard error box shows.
#pragma once

#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(std::u16string message);
    const std::u16string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::u16string message_;
    std::string utf8_;
};

// A registry read or write that failed; the message names the value.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

} // namespace platform
