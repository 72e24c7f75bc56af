#pragma once
// The skin art library: every bitmap of the rack as ":/skin/<name>.png"
// (":/skin/MIXERBMP.png", ":/skin/150.png"), painted at build time.

namespace skin_art {

// The hand cursor ":/skin/275.png" points with the tip of its index finger.
inline constexpr int kHandCursorHotX = 11;
inline constexpr int kHandCursorHotY = 2;

// True when the art is linked in and readable (false means a broken build).
bool available();

}  // namespace skin_art
