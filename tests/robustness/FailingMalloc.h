// malloc, calloc and realloc replaced for this program, so that failures can
// reach C libraries (libmount, the C library's own getline and scanf) too.
#pragma once

// From now on the Nth call (N > 0) of malloc, calloc or realloc returns null
// with ENOMEM.
void armMallocFailure(long n);
// Stops failing; whether a call failed since armMallocFailure.
bool disarmMallocFailure();
