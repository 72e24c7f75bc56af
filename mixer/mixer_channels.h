#pragma once
// The six mixer channels the panel shows, their control slots and values, and
// the operations that read, write and step them.
#include "mixer/mixer.h"
#include "platform/mixer/mixer_api.h"

// One mixer control as the device describes it, with the channel count of its line.
struct ControlSlot {
  MIXERCONTROLA control;
  DWORD channels;
};

struct MixerChannel {
  DWORD mute;
  LONG channels;
  DWORD max_left, max_right;
  DWORD min_left, min_right;
  DWORD value_left, value_right;
  DWORD segments;
  DWORD step_left, step_right;
  int volume_slot, mute_slot;
};

extern MixerChannel mixer_channels[kMixerChannels];
extern HMIXER mixer_handle;
// The 3D switch's control, zero while none was found.
extern ControlSlot sound3d_slot;

// Opens device 0 for the main window and reads every channel; 1 on success.
int mixer_startup();
void mixer_shutdown();

void read_volume(MixerChannel& channel);
void write_volume(const MixerChannel& channel);
void read_mute(MixerChannel& channel);
void write_mute(const MixerChannel& channel);
int read_switch(const ControlSlot& slot);
void write_switch(const ControlSlot& slot, int on);

void balance_left();
void balance_right();

struct ChannelControl {
  int channel;  // -1 when the control belongs to no channel
  bool is_volume;
};
ChannelControl find_channel_by_control(DWORD control_id);
