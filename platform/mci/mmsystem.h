#pragma once
// The media control interface: command strings and command messages for the
// devices "waveaudio", "sequencer" and "cdaudio", with Win32 names, values and
// record layouts. Every function is called from one thread (the UI thread);
// notifications are posted from engine threads through the poster below.
#include "platform/wintypes.h"

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

MCIERROR mciSendStringA(LPCSTR command, LPSTR reply, UINT reply_size, HWND notify);
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
// 0 when no open device has that name or alias (names compare without case).
MCIDEVICEID mciGetDeviceIDA(LPCSTR name);
// TRUE with the text of a known code (0 included); FALSE and an empty buffer otherwise.
BOOL mciGetErrorStringA(MCIERROR error, LPSTR text, UINT size);

// Notifications go through this seam: the app plugs in PostMessageA, tests a
// recorder. It is called from engine threads, so it must be thread-safe, and it
// must not call back into MCI (post, never send).
using MciNotifyPoster = void (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void mci_set_notify_poster(MciNotifyPoster poster);

// Notices: what the user should be told although the command succeeded. Each is
// posted through the poster above, once per process, to the window passed with
// the command that met it: wParam the notice code, lParam the device. MCI never
// shows them itself (a command may run nested inside another); the window shows
// the text from its own message loop.
//   MCIERR_NO_SOUND_DEVICE: the first play after the engine wanted a sound
//   device and found none; plays go on silently in real time. Never posted when
//   the silent device was chosen.
//   MCIERR_SOUND_DEVICE_FAILED: the output device stopped working under a play;
//   every play then ended with MCI_NOTIFY_FAILURE and the next ones run
//   silently in real time. Posted once per failure, with the first failed play
//   that had a window (else with the next play's).
constexpr UINT MM_QUORVIN_NOTICE = 0x0400 + 0x03B9;  // WM_USER + MM_MCINOTIFY
// TRUE with the text to show for a notice code; FALSE and an empty buffer otherwise.
BOOL mciGetNoticeTextA(WPARAM notice, LPSTR text, UINT size);

// Command messages.
constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_SEEK = 0x0807;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_PAUSE = 0x0809;
constexpr UINT MCI_INFO = 0x080A;
constexpr UINT MCI_GETDEVCAPS = 0x080B;
constexpr UINT MCI_SET = 0x080D;
constexpr UINT MCI_RECORD = 0x080F;
constexpr UINT MCI_SAVE = 0x0813;
constexpr UINT MCI_STATUS = 0x0814;
constexpr UINT MCI_LOAD = 0x0850;
constexpr UINT MCI_RESUME = 0x0855;

// Flags common to every command.
constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_FROM = 0x00000004;
constexpr DWORD MCI_TO = 0x00000008;
constexpr DWORD MCI_TRACK = 0x00000010;

constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_ALIAS = 0x00000400;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;
constexpr DWORD MCI_WAVE_OPEN_BUFFER = 0x00010000;

constexpr DWORD MCI_SEEK_TO_START = 0x00000100;
constexpr DWORD MCI_SEEK_TO_END = 0x00000200;

constexpr DWORD MCI_STATUS_ITEM = 0x00000100;
constexpr DWORD MCI_STATUS_START = 0x00000200;
constexpr DWORD MCI_STATUS_LENGTH = 1;
constexpr DWORD MCI_STATUS_POSITION = 2;
constexpr DWORD MCI_STATUS_NUMBER_OF_TRACKS = 3;
constexpr DWORD MCI_STATUS_MODE = 4;
constexpr DWORD MCI_STATUS_MEDIA_PRESENT = 5;
constexpr DWORD MCI_STATUS_TIME_FORMAT = 6;
constexpr DWORD MCI_STATUS_READY = 7;
constexpr DWORD MCI_STATUS_CURRENT_TRACK = 8;

constexpr DWORD MCI_WAVE_STATUS_FORMATTAG = 0x4001;
constexpr DWORD MCI_WAVE_STATUS_CHANNELS = 0x4002;
constexpr DWORD MCI_WAVE_STATUS_SAMPLESPERSEC = 0x4003;
constexpr DWORD MCI_WAVE_STATUS_AVGBYTESPERSEC = 0x4004;
constexpr DWORD MCI_WAVE_STATUS_BLOCKALIGN = 0x4005;
constexpr DWORD MCI_WAVE_STATUS_BITSPERSAMPLE = 0x4006;

constexpr DWORD MCI_MODE_NOT_READY = 524;
constexpr DWORD MCI_MODE_STOP = 525;
constexpr DWORD MCI_MODE_PLAY = 526;
constexpr DWORD MCI_MODE_RECORD = 527;
constexpr DWORD MCI_MODE_SEEK = 528;
constexpr DWORD MCI_MODE_PAUSE = 529;
constexpr DWORD MCI_MODE_OPEN = 530;

constexpr DWORD MCI_FORMAT_MILLISECONDS = 0;
constexpr DWORD MCI_FORMAT_MSF = 2;
constexpr DWORD MCI_FORMAT_TMSF = 10;

constexpr DWORD MCI_SET_DOOR_OPEN = 0x00000100;
constexpr DWORD MCI_SET_DOOR_CLOSED = 0x00000200;
constexpr DWORD MCI_SET_TIME_FORMAT = 0x00000400;

constexpr DWORD MCI_WAVE_SET_FORMATTAG = 0x00010000;
constexpr DWORD MCI_WAVE_SET_CHANNELS = 0x00020000;
constexpr DWORD MCI_WAVE_SET_SAMPLESPERSEC = 0x00040000;
constexpr DWORD MCI_WAVE_SET_AVGBYTESPERSEC = 0x00080000;
constexpr DWORD MCI_WAVE_SET_BLOCKALIGN = 0x00100000;
constexpr DWORD MCI_WAVE_SET_BITSPERSAMPLE = 0x00200000;
constexpr WORD WAVE_FORMAT_PCM = 1;

constexpr DWORD MCI_GETDEVCAPS_ITEM = 0x00000100;
constexpr DWORD MCI_GETDEVCAPS_CAN_RECORD = 1;
constexpr DWORD MCI_GETDEVCAPS_HAS_AUDIO = 2;
constexpr DWORD MCI_GETDEVCAPS_DEVICE_TYPE = 4;
constexpr DWORD MCI_GETDEVCAPS_USES_FILES = 5;
constexpr DWORD MCI_GETDEVCAPS_CAN_EJECT = 7;
constexpr DWORD MCI_GETDEVCAPS_CAN_PLAY = 8;
constexpr DWORD MCI_GETDEVCAPS_CAN_SAVE = 9;

constexpr DWORD MCI_SAVE_FILE = 0x00000100;
constexpr DWORD MCI_LOAD_FILE = 0x00000100;

// wParam of MM_MCINOTIFY.
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;
constexpr WPARAM MCI_NOTIFY_FAILURE = 0x0008;

// Error codes.
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
constexpr MCIERROR MCIERR_DEVICE_OPEN = MCIERR_BASE + 9;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = MCIERR_BASE + 12;
constexpr MCIERROR MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
constexpr MCIERROR MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
constexpr MCIERROR MCIERR_FILE_NOT_SAVED = MCIERR_BASE + 30;
constexpr MCIERROR MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
constexpr MCIERROR MCIERR_BAD_CONSTANT = MCIERR_BASE + 34;
constexpr MCIERROR MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
constexpr MCIERROR MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
constexpr MCIERROR MCIERR_DUPLICATE_FLAGS = MCIERR_BASE + 39;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
constexpr MCIERROR MCIERR_NEW_REQUIRES_ALIAS = MCIERR_BASE + 43;
constexpr MCIERROR MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
constexpr MCIERROR MCIERR_EXTRA_CHARACTERS = MCIERR_BASE + 49;
constexpr MCIERROR MCIERR_FILE_READ = MCIERR_BASE + 92;
constexpr MCIERROR MCIERR_FILE_WRITE = MCIERR_BASE + 93;
// Errors of this platform's own drivers.
constexpr MCIERROR MCIERR_CUSTOM_DRIVER_BASE = MCIERR_BASE + 256;
constexpr MCIERROR MCIERR_NO_SOUND_DEVICE = MCIERR_CUSTOM_DRIVER_BASE + 1;
constexpr MCIERROR MCIERR_CDA_DATA_TRACK = MCIERR_CUSTOM_DRIVER_BASE + 2;
constexpr MCIERROR MCIERR_NO_SOUNDFONT = MCIERR_CUSTOM_DRIVER_BASE + 3;
constexpr MCIERROR MCIERR_NO_CD_DEVICE = MCIERR_CUSTOM_DRIVER_BASE + 4;
constexpr MCIERROR MCIERR_NO_RECORDING_DEVICE = MCIERR_CUSTOM_DRIVER_BASE + 5;
constexpr MCIERROR MCIERR_NOTHING_RECORDED = MCIERR_CUSTOM_DRIVER_BASE + 6;
// The CD drive or image named could not be used; its text says which and why (cd_refusal.h).
constexpr MCIERROR MCIERR_CD_SOURCE_REFUSED = MCIERR_CUSTOM_DRIVER_BASE + 7;
// The sound device stopped working while it played; the player runs silently.
constexpr MCIERROR MCIERR_SOUND_DEVICE_FAILED = MCIERR_CUSTOM_DRIVER_BASE + 8;
// The recording device stopped working under a take; what came before is kept.
constexpr MCIERROR MCIERR_RECORDING_DEVICE_FAILED = MCIERR_CUSTOM_DRIVER_BASE + 9;

// Parameter records (Win32 layouts).
struct MCI_GENERIC_PARMS {
  DWORD_PTR dwCallback;
};
struct MCI_OPEN_PARMSA {
  DWORD_PTR dwCallback;
  MCIDEVICEID wDeviceID;
  LPCSTR lpstrDeviceType;
  LPCSTR lpstrElementName;
  LPCSTR lpstrAlias;
};
struct MCI_WAVE_OPEN_PARMSA {
  DWORD_PTR dwCallback;
  MCIDEVICEID wDeviceID;
  LPCSTR lpstrDeviceType;
  LPCSTR lpstrElementName;
  LPCSTR lpstrAlias;
  DWORD dwBufferSeconds;
};
struct MCI_PLAY_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
struct MCI_RECORD_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwFrom;
  DWORD dwTo;
};
struct MCI_SEEK_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTo;
};
struct MCI_STATUS_PARMS {
  DWORD_PTR dwCallback;
  DWORD_PTR dwReturn;
  DWORD dwItem;
  DWORD dwTrack;
};
struct MCI_SET_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTimeFormat;
  DWORD dwAudio;
};
struct MCI_WAVE_SET_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwTimeFormat;
  DWORD dwAudio;
  UINT wInput;
  UINT wOutput;
  WORD wFormatTag;
  WORD wReserved2;
  WORD nChannels;
  WORD wReserved3;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wReserved4;
  WORD wBitsPerSample;
  WORD wReserved5;
};
struct MCI_GETDEVCAPS_PARMS {
  DWORD_PTR dwCallback;
  DWORD dwReturn;
  DWORD dwItem;
};
struct MCI_SAVE_PARMSA {
  DWORD_PTR dwCallback;
  LPCSTR lpfilename;
};
using MCI_LOAD_PARMSA = MCI_SAVE_PARMSA;

