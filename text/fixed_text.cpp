#include "text/fixed_text.h"

#include "formreel/limits.h"

#include <algorithm>

namespace formreel {

void AssignText(TextSpan destination, TextView source) {
  const std::size_t copied = std::min(source.size(), destination.size());
  std::copy_n(source.begin(), copied, destination.begin());
  std::fill(destination.begin() + static_cast<std::ptrdiff_t>(copied), destination.end(), Blank);
}

int CompareText(TextView a, TextView b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < common; ++k) {
    const auto ca = static_cast<unsigned char>(a[k]);
    const auto cb = static_cast<unsigned char>(b[k]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  const TextView& longer = a.size() > b.size() ? a : b;
  for (std::size_t k = common; k < longer.size(); ++k)
    if (longer[k] != Blank) return a.size() > b.size() ? 1 : -1;
  return 0;
}

namespace {

// The bridges work on the fixed positions of a field's text (its
// characters, then one for a NUL), whatever the text's declared length.
constexpr auto kBridgeChars = static_cast<std::size_t>(TextValueLength);

void RequireAtLeast(std::size_t have, std::size_t need) {
  if (have < need) FatalRunTimeError("text shorter than the operation needs");
}

}  // namespace

void StripLeadingBlanks(TextSpan text) {
  RequireAtLeast(text.size(), kBridgeChars + 1);
  text[kBridgeChars] = Nul;
  // Equivalent to shifting one place per leading blank: the run of blanks
  // goes, the rest moves left, and NULs fill positions up to 31.
  std::size_t blanks = 0;
  while (blanks < kBridgeChars && text[blanks] == Blank) ++blanks;
  if (blanks == 0) return;
  std::copy(text.begin() + static_cast<std::ptrdiff_t>(blanks),
            text.begin() + static_cast<std::ptrdiff_t>(kBridgeChars), text.begin());
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(kBridgeChars - blanks),
            text.begin() + static_cast<std::ptrdiff_t>(kBridgeChars), Nul);
}

void TrimNumberText(TextSpan text) {
  StripLeadingBlanks(text);
  // 0-based index of the first NUL; position 31 is a NUL at the latest.
  std::size_t end = 0;
  while (text[end] != Nul) ++end;
  std::size_t last = end > 0 ? end - 1 : 0;
  while (last > 0 && text[last] == '0') text[last--] = Nul;
  if (last == 0) {
    text[0] = '0';
    text[1] = '.';
    text[2] = '0';
    text[3] = Nul;
  }
}

void FixedToTerminated(TextView source, TextSpan destination) {
  RequireAtLeast(source.size(), kBridgeChars);
  RequireAtLeast(destination.size(), kBridgeChars + 1);
  std::size_t k = 0;
  for (; k < kBridgeChars && source[k] != Nul; ++k) destination[k] = source[k];
  destination[k] = Nul;
}

void TerminatedToFixed(TextSpan destination, const char* source) {
  RequireAtLeast(destination.size(), kBridgeChars + 1);
  std::size_t k = 0;
  if (source != nullptr)
    for (; k < kBridgeChars && source[k] != Nul; ++k) destination[k] = source[k];
  destination[k] = Nul;
}

}  // namespace formreel
