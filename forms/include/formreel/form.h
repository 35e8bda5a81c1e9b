// formreel: a form built from a program's own variables. Each field is
// bound to a variable whose type says what the field takes (the table in
// formreel/forms.h: std::string a text, formreel::LongText a long one,
// formreel::HiddenText one never shown, std::int16_t, std::int32_t, float
// and double the numbers, std::uint8_t, std::uint16_t and std::uint32_t
// the numbers within their own ranges, formreel::CheckedBoxes a row of
// check boxes, formreel::Choice a choice or a pressed button); the form
// writes the descriptor, shows it with FormEntry
// and, once it is confirmed, writes every answer into its variable. A
// variable of a type no field takes does not compile. The field just added
// may be given rules: Required(), Between(lowest, highest), a Check of the
// program's own, all checked inside the form as a typed value is.
//
//   std::string name = "CLIP";
//   std::uint16_t port = 8080;
//   formreel::Choice kind;
//   formreel::Form form;
//   form.Heading("New clip").Field("NAME", name).Required().Field("PORT", port).Between(1, 65535)
//       .Field("KIND", kind, {"FILM", "CARTOON", "NEWS"});
//   if (const formreel::FormResult result = form.Show(); !result) ...
//
// A Form binds its variables by address: it can be neither copied nor
// moved, so that it cannot outlive them by being handed out of the scope
// they live in.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "formreel/forms.h"

namespace formreel {

// The answer of a choice list or a row of buttons: the 1-based number of
// the chosen entry or the pressed button, 0 for none.
struct Choice {
  int number = 0;
  friend bool operator==(const Choice&, const Choice&) = default;
};

class Form;
template <typename T>
class FieldRules;

// How a form ended, which the caller must look at: true only when it was
// confirmed and every answer is in its variable.
class [[nodiscard]] FormResult {
 public:
  FormResult(FormEntryEnd end, std::string problem) : end_(end), problem_(std::move(problem)) {}
  FormEntryEnd End() const { return end_; }
  bool Confirmed() const { return end_ == FormEntryEnd::Confirmed; }
  explicit operator bool() const { return Confirmed(); }
  // Why the form did not end confirmed, as one line ("cancelled", "no key
  // for 30 seconds", a refusal of the descriptor); empty once confirmed.
  const std::string& Problem() const { return problem_; }

 private:
  FormEntryEnd end_;
  std::string problem_;
};

class Form {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The form's caption (of several, the last one counts).
  Form& Heading(std::string_view caption) { return Add('H', caption, {}, nullptr, {}); }
  // A line of text, centred in the form's 60 columns.
  Form& Text(std::string_view line) { return Add('T', line, {}, nullptr, {}); }
  // A field for `value`, of the letter its type has; `choices` is its list.
  // A chosen entry is the answer: a text's is the entry, a number's the
  // entry read as if typed (an entry that does not read leaves the value
  // as it was). The result gives the field its rules, and goes on with the
  // form.
  template <typename T>
    requires(LetterOf<T> != '\0')
  FieldRules<T> Field(std::string_view prompt, T& value, std::initializer_list<std::string_view> choices = {});
  // A choice from `choices`: `chosen` starts the list on its entry (one
  // beyond the list is refused) and answers with the one chosen, 0 for
  // none.
  FieldRules<Choice> Field(std::string_view prompt, Choice& chosen, std::initializer_list<std::string_view> choices);
  // A row of buttons, the first caption the field's prompt: `pressed`
  // answers with the button that confirmed the form, 0 when it was
  // confirmed another way.
  Form& Buttons(Choice& pressed, std::initializer_list<std::string_view> captions) {
    const std::string_view first = captions.size() > 0 ? *captions.begin() : std::string_view();
    std::vector<std::string> others;
    for (auto c = captions.size() > 0 ? captions.begin() + 1 : captions.end(); c != captions.end(); ++c)
      others.emplace_back(*c);
    items_.push_back({'B', std::string(first), std::move(others), &pressed, {}});
    return *this;
  }
  // How long the form waits for a key before it ends as TimedOut; zero,
  // the default, waits for ever.
  Form& TimeLimit(std::chrono::milliseconds limit) {
    timeLimit_ = limit;
    return *this;
  }

  // The descriptor the form is.
  std::string Descriptor() const {
    std::string descriptor;
    for (const Item& item : items_) {
      descriptor += item.letter;
      descriptor += item.text;
      if (item.letter == 'T') {
        descriptor += '\\';
      } else if (item.letter != 'H') {
        descriptor += '^';
        for (const std::string& choice : item.choices) descriptor += choice + '^';
      }
      descriptor += '|';
    }
    return descriptor;
  }

