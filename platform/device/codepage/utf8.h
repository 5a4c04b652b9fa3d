// UTF-8 as Windows converts it since Vista: each maximal ill-formed subsequence
// reads as one U+FFFD, and a lone surrogate is written as U+FFFD.
#pragma once

#include "codepage/code_page.h"

namespace tickvane::device::utf8 {

DecodedChar decode(std::string_view bytes);
EncodedChar encode(std::u16string_view units);

}  // namespace tickvane::device::utf8
