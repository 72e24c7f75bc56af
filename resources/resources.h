#pragma once
// The program's resources: menus, strings, accelerators, cursor and icon
// tables, and the skin bitmaps compiled in under ":/skin/".

// Makes the tables the window layer's resources. Skin bitmaps are then
// looked up, before the compiled-in ones, in the folder named by the
// environment variable QUORVIN_SKIN_DIR and in the folder "skin" next to the
// executable, when they exist. A program's main():
//   int main(int argc, char** argv) { InstallResources(); return RunWinMain(argc, argv, WinMain); }
void InstallResources();
