// The plain line mode: a form as lines that a screen reader speaks in
// order, and answers typed one line at a time. No cursor addressing, no
// boxes, no colour. Each field is asked in turn: its prompt, what it takes,
// its value as the form shows it, a list's entries numbered, and a question.
// Every answer a field takes is said in words (screen readers drop an
// equals sign at their usual punctuation level), in lines that fit 80
// columns (a line the terminal wraps is spoken cut in two). An answer that
// is refused is said in the words every front end uses (field_words.h), the
// field named first, and asked again. A last question confirms, cancels, or
// asks a field again by its number. The form is the window's: built by the
// same construction into the form model, confirmed by the same read-back.
// Platform-free.
//
// A hidden text (P) is read with the echo off, and neither its text nor its
// length is ever said: its value is "set" or "empty", and a refusal names
// the field and the reason alone. Check boxes (M) are numbered, each said
// "checked" or "not checked". A field's checks are said with it ("Takes a
// 32-bit integer from 1 to 65535.", "Required."); a typed value that fails
// a bound or the program's own check is refused at once, and a required
// field left empty stops the confirmation, which says why ("NAME:
// required") and asks that field again. With a time limit every question
// waits that long for its answer, each answer starting the time again (a
// line comes whole: the keys typed before ENTER are not seen), and the
// form then ends as TimedOut.
//
// What a person or a script types for a field:
//   an empty line       keeps the field as it is
//   a text              an editable field's new text (a number field's is
//                       read by its input rule)
//   =                   empties an editable field
//   =N                  picks entry N of the field's list
//   ==TEXT              the text =TEXT
//   N                   in a choice list, picks entry N (0 for none; =N
//                       too); in a row of buttons, presses button N, which
//                       confirms (0 goes on without pressing)
//   N N ...             in check boxes, the boxes to check, the others
//                       then unchecked (0 alone for none)
// and for the last question Y (or yes), N (or no), or a field's number. A
// line that starts with ESCAPE, or the end of input, cancels the form.
#pragma once

#include "forms/core/front_end.h"
#include "forms/plain/line_channel.h"

namespace formreel {

class PlainFrontEnd final : public FormFrontEnd {
 public:
  explicit PlainFrontEnd(LineChannel& channel) : channel_(channel) {}
  Showing Show(FormState& state) override;

 private:
  LineChannel& channel_;
};

}  // namespace formreel
