#include "app/settings_file.h"

#include <cctype>
#include <cstring>

#include "platform/profile/profile.h"
#include "skin/settings_path.h"
#include "skin/settings_write.h"

int read_module_switch(const char* key) {
  char value[128];
  GetPrivateProfileStringA("Rack", key, "YES", value, sizeof value, settings_path().c_str());
  for (char* c = value; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return std::strcmp(value, "YES") == 0 ? 1 : 0;
}

void write_module_switch(const char* key, int on) {
  save_setting("Rack", key, on == 1 ? "YES" : "NO");
}
