#pragma once

#include <filesystem>

namespace parlavo::server {

// The directory of the running executable; the service's data lies in
// ../share/parlavo from there, installed and in the build tree alike.
std::filesystem::path ExecutableDirectory();

}  // namespace parlavo::server
