#pragma once
// Where everything sits on the rack: the module faces and their heights, each
// module's buttons with their two faces, and the display areas the modules draw
// into. The rack lays itself out from these tables and the skin art generator
// paints the faces around them, so art and code cannot drift apart. Plain data,
// free of any toolkit; every top is relative to its module's top.
#include <array>
#include <span>

#include "platform/wintypes.h"
#include "resources/ids/bitmaps.h"
#include "resources/ids/commands.h"

enum class Module { Mixer, Midi, Wave, Cd, Window };

struct Rect {
  int left, top, width, height;
};

// Module faces, top to bottom. Each bitmap is one row taller than its painted height.
constexpr int kFaceWidth = 577;
constexpr int kWindowWidth = kFaceWidth + 2;  // one-pixel border on each side
struct ModuleFace {
  Module module;
  const char* bitmap;
  int height;
};
constexpr ModuleFace kModuleFaces[] = {
    {Module::Mixer, FACE_MIXER, 109},
    {Module::Midi, FACE_MIDI, 50},
    {Module::Wave, FACE_WAVE, 111},
    {Module::Cd, FACE_CD, 130},
};
constexpr int face_height(Module m) {
  for (const ModuleFace& f : kModuleFaces)
    if (f.module == m) return f.height;
  return 0;
}

// What a button does besides sending its command.
enum ButtonKind : BYTE {
  kClick = 0,
  kHold = 1,         // acts on every rack tick while held; not in the command table
  kHoldAndStep = 2,  // a hold button whose short click steps the deck's playlist
};

struct ButtonRow {
  WORD id;  // command identifier, also the child window identifier
  int left, top, width, height;
  WORD up, down;  // skin bitmaps of the two faces
  ButtonKind kind;
  int top_with_3d;  // the mixer's switch column sits lower when the 3D switch exists; else = top
};

// The first four rows and the 3D switch (last, only when present) form the switch column.
constexpr ButtonRow kMixerButtons[] = {
    {CMD_CD_MODULE, 327, 59, 22, 15, BMP_CD_MODULE_UP, BMP_CD_MODULE_DOWN, kClick, 68},
    {CMD_MIDI_MODULE, 327, 21, 22, 15, BMP_MIDI_MODULE_UP, BMP_MIDI_MODULE_DOWN, kClick, 32},
    {CMD_WAVE_MODULE, 327, 40, 22, 15, BMP_WAVE_MODULE_UP, BMP_WAVE_MODULE_DOWN, kClick, 50},
    {CMD_MUTE, 327, 78, 22, 15, BMP_MUTE_UP, BMP_MUTE_DOWN, kClick, 86},
    {CMD_VOLUME_UP, 419, 24, 32, 16, BMP_VOLUME_UP_UP, BMP_VOLUME_UP_DOWN, kClick, 24},
    {CMD_VOLUME_DOWN, 451, 24, 31, 16, BMP_VOLUME_DOWN_UP, BMP_VOLUME_DOWN_DOWN, kClick, 24},
    {CMD_BALANCE_LEFT, 386, 24, 33, 16, BMP_BALANCE_LEFT_UP, BMP_BALANCE_LEFT_DOWN, kHold, 24},
    {CMD_BALANCE_RIGHT, 482, 24, 33, 16, BMP_BALANCE_RIGHT_UP, BMP_BALANCE_RIGHT_DOWN, kHold, 24},
    {CMD_PREVIOUS_CHANNEL, 414, 69, 37, 15, BMP_PREVIOUS_CHANNEL_UP, BMP_PREVIOUS_CHANNEL_DOWN, kClick, 69},
    {CMD_NEXT_CHANNEL, 451, 69, 36, 15, BMP_NEXT_CHANNEL_UP, BMP_NEXT_CHANNEL_DOWN, kClick, 69},
    {CMD_SOUND3D, 327, 14, 22, 15, BMP_SOUND3D_UP, BMP_SOUND3D_DOWN, kClick, 14},
};
constexpr std::size_t kSwitchColumnRows = 4;  // the rows that move with the 3D switch

