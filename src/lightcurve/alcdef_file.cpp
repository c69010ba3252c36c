#include "lightcurve/alcdef_file.h"

namespace corvane {

CheckedAlcdef CheckAlcdef(const RecordSet& set, const Lightcurve& curve,
                          const AlcdefMetadata& meta) {
    const AlcdefExport alcdef = BuildAlcdef(set, curve, meta);
    CheckedAlcdef checked;
    checked.blocks = alcdef.blocks.size();
    checked.tooFewPoints = alcdef.tooFewPoints;
    std::vector<std::string> texts;
    for (const AlcdefBlock& b : alcdef.blocks) {
        texts.push_back(b.text);
    }
    std::size_t index = 0;
    checked.violation = ValidateAlcdefBlocks(texts, index);
    if (checked.violation) {
        checked.violatingSession = alcdef.blocks[index].session;
    } else if (checked.blocks > 0) {
        checked.text = AlcdefFileText(alcdef);
    }
    return checked;
}

}  // namespace corvane
