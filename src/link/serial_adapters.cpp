#include "link/serial_adapters.h"

#include <algorithm>
#include <system_error>

namespace zel {

std::vector<std::string> SerialAdapterPaths(const std::filesystem::path& byId) {
  std::vector<std::string> paths;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(byId, ec), end; !ec && it != end; it.increment(ec)) {
    paths.push_back(it->path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace zel
