#pragma once
// What a lab balance answers, read from one line of its serial output: the
// MT-SICS answers ("S S <value> <unit>") and the common "print on request"
// line (optional header, signed number, unit). Plain C++, no port.

#include <string>
#include <string_view>

namespace qv::balance {

enum class Protocol { MtSics, Line };

enum class ReadingKind {
    Stable,    // a settled weight: fills the row
    Unstable,  // a weight still moving: shown, not taken
    Overload,
    Underload,
    Busy,
    Error,    // the balance reports an error, or a unit we cannot convert
    Garbage,  // not an answer of the protocol
};

struct Reading {
    ReadingKind kind = ReadingKind::Garbage;
    double grams = 0.0;   // Stable, and Unstable where the line has a value
    std::string message;  // for the user, on everything but Stable
};

// The bytes that ask for one reading.
std::string_view requestCommand(Protocol protocol);

// One line of the balance's answer, without its line end.
Reading parseReading(Protocol protocol, std::string_view line);

// A factor to grams for "g", "mg" and "kg"; 0 for any other unit.
double unitToGrams(std::string_view unit);

}  // namespace qv::balance
