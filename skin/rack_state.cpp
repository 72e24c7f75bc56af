#include "skin/rack_state.h"

int cd_audio_on = 1;
int wave_on = 1;
int midi_on = 1;

HINSTANCE program_instance = nullptr;
HWND main_window = nullptr;
UINT_PTR rack_timer = 0;
