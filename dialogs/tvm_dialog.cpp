// "Time Value of Money Solver" and its "Amortization Schedule".
//
// The fields show two decimals, but what they stand for is the full value:
// a field the user has not touched since the dialog filled it keeps the
// exact number behind its text, so a payment solved here and then used for
// the schedule still pays the loan off to the cent.
#include "dialogs/tvm_dialog.h"

#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/number_field.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/tvm.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int IDC_N = 1129;
constexpr int IDC_I = 1132;
constexpr int IDC_PV = 1078;
constexpr int IDC_PMT = 1016;
constexpr int IDC_FV = 1079;
constexpr int IDC_PY = 1017;
constexpr int IDC_CY = 1080;
constexpr int IDC_TIMING = 1133;
constexpr int IDC_SOLVE_N = 1124;
constexpr int IDC_SOLVE_I = 1125;
constexpr int IDC_SOLVE_PV = 1126;
constexpr int IDC_SOLVE_PMT = 1127;
constexpr int IDC_SOLVE_FV = 1128;
constexpr int IDC_SCHEDULE = 1107;
constexpr int IDC_DEFAULTS = 1140;
constexpr int IDC_EXIT = ID_OK;
constexpr int IDC_SCHEDULE_LIST = 1138;

struct FieldRow {
    int edit;
    const char* label;
    int solve;          // 0 for the fields that are never solved for
    const char* solve_text;
};
// In TvmField order.
constexpr FieldRow kRows[TVM_FIELD_COUNT] = {
    {IDC_N, "N", IDC_SOLVE_N, "Solve N"},
    {IDC_I, "I%", IDC_SOLVE_I, "Solve I%"},
    {IDC_PV, "PV", IDC_SOLVE_PV, "Solve PV"},
    {IDC_PMT, "PMT", IDC_SOLVE_PMT, "Solve PMT"},
    {IDC_FV, "FV", IDC_SOLVE_FV, "Solve FV"},
    {IDC_PY, "P/Y", 0, nullptr},
    {IDC_CY, "C/Y", 0, nullptr},
};

// An amount as the tool shows it: two decimals, the calculator's mark.
std::string money_text(double v) {
    if (v == UNDEFINED_VALUE) return "Error";
    std::string s = format_real(v, FMT_FIXED, 2, false);
    // A negative amount that rounds to nothing is nothing, not "-0.00".
    if (!s.empty() && s[0] == '-' && s.find_first_of("123456789") == std::string::npos) s.erase(0, 1);
    return s;
}

class Solver {
public:
    explicit Solver(Dialog& d) : d_(d) {
        for (int f = 0; f < TVM_FIELD_COUNT; ++f) fields_[f].id = kRows[f].edit;
    }

    void show() {
        for (int f = 0; f < TVM_FIELD_COUNT; ++f) fields_[f].show(d_, g_tvm.v[f], money_text(g_tvm.v[f]));
        d_.get<ComboBox>(IDC_TIMING).select(g_tvm.begin ? 1 : 0);
    }

    // A text left as the dialog wrote it keeps the value it was written
    // from; one that is no number keeps the value the field had.
    void read() {
        for (int f = 0; f < TVM_FIELD_COUNT; ++f) g_tvm.v[f] = fields_[f].read(d_, g_tvm.v[f]);
        g_tvm.begin = d_.get<ComboBox>(IDC_TIMING).selected() == 1;
    }

private:
    Dialog& d_;
    NumberField fields_[TVM_FIELD_COUNT] = {};
};

// --- Amortization Schedule --------------------------------------------------------------

// The columns' proportions, squeezed into the width the list has for them.
std::vector<Column> schedule_columns(int width) {
    const struct {
        const char* header;
        int width;
    } columns[] = {{"#", 30}, {"Principal", 56}, {"Interest", 56}, {"Balance", 90}};
    int total = 0;
    for (const auto& c : columns) total += c.width;
    std::vector<Column> out;
    int used = 0;
    for (const auto& c : columns) {
        const int w = c.width * width / total;
        out.push_back({c.header, w, Align::Right});
        used += w;
    }
    out.back().width += width - used;   // the rounding goes to the widest
    return out;
}

void schedule_dialog(const Surface& under) {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH;
    constexpr int margin = kMargin / 2;
    constexpr int button_w = 112;
    // The list is as tall as whole rows make it, so the last one shown is
    // not cut; its header strip is a row high plus a rule, and its frame a
    // pixel each side.
    constexpr int chrome = LIST_ROW_HEIGHT + 2 + 2;
    constexpr int room = DIALOG_MAX_CLIENT_HEIGHT - margin - 2 * kMargin - BUTTON_HEIGHT;
    constexpr int visible = (room - chrome) / LIST_ROW_HEIGHT;
    const Rect list{margin, margin, width - 2 * margin, chrome + visible * LIST_ROW_HEIGHT};
    const int button_y = list.bottom() + 1 + kMargin;

    const std::vector<AmortizationRow> rows = tvm_schedule(g_tvm);
    // The columns share what the frame and a scroll bar, when there is
    // one, leave of the list's width.
    const bool scrolls = static_cast<int>(rows.size()) > visible;
    const int columns_w = list.w - 2 - (scrolls ? SCROLL_BAR_WIDTH : 0);

    Dialog d("Amortization Schedule", width, button_y + BUTTON_HEIGHT + kMargin);
    ListView& view = d.add_list_view(IDC_SCHEDULE_LIST, list, schedule_columns(columns_w), "Schedule");
    for (std::size_t k = 0; k < rows.size(); ++k)
        view.add_row({std::to_string(k + 1), money_text(rows[k].principal), money_text(rows[k].interest),
                      money_text(rows[k].balance)});
    d.add_button(ID_OK, {(width - button_w) / 2, button_y, button_w, BUTTON_HEIGHT}, "Back to TVM Solver",
                 true);
    d.set_cancel_id(ID_OK);
    d.set_focus(IDC_SCHEDULE_LIST);
    run_dialog(d, &under);
}