constexpr ButtonRow kMidiButtons[] = {
    {CMD_MIDI_STOP, 334, 21, 31, 25, BMP_MIDI_STOP_UP, BMP_MIDI_STOP_DOWN, kClick, 21},
    {CMD_MIDI_PAUSE, 365, 21, 31, 25, BMP_MIDI_PAUSE_UP, BMP_MIDI_PAUSE_DOWN, kClick, 21},
    {CMD_MIDI_PLAY, 396, 21, 33, 25, BMP_MIDI_PLAY_UP, BMP_MIDI_PLAY_DOWN, kClick, 21},
    {CMD_MIDI_REWIND, 444, 30, 29, 17, BMP_MIDI_REWIND_UP, BMP_MIDI_REWIND_DOWN, kHoldAndStep, 30},
    {CMD_MIDI_FORWARD, 473, 30, 26, 17, BMP_MIDI_FORWARD_UP, BMP_MIDI_FORWARD_DOWN, kHoldAndStep, 30},
    {CMD_MIDI_VOLUME_DOWN, 499, 30, 26, 17, BMP_MIDI_VOLUME_DOWN_UP, BMP_MIDI_VOLUME_DOWN_DOWN, kHold, 30},
    {CMD_MIDI_VOLUME_UP, 525, 30, 28, 17, BMP_MIDI_VOLUME_UP_UP, BMP_MIDI_VOLUME_UP_DOWN, kHold, 30},
};

constexpr ButtonRow kWaveButtons[] = {
    {CMD_WAVE_RECORD, 370, 90, 30, 15, BMP_WAVE_RECORD_UP, BMP_WAVE_RECORD_DOWN, kClick, 90},
    {CMD_WAVE_STOP, 400, 90, 26, 15, BMP_WAVE_STOP_UP, BMP_WAVE_STOP_DOWN, kClick, 90},
    {CMD_WAVE_PLAY, 426, 90, 51, 15, BMP_WAVE_PLAY_UP, BMP_WAVE_PLAY_DOWN, kClick, 90},
    {CMD_WAVE_REWIND, 370, 67, 28, 15, BMP_WAVE_REWIND_UP, BMP_WAVE_REWIND_DOWN, kHoldAndStep, 67},
    {CMD_WAVE_FORWARD, 398, 67, 26, 15, BMP_WAVE_FORWARD_UP, BMP_WAVE_FORWARD_DOWN, kHoldAndStep, 67},
    {CMD_WAVE_VOLUME_DOWN, 424, 67, 25, 15, BMP_WAVE_VOLUME_DOWN_UP, BMP_WAVE_VOLUME_DOWN_DOWN, kHold, 67},
    {CMD_WAVE_VOLUME_UP, 449, 67, 28, 15, BMP_WAVE_VOLUME_UP_UP, BMP_WAVE_VOLUME_UP_DOWN, kHold, 67},
    {CMD_SWAP_ACTIVE_DECK, 514, 78, 21, 16, BMP_SWAP_DECK_UP, BMP_SWAP_DECK_DOWN, kClick, 78},
    {CMD_RECORDING_INPUT, 514, 43, 21, 16, BMP_RECORDING_INPUT_UP, BMP_RECORDING_INPUT_DOWN, kClick, 43},
    {CMD_ONE_TOUCH_RECORD, 370, 41, 79, 14, BMP_ONE_TOUCH_UP, BMP_ONE_TOUCH_DOWN, kClick, 41},
};

