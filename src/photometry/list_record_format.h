#pragma once
// The byte layout of one ListFile record, line by line. The writer prints with these
// formats and the lightcurve reader scans with them, so the record has one definition.
// Every line ends with CR LF.

namespace corvane {

// Line 1 the image path, line 2 empty.
inline constexpr char kListPathFormat[] = "%s\r\n\r\n";
// Line 3: the object padded or cut to 17 characters, then the asctime text of a time
// after 1970, or nothing.
inline constexpr char kListObjectFormat[] = "%-17.17s";
inline constexpr char kListTakenAt[] = "\t\t       Taken at ";
// Lines 4 to 6, each a left and a right half.
inline constexpr char kListFilterFormat[] = "Filter       %4d\t\t       ";
inline constexpr char kListMjdFormat[] = "MJD      %12.5lf\r\n";
inline constexpr char kListPreflashFormat[] = "Preflash     %4d\t\t       ";
inline constexpr char kListUnixTimeFormat[] = "Unix Time %11ld\r\n";
inline constexpr char kListGainFormat[] = "Gain(el/DN)%6.2f\t\t       ";
inline constexpr char kListExposureFormat[] = "Exp. Time %9.1lf s\r\n";
// Line 7 the asterisks, line 8 the column headings.
inline constexpr char kListAsterisks[] =
    "*****************************************************************************";
static_assert(sizeof kListAsterisks == 78);
inline constexpr char kListColumnHeadings[] =
    "  Obj       x      y    flux(DN/s) bckgnd(DN)  sigma(DN)  SNR    npix   clip\r\n";
// One row per measured object: x, y, flux rate, background level, sigma, SNR, npix, clip.
inline constexpr char kListAsteroidRowFormat[] =
    "Asteroid %7.2f %7.2f%9.2lf%10.2lf%10.2lf%8.lf%8ld%6ld\r\n";
inline constexpr char kListStarRowFormat[] =
    "Star  %2d %7.2f %7.2f%9.2lf%10.2lf%10.2lf%8.lf%8ld%6ld\r\n";
// After the rows: an empty line, the aperture sizes and an empty line, the asterisks and
// two empty lines.
inline constexpr char kListRowsEnd[] = "\r\n";
inline constexpr char kListBoxSizesFormat[] =
    "Asteroid box size %5d%5d%5d       Star box size %5d%5d%5d\r\n\r\n";
inline constexpr char kListClosingFormat[] = "%s\r\n\r\n\r\n";

}  // namespace corvane
