// The recognition table of the loader: which reader a file's first bytes call for.

#include <cstring>

#include "image/loader.h"
#include "image/readers.h"

namespace corvane {

namespace {

// The first bytes, cut at the length of `prefix`, equal it as a string.
bool StartsWith(const FirstBytes& b, const char* prefix) {
    return std::memcmp(b.data(), prefix, std::strlen(prefix)) == 0;
}

bool IsPc(const FirstBytes& b) { return b[0] == 'P' && b[1] == 'C' && b[2] == 0; }
bool IsTiffBig(const FirstBytes& b) { return b[0] == 'M' && b[1] == 'M' && b[3] == '*'; }
bool IsTiffLittle(const FirstBytes& b) { return b[0] == 'I' && b[1] == 'I' && b[2] == '*'; }
bool IsHk(const FirstBytes& b) { return b[0] == 'H' && b[1] == 'K'; }
bool IsKvrFits(const FirstBytes& b) {
    return StartsWith(b, "SIMPLE  =                    T /  KVR FITS V1.0");
}
bool IsSt6Compressed(const FirstBytes& b) { return StartsWith(b, "ST-6 Compressed Image"); }
// Row 7 only applies when no earlier row matched, which the first match rule gives.
bool IsFits(const FirstBytes& b) { return StartsWith(b, "SIMPLE  =     "); }
bool IsSt6(const FirstBytes& b) { return StartsWith(b, "ST-6 Image"); }

}  // namespace

const std::array<FormatRow, 8> kFormatTable{{
    {IsPc, kFormatPc, ReadPc},
    {IsTiffBig, kFormatTiffBig, ReadTiff},
    {IsTiffLittle, kFormatTiffLittle, ReadTiff},
    {IsHk, kFormatHk, ReadHk},
    {IsKvrFits, kFormatFits, ReadKvrFits},
    {IsSt6Compressed, kFormatSt6Compressed, ReadSt6Compressed},
    {IsFits, kFormatFits, ReadFits},
    {IsSt6, kFormatSt6, ReadSt6},
}};

}  // namespace corvane