  // Why the form cannot be shown, as DescriptorProblem would say it; empty
  // when it can. A text holding what ends an item, a prompt, a choice or a
  // text line ("|", "^", "\") or a NUL, a text value longer than a field
  // holds, and a choice beyond its list are refused rather than cut.
  std::string Problem() const { return ProblemOf(Descriptor()); }

  // Shows the form as `display` asks (FormEntry without window handles)
  // and, only when it is confirmed, writes every answer into its variable;
  // a field left as it was shown gives its variable back as it was. A form
  // Problem() refuses is not shown.
  FormResult Show(FormDisplay display = FormDisplay::Standard) const {
    return Run([&](const std::string& d, std::span<std::int8_t> s, std::span<ValueSlot> v, const FormRules& r) {
      return FormEntry(d.c_str(), static_cast<std::int32_t>(d.size() + 1), s, v, display, r);
    });
  }
  // The same in the plain mode, answered from `answers` (one line per
  // answer, as a person would type it) and saying its questions to `said`:
  // for a program's tests of its forms, with no terminal.
  FormResult Show(std::istream& answers, std::ostream& said) const {
    return Run([&](const std::string& d, std::span<std::int8_t> s, std::span<ValueSlot> v, const FormRules& r) {
      return FormEntry(d.c_str(), static_cast<std::int32_t>(d.size() + 1), s, v, answers, said, r);
    });
  }

 private:
  // The variable a field answers into; none for a heading or a text line.
  using Target = std::variant<std::nullptr_t, std::string*, LongText*, HiddenText*, std::int16_t*, std::int32_t*,
                              float*, double*, std::uint8_t*, std::uint16_t*, std::uint32_t*, CheckedBoxes*,
                              Choice*>;
  struct Item {
    char letter;
    std::string text;  // a field's prompt, a text line, a caption
    std::vector<std::string> choices;
    Target target;
    FieldCheck check;
  };
  // Room for the longest text a field holds, with its NUL.
  using TextBuffer = std::array<char, LongTextLength + 1>;

  Form& Add(char letter, std::string_view text, std::initializer_list<std::string_view> choices, Target target,
            FieldCheck check) {
    items_.push_back({letter, std::string(text), std::vector<std::string>(choices.begin(), choices.end()), target,
                      std::move(check)});
    return *this;
  }

  // The value a number field's slot holds for a T.
  template <typename T>
  using SlotType = ValueTypeOf<LetterOf<T>>;

  // A field's check before the program gives it rules: the type's own
  // range for an unsigned T, whole numbers for one held in a real.
  template <typename T>
  static FieldCheck CheckOf() {
    FieldCheck check;
    if constexpr (std::is_unsigned_v<T> && std::is_arithmetic_v<T>) {
      check.bounded = true;
      check.lowest = 0;
      check.highest = static_cast<double>(std::numeric_limits<T>::max());
    }
    if constexpr (std::is_integral_v<T> && std::is_floating_point_v<SlotTypeOr<T>>) {
      check.own = [](const FieldAnswer& answer) {
        const double value = answer.value.Get<double>();
        return value != std::floor(value) ? std::string("not a whole number") : std::string();
      };
    }
    return check;
  }
  template <typename T>
  using SlotTypeOr = std::conditional_t<std::is_arithmetic_v<T>, ValueTypeOf<LetterOf<T>>, void>;

  // An answer about to be handed back, as the variable will hold it.
  template <typename T>
  static T AnswerAs(const FieldAnswer& answer) {
    if constexpr (std::is_same_v<T, std::string>) {
      return std::string(answer.text);
    } else if constexpr (std::is_same_v<T, LongText> || std::is_same_v<T, HiddenText>) {
      return T{std::string(answer.text)};
    } else if constexpr (std::is_same_v<T, CheckedBoxes>) {
      return CheckedBoxes(answer.value.Get<std::uint8_t>());
    } else if constexpr (std::is_same_v<T, Choice>) {
      return Choice{answer.selection};
    } else {
      return static_cast<T>(answer.value.Get<SlotType<T>>());
    }
  }

