#pragma once
// Opt-in trace of what the program shows and asks: when the environment
// variable QUORVIN_TRACE names a file, each line is appended to it. Safe to
// call from any thread.
#include <string>

void trace_line(const std::string& line);
