#pragma once
// What the other modules may use of the mixer: the channel numbers, the
// volume step the decks' volume buttons run and the master volume as the
// desktop sees it. UI thread only.

constexpr int kMixerChannels = 6;
enum MixerChannelNumber { kMaster = 0, kMidiChannel = 1, kWaveChannel = 2, kCdChannel = 3, kLineChannel = 4, kMicChannel = 5 };
enum StepDirection { kStepUp = 1, kStepDown = 2 };

// One volume step of a channel, both sides, and the channel's meter redrawn.
void volume_step(int channel, int direction);

// The master volume as a fraction of its range, 0 to 1, taken from the louder
// side; 1 when there is no mixer device to turn it.
double master_volume();
// Sets the master volume's louder side to `level` (clamped to 0..1), keeping
// the balance, and shows it on the panel. Nothing without a mixer device.
void set_master_volume(double level);