constexpr ButtonRow kCdButtons[] = {
    {CMD_CD_PLAY, 493, 93, 51, 27, BMP_CD_PLAY_UP, BMP_CD_PLAY_DOWN, kClick, 93},
    {CMD_CD_STOP, 390, 93, 51, 27, BMP_CD_STOP_UP, BMP_CD_STOP_DOWN, kClick, 93},
    {CMD_CD_PAUSE, 441, 93, 52, 27, BMP_CD_PAUSE_UP, BMP_CD_PAUSE_DOWN, kClick, 93},
    {CMD_CD_EJECT, 335, 93, 55, 27, BMP_CD_EJECT_UP, BMP_CD_EJECT_DOWN, kClick, 93},
    {CMD_CD_PREVIOUS, 350, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kClick, 69},
    {CMD_CD_NEXT, 382, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kClick, 69},
    {CMD_CD_REWIND, 414, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kHold, 69},
    {CMD_CD_FORWARD, 446, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kHold, 69},
    {CMD_CD_VOLUME_DOWN, 478, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kHold, 69},
    {CMD_CD_VOLUME_UP, 510, 69, 21, 16, BMP_CD_SMALL_KEY_UP, BMP_CD_SMALL_KEY_DOWN, kHold, 69},
    {CMD_CD_PROGRAM_EDIT, 70, 94, 53, 25, BMP_CD_EDIT_UP, BMP_CD_EDIT_DOWN, kClick, 94},
    {CMD_CD_PROGRAM_PLAY, 123, 94, 51, 25, BMP_CD_PROGRAM_UP, BMP_CD_PROGRAM_DOWN, kClick, 94},
    {CMD_CD_SHUFFLE, 174, 94, 51, 25, BMP_CD_SHUFFLE_UP, BMP_CD_SHUFFLE_DOWN, kClick, 94},
    {CMD_CD_REPEAT, 225, 94, 53, 25, BMP_CD_REPEAT_UP, BMP_CD_REPEAT_DOWN, kClick, 94},
};

// The window's buttons: minimise on the mixer face, power above the rack's
// bottom (its top counts from the rack bottom, on whichever module is last).
constexpr ButtonRow kMinimiseButton = {CMD_MINIMISE, 17, 13, 19, 13, BMP_MINIMISE_UP, BMP_MINIMISE_DOWN, kClick, 13};
constexpr ButtonRow kPowerButton = {CMD_POWER, 8, -25, 28, 15, BMP_POWER_UP, BMP_POWER_DOWN, kClick, -25};

struct ModuleButtons {
  Module module;
  std::span<const ButtonRow> rows;
};
constexpr ModuleButtons kButtonTables[] = {
    {Module::Mixer, kMixerButtons},
    {Module::Midi, kMidiButtons},
    {Module::Wave, kWaveButtons},
    {Module::Cd, kCdButtons},
    {Module::Window, {&kMinimiseButton, 1}},
    {Module::Window, {&kPowerButton, 1}},
};

// ---- Mixer panel -------------------------------------------------------
struct ChannelFace {
  Rect label;
  WORD label_unselected, label_selected;
  int meter_left, meter_top;  // the left meter; a stereo channel's right meter is right_offset further
  int segment_width, segment_height, right_offset;
  WORD lit, dark, lit_muted;
};
constexpr ChannelFace kChannelFaces[] = {
    {{55, 91, 35, 9}, BMP_LABEL_MASTER, BMP_LABEL_MASTER_SELECTED, 57, 24, 13, 2, 18, BMP_MASTER_SEGMENT_LIT,
     BMP_MASTER_SEGMENT_DARK, BMP_MASTER_SEGMENT_MUTED},
    {{103, 91, 22, 9}, BMP_LABEL_MIDI, BMP_LABEL_MIDI_SELECTED, 104, 24, 9, 2, 12, BMP_SEGMENT_LIT, BMP_SEGMENT_DARK,
     BMP_SEGMENT_MUTED},
    {{139, 91, 23, 9}, BMP_LABEL_WAVE, BMP_LABEL_WAVE_SELECTED, 140, 24, 9, 2, 12, BMP_SEGMENT_LIT, BMP_SEGMENT_DARK,
     BMP_SEGMENT_MUTED},
    {{181, 91, 11, 9}, BMP_LABEL_CD, BMP_LABEL_CD_SELECTED, 176, 24, 9, 2, 12, BMP_SEGMENT_LIT, BMP_SEGMENT_DARK,
     BMP_SEGMENT_MUTED},
    {{211, 91, 23, 9}, BMP_LABEL_LINE, BMP_LABEL_LINE_SELECTED, 212, 24, 9, 2, 12, BMP_SEGMENT_LIT, BMP_SEGMENT_DARK,
     BMP_SEGMENT_MUTED},
    {{249, 91, 17, 9}, BMP_LABEL_MIC, BMP_LABEL_MIC_SELECTED, 253, 24, 9, 2, 12, BMP_SEGMENT_LIT, BMP_SEGMENT_DARK,
     BMP_SEGMENT_MUTED},
};
// The columns over each channel's meters and name: a click selects the channel.
constexpr Rect kChannelColumns[] = {
    {55, 24, 35, 76}, {103, 24, 22, 76}, {139, 24, 23, 76}, {176, 24, 21, 76}, {211, 24, 23, 76}, {249, 24, 17, 76},
};
constexpr int kMeterSegments = 16;
constexpr int kSegmentPitch = 4;

