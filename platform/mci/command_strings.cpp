// mciSendStringA: each string is split into words, its verb looked up in the
// verb table, and its words turned into one command message for the device.
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/mci/drivers.h"
#include "platform/mci/registry.h"
#include "platform/mci/time_text.h"
#include "platform/mci/tokenizer.h"
#include "platform/trace.h"

namespace mci {

namespace {

// The words after the device name, taken left to right.
class Words {
 public:
  Words(const std::vector<Word>& words, std::size_t first) : words_(words), next_(first) {}
  bool done() const { return next_ >= words_.size(); }
  // Consumes the keywords when the next words are exactly these (unquoted).
  bool take(std::initializer_list<const char*> keywords) {
    std::size_t i = next_;
    for (const char* keyword : keywords) {
      if (i >= words_.size() || words_[i].quoted || !same_word(words_[i].text, keyword)) return false;
      ++i;
    }
    next_ = i;
    return true;
  }
  MCIERROR value(std::string* out) {
    if (done()) return MCIERR_MISSING_STRING_ARGUMENT;
    *out = words_[next_++].text;
    return 0;
  }
  MCIERROR number(DWORD* out) {
    std::string text;
    if (MCIERROR err = value(&text)) return err;
    return parse_time(text, MCI_FORMAT_MILLISECONDS, out);
  }

 private:
  const std::vector<Word>& words_;
  std::size_t next_;
};

struct Call {
  MCIDEVICEID device = 0;
  HWND window = nullptr;
  std::string reply;
};

// Sets `flag` once; a second time is an error.
MCIERROR add_flag(DWORD* flags, DWORD flag) {
  if (*flags & flag) return MCIERR_DUPLICATE_FLAGS;
  *flags |= flag;
  return 0;
}

// notify and wait may stand anywhere.
bool take_common(Words& words, DWORD* flags, MCIERROR* err) {
  if (words.take({"notify"})) {
    *err = add_flag(flags, MCI_NOTIFY);
    return true;
  }
  if (words.take({"wait"})) {
    *err = add_flag(flags, MCI_WAIT);
    return true;
  }
  return false;
}

DWORD device_time_format(MCIDEVICEID id) {
  MCI_STATUS_PARMS status{};
  status.dwItem = MCI_STATUS_TIME_FORMAT;
  if (mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)) != 0) {
    return MCI_FORMAT_MILLISECONDS;
  }
  return static_cast<DWORD>(status.dwReturn);
}

MCIERROR send(Call& call, UINT message, DWORD flags, void* parms) {
  return mciSendCommandA(call.device, message, flags, reinterpret_cast<DWORD_PTR>(parms));
}

// Commands that take only notify and wait.
MCIERROR simple(Call& call, Words& words, UINT message) {
  DWORD flags = 0;
  while (!words.done()) {
    MCIERROR err = 0;
    if (!take_common(words, &flags, &err)) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (err) return err;
  }
  MCI_GENERIC_PARMS parms{reinterpret_cast<DWORD_PTR>(call.window)};
  return send(call, message, flags, &parms);
}

MCIERROR do_close(Call& call, Words& words) { return simple(call, words, MCI_CLOSE); }
MCIERROR do_stop(Call& call, Words& words) { return simple(call, words, MCI_STOP); }
MCIERROR do_pause(Call& call, Words& words) { return simple(call, words, MCI_PAUSE); }
MCIERROR do_resume(Call& call, Words& words) { return simple(call, words, MCI_RESUME); }

