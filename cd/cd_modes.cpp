// Random, Program, Edit and Repeat, and what ends an entry.
#include <cstdio>

#include "cd/cd_commands.h"
#include "cd/cd_deck.h"
#include "cd/cd_dialogs.h"
#include "cd/cd_display.h"
#include "cd/cd_random.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

void command(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

void show_figure(int x) { show_digits(x / 10000, x % 10000 / 100, x % 100); }

void stand_at(int track) {
  char text[32];
  std::snprintf(text, sizeof text, "seek cdaudio to %d", track);
  cd_send(text);
  draw_state_icon();
  draw_grid_and_title();
  show_position();
}

}  // namespace

LRESULT cd_random(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  cd.play_mode = cd.play_mode == kPlayRandom ? kPlayNormal : kPlayRandom;
  draw_mode_indicator();
  if (cd.play_mode == kPlayNormal) {
    cd.current = &cd.normal;
    command(CMD_CD_STOP);
    return 0;
  }
  command(CMD_CD_STOP);
  make_random_order(cd.track_count, GetTickCount(), &cd.random, show_figure);
  cd.current = &cd.random;
  show_digits(cd.random[0], 0, 0);
  command(CMD_CD_PLAY);
  return 0;
}

LRESULT cd_program(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  if (cd.program[0] == kEndOfList) {
    MessageBoxA(main_window, "No program list. Please edit first.", "Message", MB_OK);
    PostMessageA(main_window, WM_COMMAND, CMD_CD_PROGRAM_EDIT, 0);
    return 0;
  }
  cd.play_mode = cd.play_mode == kPlayProgram ? kPlayNormal : kPlayProgram;
  draw_mode_indicator();
  if (cd.play_mode == kPlayProgram) {
    command(CMD_CD_STOP);
    cd.current = &cd.program;
    show_digits(cd.program[0], 0, 0);
    command(CMD_CD_PLAY);
  } else {
    cd.current = &cd.normal;
    command(CMD_CD_STOP);
  }
  return 0;
}

LRESULT cd_edit(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  if (cd.play_mode == kPlayProgram) command(CMD_CD_PROGRAM_PLAY);
  run_program_editor(main_window);
  return 0;
}

LRESULT cd_repeat(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  cd.repeat_mode = (cd.repeat_mode + 1) % 3;
  draw_repeat_indicator();
  return 0;
}

LRESULT cd_end_of_entry(HWND, UINT, WPARAM, LPARAM) {
  if (!cd.ready) return 0;
  if (cd.play_failed) {
    cd.play_failed = 0;
    if (cd.repeat_mode == kRepeatOne) {
      stand_at(current_entry());
      return 0;
    }
  } else if (cd.repeat_mode == kRepeatOne) {
    command(CMD_CD_PLAY);
    return 0;
  }
  ++cd.index;
  if ((*cd.current)[cd.index] != kEndOfList) {
    command(CMD_CD_PLAY);
    return 0;
  }
  cd.index = 0;
  if (cd.repeat_mode != kRepeatOff)
    command(CMD_CD_PLAY);
  else
    stand_at((*cd.current)[0]);
  return 0;
}
