#pragma once

#include <string>
#include <string_view>

namespace parlavo::server {

// The notice installed next to the index: what the data is, where it came
// from, the dictionary's own header, and the full licence text.
// `licenceJson` is the SPDX licence-list record of CC-BY-SA-4.0 (its
// "licenseText" is used). Throws std::runtime_error when it lacks the text.
std::string DictionaryLicenceNotice(std::string_view source, std::string_view cedictHeader,
                                    std::string_view licenceJson);

}  // namespace parlavo::server
