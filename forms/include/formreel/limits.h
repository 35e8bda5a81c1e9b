// formreel: the limits of one form, which the facility's own text rules
// keep too.
#pragma once

namespace formreel {

// Limits of one form.
inline constexpr int MaxFields = 20;        // fields, so entries of the arrays
inline constexpr int MaxLines = 25;         // fields and text lines
inline constexpr int MaxGroupButtons = 20;  // buttons of all B fields
inline constexpr int MaxGroupSize = 8;      // buttons of one B field
inline constexpr int DescriptorCapacity = 2000;  // characters, its NUL included
// A field's text: at most 30 characters. A C field's text goes in a
// caller's buffer of at least 31 bytes, with its NUL; a typed number is read
// from its first 30 columns.
inline constexpr int TextValueLength = 30;
// A long text (X) and a hidden text (P): at most 255 bytes, in a caller's
// buffer of at least 256 bytes with its NUL.
inline constexpr int LongTextLength = 255;
// The boxes of one M field, so the bits of its value.
inline constexpr int MaxCheckBoxes = 8;

}  // namespace formreel
