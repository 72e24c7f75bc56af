#pragma once
#include <string>

// A fresh, empty settings folder for one test: sets QUORVIN_HOME to it and
// removes it again at the end, so no test reads or writes the user's files.
class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
  bool had_previous_ = false;
};
