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

namespace {

// A dialog pressed once with OK on the fields the caller set; unset means Cancel. Fields
// the OK logic refuses end the dialog as a Cancel would, with `refusal` on stderr.
template <class Fields>
bool PressOkOnce(const std::optional<Fields>& preset, Fields& fields,
                 const DialogOk<Fields>& ok, const std::string& prefix, const char* refusal) {
    if (!preset) {
        return false;
    }
    fields = *preset;
    if (ok(fields)) {
        return true;
    }
    std::fprintf(stderr, "%s%s\n", prefix.c_str(), refusal);
    return false;
}

}  // namespace

bool ConsoleHost::RunRawOptionsDialog(RawDialogFields& fields,
                                      const DialogOk<RawDialogFields>& ok) {
    return PressOkOnce(rawFields, fields, ok, messagePrefix,
                       "RAW Options: the values are not valid");
}

// Manual display levels
bool ConsoleHost::RunManualLevelsDialog(ManualLevelsFields& fields,
                                        const DialogOk<ManualLevelsFields>& ok) {
    return PressOkOnce(manualLevelsFields, fields, ok, messagePrefix,
                       "Show: the levels are not valid");

}

// Pixel editing.
bool ConsoleHost::RunEditPixelDialog(EditPixelDialogFields& fields,
                                     const DialogOk<EditPixelDialogFields>& ok) {
    if (!editPixelValue) {
        return false;
    }
    fields.value = *editPixelValue;
    if (ok(fields)) {
        return true;
    }
    std::fprintf(stderr, "%sEdit Pixel: the value is not valid\n", messagePrefix.c_str());
    return false;
}

// --- Photometry dialogs ---

bool ConsoleHost::RunParamsDialog(ParamsDialogFields& fields,
                                  const DialogOk<ParamsDialogFields>& ok) {
    return PressOkOnce(paramsFields, fields, ok, messagePrefix,
                       "ParamsBox: the values are not valid");
}

bool ConsoleHost::RunSelectDialog(SelectDialogFields& fields,
                                  const DialogOk<SelectDialogFields>& ok) {
    return PressOkOnce(selectFields, fields, ok, messagePrefix,
                       "Select: the values are not valid");
}

// --- Photometry output files and the run's two boxes ---

bool ConsoleHost::RunOutputFilesDialog(OutputFilesDialogFields& fields,
                                       const DialogEnter<OutputFilesDialogFields>&,
                                       const DialogOk<OutputFilesDialogFields>& ok) {
    if (!outputPrefix) {
        return false;
    }
    fields.prefix = *outputPrefix;
    if (ok(fields)) {
        return true;
    }
    std::fprintf(stderr, "%sOpen Output File: the files %s.lis and %s.heu cannot be used\n",
                 messagePrefix.c_str(), outputPrefix->c_str(), outputPrefix->c_str());
    return false;
}

}  // namespace corvane
