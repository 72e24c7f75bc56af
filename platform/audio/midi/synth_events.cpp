#include "platform/audio/midi/synth_events.h"

namespace audio::midi {

namespace {

using Sender = void (*)(fluid_synth_t*, const Song&, const Event&);

int channel(const Event& e) { return e.status & 0x0F; }

void note_off(fluid_synth_t* s, const Song&, const Event& e) { fluid_synth_noteoff(s, channel(e), e.data1); }
void note_on(fluid_synth_t* s, const Song&, const Event& e) {
  fluid_synth_noteon(s, channel(e), e.data1, e.data2);  // velocity 0 is a note off
}
void key_pressure(fluid_synth_t* s, const Song&, const Event& e) {
  fluid_synth_key_pressure(s, channel(e), e.data1, e.data2);
}
void control_change(fluid_synth_t* s, const Song&, const Event& e) { fluid_synth_cc(s, channel(e), e.data1, e.data2); }
void program_change(fluid_synth_t* s, const Song&, const Event& e) {
  fluid_synth_program_change(s, channel(e), e.data1);
}
void channel_pressure(fluid_synth_t* s, const Song&, const Event& e) {
  fluid_synth_channel_pressure(s, channel(e), e.data1);
}
void pitch_bend(fluid_synth_t* s, const Song&, const Event& e) {
  fluid_synth_pitch_bend(s, channel(e), e.data1 | (e.data2 << 7));
}
void system_exclusive(fluid_synth_t* s, const Song& song, const Event& e) {
  const char* data = reinterpret_cast<const char*>(song.sysex.data() + e.sysex_offset);
  fluid_synth_sysex(s, data, int(e.sysex_length), nullptr, nullptr, nullptr, 0);
}

// By the high nibble of the status byte, 0x8 to 0xF.
constexpr Sender kSenders[8] = {note_off,       note_on,          key_pressure, control_change,
                                program_change, channel_pressure, pitch_bend,   system_exclusive};

}  // namespace

void send_event(fluid_synth_t* synth, const Song& song, const Event& event) {
  kSenders[(event.status >> 4) - 8](synth, song, event);
}

}  // namespace audio::midi
