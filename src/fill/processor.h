#pragma once

namespace fill {

// Whether the processor runs AVX2, eight 32-bit pixels at a time; asked once.
// Code built with those instructions runs only where this is true.
bool hasAvx2();

} // namespace fill
