#pragma once
// What the other modules may use of the mixer: the channel numbers and the
// volume step the decks' volume buttons run. UI thread only.

constexpr int kMixerChannels = 6;
enum MixerChannelNumber { kMaster = 0, kMidiChannel = 1, kWaveChannel = 2, kCdChannel = 3, kLineChannel = 4, kMicChannel = 5 };
enum StepDirection { kStepUp = 1, kStepDown = 2 };

// One volume step of a channel, both sides, and the channel's meter redrawn.
void volume_step(int channel, int direction);
