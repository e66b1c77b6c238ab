// "Setup Options", "Select Color" and the About box.
//
// Nothing the user does in Setup Options reaches the settings block before
// OK: the controls hold the choices, and the colour picker works on the two
// working copies, so Cancel (or closing the window) has nothing to undo.
// The boxes opened from Setup Options are drawn over it rather than over
// the face, so the user keeps seeing where they came from.
#include "dialogs/setup.h"

#include <algorithm>
#include <string>

#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {

std::int32_t colour_edit = 0xFFFFFF;
std::int32_t brightness_edit = 172;
bool editing_constants = false;

namespace {

using namespace dialog_layout;

// Setup Options.
constexpr int IDC_FLOAT = 1009;
constexpr int IDC_FIXED = 1000;
constexpr int IDC_SCIENTIFIC = 1001;
constexpr int IDC_ENGINEERING = 1002;
constexpr int IDC_DIGITS = 1007;
constexpr int IDC_MARK = 1008;
constexpr int IDC_COMPLEX = 1010;
constexpr int IDC_KEY_CLICK = 1036;
constexpr int IDC_ABOUT = 3;
constexpr int IDC_HELP = 4;
constexpr int IDC_EDIT_CONSTANTS = 5;
constexpr int IDC_SAVE_STATE = 6;
constexpr int IDC_LOAD_STATE = 7;
constexpr int IDC_DISPLAY_COLOR = 1107;

// Select Color.
constexpr int IDC_RED = 1006;
constexpr int IDC_GREEN = 1104;
constexpr int IDC_BLUE = 1105;
constexpr int IDC_BRIGHTNESS = 1106;
constexpr int IDC_PREVIEW = 1108;
constexpr int IDC_READOUT_FIRST = 1111;   // the number beside each slider

constexpr int kFormatGroup = 1;
constexpr int kMaxDigits = 10;
constexpr std::uint32_t kColourMask = 0xFFFFFF;

// The format radios by number format code (Float 0 .. Engineering 3).
constexpr int kFormatIds[4] = {IDC_FLOAT, IDC_FIXED, IDC_SCIENTIFIC, IDC_ENGINEERING};
const char* const kFormatNames[4] = {"Float", "Fixed", "Scientific", "Engineering"};

// --- Select Color ---------------------------------------------------------------------

// The preview, in client pixels: the text background with its sample text
// centred on x = 93.
constexpr int kPreviewLeft = 18, kPreviewTop = 12, kPreviewRight = 168, kPreviewBottom = 65;
constexpr int kPreviewCentre = 93;
constexpr int kColorWidth = 2 * kPreviewCentre;

struct Channel {
    int id;
    const char* name;
};
constexpr Channel kChannels[4] = {
    {IDC_RED, "Red"}, {IDC_GREEN, "Green"}, {IDC_BLUE, "Blue"}, {IDC_BRIGHTNESS, "Brightness"}};

std::int32_t slider_colour(const Dialog& d) {
    return d.get<Slider>(IDC_RED).value() + 256 * d.get<Slider>(IDC_GREEN).value() +
           65536 * d.get<Slider>(IDC_BLUE).value();
}

// Painted from the start, not only once a slider moves, so the user sees
// the colour being changed before changing it.
void paint_preview(Surface& s, const Rect& r) {
    fill_rect(s, static_cast<Colour>(colour_edit) & kColourMask, r.x, r.y, r.right(), r.bottom());
    const char* text = "Sample Text";
    const int x = r.x + (kPreviewCentre - kPreviewLeft) - text_width(FONT_DIALOG, text) / 2;
    const int y = r.y + (r.h - font_height(FONT_DIALOG)) / 2;
    draw_text(s, FONT_DIALOG, text, x, y, COLOUR_TEXT);
}

void show_readout(Dialog& d, int channel) {
    d.set_text(IDC_READOUT_FIRST + channel, std::to_string(d.get<Slider>(kChannels[channel].id).value()));
}

int select_color(const Surface& under) {
    const std::int32_t kept_colour = colour_edit;
    const std::int32_t kept_brightness = brightness_edit;

    const int lh = label_height();
    constexpr int label_w = 50, readout_w = 20;
    constexpr int slider_x = kMargin + 2 + label_w;
    constexpr int readout_x = kColorWidth - kMargin - 2 - readout_w;
    constexpr int slider_w = readout_x - kGap - slider_x;
    constexpr int frame_bottom = kPreviewBottom + 8;
    const int row_h = EDIT_HEIGHT + kGap;
    const int sliders_y = frame_bottom + kMargin + 2;
    const int buttons_y = sliders_y + 4 * row_h + kGap;

    Dialog d("Select Color", kColorWidth, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_group_box(0, {kPreviewLeft - 10, 0, kPreviewRight - kPreviewLeft + 21, frame_bottom},
                    "Text Background");
    d.add_custom(IDC_PREVIEW, {kPreviewLeft, kPreviewTop, kPreviewRight - kPreviewLeft + 1,
                               kPreviewBottom - kPreviewTop + 1})
        .on_paint(paint_preview);
    for (int k = 0; k < 4; ++k) {
        const int y = sliders_y + k * row_h;
        const int text_y = y + (EDIT_HEIGHT - lh) / 2 + 1;
        const std::string name = kChannels[k].name;
        d.add_static(0, {kMargin + 2, text_y, label_w, lh}, name + ":");
        d.add_slider(kChannels[k].id, {slider_x, y, slider_w, EDIT_HEIGHT}, 0, name).set_range(0, 255);
        d.add_static(IDC_READOUT_FIRST + k, {readout_x, text_y, readout_w, lh}, {}, Align::Right);
    }
    add_ok_cancel(d, kColorWidth, buttons_y);

    d.get<Slider>(IDC_RED).set_value(colour_edit & 0xFF);
    d.get<Slider>(IDC_GREEN).set_value((colour_edit >> 8) & 0xFF);
    d.get<Slider>(IDC_BLUE).set_value((colour_edit >> 16) & 0xFF);
    d.get<Slider>(IDC_BRIGHTNESS).set_value(brightness_edit);
    for (int k = 0; k < 4; ++k) show_readout(d, k);

    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (what != Notify::ValueChanged) return;
        for (int k = 0; k < 4; ++k)
            if (id == kChannels[k].id) show_readout(dlg, k);
        if (id == IDC_RED || id == IDC_GREEN || id == IDC_BLUE) {
            colour_edit = slider_colour(dlg);
            dlg.get<CustomArea>(IDC_PREVIEW).redraw();
        }
    });
    d.set_focus(IDC_RED);

