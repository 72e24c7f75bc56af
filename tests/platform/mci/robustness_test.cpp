// Random command strings built from the service's own words, garbage and odd
// numbers, sent at open devices of every type: no crash, no hang, and every
// failure has a text. A short reply buffer is never overrun.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "mci_fixture.h"
#include "media/disc_image.h"
#include "media_files.h"
#include "support/env_override.h"

namespace {

using namespace mcitest;

const std::vector<std::string> kWords = {
    "open",   "close",  "play",   "pause",  "stop",    "seek",      "set",     "status", "record", "save",
    "resume", "from",   "to",     "start",  "end",     "notify",    "wait",    "time",   "format", "milliseconds",
    "tmsf",   "msf",    "door",   "open",   "closed",  "position",  "length",  "track",  "mode",   "number",
    "of",     "tracks", "media",  "present", "ready",  "channels",  "samplespersec", "bytespersec",
    "bitspersample",    "current", "type",  "alias",   "waveaudio", "sequencer", "cdaudio", "new", "buffer",
    "w",      "m",      "cdaudio", "\"",    "\"\"",    "all",       "0",       "1",      "-1",     "4294967295",
    "99999999999999999999", "1:2:3:4", "255:59:59:74", "::", "\t", "ünïcode", "%s", "%n",
};

const std::vector<std::string> kVerbs = {"play", "pause", "stop", "seek", "set", "status", "record", "save", "resume"};
const std::vector<std::string> kAliases = {"w", "m", "cdaudio", "r"};

// Mostly "verb alias …", so the devices' own argument handling is reached, not just the parser's.
std::string random_command(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 5), word(0, static_cast<int>(kWords.size()) - 1), junk(1, 255);
  std::string command;
  if (rng() % 5 != 0)
    command = kVerbs[rng() % kVerbs.size()] + " " + kAliases[rng() % kAliases.size()] + " ";
  const int n = count(rng);
  for (int i = 0; i < n; ++i) {
    if (i) command += ' ';
    if (rng() % 20 == 0)
      command += static_cast<char>(junk(rng));
    else
      command += kWords[word(rng)];
  }
  return command;
}

struct Robustness : MciTest {};

}  // namespace

TEST_F(Robustness, RandomCommandsAtOpenDevicesNeverCrashAndAlwaysExplainFailures) {
  testmedia::CdImage image = testmedia::cd_image_of({2.0, 1.0}, 1);
  EnvOverride disc("QUORVIN_CDROM", testmedia::write_cd_image(home_.path(), "disc", image).c_str());
  const std::string wav = write_sine_wav(home_.file("a.wav"), 1.0, 22050, 2, 16);
  const std::string mid = write_tempo_change_midi(home_.file("a.mid"), 4);

  std::mt19937 rng(20261208);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    // Keep a device of each kind open most of the time, whatever the last command did to it.
    if (round % 50 == 0) {
      mci("close all");
      mci("open \"" + wav + "\" type waveaudio alias w");
      mci("open \"" + mid + "\" type sequencer alias m");
      mci("open cdaudio");
      mci("open new type waveaudio alias r buffer 4");
    }
    const std::string command = random_command(rng);
    char reply[8];
    std::memset(reply, 'x', sizeof reply);
    const MCIERROR code = mciSendStringA(command.c_str(), reply, sizeof reply, test_window());
    ASSERT_NE(std::memchr(reply, '\0', sizeof reply), nullptr) << command;
    if (code == 0) ++accepted;
    if (code != 0) {
      char text[256];
      EXPECT_TRUE(mciGetErrorStringA(code, text, sizeof text)) << command;
    }
    run_ms(5);
  }
  // The mix must really reach the devices, not only the parser's refusals.
  EXPECT_GT(accepted, 150);
  mci("close all");
  take_notices();
}
