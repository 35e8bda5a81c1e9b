// formreel: a form built from a program's own variables. Each field is
// bound to a variable whose type says what the field takes (the table in
// formreel/forms.h: std::string a text, std::int16_t, std::int32_t, float
// and double the numbers, formreel::Choice a choice or a pressed button);
// the form writes the descriptor, shows it with FormEntry and, once it is
// confirmed, writes every answer into its variable. A variable of a type no
// field takes does not compile.
//
//   std::string name = "CLIP";
//   std::int16_t year = 1994;
//   formreel::Choice kind;
//   formreel::Form form;
//   form.Heading("New clip").Field("NAME", name).Field("YEAR", year)
//       .Field("KIND", kind, {"FILM", "CARTOON", "NEWS"});
//   if (const formreel::FormResult result = form.Show(); !result) ...
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <initializer_list>
#include <string>
#include <string_view>
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

// How a form ended, which the caller must look at: true only when it was
// confirmed and every answer is in its variable.
class [[nodiscard]] FormResult {
 public:
  FormResult(FormEntryEnd end, std::string problem) : end_(end), problem_(std::move(problem)) {}
  FormEntryEnd End() const { return end_; }
  bool Confirmed() const { return end_ == FormEntryEnd::Confirmed; }
  explicit operator bool() const { return Confirmed(); }
  // Why the form was refused or not shown, as one line; empty otherwise.
  const std::string& Problem() const { return problem_; }

 private:
  FormEntryEnd end_;
  std::string problem_;
};

class Form {
 public:
  // The form's caption (of several, the last one counts).
  Form& Heading(std::string_view caption) { return Add('H', caption, {}, nullptr); }
  // A line of text, centred in the form's 60 columns.
  Form& Text(std::string_view line) { return Add('T', line, {}, nullptr); }
  // A field for `value`, of the letter its type has; `choices` is its list.
  // A chosen entry is the answer: a text's is the entry, a number's the
  // entry read as if typed (an entry that does not read leaves the value
  // as it was).
  template <typename T>
    requires(LetterOf<T> != '\0')
  Form& Field(std::string_view prompt, T& value, std::initializer_list<std::string_view> choices = {}) {
    return Add(LetterOf<T>, prompt, choices, &value);
  }
  // A choice from `choices`: `chosen` starts the list on its entry and
  // answers with the one chosen, 0 for none.
  Form& Field(std::string_view prompt, Choice& chosen, std::initializer_list<std::string_view> choices) {
    return Add('S', prompt, choices, &chosen);
  }
  // A row of buttons, the first caption the field's prompt: `pressed`
  // answers with the button that confirmed the form, 0 when it was
  // confirmed another way.
  Form& Buttons(Choice& pressed, std::initializer_list<std::string_view> captions) {
    const std::string_view first = captions.size() > 0 ? *captions.begin() : std::string_view();
    std::vector<std::string> others;
    for (auto c = captions.size() > 0 ? captions.begin() + 1 : captions.end(); c != captions.end(); ++c)
      others.emplace_back(*c);
    items_.push_back({'B', std::string(first), std::move(others), &pressed});
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
  // text line ("|", "^", "\") or a NUL, and a text value longer than a
  // field holds, are refused rather than cut.
  std::string Problem() const { return ProblemOf(Descriptor()); }

  // Shows the form as `display` asks (FormEntry without window handles)
  // and, only when it is confirmed, writes every answer into its variable;
  // a field left as it was shown gives its variable back as it was. A form
  // Problem() refuses is not shown.
  FormResult Show(FormDisplay display = FormDisplay::Standard) const {
    const std::string descriptor = Descriptor();
    if (std::string problem = ProblemOf(descriptor); !problem.empty())
      return {FormEntryEnd::Refused, std::move(problem)};
    std::vector<const Item*> fields;
    for (const Item& item : items_)
      if (item.letter != 'T' && item.letter != 'H') fields.push_back(&item);
    std::vector<std::int8_t> selections(fields.size());
    std::vector<ValueSlot> values(fields.size());
    std::vector<std::array<char, TextValueLength + 1>> texts(fields.size());
    for (std::size_t k = 0; k < fields.size(); ++k) Prepare(*fields[k], selections[k], values[k], texts[k]);
    if (!FormEntry(descriptor.c_str(), static_cast<std::int32_t>(descriptor.size() + 1), selections, values, display))
      return {LastFormEntryEnd(), LastFormEntryProblem()};
    for (std::size_t k = 0; k < fields.size(); ++k) Answer(*fields[k], selections[k], values[k], texts[k]);
    return {FormEntryEnd::Confirmed, {}};
  }

 private:
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
      if (const auto* text = std::get_if<std::string*>(&item.target); text != nullptr) {
        if ((*text)->size() > static_cast<std::size_t>(TextValueLength))
          return where + "value has " + std::to_string((*text)->size()) + " bytes (at most " +
                 std::to_string(TextValueLength) + ")";
        if ((*text)->find('\0') != std::string::npos) return where + "value holds a NUL, which a field cannot show";
      }
    }
    return DescriptorProblem(descriptor.c_str(), static_cast<std::int32_t>(descriptor.size() + 1));
  }

  // The variable a field answers into; none for a heading or a text line.
  using Target = std::variant<std::nullptr_t, std::string*, std::int16_t*, std::int32_t*, float*, double*, Choice*>;
  struct Item {
    char letter;
    std::string text;  // a field's prompt, a text line, a caption
    std::vector<std::string> choices;
    Target target;
  };

  Form& Add(char letter, std::string_view text, std::initializer_list<std::string_view> choices, Target target) {
    items_.push_back({letter, std::string(text), std::vector<std::string>(choices.begin(), choices.end()), target});
    return *this;
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
  static void Prepare(const Item& item, std::int8_t& selection, ValueSlot& slot,
                      std::array<char, TextValueLength + 1>& text) {
    std::visit(
        [&](auto target) {
          using T = std::remove_pointer_t<decltype(target)>;
          if constexpr (std::is_same_v<T, std::string>) {
            text.fill('\0');
            std::memcpy(text.data(), target->data(), target->size());
            slot.Put(text.data());
          } else if constexpr (std::is_same_v<T, Choice>) {
            selection = item.letter == 'S' ? static_cast<std::int8_t>(target->number) : std::int8_t{0};
          } else if constexpr (!std::is_same_v<decltype(target), std::nullptr_t>) {
            slot.Put(*target);
          }
        },
        item.target);
  }

  // Writes a confirmed field's answer into its variable.
  static void Answer(const Item& item, std::int8_t selection, const ValueSlot& slot,
                     const std::array<char, TextValueLength + 1>& text) {
    const std::string* entry = selection > 0 && static_cast<std::size_t>(selection) <= item.choices.size()
                                   ? &item.choices[static_cast<std::size_t>(selection - 1)]
                                   : nullptr;
    std::visit(
        [&](auto target) {
          using T = std::remove_pointer_t<decltype(target)>;
          if constexpr (std::is_same_v<T, std::string>) {
            *target = entry != nullptr ? *entry : std::string(text.data());
          } else if constexpr (std::is_same_v<T, Choice>) {
            target->number = selection;
          } else if constexpr (!std::is_same_v<decltype(target), std::nullptr_t>) {
            ValueSlot answer = slot;
            if (entry != nullptr && !ReadTypedValue(item.letter, *entry, answer)) return;
            std::memcpy(target, answer.bytes, sizeof(T));  // its bits, as they came
          }
        },
        item.target);
  }

  std::vector<Item> items_;
};

}  // namespace formreel
