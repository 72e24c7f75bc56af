#pragma once
// The painter functions the art table names, one group per source file.
#include <QImage>

namespace skin {

// buttons.cpp: every button's up and down face (arg = bitmap number).
QImage paintButton(int width, int height, int bitmap);

// lcd_glyphs.cpp: the LCD's digits, icons, indicators and animations.
QImage paintLcdDigit(int width, int height, int digit);  // digit 10: the dash
QImage paintStateIcon(int width, int height, int bitmap);
QImage paintModeIndicator(int width, int height, int bitmap);
QImage paintRepeatIndicator(int width, int height, int bitmap);
QImage paintMidiAnimation(int width, int height, int frame);  // frame 0: stopped
QImage paintReel(int width, int height, int frame);

// mixer_face.cpp: the mixer face and the pieces drawn over it.
QImage paintMixerFace(int width, int height, int);
QImage paintChannelLabel(int width, int height, int bitmap);
QImage paintSwitchLabel(int width, int height, int bitmap);
QImage paintMeterSegment(int width, int height, int bitmap);
QImage paintSwitchLamp(int width, int height, int bitmap);
QImage paintBalanceScale(int width, int height, int);

// midi_face.cpp
QImage paintMidiFace(int width, int height, int);
QImage paintMidiLcdFace(int width, int height, int bitmap);  // 235 information, 236 picture

// wave_face.cpp
QImage paintWaveFace(int width, int height, int);
QImage paintDeckLamp(int width, int height, int bitmap);

// cd_face.cpp
QImage paintCdFace(int width, int height, int);

// extras.cpp: footer, logos, icon and cursor.
QImage paintFooter(int width, int height, int);
QImage paintLogo(int width, int height, int withName);
QImage paintRackIcon(int width, int height, int);
QImage paintHandCursor(int width, int height, int);

}  // namespace skin
