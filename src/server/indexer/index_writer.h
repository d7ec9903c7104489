#pragma once

#include <filesystem>

#include "indexer/index_builder.h"

namespace parlavo::server {

// Writes the tables in the layout of dictionary/dictionary_format.h, through
// a temporary file renamed into place, so a failed run leaves no half file.
// Throws std::runtime_error.
void WriteDictionaryIndex(const DictionaryTables& tables, const std::filesystem::path& output);

}  // namespace parlavo::server
