// KVR-FITS: a FITS file with a fixed header of 27 cards in a fixed order, so every value
// is taken from its card and column; 16-bit big-endian pixels follow at byte 2880.

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"

namespace corvane {

namespace {

constexpr std::size_t kBlockSize = 2880;
constexpr std::size_t kCardSize = 80;
constexpr std::size_t kKvrDataOffset = 2880;

// The KVR header as 27 cards of 80 characters.
class KvrCards {
public:
    explicit KvrCards(const std::array<char, kBlockSize>& block) : block_(block) {}

    // The rest of card `card` from `column` on, as a string that ends with the card.
    std::string From(std::size_t card, std::size_t column) const {
        const char* start = block_.data() + card * kCardSize + column;
        return std::string(start, strnlen(start, kCardSize - column));
    }

    // `length` characters of the card from `column` on, ending early at a NUL.
    std::string_view Text(std::size_t card, std::size_t column, std::size_t length) const {
        const char* start = block_.data() + card * kCardSize + column;
        return std::string_view(start, strnlen(start, length));
    }

    // "%4i" from column 26; nothing when the card holds no number there.
    bool Integer(std::size_t card, int& value) const {
        return std::sscanf(From(card, 26).c_str(), "%4i", &value) == 1;
    }

    // The low 16 bits of the card's integer; `kept` when it holds none.
    std::uint16_t Low16(std::size_t card, std::uint16_t kept) const {
        int value = 0;
        return Integer(card, value) ? static_cast<std::uint16_t>(value) : kept;
    }

private:
    const std::array<char, kBlockSize>& block_;
};

// The observation type whose name, padded to 10 characters, the card spells; 0 if none.
int ObservationTypeFromKvr(std::string_view tenCharacters) {
    static constexpr std::array<std::string_view, 10> kPaddedNames{
        "DARK      ", "BIAS      ", "OBS       ", "AVEBIAS   ", "AVEFLAT   ",
        "CALIBRATED", "FLAT      ", "READOUT   ", "ERROR     ", "SCAN      "};
    for (std::size_t i = 0; i < kPaddedNames.size(); ++i) {
        if (tenCharacters == kPaddedNames[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace

bool ReadKvrFits(ReadTarget& target) {
    ImageRecord& image = target.image;
    HeaderRecord& header = target.header;
    Host& host = target.host;

    std::optional<InputFile> file = OpenImageFile(target);
    if (!file) {
        return false;
    }
    std::array<char, kBlockSize> block{};
    if (file->Read(block.data(), block.size()) < block.size()) {
        host.ShowMessage("MSG 27", "Invalid FITS format");
        return false;
    }
    const KvrCards cards(block);

    // The binning comes first: the detector sizes are the image sizes times the binning.
    // A card without a number leaves its field as the previous image had it.
    header.binColumns = cards.Low16(7, header.binColumns);
    header.binRows = cards.Low16(8, header.binRows);
    int naxis1 = 0;
    int naxis2 = 0;
    cards.Integer(3, naxis1);
    cards.Integer(4, naxis2);
    header.detectorColumns =
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(naxis1) * header.binColumns);
    header.detectorRows =
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(naxis2) * header.binRows);
    header.originColumn = cards.Low16(5, header.originColumn);
    header.originRow = cards.Low16(6, header.originRow);
    header.preflash = cards.Low16(9, header.preflash);
    header.systemGain = cards.Low16(11, header.systemGain);
    header.filter = cards.Low16(13, header.filter);
    float number = 0;
    if (std::sscanf(cards.From(10, 10).c_str(), "%f", &number) == 1) {
        header.electronGain = number;
    }
    if (std::sscanf(cards.From(12, 10).c_str(), "%f", &number) == 1) {
        header.biasLevel = number;
    }
    double epoch = 0;
    if (std::sscanf(cards.From(16, 10).c_str(), "%lf", &epoch) == 1) {
        char text[32];
        std::snprintf(text, sizeof text, "%4.0f", epoch);
        SetHeaderText(header.epoch, text);
    }
    double seconds = 0;
    if (std::sscanf(cards.From(14, 10).c_str(), "%lf", &seconds) == 1) {
        header.exposure = TruncateToInt32(seconds * 10, 0);
    }
    double mjd = 0;
    if (std::sscanf(cards.From(15, 10).c_str(), "%lf", &mjd) == 1) {
        // The card gives the time itself, not the start of the exposure.
        header.observationTime = TruncateToInt32((mjd - 40587) * 86400, 0);
    } else {
        host.ShowMessage("MSG 109", "no fields assigned");
        header.observationTime = 0;  // no time known
    }

    SetHeaderText(header.observer, cards.Text(21, 11, 17));
    SetHeaderText(header.rightAscension, cards.Text(17, 11, 9));
    SetHeaderText(header.declination, cards.Text(18, 11, 9));
    SetHeaderText(header.object, cards.Text(22, 11, 17));
    SetHeaderText(header.quality, cards.Text(24, 11, 3));
    SetHeaderText(header.comment, cards.Text(25, 8, 21));
    SetHeaderText(header.detector, cards.Text(20, 11, 15));
    if (int type = ObservationTypeFromKvr(cards.Text(23, 11, 10)); type != 0) {
        header.observationType = static_cast<std::uint16_t>(type);
    }

    if (cards.Text(26, 0, 3) != "END") {
        host.ShowMessage("MSG 119", "Error in parsing FITS header");
        return false;
    }

    image.width = naxis1;
    image.height = naxis2;
    if (!AcceptImageSize(target)) {
        return false;
    }
    const std::uint64_t size = file->Size();
    if (size < NeededFileSize(image, kKvrDataOffset, 2) &&
        !CutToWholeRows(target, size, kKvrDataOffset, 2)) {
        return false;
    }
    return CopyPixels(target, *file, kKvrDataOffset, 2, CopyBe16);
}

}  // namespace corvane
