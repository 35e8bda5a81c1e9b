// Whether a form descriptor can be shown: the language's shapes and the
// form's limits, checked before any window exists so that a bad descriptor
// is refused instead of building a form its author did not mean.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formreel/forms.h"
#include "forms/core/descriptor.h"
#include "forms/core/state.h"

namespace formreel {

// Limits of the texts in a descriptor. A text line and a prompt must fit a
// line of the form, in columns of the active code page; a choice or heading
// must fit `scratch` with its NUL, in bytes.
inline constexpr int MaxTextLineLength = LineWidth;
inline constexpr int MaxPromptLength = LineWidth;
inline constexpr int MaxHeadingLength = MaxChoiceLength;
// A field's selection is one signed byte, so its list holds at most 127 entries.
inline constexpr int MaxChoices = 127;

// Why a normalised descriptor cannot be shown, as a clear one-line message naming the item and what is wrong;
// empty when it is good. `counts` are what NormaliseDescriptor returned for it.
//
// Items are numbered from 1 in descriptor order. The first fault in
// descriptor order is reported. A good descriptor is one whose scan
// (ScanDescriptor) yields exactly `counts.fieldCount` fields and
// `counts.textLineCount` text lines within every limit of the form; counts
// that do not belong to the descriptor are refused too.
std::string DescriptorProblem(const FixedText<DescriptorCapacity>& descriptor, const DescriptorCounts& counts,
                              const CodePage& page);
// The same check on a normalised copy of a caller's text. The public
// DescriptorProblem(text, length) is this one in the process's code page.
std::string DescriptorProblem(const char* text, std::int32_t length, const CodePage& page);

// Every message DescriptorProblem can give, as a pattern in which each "%"
// stands for a number, a letter or a quoted character (no blanks): the
// programmer's guide lists them all.
std::span<const std::string_view> DescriptorProblemPatterns();

}  // namespace formreel
