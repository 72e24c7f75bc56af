#pragma once
// Joins the modules to the rack core: installs the seam tables of skin/seams.h.

// Runs once at start-up, before the main window is created.
void install_rack_wiring();
