#include "forms/state.h"

FormState formState;
