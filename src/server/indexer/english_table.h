#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "indexer/index_builder.h"

namespace parlavo::server {

// The English keys of the index, each with the Chinese words that render it,
// ranked as BuildDictionaryTables describes. `readings` are the headwords'
// entries, most common reading first; `chinese` is the Chinese table, whose
// tags and classifiers the keys take over.
std::map<std::string, IndexRecord> EnglishTable(const std::vector<CedictEntry>& entries,
                                                const WordFrequencies& frequencies,
                                                const std::map<std::string, std::vector<std::size_t>>& readings,
                                                const std::map<std::string, IndexRecord>& chinese,
                                                const EnglishUse& english);

}  // namespace parlavo::server
