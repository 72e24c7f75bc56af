#pragma once
// The program's resources: menus, strings, accelerators, cursor and icon
// tables, and the skin bitmaps compiled in under ":/skin/".

// Makes the tables the window layer's resources. When the environment names
// a folder in QUORVIN_SKIN_DIR, bitmaps are looked up there first.
void InstallResources();