    if (run_dialog(d, &under) == ID_OK) {
        colour_edit = slider_colour(d);
        brightness_edit = d.get<Slider>(IDC_BRIGHTNESS).value();
        return ID_OK;
    }
    colour_edit = kept_colour;
    brightness_edit = kept_brightness;
    return ID_CANCEL;
}

// --- About ------------------------------------------------------------------------------

void about(const Surface& under) {
    constexpr int width = 200;
    const int lh = label_height();
    const int inner = width - 2 * kMargin;
    const char* header = "Quorix v2.3";
    const std::string blurb =
        "A programmable graphing scientific calculator: expressions, plots, statistics, matrices, lists "
        "and programs on one small screen.";
    const int header_h = font_height(FONT_DIALOG) + 8;
    const int blurb_lines = static_cast<int>(wrap_text(FONT_DIALOG, blurb, inner).size());
    const int blurb_y = kMargin + header_h + kGap;
    const int ok_y = blurb_y + blurb_lines * lh + kMargin + 2;

    Dialog d("About Quorix", width, ok_y + BUTTON_HEIGHT + kMargin);
    // The header: the name in bold, set off by a rule.
    d.add_custom(0, {kMargin, kMargin, inner, header_h}, "Header").on_paint([header](Surface& s, const Rect& r) {
        const int x = r.x + (r.w - text_width_bold(FONT_DIALOG, header)) / 2;
        draw_text_bold(s, FONT_DIALOG, header, x, r.y + 1, COLOUR_TEXT);
        fill_rect(s, COLOUR_FACE_SHADOW, r.x, r.bottom() - 1, r.right(), r.bottom() - 1);
        fill_rect(s, COLOUR_FACE_LIGHT, r.x, r.bottom(), r.right(), r.bottom());
    });
    d.add_static(0, {kMargin, blurb_y, inner, blurb_lines * lh}, blurb, Align::Centre, true);
    d.add_button(ID_OK, {(width - kButtonWidth) / 2, ok_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    d.set_cancel_id(ID_OK);
    run_dialog(d, &under);
}

// --- Setup Options ----------------------------------------------------------------------

int checked_format(const Dialog& d) {
    for (int f = 0; f < 4; ++f)
        if (d.get<RadioButton>(kFormatIds[f]).checked()) return f;
    return FMT_FLOAT;
}

void commit(const Dialog& d) {
    Settings& s = g_settings;
    s.number_format = checked_format(d);
    s.key_click = d.get<CheckBox>(IDC_KEY_CLICK).checked() ? 1 : 0;
    s.decimal_digits = std::clamp(d.get<ComboBox>(IDC_DIGITS).selected(), 0, kMaxDigits);
    s.decimal_mark = std::clamp(d.get<ComboBox>(IDC_MARK).selected(), 0, 1);
    s.complex_format = std::clamp(d.get<ComboBox>(IDC_COMPLEX).selected(), 0, 2);
    s.display_color = static_cast<std::uint32_t>(colour_edit) & kColourMask;
    s.brightness = brightness_edit;
}

}  // namespace

int setup_options_dialog(const SetupActions& actions) {
    colour_edit = static_cast<std::int32_t>(g_settings.display_color & kColourMask);
    brightness_edit = g_settings.brightness;

    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const int lh = label_height();
    const int inner = width - 2 * kMargin;
    constexpr int radio_h = 16;
    const int radios_y = 2 + lh + 2;
    const int group_h = radios_y + 2 * radio_h + 2 + kGap;
    constexpr int list_label_w = 84;
    constexpr int list_x = kMargin + list_label_w + 2;
    const int list_w = width - kMargin - list_x;
    const int lists_y = 2 + group_h + kMargin;
    const int row_h = EDIT_HEIGHT + kGap;
    const int click_y = lists_y + 3 * row_h + 2;
    const int state_y = click_y + BUTTON_HEIGHT + 2 * kMargin;
    const int buttons_y = state_y + BUTTON_HEIGHT + kGap + 2;

    Dialog d("Setup Options", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_group_box(0, {kMargin, 2, inner, group_h}, "Format");
    const int column_w = (inner - 16) / 2;
    for (int f = 0; f < 4; ++f) {
        const Rect r{kMargin + 8 + (f % 2) * column_w, radios_y + (f / 2) * (radio_h + 2), column_w - 4, radio_h};
        d.add_radio(kFormatIds[f], r, kFormatNames[f], kFormatGroup, g_settings.number_format == f);
    }
    if (g_settings.number_format < 0 || g_settings.number_format > 3)
        d.get<RadioButton>(IDC_FLOAT).set_checked(true);

    struct ListRow {
        int id;
        const char* label;
    };
    const ListRow rows[3] = {{IDC_DIGITS, "Decimal Digits:"}, {IDC_MARK, "Decimal Mark:"},
                             {IDC_COMPLEX, "Complex Format:"}};
    for (int k = 0; k < 3; ++k) {
        const int y = lists_y + k * row_h;
        d.add_static(0, {kMargin, y + 3, list_label_w, lh}, rows[k].label);
        d.add_combo_box(rows[k].id, {list_x, y, list_w, EDIT_HEIGHT});
    }
    auto& digits = d.get<ComboBox>(IDC_DIGITS);
    for (int n = 0; n <= kMaxDigits; ++n) digits.add(std::to_string(n));
    digits.set_max_drop_rows(kMaxDigits + 1);
    digits.select(g_settings.decimal_digits);
    auto& mark = d.get<ComboBox>(IDC_MARK);
    mark.add("Dot(.)");
    mark.add("Comma(,)");
    mark.select(g_settings.decimal_mark);
    auto& complex = d.get<ComboBox>(IDC_COMPLEX);
    complex.add("Real only");
    complex.add("a+bi (rectangular)");
    complex.add(std::string("re^(") + '\x97' + "i) (polar)");
    complex.select(g_settings.complex_format);

    d.add_check_box(IDC_KEY_CLICK, {kMargin, click_y + 1, list_label_w, EDIT_HEIGHT}, "Key Click?",
                    g_settings.key_click != 0);
    d.add_button(IDC_DISPLAY_COLOR, {list_x, click_y, 88, BUTTON_HEIGHT}, "Display Color");

    // The buttons that leave the settings for other parts of the calculator,
    // set apart from the ones that end the dialog.
    // "Edit Constants" has the longest text: it gets the widest button.
    constexpr int constants_w = 84;
    const int state_w = (inner - constants_w - 2 * kGap) / 2;
    d.add_custom(0, {kMargin, state_y - kMargin - 1, inner, 2}).on_paint([](Surface& s, const Rect& r) {
        fill_rect(s, COLOUR_FACE_SHADOW, r.x, r.y, r.right(), r.y);
        fill_rect(s, COLOUR_FACE_LIGHT, r.x, r.y + 1, r.right(), r.y + 1);
    });
    d.add_button(IDC_SAVE_STATE, {kMargin, state_y, state_w, BUTTON_HEIGHT}, "Save State");
    d.add_button(IDC_LOAD_STATE, {kMargin + state_w + kGap, state_y, state_w, BUTTON_HEIGHT}, "Load State");
    d.add_button(IDC_EDIT_CONSTANTS, {width - kMargin - constants_w, state_y, constants_w, BUTTON_HEIGHT},
                 "Edit Constants");
    constexpr int small_w = 40;
    d.add_button(IDC_ABOUT, {kMargin, buttons_y, small_w, BUTTON_HEIGHT}, "About");
    d.add_button(IDC_HELP, {kMargin + small_w + kGap, buttons_y, small_w, BUTTON_HEIGHT}, "Help");
    add_ok_cancel(d, width, buttons_y);

    d.on_notify([&actions](Dialog& dlg, int id, Notify what) {
        if (what != Notify::Clicked) return;
        switch (id) {
            case IDC_ABOUT: about(dlg.frame()); break;
            case IDC_HELP:
                if (actions.open_help) actions.open_help();
                break;
            case IDC_DISPLAY_COLOR: select_color(dlg.frame()); break;
            case IDC_SAVE_STATE:
                if (actions.save_state) actions.save_state();
                break;
            case IDC_LOAD_STATE:
                // The loaded file's settings stand: the controls are not applied.
                if (actions.load_state && actions.load_state()) dlg.end(SETUP_LOAD_STATE);
                break;
            case IDC_EDIT_CONSTANTS:
                editing_constants = true;
                dlg.end(SETUP_EDIT_CONSTANTS);
                break;
            default: break;
        }
    });
    d.set_focus(ID_OK);

    const int end = run_dialog(d);
    if (end == SETUP_OK) commit(d);
    editing_constants = end == SETUP_EDIT_CONSTANTS;
    return end;
}

int select_color_dialog() { return select_color(ui().screen); }

void about_box() { about(ui().screen); }

}  // namespace qx
