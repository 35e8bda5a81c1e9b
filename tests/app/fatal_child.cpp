// A program that meets an impossible condition the way the program would:
// run-time error reports set up as at its start, then a text position
// outside its storage. Started by the fatal report test.
#include "formreel/forms.h"
#include "text/fixed_text.h"

using namespace formreel;

int main() {
  ShowFatalReportsInAMessageBox();
  const FixedText<1> text;
  return text(2);
}
