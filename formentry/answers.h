// What formentry prints once a form is confirmed: one line per field, or one
// JSON object. Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"

namespace formreel::formentry {

// One line per field, in field order, each ended by a single LF, in the
// characters as typed: a chosen entry's (or pressed button's) text when the
// field's selection names one; otherwise a C, X or P field's text, an I or
// L value in decimal, an R or D value as the shortest text that reads back
// as the same single or double, an M field's checked boxes' captions as
// words of a POSIX shell (each in single quotes, a quote in it as '\'', one
// blank between them: eval "set -- $line" splits them), and an empty line
// for S and B.
std::string AnswerLines(const std::vector<FieldInfo>& fields, const FormArrays& arrays);

// Text in the ANSI code page, as UTF-8; nothing when it has no UTF-8 form.
using ToUtf8 = std::optional<std::string> (*)(std::string_view text);

// {"fields":[{"letter":"C","prompt":"...","selection":0,"entry":null,"value":"..."},...]}
// and an LF: per field its letter, prompt, selection number, the chosen
// entry's (or button's) text or null, and the value the caller's arrays hold:
// a string for C, X and P (its buffer), a number for I, L, R and D (written
// as in AnswerLines), an array of the checked boxes' captions for M (whose
// selection is always 0 and entry null), null for S and B. Every string goes through `toUtf8`, then
// is escaped as JSON requires. Nothing when a text does not go through.
std::optional<std::string> AnswerJson(const std::vector<FieldInfo>& fields, const FormArrays& arrays,
                                      ToUtf8 toUtf8);

}  // namespace formreel::formentry
