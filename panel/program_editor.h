// PROG mode: the listing of the current program in the display with its
// selection cursor, the statement keys with their pickers, and the dialogs
// that choose, create, copy, delete and run programs.
#pragma once
#include "engine/tokens.h"
#include "platform/surface.h"
#include "programs/interpreter.h"

namespace qx {

constexpr int LISTING_ROWS = 8;

// --- the listing ------------------------------------------------------------------
// Draws the listing into the display area (y 36..186) of the screen picture.
void paint_program_listing(Surface& s);
// A tap in PROG mode: true when it selected a listed statement.
bool program_listing_tap(int x, int y);
// Cursor down (+) or up (-) by 1, or by 10 with the blue shift.
void move_program_cursor(int delta);

// --- editing ----------------------------------------------------------------------
// Keys 2..17 of the program face (blue selects the second legend): moves the
// cursor, deletes, or asks the pickers and returns a statement code for
// insert_program_statement; -1 / -2 as the key decoder's results.
int program_face_statement_key(int key, bool blue);
// A statement code (6..17, 106..117, 217, 317, 417, 500..543) inserted at
// the cursor with the values last chosen in the pickers.
void insert_program_statement(int code);
void delete_program_statement();
// The alpha entry's text for kinds 2..7 (prompts, labels, texts, menu).
void program_text_statement(int kind, const char* text);
// Blue Copy: the selected expression statement into the input line.
void copy_statement_to_line();

// --- dialogs ------------------------------------------------------------------------
// "Select Program" (the PROG mode button).
void program_manager_dialog();
// "Select Program to Run": loads the chosen program; true when it is
// loaded with at least one statement (the caller starts it).
bool program_run_dialog();
// Alpha entry kinds 0 and 1: a new program, a copy of the chosen one.
void program_create(const char* name);
void program_copy(const char* name);
// The menu of a running program ("Menu Display"): index or -1.
int program_menu_dialog(const char* title, const MenuItem* items, int count);
// The description of a running program, read only.
void program_description_viewer(const char* stored);

// The pickers' last choices (a fresh calculator starts with zeros).
void reset_program_editor();

}  // namespace qx
