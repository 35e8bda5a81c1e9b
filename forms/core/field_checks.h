// The checks a program gives a field beside the descriptor (FieldCheck in
// the public header): required, bounds, and its own. Applied by read-back
// to the answer a confirmation is about to hand back, after the text has
// converted. Platform-free.
#pragma once

#include <string>

#include "formreel/forms.h"
#include "forms/core/field_kinds.h"

namespace formreel {

// Why `answer`, of a field of `kind`, fails `check`, in words
// (field_words.h: "required", "1 to 65535", or the program's own reason);
// empty when it passes. The checks a letter ignores are not applied.
std::string CheckFailure(const FieldKind& kind, const FieldCheck& check, const FieldAnswer& answer);

// The check of field `field` (1-based) in `rules`; an empty one beyond the
// span.
const FieldCheck& CheckOf(const FormRules& rules, std::int32_t field);

}  // namespace formreel
