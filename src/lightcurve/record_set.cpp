#include "lightcurve/record_set.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

namespace corvane {

namespace {

// Numbers the records from `first` on among those with the same image and time.
void NumberRepeats(RecordSet& set, std::size_t first) {
    std::map<std::pair<std::string_view, std::int32_t>, int> seen;
    for (std::size_t i = 0; i < set.records.size(); ++i) {
        ListRecord& r = set.records[i];
        int& count = seen[{r.image, r.time}];
        if (i >= first) {
            r.repeat = count;
        }
        ++count;
    }
}

void Take(RecordSet& set, ListFileContents& contents) {
    const std::size_t first = set.records.size();
    std::move(contents.records.begin(), contents.records.end(), std::back_inserter(set.records));
    set.cutOff.insert(set.cutOff.end(), contents.cutOff.begin(), contents.cutOff.end());
    NumberRepeats(set, first);
}

}  // namespace

bool AddListFile(RecordSet& set, const std::string& path, ListFileProblem& problem) {
    ListFileContents contents;
    if (!ReadListFile(path, contents, problem)) {
        return false;
    }
    Take(set, contents);
    return true;
}

bool AddListText(RecordSet& set, std::string_view text, const std::string& source,
                 ListFileProblem& problem) {
    ListFileContents contents;
    if (!ReadListText(text, source, contents, problem)) {
        return false;
    }
    Take(set, contents);
    return true;
}

std::vector<std::size_t> TimeOrder(const RecordSet& set) {
    std::vector<std::size_t> order(set.records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return set.records[a].time < set.records[b].time;
    });
    return order;
}

}  // namespace corvane
