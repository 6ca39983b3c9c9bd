// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <string>
#include <utility>

// The failures the program can meet. Each carries the text that the error box
// shows; the box adds the closing "." itself (see MessageText.h).

namespace vibrona {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}

    const std::string &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

// A text that the number conversion rejects; the message quotes the whole
// text exactly as the user typed it.
class EConvertError : public Exception {
public:
    explicit EConvertError(const std::string &text)
        : Exception("'" + text + "' is not a valid floating point value") {}
};

// A value that does not fit the double it is stored into.
class EOverflow : public Exception {
public:
    EOverflow() : Exception("Floating point overflow") {}
};

// A value with no 64-bit integer (a picture coordinate of magnitude 2^63 or more).
class EInvalidOp : public Exception {
public:
    EInvalidOp() : Exception("Invalid floating point operation") {}
};

// The chart refusing an axis range whose maximum would lie below its minimum.
class AxisException : public Exception {
public:
    using Exception::Exception;

    static AxisException maximumBelowMinimum()
    {
        return AxisException("Axis Maximum Value must be >= Minimum");
    }
    static AxisException minimumAboveMaximum()
    {
        return AxisException("Axis Minimum Value must be <= Maximum");
    }
};

} // namespace vibrona
