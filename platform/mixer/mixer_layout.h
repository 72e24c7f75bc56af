#pragma once
// The fixed topology of the engine's mixer: its lines and their controls, as
// constant tables. Identifiers never change between runs.
#include <cstddef>
#include <span>

#include "platform/audio/engine.h"
#include "platform/mixer/mixer_api.h"

namespace mixer {

// What a control does to the engine.
enum class ControlKind { Volume, Mute, Widening };

constexpr DWORD kVolumeMaximum = 65535;

struct LineRow {
  DWORD line_id;
  DWORD destination;
  DWORD source;  // ignored for a destination
  bool is_source;
  DWORD component_type;
  DWORD channels;
  DWORD target_type;
  const char* short_name;
  const char* name;
};

struct ControlRow {
  DWORD control_id;  // never 0: callers keep 0 for "no control"
  std::size_t line;  // index into lines()
  DWORD control_type;
  ControlKind kind;
  audio::Line engine_line;  // the line a volume or mute acts on
  const char* setting_key;  // where its value persists
  const char* short_name;
  const char* name;
};

std::span<const LineRow> lines();
std::span<const ControlRow> controls();
// The controls of one line, in the order mixerGetLineControlsA returns them.
std::span<const ControlRow> controls_of_line(std::size_t line);
std::size_t destination_count();
// Sources connected to a destination.
DWORD connections_of(std::size_t line);

const LineRow* find_line_by_id(DWORD line_id);
const LineRow* find_line_by_component(DWORD component_type);
const LineRow* find_line_by_target(DWORD target_type);
const LineRow* find_destination(DWORD destination);
const LineRow* find_source(DWORD destination, DWORD source);
const ControlRow* find_control(DWORD control_id);
std::size_t index_of(const LineRow& line);
std::size_t index_of(const ControlRow& control);

// Volume controls carry one value per line channel; switches are uniform.
DWORD value_count(const ControlRow& control);

// Name of the device as mixerGetLineInfoA reports it in Target.szPname.
constexpr const char* kDeviceName = "Quorvin Engine Mixer";

}  // namespace mixer