// --- the solver -------------------------------------------------------------------------

TvmField solved_field(int button) {
    for (int f = TVM_N; f <= TVM_FV; ++f)
        if (kRows[f].solve == button) return static_cast<TvmField>(f);
    return TVM_FIELD_COUNT;
}

}  // namespace

void tvm_solver_dialog() {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const int lh = label_height();
    constexpr int label_w = 36;
    constexpr int edit_x = kMargin + label_w;
    constexpr int solve_x = width - kMargin - kButtonWidth;
    constexpr int edit_w = solve_x - kGap - edit_x;
    constexpr int row_h = BUTTON_HEIGHT + kGap;
    constexpr int timing_w = 64;
    const int timing_y = kMargin + TVM_FIELD_COUNT * row_h;
    const int rule_y = timing_y + row_h + kGap;
    const int buttons_y = rule_y + kMargin + 2;

    Dialog d("Time Value of Money Solver", width, buttons_y + BUTTON_HEIGHT + kMargin);
    EditOptions numeric;
    numeric.numeric = true;
    for (int f = 0; f < TVM_FIELD_COUNT; ++f) {
        const int y = kMargin + f * row_h;
        // Fields and labels centred on the button beside them.
        const int edit_y = y + (BUTTON_HEIGHT - EDIT_HEIGHT) / 2;
        d.add_static(0, {kMargin, edit_y + (EDIT_HEIGHT - lh) / 2 + 1, label_w, lh}, kRows[f].label);
        d.add_edit(kRows[f].edit, {edit_x, edit_y, edit_w, EDIT_HEIGHT}, {}, numeric);
        if (kRows[f].solve)
            d.add_button(kRows[f].solve, {solve_x, y, kButtonWidth, BUTTON_HEIGHT}, kRows[f].solve_text);
    }
    const int timing_edit_y = timing_y + (BUTTON_HEIGHT - EDIT_HEIGHT) / 2;
    d.add_static(0, {kMargin, timing_edit_y + (EDIT_HEIGHT - lh) / 2 + 1, label_w, lh}, "PMT @");
    ComboBox& timing = d.add_combo_box(IDC_TIMING, {edit_x, timing_edit_y, timing_w, EDIT_HEIGHT});
    timing.add("End");
    timing.add("Begin");

    // The buttons that act on every field, set apart from the rows.
    d.add_custom(0, {kMargin, rule_y, width - 2 * kMargin, 2}).on_paint([](Surface& s, const Rect& r) {
        fill_rect(s, COLOUR_FACE_SHADOW, r.x, r.y, r.right(), r.y);
        fill_rect(s, COLOUR_FACE_LIGHT, r.x, r.y + 1, r.right(), r.y + 1);
    });
    constexpr int exit_w = 48;
    constexpr int defaults_w = 56;
    constexpr int schedule_w = width - 2 * kMargin - exit_w - defaults_w - 2 * kGap;
    d.add_button(IDC_SCHEDULE, {kMargin, buttons_y, schedule_w, BUTTON_HEIGHT}, "Amortization Schedule");
    d.add_button(IDC_DEFAULTS, {kMargin + schedule_w + kGap, buttons_y, defaults_w, BUTTON_HEIGHT}, "Defaults");
    d.add_button(IDC_EXIT, {width - kMargin - exit_w, buttons_y, exit_w, BUTTON_HEIGHT}, "Exit");
    // No default button: Enter in a field must not close the solver.
    d.set_cancel_id(IDC_EXIT);

    Solver solver(d);
    solver.show();
    d.on_notify([&solver](Dialog& dlg, int id, Notify what) {
        if (what != Notify::Clicked || id == IDC_EXIT) return;
        solver.read();
        if (id == IDC_DEFAULTS) {
            g_tvm = tvm_defaults();
        } else if (id == IDC_SCHEDULE) {
            const ScheduleCheck check = tvm_schedule_check(g_tvm);
            if (check != ScheduleCheck::Ok) {
                // Over the solver, so the user still sees the values refused.
                if (Window* w = dlg.window())
                    message_box(*w, dlg.frame(), tvm_schedule_message(check), "Amortization Schedule",
                                BoxButtons::OK);
            } else {
                schedule_dialog(dlg.frame());
            }
        } else {
            const TvmField f = solved_field(id);
            if (f != TVM_FIELD_COUNT) tvm_solve(g_tvm, f);
        }
        solver.show();
    });
    d.set_focus(IDC_N);
    run_dialog(d);
}

}  // namespace qx
