// What a field takes and why a value is refused, in the words every front
// end that speaks to a person uses: the terminal form's rows, the plain
// mode's questions and formentry's errors say a refusal the same way.
// Platform-free.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "forms/core/field_kinds.h"

namespace formreel {

// What a number field takes: "a 16-bit integer (-32768 to 32767)", "a
// single-precision real number"; empty for a letter that takes no number.
std::string NumberInWords(const FieldKind& kind);

// Why a typed text is not a number field's value: "not a 16-bit integer
// (-32768 to 32767)"; with the program's bounds in place of the type's
// where `check` has them ("not a 32-bit integer (1 to 65535)").
std::string NotConvertedReason(const FieldKind& kind, const FieldCheck& check = {});

// Bounds as a person reads them: "1 to 65535", "0.5 to 2.5" (each number
// the shortest text that reads back as it).
std::string BoundsInWords(double lowest, double highest);

// Why a field a program requires is refused when left empty: "required".
std::string RequiredReason();

// Why a text is refused for a field that holds at most `maxBytes` bytes:
// "at most 30 bytes".
std::string TooLongReason(std::size_t maxBytes);

// Why a text is refused for a field that shows at most `columns` columns:
// "at most 30 columns".
std::string TooWideReason(std::size_t columns);

// A time limit in words: "30 seconds", "1 second", "2.5 seconds".
std::string SecondsInWords(std::chrono::milliseconds time);

// A refusal as one line, naming the field first so that it is heard first:
// "YEAR: not a 16-bit integer (-32768 to 32767): 19x4"; without the text
// when it is empty. The parts are shown as they are given: a front end
// makes them visible text first.
std::string RefusalLine(std::string_view field, std::string_view reason, std::string_view text);

}  // namespace formreel
