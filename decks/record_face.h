#pragma once
// The record button's face, which shows whether deck 2 records.

// 1 while deck 2 records.
extern int record_flag;

// Draws the lit record face while recording, else the button's up face; runs after
// every button drawing so the record button never stays in its down face.
void draw_record_button_face();
