#include "lightcurve/list_record.h"

namespace corvane {

const ListRow* ListRecord::Star(int number) const {
    for (const ListRow& row : stars) {
        if (row.star == number) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace corvane
