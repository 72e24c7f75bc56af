// The texts mciGetErrorStringA hands out: one plain sentence per code (a
// refused CD source: the sentence of its latest refusal).
#include <cstring>
#include <string>

#include "platform/audio/engine.h"
#include "platform/mci/cd_refusal.h"
#include "platform/mci/mmsystem.h"

namespace {

struct ErrorText {
  MCIERROR code;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {0, "The specified command was carried out."},
    {MCIERR_INVALID_DEVICE_ID, "Invalid device ID. Use the ID given to the device when it was opened."},
    {MCIERR_UNRECOGNIZED_KEYWORD, "The command contains a word the device does not understand."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The command is not recognized by MCI."},
    {MCIERR_HARDWARE, "The media device reported a problem. Check that it works."},
    {MCIERR_INVALID_DEVICE_NAME, "The specified device is not open or is not recognized by MCI."},
    {MCIERR_OUT_OF_MEMORY, "Too many devices are open. Close some and try again."},
    {MCIERR_DEVICE_OPEN, "The device name is already open in this application. Use a unique alias."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The device type is not known. Use waveaudio, sequencer or cdaudio."},
    {MCIERR_MISSING_COMMAND_STRING, "No command was given."},
    {MCIERR_PARAM_OVERFLOW, "The reply buffer is too small for the answer."},
    {MCIERR_MISSING_STRING_ARGUMENT, "A word or value is missing at the end of the command."},
    {MCIERR_BAD_INTEGER, "A number in the command is missing or not valid."},
    {MCIERR_MISSING_PARAMETER, "The command needs a parameter that was not given."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The device does not support this command."},
    {MCIERR_FILE_NOT_FOUND, "The file was not found. Check the path and the file name."},
    {MCIERR_DEVICE_NOT_READY, "The device is not ready. Check that a disc is in the drive and the door is closed."},
    {MCIERR_OUTOFRANGE, "The position is outside the media."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The parameters given cannot be used together."},
    {MCIERR_FILE_NOT_SAVED, "The file was not saved. Check the folder exists, is writable and has free space."},
    {MCIERR_DEVICE_TYPE_REQUIRED, "The device type cannot be told from the file name. Give the type."},
    {MCIERR_DUPLICATE_ALIAS, "The alias is already in use in this application. Use a unique alias."},
    {MCIERR_BAD_CONSTANT, "A value in the command is not one the device knows."},
    {MCIERR_MISSING_DEVICE_NAME, "No device name was given."},
    {MCIERR_BAD_TIME_FORMAT, "The time format is not valid for this device."},
    {MCIERR_NO_CLOSING_QUOTE, "A closing quotation mark is missing."},
    {MCIERR_DUPLICATE_FLAGS, "A word or value was given twice."},
    {MCIERR_INVALID_FILE, "The file cannot be played: it is damaged or not in a format the device can read."},
    {MCIERR_NULL_PARAMETER_BLOCK, "The command needs a parameter record and none was given."},
    {MCIERR_NEW_REQUIRES_ALIAS, "An alias must be given with the \"new\" device name."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "The command cannot be carried out in the device's present state."},
    {MCIERR_EXTRA_CHARACTERS, "A quoted string must be followed by a blank or the end of the command."},
    {MCIERR_FILE_READ, "Reading from the file failed. Check the file is still there and readable."},
    {MCIERR_FILE_WRITE, "Writing to the file failed. Check there is free space."},
    {MCIERR_NO_SOUND_DEVICE, "No sound device was found; the player runs silently."},
    {MCIERR_CDA_DATA_TRACK, "The track is a data track and cannot be played as audio."},
    {MCIERR_NO_SOUNDFONT, "No SoundFont could be loaded, so MIDI files cannot be played."},
    {MCIERR_NO_CD_DEVICE, "No CD drive or disc image was found."},
    {MCIERR_NO_RECORDING_DEVICE, "The recording source could not be started; another recording may be running."},
    {MCIERR_NOTHING_RECORDED, "There is no recording to play or save."},
    {MCIERR_CD_SOURCE_REFUSED, "The CD drive or disc image can not be used."},
    {MCIERR_SOUND_DEVICE_FAILED, "The sound device stopped working; the player runs silently."},
    {MCIERR_RECORDING_DEVICE_FAILED, "The recording device stopped delivering sound: it was unplugged, or its driver gave up."},
};

}  // namespace

BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT size) {
  if (text == nullptr || size == 0) return FALSE;
  text[0] = '\0';
  // A missing recording device and a refused CD source are told by name and cause.
  std::string named;
  if (error == MCIERR_NO_RECORDING_DEVICE) named = audio::record_source_problem();
  if (error == MCIERR_CD_SOURCE_REFUSED) named = mci::last_cd_refusal();
  for (const ErrorText& row : kErrorTexts) {
    if (row.code != error) continue;
    std::strncpy(text, named.empty() ? row.text : named.c_str(), size - 1);
    text[size - 1] = '\0';
    return TRUE;
  }
  return FALSE;
}
