#include "skin/file_filter.h"

#include <algorithm>

#include "platform/ui/windows.h"
#include "skin/rack_state.h"

std::string load_file_filter(WORD id) {
  char text[512] = "";
  const int length = LoadStringA(program_instance, id, text, sizeof text - 1);
  if (length <= 0) return {};
  std::string filter(text, static_cast<std::size_t>(length));
  std::replace(filter.begin(), filter.end(), filter.back(), '\0');
  return filter;
}
