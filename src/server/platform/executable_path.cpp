#include "platform/executable_path.h"

namespace parlavo::server {

std::filesystem::path ExecutableDirectory() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace parlavo::server
