#include "skin/seams.h"

#include "skin/layout.h"

namespace {

RackSeams installed;

}  // namespace

void install_rack_seams(const RackSeams& seams) { installed = seams; }

const RackSeams& rack_seams() { return installed; }

void run_module_steps(std::span<const ModuleStep> steps) {
  for (const ModuleStep& step : steps)
    if (module_shown(step.module)) step.run();
}

Handler find_command(WORD id) {
  for (const CommandRow& row : installed.commands)
    if (row.id == id) return row.handler;
  return nullptr;
}
