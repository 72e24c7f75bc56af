#include "rack_layout.h"

namespace skin {
namespace {

constexpr ButtonPlace kButtons[] = {
    // Window buttons: minimise on the mixer, power on the last module.
    {4998, Module::Window, 17, 13, 13, 19, 13, 144, 145},
    {kPowerCommand, Module::Window, 8, 0, 0, 28, 15, 110, 111},
    // Mixer: the switch column first, then volume, balance and channel.
    {5003, Module::Mixer, 327, 59, 68, 22, 15, 150, 151},
    {5001, Module::Mixer, 327, 21, 32, 22, 15, 154, 155},
    {5002, Module::Mixer, 327, 40, 50, 22, 15, 152, 153},
    {5004, Module::Mixer, 327, 78, 86, 22, 15, 164, 165},
    {5005, Module::Mixer, 419, 24, 24, 32, 16, 156, 160},
    {5006, Module::Mixer, 451, 24, 24, 31, 16, 157, 161},
    {5007, Module::Mixer, 386, 24, 24, 33, 16, 158, 162},
    {5008, Module::Mixer, 482, 24, 24, 33, 16, 159, 163},
    {5009, Module::Mixer, 414, 69, 69, 37, 15, 167, 168},
    {5010, Module::Mixer, 451, 69, 69, 36, 15, 169, 170},
    {5000, Module::Mixer, 327, 14, 14, 22, 15, 264, 265},
    // MIDI deck.
    {6002, Module::Midi, 334, 21, 21, 31, 25, 216, 217},
    {6003, Module::Midi, 365, 21, 21, 31, 25, 218, 219},
    {6004, Module::Midi, 396, 21, 21, 33, 25, 220, 221},
    {6005, Module::Midi, 444, 30, 30, 29, 17, 222, 223},
    {6006, Module::Midi, 473, 30, 30, 26, 17, 224, 225},
    {6007, Module::Midi, 499, 30, 30, 26, 17, 226, 227},
    {6008, Module::Midi, 525, 30, 30, 28, 17, 228, 229},
    // Wave decks.
    {7001, Module::Wave, 370, 90, 90, 30, 15, 171, 172},
    {7002, Module::Wave, 400, 90, 90, 26, 15, 173, 174},
    {7003, Module::Wave, 426, 90, 90, 51, 15, 175, 176},
    {7004, Module::Wave, 370, 67, 67, 28, 15, 177, 178},
    {7005, Module::Wave, 398, 67, 67, 26, 15, 179, 180},
    {7006, Module::Wave, 424, 67, 67, 25, 15, 181, 182},
    {7007, Module::Wave, 449, 67, 67, 28, 15, 183, 184},
    {7022, Module::Wave, 514, 78, 78, 21, 16, 299, 300},
    {7027, Module::Wave, 514, 43, 43, 21, 16, 301, 302},
    {7028, Module::Wave, 370, 41, 41, 79, 14, 253, 254},
    // CD deck.
    {8001, Module::Cd, 493, 93, 93, 51, 27, 102, 103},
    {8002, Module::Cd, 390, 93, 93, 51, 27, 104, 105},
    {8003, Module::Cd, 441, 93, 93, 52, 27, 106, 107},
    {8004, Module::Cd, 335, 93, 93, 55, 27, 108, 109},
    {8005, Module::Cd, 350, 69, 69, 21, 16, 113, 114},
    {8006, Module::Cd, 382, 69, 69, 21, 16, 113, 114},
    {8007, Module::Cd, 414, 69, 69, 21, 16, 113, 114},
    {8008, Module::Cd, 446, 69, 69, 21, 16, 113, 114},
    {8009, Module::Cd, 478, 69, 69, 21, 16, 113, 114},
    {8010, Module::Cd, 510, 69, 69, 21, 16, 113, 114},
    {8011, Module::Cd, 70, 94, 94, 53, 25, 130, 131},
    {8012, Module::Cd, 123, 94, 94, 51, 25, 132, 133},
    {8013, Module::Cd, 174, 94, 94, 51, 25, 135, 134},
    {8014, Module::Cd, 225, 94, 94, 53, 25, 136, 137},
};

}  // namespace

std::span<const ButtonPlace> rackButtons() { return kButtons; }

bool movesWith3D(const ButtonPlace& button) {
  return button.module == Module::Mixer && button.left == 327 && button.command != 5000;
}

}  // namespace skin