MCIERROR do_play(Call& call, Words& words) {
  const DWORD format = device_time_format(call.device);
  DWORD flags = 0;
  MCI_PLAY_PARMS parms{reinterpret_cast<DWORD_PTR>(call.window), 0, 0};
  while (!words.done()) {
    MCIERROR err = 0;
    std::string text;
    if (take_common(words, &flags, &err)) {
    } else if (words.take({"from"})) {
      if (!(err = add_flag(&flags, MCI_FROM)) && !(err = words.value(&text))) err = parse_time(text, format, &parms.dwFrom);
    } else if (words.take({"to"})) {
      if (!(err = add_flag(&flags, MCI_TO)) && !(err = words.value(&text))) err = parse_time(text, format, &parms.dwTo);
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  return send(call, MCI_PLAY, flags, &parms);
}

MCIERROR do_seek(Call& call, Words& words) {
  const DWORD format = device_time_format(call.device);
  DWORD flags = 0;
  MCI_SEEK_PARMS parms{reinterpret_cast<DWORD_PTR>(call.window), 0};
  while (!words.done()) {
    MCIERROR err = 0;
    std::string text;
    if (take_common(words, &flags, &err)) {
    } else if (words.take({"to", "start"})) {
      err = add_flag(&flags, MCI_SEEK_TO_START);
    } else if (words.take({"to", "end"})) {
      err = add_flag(&flags, MCI_SEEK_TO_END);
    } else if (words.take({"to"})) {
      if (!(err = add_flag(&flags, MCI_TO)) && !(err = words.value(&text))) err = parse_time(text, format, &parms.dwTo);
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  return send(call, MCI_SEEK, flags, &parms);
}

MCIERROR do_record(Call& call, Words& words) {
  DWORD flags = 0;
  while (!words.done()) {
    MCIERROR err = 0;
    if (!take_common(words, &flags, &err)) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (err) return err;
  }
  MCI_RECORD_PARMS parms{reinterpret_cast<DWORD_PTR>(call.window), 0, 0};
  return send(call, MCI_RECORD, flags, &parms);
}

// "save <device> <file>" and "load <device> <file>": one file name.
MCIERROR file_command(Call& call, Words& words, UINT message) {
  DWORD flags = 0;
  std::string path;
  while (!words.done()) {
    MCIERROR err = 0;
    if (take_common(words, &flags, &err)) {
    } else if (path.empty()) {
      err = words.value(&path);
      flags |= MCI_SAVE_FILE;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  if (path.empty()) return MCIERR_MISSING_STRING_ARGUMENT;
  MCI_SAVE_PARMSA parms{reinterpret_cast<DWORD_PTR>(call.window), path.c_str()};
  return send(call, message, flags, &parms);
}

MCIERROR do_save(Call& call, Words& words) { return file_command(call, words, MCI_SAVE); }
MCIERROR do_load(Call& call, Words& words) { return file_command(call, words, MCI_LOAD); }

// "set": time format, door, and the wave format of a new recording.
struct WaveSetRow {
  const char* keyword;
  DWORD flag;
};
constexpr WaveSetRow kWaveSetRows[] = {
    {"channels", MCI_WAVE_SET_CHANNELS},
    {"samplespersec", MCI_WAVE_SET_SAMPLESPERSEC},
    {"bytespersec", MCI_WAVE_SET_AVGBYTESPERSEC},
    {"alignment", MCI_WAVE_SET_BLOCKALIGN},
    {"bitspersample", MCI_WAVE_SET_BITSPERSAMPLE},
};

void store_wave_value(MCI_WAVE_SET_PARMS& parms, DWORD flag, DWORD value) {
  switch (flag) {
    case MCI_WAVE_SET_CHANNELS:
      parms.nChannels = static_cast<WORD>(value);
      break;
    case MCI_WAVE_SET_SAMPLESPERSEC:
      parms.nSamplesPerSec = value;
      break;
    case MCI_WAVE_SET_AVGBYTESPERSEC:
      parms.nAvgBytesPerSec = value;
      break;
    case MCI_WAVE_SET_BLOCKALIGN:
      parms.nBlockAlign = static_cast<WORD>(value);
      break;
    case MCI_WAVE_SET_BITSPERSAMPLE:
      parms.wBitsPerSample = static_cast<WORD>(value);
      break;
  }
}

MCIERROR take_wave_set(Words& words, DWORD* flags, MCI_WAVE_SET_PARMS& parms, bool* matched) {
  *matched = false;
  if (words.take({"format", "tag"})) {
    *matched = true;
    if (MCIERROR err = add_flag(flags, MCI_WAVE_SET_FORMATTAG)) return err;
    if (words.take({"pcm"})) {
      parms.wFormatTag = WAVE_FORMAT_PCM;
      return 0;
    }
    DWORD tag;
    if (MCIERROR err = words.number(&tag)) return err;
    parms.wFormatTag = static_cast<WORD>(tag);
    return 0;
  }
  for (const WaveSetRow& row : kWaveSetRows) {
    if (!words.take({row.keyword})) continue;
    *matched = true;
    if (MCIERROR err = add_flag(flags, row.flag)) return err;
    DWORD value;
    if (MCIERROR err = words.number(&value)) return err;
    store_wave_value(parms, row.flag, value);
    return 0;
  }
  return 0;
}

MCIERROR do_set(Call& call, Words& words) {
  DWORD flags = 0;
  MCI_WAVE_SET_PARMS parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(call.window);
  while (!words.done()) {
    MCIERROR err = 0;
    bool matched = false;
    if (take_common(words, &flags, &err)) {
    } else if (words.take({"time", "format"})) {
      std::string name;
      if (!(err = add_flag(&flags, MCI_SET_TIME_FORMAT)) && !(err = words.value(&name))) {
        if (!time_format_from_name(name, &parms.dwTimeFormat)) err = MCIERR_BAD_TIME_FORMAT;
      }
    } else if (words.take({"door", "open"})) {
      err = add_flag(&flags, MCI_SET_DOOR_OPEN);
    } else if (words.take({"door", "closed"})) {
      err = add_flag(&flags, MCI_SET_DOOR_CLOSED);
    } else if ((err = take_wave_set(words, &flags, parms, &matched)) || matched) {
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  if ((flags & ~(MCI_NOTIFY | MCI_WAIT)) == 0) return MCIERR_MISSING_PARAMETER;
  return send(call, MCI_SET, flags, &parms);
}

// "status": one item, how its answer reads as text.
enum class Reply { Number, Time, Length, Mode, Bool, Format };

struct StatusRow {
  std::initializer_list<const char*> words;
  DWORD item;
  Reply reply;
};

const StatusRow kStatusRows[] = {
    {{"position"}, MCI_STATUS_POSITION, Reply::Time},
    {{"length"}, MCI_STATUS_LENGTH, Reply::Length},
    {{"number", "of", "tracks"}, MCI_STATUS_NUMBER_OF_TRACKS, Reply::Number},
    {{"mode"}, MCI_STATUS_MODE, Reply::Mode},
    {{"media", "present"}, MCI_STATUS_MEDIA_PRESENT, Reply::Bool},
    {{"time", "format"}, MCI_STATUS_TIME_FORMAT, Reply::Format},
    {{"ready"}, MCI_STATUS_READY, Reply::Bool},
    {{"current", "track"}, MCI_STATUS_CURRENT_TRACK, Reply::Number},
    {{"format", "tag"}, MCI_WAVE_STATUS_FORMATTAG, Reply::Number},
    {{"channels"}, MCI_WAVE_STATUS_CHANNELS, Reply::Number},
    {{"samplespersec"}, MCI_WAVE_STATUS_SAMPLESPERSEC, Reply::Number},
    {{"bytespersec"}, MCI_WAVE_STATUS_AVGBYTESPERSEC, Reply::Number},
    {{"alignment"}, MCI_WAVE_STATUS_BLOCKALIGN, Reply::Number},
    {{"bitspersample"}, MCI_WAVE_STATUS_BITSPERSAMPLE, Reply::Number},
};

struct ModeName {
  DWORD mode;
  const char* text;
};
constexpr ModeName kModeNames[] = {
    {MCI_MODE_NOT_READY, "not ready"}, {MCI_MODE_STOP, "stopped"}, {MCI_MODE_PLAY, "playing"},
    {MCI_MODE_RECORD, "recording"},    {MCI_MODE_SEEK, "seeking"}, {MCI_MODE_PAUSE, "paused"},
    {MCI_MODE_OPEN, "open"},
};

std::string reply_text(Reply reply, DWORD value, DWORD format) {
  switch (reply) {
    case Reply::Time:
      return format_time(value, format);
    case Reply::Length:
      // Lengths on a CD read as MSF also in the TMSF format.
      return format_time(value, format == MCI_FORMAT_TMSF ? MCI_FORMAT_MSF : format);
    case Reply::Mode:
      for (const ModeName& row : kModeNames) {
        if (row.mode == value) return row.text;
      }
      return "unknown";
    case Reply::Bool:
      return value ? "true" : "false";
    case Reply::Format:
      return time_format_name(value);
    case Reply::Number:
      break;
  }
  return std::to_string(value);
}

MCIERROR do_status(Call& call, Words& words) {
  DWORD flags = MCI_STATUS_ITEM;
  MCI_STATUS_PARMS parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(call.window);
  const StatusRow* item = nullptr;
  while (!words.done()) {
    MCIERROR err = 0;
    const StatusRow* found = nullptr;
    for (const StatusRow& row : kStatusRows) {
      if (words.take(row.words)) {
        found = &row;
        break;
      }
    }
    if (found) {
      if (item) return MCIERR_DUPLICATE_FLAGS;
      item = found;
    } else if (take_common(words, &flags, &err)) {
    } else if (words.take({"start"})) {
      err = add_flag(&flags, MCI_STATUS_START);
    } else if (words.take({"track"})) {
      if (!(err = add_flag(&flags, MCI_TRACK))) err = words.number(&parms.dwTrack);
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  if (item == nullptr) return MCIERR_MISSING_PARAMETER;
  parms.dwItem = item->item;
  const DWORD format = device_time_format(call.device);
  if (MCIERROR err = send(call, MCI_STATUS, flags, &parms)) return err;
  call.reply = reply_text(item->reply, static_cast<DWORD>(parms.dwReturn), format);
  return 0;
}

struct CapabilityRow {
  std::initializer_list<const char*> words;
  DWORD item;
};
const CapabilityRow kCapabilityRows[] = {
    {{"can", "eject"}, MCI_GETDEVCAPS_CAN_EJECT},   {{"can", "play"}, MCI_GETDEVCAPS_CAN_PLAY},
    {{"can", "record"}, MCI_GETDEVCAPS_CAN_RECORD}, {{"can", "save"}, MCI_GETDEVCAPS_CAN_SAVE},
    {{"has", "audio"}, MCI_GETDEVCAPS_HAS_AUDIO},   {{"uses", "files"}, MCI_GETDEVCAPS_USES_FILES},
};

MCIERROR do_capability(Call& call, Words& words) {
  DWORD flags = MCI_GETDEVCAPS_ITEM;
  MCI_GETDEVCAPS_PARMS parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(call.window);
  bool have_item = false;
  while (!words.done()) {
    MCIERROR err = 0;
    bool matched = false;
    for (const CapabilityRow& row : kCapabilityRows) {
      if (!words.take(row.words)) continue;
      if (have_item) return MCIERR_DUPLICATE_FLAGS;
      parms.dwItem = row.item;
      have_item = matched = true;
      break;
    }
    if (!matched && !take_common(words, &flags, &err)) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (err) return err;
  }
  if (!have_item) return MCIERR_MISSING_PARAMETER;
  if (MCIERROR err = send(call, MCI_GETDEVCAPS, flags, &parms)) return err;
  call.reply = parms.dwReturn ? "true" : "false";
  return 0;
}

// "open <file|type|new> [type t] [alias a] [buffer n] [shareable]": no device yet.
MCIERROR do_open(const std::vector<Word>& all, HWND window, std::string* reply) {
  if (all.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  Words words(all, 2);
  DWORD flags = 0;
  std::string type, alias;
  MCI_WAVE_OPEN_PARMSA parms{};
  parms.dwCallback = reinterpret_cast<DWORD_PTR>(window);
  while (!words.done()) {
    MCIERROR err = 0;
    if (take_common(words, &flags, &err)) {
    } else if (words.take({"type"})) {
      if (!(err = add_flag(&flags, MCI_OPEN_TYPE))) err = words.value(&type);
    } else if (words.take({"alias"})) {
      if (!(err = add_flag(&flags, MCI_OPEN_ALIAS))) err = words.value(&alias);
    } else if (words.take({"buffer"})) {
      // Taken for what it says, though the engine sizes its own buffers.
      if (!(err = add_flag(&flags, MCI_WAVE_OPEN_BUFFER))) err = words.number(&parms.dwBufferSeconds);
    } else if (words.take({"shareable"})) {
      err = add_flag(&flags, MCI_OPEN_SHAREABLE);
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (err) return err;
  }
  // Without "type" the first word names a device type, or a file whose extension tells it.
  const std::string first = all[1].text;
  if (flags & MCI_OPEN_TYPE) {
    flags |= MCI_OPEN_ELEMENT;
  } else if (!all[1].quoted && find_driver(first) != nullptr) {
    type = first;
    flags |= MCI_OPEN_TYPE;
  } else {
    flags |= MCI_OPEN_ELEMENT;
  }
  parms.lpstrDeviceType = type.c_str();
  parms.lpstrElementName = first.c_str();
  parms.lpstrAlias = alias.c_str();
  if (MCIERROR err = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parms))) return err;
  *reply = std::to_string(parms.wDeviceID);
  return 0;
}

using VerbHandler = MCIERROR (*)(Call& call, Words& words);
struct VerbRow {
  const char* verb;
  VerbHandler handler;
};
constexpr VerbRow kVerbs[] = {
    {"close", do_close},   {"play", do_play},     {"pause", do_pause},       {"resume", do_resume},
    {"stop", do_stop},     {"seek", do_seek},     {"set", do_set},           {"status", do_status},
    {"record", do_record}, {"save", do_save},     {"load", do_load},         {"capability", do_capability},
};

MCIERROR run(const std::string& command, HWND window, std::string* reply) {
  std::vector<Word> all;
  if (MCIERROR err = tokenize(command, &all)) return err;
  if (all.empty()) return MCIERR_MISSING_COMMAND_STRING;
  if (same_word(all[0].text, "open")) return do_open(all, window, reply);
  const VerbRow* verb = nullptr;
  for (const VerbRow& row : kVerbs) {
    if (same_word(all[0].text, row.verb)) verb = &row;
  }
  if (verb == nullptr) return MCIERR_UNRECOGNIZED_COMMAND;
  if (all.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  Call call;
  call.window = window;
  if (same_word(all[1].text, "all") && verb->handler == do_close) {
    call.device = 0xFFFF;
  } else {
    call.device = mciGetDeviceIDA(all[1].text.c_str());
    if (call.device == 0) return MCIERR_INVALID_DEVICE_NAME;
  }
  Words words(all, 2);
  const MCIERROR err = verb->handler(call, words);
  if (err == 0) *reply = call.reply;
  return err;
}

}  // namespace

}  // namespace mci

MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT reply_size, HWND notify) {
  if (reply && reply_size > 0) reply[0] = '\0';
  if (command == nullptr) return MCIERR_MISSING_COMMAND_STRING;
  std::string text;
  const MCIERROR err = mci::run(command, notify, &text);
  // QUORVIN_TRACE lets a test or a user see every string the program sends.
  trace_line("mci \"" + std::string(command) + "\" -> " + std::to_string(err));
  if (err != 0 || reply == nullptr || reply_size == 0) return err;
  if (text.size() + 1 > reply_size) return MCIERR_PARAM_OVERFLOW;
  std::memcpy(reply, text.c_str(), text.size() + 1);
  return 0;
}
