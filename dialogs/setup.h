// "Setup Options" (number format, digits, decimal mark, complex format, key
// click, display colour), its colour picker "Select Color", and the About
// box.  Scripts name the controls by their texts: the radio buttons
// "Float" .. "Engineering", the lists "Decimal Digits", "Decimal Mark" and
// "Complex Format", the check box "Key Click?", the sliders "Red", "Green",
// "Blue" and "Brightness", and every button by its text.
#pragma once
#include <cstdint>

namespace qx {

enum SetupEnd { SETUP_OK = 1, SETUP_CANCEL = 2, SETUP_EDIT_CONSTANTS = 5, SETUP_LOAD_STATE = 7 };

// What the buttons that reach other parts of the calculator do.  The panel fills it.
struct SetupActions {
    void (*save_state)();   // "Save State": its file dialog; Setup Options stays open
    bool (*load_state)();   // "Load State": true when a state was loaded -> Setup Options ends with 7;
                            // false (the user cancelled or the file was refused, already told) -> stays open
    void (*open_help)();    // "Help"
};

// Working copies of the colour picker: taken from the settings when Setup
// Options opens and given back to them only by its OK.
extern std::int32_t colour_edit;
extern std::int32_t brightness_edit;
// The dialog ended through "Edit Constants" (the start-up settings are then
// written only after the constants editor).
extern bool editing_constants;

// The modal dialog; returns how it ended (1 OK, 2 Cancel, 5 Edit Constants, 7 Load State).
// On OK the settings block gets the number format, decimal digits, decimal mark, complex format,
// key click, display colour (= colour_edit, masked to 24 bits) and brightness (= brightness_edit).
// Repainting the face afterwards is the caller's.
int setup_options_dialog(const SetupActions& actions);
// 1 OK, 2 Cancel; edits only the working copies.
int select_color_dialog();
void about_box();

}  // namespace qx
