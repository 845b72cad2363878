#include "platform/WindowSystem.h"

namespace netvane {

std::string IpAddressText(std::string_view text) {
  std::string fields[4];
  std::size_t field = 0;
  for (char c : text) {
    if (c == '.') {
      if (++field == 4) break;
    } else if (c >= '0' && c <= '9' && fields[field].size() < 3) {
      fields[field].push_back(c);
    }
  }
  if (fields[0].empty() && fields[1].empty() && fields[2].empty() && fields[3].empty()) return {};
  return fields[0] + "." + fields[1] + "." + fields[2] + "." + fields[3];
}

}  // namespace netvane