// Packed times: TMSF is track, minutes, seconds, frames in bytes 0..3; MSF is
// minutes, seconds, frames in bytes 0..2.
constexpr DWORD MCI_MAKE_TMSF(BYTE t, BYTE m, BYTE s, BYTE f) {
  return static_cast<DWORD>(t) | (static_cast<DWORD>(m) << 8) | (static_cast<DWORD>(s) << 16) |
         (static_cast<DWORD>(f) << 24);
}
constexpr DWORD MCI_MAKE_MSF(BYTE m, BYTE s, BYTE f) {
  return static_cast<DWORD>(m) | (static_cast<DWORD>(s) << 8) | (static_cast<DWORD>(f) << 16);
}
constexpr BYTE MCI_TMSF_TRACK(DWORD v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE MCI_TMSF_MINUTE(DWORD v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr BYTE MCI_TMSF_SECOND(DWORD v) { return static_cast<BYTE>((v >> 16) & 0xFF); }
constexpr BYTE MCI_TMSF_FRAME(DWORD v) { return static_cast<BYTE>((v >> 24) & 0xFF); }
constexpr BYTE MCI_MSF_MINUTE(DWORD v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE MCI_MSF_SECOND(DWORD v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr BYTE MCI_MSF_FRAME(DWORD v) { return static_cast<BYTE>((v >> 16) & 0xFF); }