  // Problem(), of the form whose descriptor is `descriptor`.
  std::string ProblemOf(const std::string& descriptor) const {
    for (std::size_t k = 0; k < items_.size(); ++k) {
      const Item& item = items_[k];
      const std::string where = "item " + std::to_string(k + 1) + " (" + item.letter + "): ";
      const std::string problem = Unwritable(item.text);
      if (!problem.empty()) return where + TextName(item.letter) + problem;
      for (std::size_t c = 0; c < item.choices.size(); ++c)
        if (const std::string choice = Unwritable(item.choices[c]); !choice.empty())
          return where + (item.letter == 'B' ? "button " + std::to_string(c + 2) : "choice " + std::to_string(c + 1)) +
                 choice;
      if (const std::string* text = TextOf(item.target); text != nullptr) {
        const std::size_t most = item.letter == 'C' ? TextValueLength : LongTextLength;
        if (text->size() > most)
          return where + "value has " + std::to_string(text->size()) + " bytes (at most " + std::to_string(most) + ")";
        if (text->find('\0') != std::string::npos) return where + "value holds a NUL, which a field cannot show";
      }
      if (const auto* chosen = std::get_if<Choice*>(&item.target); chosen != nullptr && item.letter == 'S') {
        const int number = (*chosen)->number;
        if (number < 0 || static_cast<std::size_t>(number) > item.choices.size())
          return where + "choice " + std::to_string(number) + " is not one of its " +
                 std::to_string(item.choices.size()) + " entries";
      }
    }
    return DescriptorProblem(descriptor.c_str(), static_cast<std::int32_t>(descriptor.size() + 1));
  }

  // Shows the form through `enter` (an entry call) and writes the answers
  // of a confirmed one into their variables.
  template <typename Enter>
  FormResult Run(Enter enter) const {
    const std::string descriptor = Descriptor();
    if (std::string problem = ProblemOf(descriptor); !problem.empty())
      return {FormEntryEnd::Refused, std::move(problem)};
    std::vector<const Item*> fields;
    for (const Item& item : items_)
      if (item.letter != 'T' && item.letter != 'H') fields.push_back(&item);
    std::vector<std::int8_t> selections(fields.size());
    std::vector<ValueSlot> values(fields.size());
    std::vector<TextBuffer> texts(fields.size());
    std::vector<FieldCheck> checks;
    for (std::size_t k = 0; k < fields.size(); ++k) {
      Prepare(*fields[k], selections[k], values[k], texts[k]);
      checks.push_back(fields[k]->check);
    }
    if (!enter(descriptor, selections, values, FormRules{checks, timeLimit_}))
      return {LastFormEntryEnd(), LastFormEntryProblem()};
    for (std::size_t k = 0; k < fields.size(); ++k) Answer(*fields[k], selections[k], values[k], texts[k]);
    return {FormEntryEnd::Confirmed, {}};
  }

  // The text a text field's variable holds; null for the other fields.
  static const std::string* TextOf(const Target& target) {
    if (const auto* text = std::get_if<std::string*>(&target)) return *text;
    if (const auto* text = std::get_if<LongText*>(&target)) return &(*text)->text;
    if (const auto* text = std::get_if<HiddenText*>(&target)) return &(*text)->text;
    return nullptr;
  }

  static std::string TextName(char letter) {
    switch (letter) {
      case 'H': return "heading";
      case 'T': return "text line";
      case 'B': return "button 1";
      default: return "prompt";
    }
  }
  // What of `text` a descriptor cannot hold, as the end of a message.
  static std::string Unwritable(const std::string& text) {
    for (const char c : {'|', '^', '\\'})
      if (text.find(c) != std::string::npos) return std::string(" holds \"") + c + "\", which a descriptor cannot hold";
    if (text.find('\0') != std::string::npos) return " holds a NUL, which a descriptor cannot hold";
    return {};
  }

  // The slot and selection a field starts with.
  static void Prepare(const Item& item, std::int8_t& selection, ValueSlot& slot, TextBuffer& text) {
    std::visit(
        [&](auto target) {
          using T = std::remove_pointer_t<decltype(target)>;
          if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, LongText> ||
                        std::is_same_v<T, HiddenText>) {
            const std::string& value = *TextOf(Target(target));
            text.fill('\0');
            std::memcpy(text.data(), value.data(), value.size());
            slot.Put(text.data());
          } else if constexpr (std::is_same_v<T, CheckedBoxes>) {
            slot.Put(static_cast<std::uint8_t>(target->to_ulong()));
          } else if constexpr (std::is_same_v<T, Choice>) {
            selection = item.letter == 'S' ? static_cast<std::int8_t>(target->number) : std::int8_t{0};
          } else if constexpr (std::is_arithmetic_v<T>) {
            if constexpr (std::is_same_v<T, SlotType<T>>)
              slot.Put(*target);  // its bits, as they came
            else
              slot.Put(static_cast<SlotType<T>>(*target));
          }
        },
        item.target);
  }

