#include "app/rack_state.h"
#include "mixer/mixer_panel.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/paint.h"

LRESULT paint_rack(HWND window, UINT, WPARAM, LPARAM) {
  // The update region is ignored: every paint redraws the whole rack.
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  SelectPalette(dc, application_palette, FALSE);
  RealizePalette(dc);
  copy_skin_bitmap(dc, "MIXERBMP", 0, mixer_top, kFaceWidth, kMixerHeight);
  if (midi_on) copy_skin_bitmap(dc, "MIDIBMP", 0, midi_top, kFaceWidth, kMidiHeight);
  if (wave_on) copy_skin_bitmap(dc, "WAVEBMP", 0, wave_top, kFaceWidth, kWaveHeight);
  if (cd_audio_on) copy_skin_bitmap(dc, "CDPLYBMP", 0, cd_top, kFaceWidth, kCdHeight);
  UpdateColors(dc);
  EndPaint(window, &ps);
  paint_mixer_panel();
  return 0;
}