// The switch column's labels and lamps, at two heights: without and with the 3D row.
struct SwitchRow {
  WORD label;
  int label_left, label_top, label_top_3d, label_width, label_height;
  int lamp_top, lamp_top_3d;
};
enum SwitchRowIndex { kSwitchMidi, kSwitchWave, kSwitchCd, kSwitchMute, kSwitch3D };
constexpr SwitchRow kSwitchRows[] = {
    {BMP_SWITCH_LABEL_MIDI, 283, 24, 33, 22, 9, 27, 36},
    {BMP_SWITCH_LABEL_WAVE, 283, 42, 51, 23, 9, 45, 53},
    {BMP_SWITCH_LABEL_CD, 289, 60, 69, 11, 9, 63, 71},
    {BMP_SWITCH_LABEL_MUTE, 283, 78, 87, 23, 9, 81, 89},
    {BMP_SWITCH_LABEL_3D, 289, 15, 15, 11, 9, 17, 17},  // only with the 3D unit
};
constexpr int kSwitchLampLeft = 307, kSwitchLampWidth = 4, kSwitchLampHeight = 7;
constexpr Rect kBalanceScale = {427, 43, 46, 6};
constexpr int kBalanceMarkerCentre = 450, kBalanceMarkerReach = 22;
constexpr int kBalanceMarkerTop = 44, kBalanceMarkerBottom = 48;

// ---- Decks -------------------------------------------------------------
struct WaveDeckFace {
  Rect menu;  // the label that opens the deck's popup menu
  Rect lcd;
  Rect bar;   // the tape counter's progress bar
  Rect lamp;  // marks the active deck
};
constexpr WaveDeckFace kWaveDeckFaces[] = {
    {{134, 30, 38, 16}, {48, 45, 126, 43}, {54, 95, 113, 3}, {156, 40, 12, 4}},
    {{195, 30, 38, 16}, {193, 45, 126, 43}, {200, 95, 113, 3}, {201, 40, 12, 4}},
};

// Where a file dropped on the wave face goes: left of the gap between the two
// tape windows deck 1, from there to the transport keys deck 2, beyond them
// the active deck.
constexpr int kWaveDropDeck2Left = 184;
constexpr int kWaveDropTransportLeft = 330;

struct MidiDeckFace {
  Rect menu;       // the note key that opens the MIDI menu
  Rect display;    // where the two LCD faces go; also the information view's click area
  Rect lcd;
  Rect animation;  // the running picture
};
constexpr MidiDeckFace kMidiDeckFace = {{299, 22, 35, 25}, {38, 5, 242, 43}, {45, 14, 225, 27}, {86, 18, 34, 17}};

// ---- CD deck -----------------------------------------------------------
constexpr Rect kCdLcd = {40, 8, 238, 83};

// The LCD's elements, left to right. Time cells: two digits each of track,
// minutes and seconds.
constexpr int kCdDigitLefts[6] = {62, 82, 113, 133, 167, 187};
constexpr int kCdDigitTop = 47, kCdDigitWidth = 16, kCdDigitHeight = 23;
constexpr Rect kCdStateIcon = {72, 18, 16, 14};
constexpr Rect kCdModeIndicator = {114, 20, 41, 9};
constexpr Rect kCdRepeatIndicator = {174, 19, 24, 11};
// The track grid: 16 cells, row by row, each showing one entry of a page of the current list.
constexpr int kCdGridLefts[4] = {216, 230, 244, 258};
constexpr int kCdGridTops[4] = {16, 30, 44, 58};
constexpr int kCdGridCell = 13;
constexpr int kCdGridPage = 16;
constexpr Rect kCdTitleLine = {61, 73, 200, 13};
