// A form behind a C interface, in a shared library: what a language binding
// (ctypes, cffi, a JNI stub) loads and calls.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Asks for a clip's NAME and YEAR, starting from what `name` (a buffer of at
// least 31 bytes) and `year` hold; with `unattended` not 0 the form is not
// shown but confirmed as it stands. 1 when it was confirmed, both then
// written; 0 when not, neither touched.
int ask_clip(char* name, int16_t* year, int unattended);

#ifdef __cplusplus
}
#endif
