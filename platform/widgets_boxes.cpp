// Message boxes and the file chooser, built from the dialog widgets.
#include <algorithm>
#include <cctype>

#include "platform/files.h"
#include "platform/widgets.h"

namespace qx {

namespace {

std::string trimmed(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    std::size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

// The text on one log line: each line break becomes a blank.
std::string one_line(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += ' ';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

struct BoxButton {
    int id;
    const char* text;
};

std::vector<BoxButton> box_buttons(BoxButtons which) {
    switch (which) {
        case BoxButtons::OK: return {{ID_OK, "OK"}};
        case BoxButtons::OKCancel: return {{ID_OK, "OK"}, {ID_CANCEL, "Cancel"}};
        case BoxButtons::YesNo: return {{ID_YES, "Yes"}, {ID_NO, "No"}};
        case BoxButtons::YesNoCancel: return {{ID_YES, "Yes"}, {ID_NO, "No"}, {ID_CANCEL, "Cancel"}};
    }
    return {{ID_OK, "OK"}};
}

// What Escape (and closing the window) answers: Cancel, else No, else OK.
int escape_answer(const std::vector<BoxButton>& buttons) {
    int answer = buttons.front().id;
    for (const BoxButton& b : buttons) {
        if (b.id == ID_CANCEL) return ID_CANCEL;
        if (b.id == ID_NO) answer = ID_NO;
    }
    return answer;
}

constexpr int kBoxMaxClient = 218;   // a 220-px box with its frame
constexpr int kMargin = 10;
constexpr int kIconSize = 24;
constexpr int kIconGap = 10;
constexpr int kButtonGap = 6;

}  // namespace

int message_box(Window& w, const Surface& under, const std::string& text,
                const std::string& title, BoxButtons which, BoxIcon icon) {
    const std::vector<BoxButton> buttons = box_buttons(which);
    const int line_h = font_height(FONT_DIALOG);
    const int icon_w = icon == BoxIcon::None ? 0 : kIconSize + kIconGap;

    std::vector<std::string> lines =
        wrap_text(FONT_DIALOG, text, kBoxMaxClient - 2 * kMargin - icon_w);
    int text_w = 1;
    for (const std::string& l : lines) text_w = std::max(text_w, text_width(FONT_DIALOG, l.c_str()));

    int button_w = 56;
    for (const BoxButton& b : buttons)
        button_w = std::max(button_w, text_width(FONT_DIALOG, b.text) + 16);
    const int n = static_cast<int>(buttons.size());
    const int buttons_w = n * button_w + (n - 1) * kButtonGap;

    int cw = std::max({2 * kMargin + icon_w + text_w, buttons_w + 2 * kMargin,
                       text_width_bold(FONT_DIALOG, title.c_str()) + 16, 140});
    cw = std::min(cw, kBoxMaxClient);

    // Text taller than the screen allows goes into a scrolling field.
    const int chrome = kMargin + 12 + BUTTON_HEIGHT + 8;
    int text_h = static_cast<int>(lines.size()) * line_h;
    bool scrolls = std::max(text_h, icon_w ? kIconSize : 0) + chrome > DIALOG_MAX_CLIENT_HEIGHT;
    if (scrolls) text_h = DIALOG_MAX_CLIENT_HEIGHT - chrome;
    const int content_h = std::max(text_h, icon_w ? kIconSize : 0);
    const int ch = content_h + chrome;

    Dialog d(title, cw, ch);
    if (icon != BoxIcon::None) {
        CustomArea& a = d.add_custom(0, {kMargin, kMargin + (content_h - kIconSize) / 2, kIconSize, kIconSize});
        a.on_paint([icon](Surface& s, const Rect& r) { draw_box_icon(s, r.x, r.y, icon); });
    }
    Rect text_rect{kMargin + icon_w, kMargin + (content_h - text_h) / 2, cw - 2 * kMargin - icon_w, text_h};
    if (scrolls) {
        EditOptions o;
        o.read_only = true;
        o.multi_line = true;
        d.add_edit(0, text_rect, text, o);
    } else {
        bool centre = icon == BoxIcon::None && lines.size() == 1;
        d.add_static(0, text_rect, text, centre ? Align::Centre : Align::Left, true);
    }
    int x = (cw - buttons_w) / 2;
    const int y = ch - 8 - BUTTON_HEIGHT;
    for (int i = 0; i < n; ++i) {
        d.add_button(buttons[i].id, {x, y, button_w, BUTTON_HEIGHT}, buttons[i].text, i == 0);
        d.set_auto_end(buttons[i].id, true);
        x += button_w + kButtonGap;
    }
    const int escape = escape_answer(buttons);
    d.set_cancel_id(escape);
    d.set_focus(buttons.front().id);

    if (w.scripted()) {
        w.present(d.render(under));
        Button* b = d.default_button();
        ScriptedAnswer a;
        if (w.next_answer(a) && !trimmed(a.button).empty()) {
            if (Button* named = d.find_button(a.button))
                b = named;
            else
                w.log_line("box " + title + ": no button \"" + a.button + "\"");
        }
        w.log_line("box " + title + ": " + one_line(text) + " -> " + b->text());
        return b->id();
    }
    int result = d.run(w, under);
    // Closing the window answers as Escape does.
    bool known = false;
    for (const BoxButton& b : buttons) known = known || b.id == result;
    return known ? result : escape;
}

namespace {

// A folder path shortened at its start, where it says least.
std::string fit_path(const std::string& path, int width) {
    if (text_width(FONT_DIALOG, path.c_str()) <= width) return path;
    for (std::size_t cut = 1; cut < path.size(); ++cut) {
        std::string t = "..." + path.substr(cut);
        if (text_width(FONT_DIALOG, t.c_str()) <= width) return t;
    }
    return "...";
}

enum { kList = 10, kName = 11 };

}  // namespace

bool choose_file(Window& w, const Surface& under, const std::string& title,
                 const std::string& folder, const std::string& pattern, bool for_save,
                 std::string& path) {
    const std::vector<std::string> files = list_folder(folder, pattern);
    const int cw = DIALOG_MAX_CLIENT_WIDTH, ch = 272;
    Dialog d(title, cw, ch);
    d.add_static(0, {6, 4, cw - 12, 14}, fit_path(folder, cw - 12));
    ListBox& list = d.add_list_box(kList, {6, 20, cw - 12, 13 * LIST_ROW_HEIGHT + 2}, "Files");
    for (const std::string& f : files) list.add(f);
    const int row = 20 + 13 * LIST_ROW_HEIGHT + 2 + 8;
    d.add_static(0, {6, row, 36, EDIT_HEIGHT}, "Name:");
    Edit& name = d.add_edit(kName, {44, row, cw - 50, EDIT_HEIGHT});
    const int by = ch - 8 - BUTTON_HEIGHT;
    d.add_button(ID_OK, {cw - 2 * 64 - 6, by, 60, BUTTON_HEIGHT}, "OK", true);
    d.add_button(ID_CANCEL, {cw - 64 - 2, by, 60, BUTTON_HEIGHT}, "Cancel");
    d.set_auto_end(ID_OK, false);
    d.set_focus(kName);

    // The name decides; false (with the reason shown) when it will not do.
    auto accept = [&](Dialog& dlg) {
        std::string n = trimmed(dlg.text(kName));
        std::string why;
        if (n.empty())
            why = "Please enter a file name.";
        else if (n.find('/') != std::string::npos)
            why = "A file name cannot contain \"/\".";
        else if (!for_save && !file_exists(join_path(folder, n)))
            why = "There is no file \"" + n + "\" in this folder.";
        if (!why.empty()) {
            message_box(w, dlg.frame(), why, title, BoxButtons::OK, BoxIcon::Warning);
            return;
        }
        path = join_path(folder, n);
        dlg.end(ID_OK);
    };
    d.on_notify([&](Dialog& dlg, int id, Notify what) {
        if (id == kList && what == Notify::SelectionChanged) {
            dlg.set_text(kName, dlg.get<ListBox>(kList).item_text(dlg.get<ListBox>(kList).selected()));
        } else if (id == kList && what == Notify::Activated) {
            accept(dlg);
        } else if (id == kName && what == Notify::TextChanged) {
            // The list follows a typed name that it holds.
            ListBox& l = dlg.get<ListBox>(kList);
            l.select(l.find(trimmed(dlg.text(kName))));
        } else if (id == ID_OK && what == Notify::Clicked) {
            accept(dlg);
        }
    });

    if (w.scripted()) {
        // Scripts name the file directly: a path, or a name in the folder.
        ScriptedAnswer a;
        bool have = w.next_answer(a);
        std::string value;
        for (const auto& [field, v] : a.fields) {
            const std::string f = script_name(field);
            if (f == "file" || f == "name") value = trimmed(v);
            else w.log_line("dialog " + title + ": no control \"" + field + "\"");
        }
        name.set_text(value);
        list.select(list.find(value));
        w.present(d.render(under));
        Button* b = d.find_button(have && !trimmed(a.button).empty() ? a.button : "#1");
        if (!b) {
            w.log_line("dialog " + title + ": no button \"" + a.button + "\"");
            b = d.find_button("#1");
        }
        w.log_line("dialog " + title + " -> " + b->text());
        if (b->id() != ID_OK) return false;
        if (value.empty() || value.back() == '/') {
            w.log_line("dialog " + title + ": no file name");
            return false;
        }
        std::string full = value.find('/') != std::string::npos ? value : join_path(folder, value);
        if (!for_save && !file_exists(full)) {
            w.log_line("dialog " + title + ": no file \"" + full + "\"");
            return false;
        }
        path = full;
        return true;
    }
    return d.run(w, under) == ID_OK;
}

}  // namespace qx
