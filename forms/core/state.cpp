#include "forms/core/state.h"

namespace formreel {

FormState formState;

}  // namespace formreel
