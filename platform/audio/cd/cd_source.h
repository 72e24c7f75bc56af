#pragma once
// Finding and opening what a CD name points at: a drive's device node or a disc
// image, with libcdio's own console messages kept quiet.
#include <string>

#include "platform/audio/cd/image_stage.h"

typedef struct _CdIo CdIo_t;

namespace audio {

enum class CdSourceKind { Missing, Drive, Image, Other };

// What `path` names on disk: a block device is a drive, a regular file an image.
CdSourceKind cd_source_kind(const std::string& path);

// Opens a disc image by its extension (.cue, .bin beside its .cue, .toc, .nrg;
// any other name only as a sound NRG image), after checking its structure, and
// only through the driver of that format. A CUE or TOC sheet may need a staged
// copy, kept in *stage, which must outlive the handle. nullptr with a plain
// sentence naming the file and the fault in *error on failure.
CdIo_t* cd_open_image(const std::string& path, ImageStage* stage, std::string* error);
// Whether this process may open the drive's device node at all; a sentence in
// *error when not (a missing disc is no reason: that is the drive's state).
bool cd_drive_accessible(const std::string& path, std::string* error);
// Opens a drive's device node; nullptr with a sentence in *error on failure.
CdIo_t* cd_open_drive(const std::string& path, std::string* error);

// Routes libcdio's log into a per-thread "first problem" text instead of stderr.
// Safe to call any number of times.
void cd_quiet_log();
// The first warning or error libcdio logged on this thread since the last call; cleared by it.
std::string cd_take_log_message();

}  // namespace audio
