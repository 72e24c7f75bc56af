#pragma once
// Runs one test of this binary in a child process, for what only a whole
// process shows (a crash, the program's exit).
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace audio_test {

// The child runs `test` with the environment variable `flag` set to `value`;
// the child's test skips itself when the variable is absent.
inline pid_t spawn_test(const std::string& test, const char* flag, const std::string& value) {
  const pid_t child = fork();
  if (child == 0) {
    setenv(flag, value.c_str(), 1);
    const std::string filter = "--gtest_filter=" + test;
    execl("/proc/self/exe", "test_audio", filter.c_str(), nullptr);
    _exit(127);
  }
  return child;
}

}  // namespace audio_test
