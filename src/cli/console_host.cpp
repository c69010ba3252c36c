#include "cli/console_host.h"

#include <cstdio>

namespace corvane {

std::string MessageLine(std::string_view caption, std::string_view text) {
    std::string line(caption);
    line += ": ";
    for (char c : text) {
        if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

MessageAnswer ConsoleHost::ShowMessage(std::string_view caption, std::string_view text,
                                       MessageIcon, MessageButtons buttons) {
    std::string line = MessageLine(caption, text);
    shown.push_back(line);
    std::fprintf(stderr, "%s%s\n", messagePrefix.c_str(), line.c_str());
    return NextScriptedAnswer(answers, buttons);
}

bool ConsoleHost::RunRawOptionsDialog(RawDialogFields& fields,
                                      const DialogOk<RawDialogFields>& ok) {
    if (!rawFields) {
        return false;
    }
    fields = *rawFields;
    if (ok(fields)) {
        return true;
    }
    std::fprintf(stderr, "%sRAW Options: the values are not valid\n", messagePrefix.c_str());
    return false;
}

// Manual display levels
bool ConsoleHost::RunManualLevelsDialog(ManualLevelsFields& fields,
                                        const DialogOk<ManualLevelsFields>& ok) {
    if (!manualLevelsFields) {
        return false;
    }
    fields = *manualLevelsFields;
    if (ok(fields)) {
        return true;
    }
    std::fprintf(stderr, "%sShow: the levels are not valid\n", messagePrefix.c_str());
    return false;
}

}  // namespace corvane
