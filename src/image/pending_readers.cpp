// Formats whose readers are not part of this build yet: the load ends with a clear message.

#include "image/readers.h"

namespace corvane {

namespace {

bool NotAvailable(ReadTarget& target, const char* format) {
    std::string text = std::string("This build of Corvane32 cannot read ") + format + " files.";
    target.host.ShowMessage("MSG 27", text);
    return false;
}

}  // namespace

bool ReadKvrFits(ReadTarget& target) { return NotAvailable(target, "KVR-FITS"); }
bool ReadSt6(ReadTarget& target) { return NotAvailable(target, "ST-6"); }
bool ReadSt6Compressed(ReadTarget& target) { return NotAvailable(target, "ST-6 compressed"); }
bool ReadTiff(ReadTarget& target) { return NotAvailable(target, "TIFF"); }
bool ReadHk(ReadTarget& target) { return NotAvailable(target, "HK"); }
bool ReadPc(ReadTarget& target) { return NotAvailable(target, "PC"); }
bool ReadRaw(ReadTarget& target) { return NotAvailable(target, "raw"); }

bool RunRawOptionsDialog(ImageRecord&, RawOptions&, Host& host) {
    host.ShowMessage("MSG 27", "This build of Corvane32 cannot read raw files.");
    return false;
}

}  // namespace corvane