  // Writes a confirmed field's answer into its variable.
  static void Answer(const Item& item, std::int8_t selection, const ValueSlot& slot, const TextBuffer& text) {
    const std::string* entry = selection > 0 && static_cast<std::size_t>(selection) <= item.choices.size()
                                   ? &item.choices[static_cast<std::size_t>(selection - 1)]
                                   : nullptr;
    std::visit(
        [&](auto target) {
          using T = std::remove_pointer_t<decltype(target)>;
          if constexpr (std::is_same_v<T, std::string>) {
            *target = entry != nullptr ? *entry : std::string(text.data());
          } else if constexpr (std::is_same_v<T, LongText> || std::is_same_v<T, HiddenText>) {
            target->text = entry != nullptr ? *entry : std::string(text.data());
          } else if constexpr (std::is_same_v<T, CheckedBoxes>) {
            *target = CheckedBoxes(slot.Get<std::uint8_t>());
          } else if constexpr (std::is_same_v<T, Choice>) {
            target->number = selection;
          } else if constexpr (std::is_arithmetic_v<T>) {
            ValueSlot answer = slot;
            if (entry != nullptr && !ReadTypedValue(item.letter, *entry, answer)) return;
            if constexpr (std::is_same_v<T, SlotType<T>>)
              std::memcpy(target, answer.bytes, sizeof(T));  // its bits, as they came
            else
              *target = static_cast<T>(answer.Get<SlotType<T>>());  // within T's range: checked in the form
          }
        },
        item.target);
  }

  template <typename T>
  friend class FieldRules;

  std::vector<Item> items_;
  std::chrono::milliseconds timeLimit_{0};
};

// The field just added to a form, to give it rules, and the form's own
// calls, so that a form is written as one chain. A field that fails a rule
// is refused as a text that does not convert is: the form stays open on it
// and says why.
template <typename T>
class FieldRules {
 public:
  // A text not left empty; a choice made; a box checked.
  FieldRules& Required() {
    Rules().required = true;
    return *this;
  }
  // A number from `lowest` to `highest`, both included (within an unsigned
  // type's own range in any case).
  FieldRules& Between(T lowest, T highest)
    requires std::is_arithmetic_v<T>
  {
    FieldCheck& check = Rules();
    check.lowest = check.bounded ? std::max(check.lowest, static_cast<double>(lowest)) : static_cast<double>(lowest);
    check.highest =
        check.bounded ? std::min(check.highest, static_cast<double>(highest)) : static_cast<double>(highest);
    check.bounded = true;
    return *this;
  }
  // The program's own check of the answer, run after the others: empty
  // accepts it, any other text is the reason it is refused, said to the
  // person as it stands (one line, a few words).
  FieldRules& Check(std::function<std::string(const T&)> own) {
    FieldCheck& check = Rules();
    check.own = [before = std::move(check.own), own = std::move(own)](const FieldAnswer& answer) {
      if (before)
        if (std::string reason = before(answer); !reason.empty()) return reason;
      return own(Form::AnswerAs<T>(answer));
    };
    return *this;
  }

  // The form, to go on with it.
  operator Form&() const { return form_; }
  template <typename U>
    requires(LetterOf<U> != '\0')
  FieldRules<U> Field(std::string_view prompt, U& value, std::initializer_list<std::string_view> choices = {}) {
    return form_.Field(prompt, value, choices);
  }
  FieldRules<Choice> Field(std::string_view prompt, Choice& chosen, std::initializer_list<std::string_view> choices) {
    return form_.Field(prompt, chosen, choices);
  }
  Form& Heading(std::string_view caption) { return form_.Heading(caption); }
  Form& Text(std::string_view line) { return form_.Text(line); }
  Form& Buttons(Choice& pressed, std::initializer_list<std::string_view> captions) {
    return form_.Buttons(pressed, captions);
  }
  Form& TimeLimit(std::chrono::milliseconds limit) { return form_.TimeLimit(limit); }
  std::string Descriptor() const { return form_.Descriptor(); }
  std::string Problem() const { return form_.Problem(); }
  FormResult Show(FormDisplay display = FormDisplay::Standard) const { return form_.Show(display); }
  FormResult Show(std::istream& answers, std::ostream& said) const { return form_.Show(answers, said); }

 private:
  friend class Form;
  FieldRules(Form& form, std::size_t item) : form_(form), item_(item) {}
  FieldCheck& Rules() { return form_.items_[item_].check; }

  Form& form_;
  std::size_t item_;
};

template <typename T>
  requires(LetterOf<T> != '\0')
FieldRules<T> Form::Field(std::string_view prompt, T& value, std::initializer_list<std::string_view> choices) {
  Add(LetterOf<T>, prompt, choices, &value, CheckOf<T>());
  return {*this, items_.size() - 1};
}

inline FieldRules<Choice> Form::Field(std::string_view prompt, Choice& chosen,
                                      std::initializer_list<std::string_view> choices) {
  Add('S', prompt, choices, &chosen, {});
  return {*this, items_.size() - 1};
}

}  // namespace formreel
