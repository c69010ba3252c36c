#pragma once
// Texts from files in UTF-8. Old FITS, PC and HK headers and the names of their files may
// carry Latin-1 (ISO 8859-1) bytes; anything written where UTF-8 is required goes
// through here first.

#include <string>
#include <string_view>

namespace corvane {

// True when `bytes` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// `bytes` unchanged when they are valid UTF-8; otherwise read as Latin-1, every byte one
// character, and written as UTF-8.
std::string Utf8Text(std::string_view bytes);

}  // namespace corvane
