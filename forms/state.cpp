#include "forms/state.h"

namespace formreel {

FormState formState;

}  // namespace formreel
