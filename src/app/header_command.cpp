#include "app/header_command.h"

#include "image/header_fields.h"

namespace corvane {

void ShowHeader(const Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    host.ShowHeaderDialog(HeaderDialogTexts(program.header, program.image.path));
}

}  // namespace corvane
