#pragma once
// Why the cdaudio device could not use its drive or disc image, for the CD deck
// to tell the user once per fault rather than its plain not-ready message.
//
// A refused drive or image ("open cdaudio" with QUORVIN_CDROM or the CDROM
// setting naming it, or "open <path> type cdaudio") fails the open with
// MCIERR_CD_SOURCE_REFUSED, and mciGetErrorStringA gives for that code the
// sentence of the latest refusal, naming the file and the fault, e.g.
//   The CD image "/music/disc.nrg" is damaged: its footer points outside the file.
// An image that fails to load again after its tray closes counts as refused
// too. MCIERR_NO_CD_DEVICE stays for "no drive found and none set".
//
// Threads: the UI thread, like every MCI call of the CD deck.
#include <string>

#include "platform/mci/mmsystem.h"

// The CD deck at Play while no disc is ready: TRUE with the sentence of the
// latest refusal when it has not been handed out before (show it instead of
// "Audio CD not ready or not present."), FALSE otherwise (show the usual
// message). Opens retried by the timer that fail the same way do not make it
// TRUE again; another file or another fault does, and so does the same fault
// after the image was once opened fine.
BOOL mci_cd_take_refusal(std::string* text);

namespace mci {

// The cdaudio driver's side: a refusal, and a drive or image that now works.
void record_cd_refusal(const std::string& sentence);
void forget_cd_refusal();
// The latest refusal's sentence, "" when the source last worked.
std::string last_cd_refusal();

}  // namespace mci
