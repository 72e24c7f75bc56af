#pragma once
// Where the rack core calls into the modules. The core names no module: the
// program fills these tables in the rack's order and installs them once at
// start-up, before the main window exists. A module joins the rack by adding
// rows to them (see app/rack_wiring.cpp), not by edits across the core.
#include <span>

#include "platform/wintypes.h"
#include "resources/geometry.h"
#include "skin/dispatch.h"

// A step that runs only while its module is shown (the mixer always is).
struct ModuleStep {
  Module module;
  void (*run)();
};
using Step = void (*)();

struct RackSeams {
  std::span<const CommandRow> commands;            // the command table, searched in order
  std::span<const ModuleStep> live_redraws;        // after every paint: each module's live parts
  std::span<const ModuleStep> tick_steps;          // every rack tick, after the hold step
  std::span<const CommandRow> hold_steps;          // every tick while that button is held
  std::span<const CommandRow> short_clicks;        // release of a short press on a step button
  std::span<const ModuleStep> after_button_drawn;  // after every button drawing
  std::span<const Step> on_create;                 // WM_CREATE: the modules empty their records
  int (*sound3d_present)() = nullptr;              // read while the mixer's buttons are made; null: none
};

void install_rack_seams(const RackSeams& seams);
const RackSeams& rack_seams();

// Runs every step whose module is shown, in table order.
void run_module_steps(std::span<const ModuleStep> steps);
