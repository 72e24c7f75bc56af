#include "platform/mixer/mixer_layout.h"

#include <array>

namespace mixer {
namespace {

// Destinations are 0xFFFF0000 | destination; sources (source << 16) | destination.
enum LineIndex : std::size_t { kSpeakers, kSynth, kWave, kCD, kRecording, kLineIn, kMic, kLineCount };

constexpr std::array<LineRow, kLineCount> kLines = {{
    {0xFFFF0000, 0, 0, false, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 2, MIXERLINE_TARGETTYPE_WAVEOUT, "Speakers",
     "Speakers"},
    {0x00000000, 0, 0, true, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, 2, MIXERLINE_TARGETTYPE_MIDIOUT, "Synth",
     "Synthesizer"},
    {0x00010000, 0, 1, true, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 2, MIXERLINE_TARGETTYPE_WAVEOUT, "Wave",
     "Wave Out"},
    {0x00020000, 0, 2, true, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, MIXERLINE_TARGETTYPE_UNDEFINED, "CD",
     "CD Audio"},
    {0xFFFF0001, 1, 0, false, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 2, MIXERLINE_TARGETTYPE_WAVEIN, "Recording",
     "Recording"},
    {0x00000001, 1, 0, true, MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, MIXERLINE_TARGETTYPE_UNDEFINED, "Line In",
     "Line In"},
    {0x00010001, 1, 1, true, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, MIXERLINE_TARGETTYPE_UNDEFINED, "Mic",
     "Microphone"},
}};

using audio::Line;
constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kLoudness = MIXERCONTROL_CONTROLTYPE_LOUDNESS;

// Grouped by line; within a line: volume, mute, then any extra switch.
constexpr std::array kControls = {
    ControlRow{1, kSpeakers, kVolume, ControlKind::Volume, Line::Master, "MixerMasterVolume", "Volume", "Master Volume"},
    ControlRow{2, kSpeakers, kMute, ControlKind::Mute, Line::Master, "MixerMasterMute", "Mute", "Master Mute"},
    ControlRow{3, kSpeakers, kLoudness, ControlKind::Widening, Line::Master, "Mixer3D", "3D", "3D Stereo"},
    ControlRow{4, kSynth, kVolume, ControlKind::Volume, Line::Synth, "MixerSynthVolume", "Volume", "Synth Volume"},
    ControlRow{5, kSynth, kMute, ControlKind::Mute, Line::Synth, "MixerSynthMute", "Mute", "Synth Mute"},
    ControlRow{6, kWave, kVolume, ControlKind::Volume, Line::Wave, "MixerWaveVolume", "Volume", "Wave Volume"},
    ControlRow{7, kWave, kMute, ControlKind::Mute, Line::Wave, "MixerWaveMute", "Mute", "Wave Mute"},
    ControlRow{8, kCD, kVolume, ControlKind::Volume, Line::CD, "MixerCDVolume", "Volume", "CD Volume"},
    ControlRow{9, kCD, kMute, ControlKind::Mute, Line::CD, "MixerCDMute", "Mute", "CD Mute"},
    ControlRow{10, kLineIn, kVolume, ControlKind::Volume, Line::LineIn, "MixerLineVolume", "Volume", "Line In Volume"},
    ControlRow{11, kLineIn, kMute, ControlKind::Mute, Line::LineIn, "MixerLineMute", "Mute", "Line In Mute"},
    ControlRow{12, kMic, kVolume, ControlKind::Volume, Line::Mic, "MixerMicVolume", "Volume", "Microphone Volume"},
    ControlRow{13, kMic, kMute, ControlKind::Mute, Line::Mic, "MixerMicMute", "Mute", "Microphone Mute"},
};

template <typename Pred>
const LineRow* find_line(Pred pred) {
  for (const LineRow& row : kLines)
    if (pred(row)) return &row;
  return nullptr;
}

}  // namespace

std::span<const LineRow> lines() { return kLines; }
std::span<const ControlRow> controls() { return kControls; }

std::span<const ControlRow> controls_of_line(std::size_t line) {
  std::size_t first = 0;
  while (first < kControls.size() && kControls[first].line != line) ++first;
  std::size_t end = first;
  while (end < kControls.size() && kControls[end].line == line) ++end;
  return std::span<const ControlRow>(kControls).subspan(first, end - first);
}

std::size_t destination_count() {
  std::size_t n = 0;
  for (const LineRow& row : kLines) n += row.is_source ? 0 : 1;
  return n;
}

DWORD connections_of(std::size_t line) {
  const LineRow& dest = kLines[line];
  if (dest.is_source) return 0;
  DWORD n = 0;
  for (const LineRow& row : kLines) n += row.is_source && row.destination == dest.destination ? 1 : 0;
  return n;
}

const LineRow* find_line_by_id(DWORD line_id) {
  return find_line([&](const LineRow& r) { return r.line_id == line_id; });
}
const LineRow* find_line_by_component(DWORD component_type) {
  return find_line([&](const LineRow& r) { return r.component_type == component_type; });
}
const LineRow* find_line_by_target(DWORD target_type) {
  if (target_type == MIXERLINE_TARGETTYPE_UNDEFINED) return nullptr;
  return find_line([&](const LineRow& r) { return r.target_type == target_type; });
}
const LineRow* find_destination(DWORD destination) {
  return find_line([&](const LineRow& r) { return !r.is_source && r.destination == destination; });
}
const LineRow* find_source(DWORD destination, DWORD source) {
  return find_line([&](const LineRow& r) { return r.is_source && r.destination == destination && r.source == source; });
}

const ControlRow* find_control(DWORD control_id) {
  for (const ControlRow& row : kControls)
    if (row.control_id == control_id) return &row;
  return nullptr;
}

std::size_t index_of(const LineRow& line) { return static_cast<std::size_t>(&line - kLines.data()); }
std::size_t index_of(const ControlRow& control) { return static_cast<std::size_t>(&control - kControls.data()); }

DWORD value_count(const ControlRow& control) {
  return control.kind == ControlKind::Volume ? kLines[control.line].channels : 1;
}

}  // namespace mixer
