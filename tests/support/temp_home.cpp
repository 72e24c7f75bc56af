#include "support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TempHome::TempHome() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "quorvin-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  if (const char* old = std::getenv("QUORVIN_HOME")) {
    had_previous_ = true;
    previous_ = old;
  }
  setenv("QUORVIN_HOME", path_.c_str(), 1);
}

TempHome::~TempHome() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  if (had_previous_)
    setenv("QUORVIN_HOME", previous_.c_str(), 1);
  else
    unsetenv("QUORVIN_HOME");
}
