#pragma once
// What WinExec starts: stand-ins this program provides for programs named in
// command lines that do not exist here (such as a volume control), and
// whether a program is installed. UI thread only.
#include <string>

#include "platform/wintypes.h"

namespace ui_programs {

// `arguments`: the command line after the program's name, blanks trimmed.
using StandIn = void (*)(const std::string& arguments, UINT show);
// From now on WinExec runs `run` for `program` (its name compared without
// letter case, with or without a folder). Registering again replaces it.
void register_stand_in(const std::string& program, StandIn run);
// Whether an executable file of that name is in a folder of PATH (or, for a
// name with a '/', at that path).
bool installed(const std::string& program);
// The command line after its first word (quoted or not), blanks trimmed.
std::string arguments_of(const std::string& command_line);

}  // namespace ui_programs
