#pragma once
// The names under which quib writes the frames a camera sends: the prefix, the frame
// number in four digits or more, ".fits" (vesta0001.fits, vesta0002.fits, ...), so that
// the main window's Next steps from one to the following.

#include <string>

namespace quib {

// A prefix that names files inside the folder: not empty, no '/', not hidden.
bool ValidPrefix(const std::string& prefix);

std::string FrameName(const std::string& prefix, int number);

// The number after the highest frame of `prefix` in `folder`; 1 when it holds none.
int NextFrameNumber(const std::string& folder, const std::string& prefix);

}  // namespace quib
