#include "art_table.h"

#include "painters.h"

#include <QPainter>
#include <stdexcept>

namespace skin {
namespace {

constexpr ArtEntry kArt[] = {
    // Module faces: one row taller than painted.
    {"MIXERBMP", 577, 110, paintMixerFace, 0},
    {"MIDIBMP", 577, 51, paintMidiFace, 0},
    {"WAVEBMP", 577, 112, paintWaveFace, 0},
    {"CDPLYBMP", 577, 131, paintCdFace, 0},
    {"FOOTBMP", 581, 9, paintFooter, 0},
    {"OEMLOGOBMP", 96, 24, paintLogo, 1},
    {"NOLOGOBMP", 96, 24, paintLogo, 0},
    {"RACKICON", 64, 64, paintRackIcon, 0},
    {"RACKICON32", 32, 32, paintRackIcon, 0},
    {"275", 32, 32, paintHandCursor, 0},

    // Window buttons.
    {"144", 19, 13, paintButton, 144}, {"145", 19, 13, paintButton, 145},
    {"110", 28, 15, paintButton, 110}, {"111", 28, 15, paintButton, 111},
    // Mixer buttons.
    {"150", 22, 15, paintButton, 150}, {"151", 22, 15, paintButton, 151},
    {"152", 22, 15, paintButton, 152}, {"153", 22, 15, paintButton, 153},
    {"154", 22, 15, paintButton, 154}, {"155", 22, 15, paintButton, 155},
    {"164", 22, 15, paintButton, 164}, {"165", 22, 15, paintButton, 165},
    {"264", 22, 15, paintButton, 264}, {"265", 22, 15, paintButton, 265},
    {"156", 32, 16, paintButton, 156}, {"160", 32, 16, paintButton, 160},
    {"157", 31, 16, paintButton, 157}, {"161", 31, 16, paintButton, 161},
    {"158", 33, 16, paintButton, 158}, {"162", 33, 16, paintButton, 162},
    {"159", 33, 16, paintButton, 159}, {"163", 33, 16, paintButton, 163},
    {"167", 37, 15, paintButton, 167}, {"168", 37, 15, paintButton, 168},
    {"169", 36, 15, paintButton, 169}, {"170", 36, 15, paintButton, 170},
    // MIDI deck buttons.
    {"216", 31, 25, paintButton, 216}, {"217", 31, 25, paintButton, 217},
    {"218", 31, 25, paintButton, 218}, {"219", 31, 25, paintButton, 219},
    {"220", 33, 25, paintButton, 220}, {"221", 33, 25, paintButton, 221},
    {"222", 29, 17, paintButton, 222}, {"223", 29, 17, paintButton, 223},
    {"224", 26, 17, paintButton, 224}, {"225", 26, 17, paintButton, 225},
    {"226", 26, 17, paintButton, 226}, {"227", 26, 17, paintButton, 227},
    {"228", 28, 17, paintButton, 228}, {"229", 28, 17, paintButton, 229},
    // Wave deck buttons; 260 is the record face while recording.
    {"171", 30, 15, paintButton, 171}, {"172", 30, 15, paintButton, 172},
    {"260", 30, 15, paintButton, 260},
    {"173", 26, 15, paintButton, 173}, {"174", 26, 15, paintButton, 174},
    {"175", 51, 15, paintButton, 175}, {"176", 51, 15, paintButton, 176},
    {"177", 28, 15, paintButton, 177}, {"178", 28, 15, paintButton, 178},
    {"179", 26, 15, paintButton, 179}, {"180", 26, 15, paintButton, 180},
    {"181", 25, 15, paintButton, 181}, {"182", 25, 15, paintButton, 182},
    {"183", 28, 15, paintButton, 183}, {"184", 28, 15, paintButton, 184},
    {"299", 21, 16, paintButton, 299}, {"300", 21, 16, paintButton, 300},
    {"301", 21, 16, paintButton, 301}, {"302", 21, 16, paintButton, 302},
    {"253", 79, 14, paintButton, 253}, {"254", 79, 14, paintButton, 254},
    // CD deck buttons.
    {"102", 51, 27, paintButton, 102}, {"103", 51, 27, paintButton, 103},
    {"104", 51, 27, paintButton, 104}, {"105", 51, 27, paintButton, 105},
    {"106", 52, 27, paintButton, 106}, {"107", 52, 27, paintButton, 107},
    {"108", 55, 27, paintButton, 108}, {"109", 55, 27, paintButton, 109},
    {"113", 21, 16, paintButton, 113}, {"114", 21, 16, paintButton, 114},
    {"130", 53, 25, paintButton, 130}, {"131", 53, 25, paintButton, 131},
    {"132", 51, 25, paintButton, 132}, {"133", 51, 25, paintButton, 133},
    {"135", 51, 25, paintButton, 135}, {"134", 51, 25, paintButton, 134},
    {"136", 53, 25, paintButton, 136}, {"137", 53, 25, paintButton, 137},

    // CD display: time digits, the dash, icons and indicators.
    {"990", 16, 23, paintLcdDigit, 0}, {"991", 16, 23, paintLcdDigit, 1},
    {"992", 16, 23, paintLcdDigit, 2}, {"993", 16, 23, paintLcdDigit, 3},
    {"994", 16, 23, paintLcdDigit, 4}, {"995", 16, 23, paintLcdDigit, 5},
    {"996", 16, 23, paintLcdDigit, 6}, {"997", 16, 23, paintLcdDigit, 7},
    {"998", 16, 23, paintLcdDigit, 8}, {"999", 16, 23, paintLcdDigit, 9},
    {"989", 16, 23, paintLcdDigit, 10},
    {"128", 16, 14, paintStateIcon, 128}, {"129", 16, 14, paintStateIcon, 129},
    {"139", 16, 14, paintStateIcon, 139},
    {"125", 41, 9, paintModeIndicator, 125}, {"126", 41, 9, paintModeIndicator, 126},
    {"140", 41, 9, paintModeIndicator, 140},
    {"127", 24, 11, paintRepeatIndicator, 127}, {"138", 24, 11, paintRepeatIndicator, 138},
    {"141", 24, 11, paintRepeatIndicator, 141},

    // Deck displays: MIDI LCD faces and animation, reels, lamps.
    {"235", 242, 43, paintMidiLcdFace, 235}, {"236", 242, 43, paintMidiLcdFace, 236},
    {"237", 34, 17, paintMidiAnimation, 0}, {"238", 34, 17, paintMidiAnimation, 1},
    {"239", 34, 17, paintMidiAnimation, 2}, {"240", 34, 17, paintMidiAnimation, 3},
    {"241", 34, 17, paintMidiAnimation, 4}, {"242", 34, 17, paintMidiAnimation, 5},
    {"243", 34, 17, paintMidiAnimation, 6}, {"244", 34, 17, paintMidiAnimation, 7},
    {"247", 59, 43, paintReel, 0}, {"248", 59, 43, paintReel, 1},
    {"249", 59, 43, paintReel, 2}, {"250", 59, 43, paintReel, 3},
    {"187", 12, 4, paintDeckLamp, 187}, {"188", 12, 4, paintDeckLamp, 188},
    {"259", 12, 4, paintDeckLamp, 259},

    // Mixer: meter segments, channel labels, switch column, balance scale.
    {"201", 13, 2, paintMeterSegment, 201}, {"202", 13, 2, paintMeterSegment, 202},
    {"203", 13, 2, paintMeterSegment, 203}, {"204", 9, 2, paintMeterSegment, 204},
    {"205", 9, 2, paintMeterSegment, 205}, {"206", 9, 2, paintMeterSegment, 206},
    {"189", 35, 9, paintChannelLabel, 189}, {"190", 35, 9, paintChannelLabel, 190},
    {"191", 22, 9, paintChannelLabel, 191}, {"192", 22, 9, paintChannelLabel, 192},
    {"193", 23, 9, paintChannelLabel, 193}, {"194", 23, 9, paintChannelLabel, 194},
    {"195", 11, 9, paintChannelLabel, 195}, {"196", 11, 9, paintChannelLabel, 196},
    {"197", 23, 9, paintChannelLabel, 197}, {"198", 23, 9, paintChannelLabel, 198},
    {"199", 17, 9, paintChannelLabel, 199}, {"200", 17, 9, paintChannelLabel, 200},
    {"276", 11, 9, paintSwitchLabel, 276}, {"277", 22, 9, paintSwitchLabel, 277},
    {"278", 23, 9, paintSwitchLabel, 278}, {"279", 11, 9, paintSwitchLabel, 279},
    {"280", 23, 9, paintSwitchLabel, 280},
    {"210", 4, 7, paintSwitchLamp, 210}, {"212", 4, 7, paintSwitchLamp, 212},
    {"231", 46, 6, paintBalanceScale, 0},
};

}  // namespace

std::span<const ArtEntry> artTable() { return kArt; }

const ArtEntry* findArt(std::string_view name) {
  for (const ArtEntry& entry : kArt)
    if (name == entry.name) return &entry;
  return nullptr;
}

QImage renderArt(const ArtEntry& entry) {
  QImage image = entry.paint(entry.width, entry.height, entry.arg);
  if (image.size() != QSize(entry.width, entry.height))
    throw std::logic_error(std::string("painter gave the wrong size for ") + entry.name);
  return image;
}

QString artFileName(const ArtEntry& entry) { return QString::fromLatin1(entry.name) + QStringLiteral(".png"); }

}  // namespace skin
