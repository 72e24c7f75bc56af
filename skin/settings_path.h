#pragma once
// The settings file "quorvin.ini" in the Windows directory, as every module names it.
#include <string>

// Windows directory + "/quorvin.ini", whole however long the folder's path is.
std::string settings_path();
