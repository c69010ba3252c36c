#include "image/readers.h"

namespace corvane {

bool ReadFits(ReadTarget& target) {
    target.host.ShowMessage("MSG 27", "FITS pending");
    return false;
}

}  // namespace corvane
