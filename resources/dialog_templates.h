#pragma once
// The dialog templates of the resource script, in one table.
#include <span>

#include "platform/ui/resources.h"

std::span<const ui_resources::DialogResource> dialog_templates();
