// Dialogs, controls and message boxes, driven through a fake window: either
// scripted (queued answers) or event-driven (queued stylus and key events).
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/widgets.h"

namespace qx {
namespace {

class FakeWindow : public Window {
public:
    explicit FakeWindow(bool scripted = false) : scripted_(scripted) {}

    std::deque<Event> events;
    std::deque<ScriptedAnswer> answers;
    std::vector<std::string> log;
    Surface last;
    int presents = 0;
    int sleeps = 0;
    std::uint32_t clock = 1000;
    std::string clip;

    bool poll_event(Event& e) override {
        while (!events.empty() && events.front().type == EventType::None) {
            clock += static_cast<std::uint32_t>(events.front().x);   // a pause
            events.pop_front();
        }
        if (events.empty()) {
            // A dialog the events did not end would wait for ever: close it,
            // so a failing test fails instead of hanging.
            if (++idle_ > 500) {
                e = Event{};
                e.type = EventType::Quit;
                return true;
            }
            return false;
        }
        e = events.front();
        events.pop_front();
        clock += 5;
        return true;
    }
    void present(const Surface& frame) override {
        last = frame;
        ++presents;
    }
    void set_title(const std::string&) override {}
    std::string title() const override { return {}; }
    void capture_stylus(bool) override {}
    std::uint32_t ticks_ms() override { return clock; }
    std::int64_t wall_seconds() override { return 0; }
    void sleep_ms(int ms) override {
        clock += static_cast<std::uint32_t>(ms);
        ++sleeps;
    }
    bool scripted() const override { return scripted_; }
    bool next_answer(ScriptedAnswer& a) override {
        if (answers.empty()) return false;
        a = answers.front();
        answers.pop_front();
        return true;
    }
    void log_line(const std::string& line) override { log.push_back(line); }
    void set_clipboard(const std::string& text) override { clip = text; }
    std::string clipboard() override { return clip; }

    void stylus(EventType t, int x, int y) {
        Event e;
        e.type = t;
        e.x = x;
        e.y = y;
        events.push_back(e);
    }
    void tap(int x, int y) {
        stylus(EventType::StylusDown, x, y);
        stylus(EventType::StylusUp, x, y);
    }
    void tap(const Dialog& d, int id) {
        Rect r = d.to_screen(d.control(id).rect());
        tap(r.x + r.w / 2, r.y + r.h / 2);
    }
    void key(int k, int mods = 0) {
        Event e;
        e.type = EventType::KeyDown;
        e.key = k;
        e.mods = mods;
        events.push_back(e);
    }
    void type(const std::string& text) {
        for (char c : text) {
            Event e;
            e.type = EventType::Text;
            e.text[0] = c;
            events.push_back(e);
        }
    }
    void pause(int ms) {
        Event e;
        e.type = EventType::None;
        e.x = ms;
        events.push_back(e);
    }
    void quit() {
        Event e;
        e.type = EventType::Quit;
        events.push_back(e);
    }
    void answer(const std::string& button,
                std::vector<std::pair<std::string, std::string>> fields = {}) {
        answers.push_back({button, std::move(fields)});
    }

private:
    bool scripted_;
    int idle_ = 0;
};

const Surface kUnder(SCREEN_WIDTH, SCREEN_HEIGHT, rgb(255, 0, 255));

struct Heard {
    int id;
    Notify what;
    bool operator==(const Heard&) const = default;
};

// The ids of the form every scripted and event test below uses.
enum {
    kName = 10, kAngle = 11, kGrid = 12, kDots = 13, kLines = 14, kRed = 15, kSteps = 16,
    kStepsUD = 17, kList = 18, kView = 19, kScroll = 20, kApply = 21, kHidden = 22, kOff = 23,
    kSize = 24, kSmall = 25, kLarge = 26,
};

// A form with one control of every kind that takes a value.
struct Form {
    Dialog d{"Settings", 238, 290};
    std::vector<Heard> heard;

    Form() {
        d.add_static(0, {4, 4, 50, 18}, "&Name:");
        d.add_edit(kName, {60, 4, 100, EDIT_HEIGHT});
        d.add_static(0, {4, 26, 50, 18}, "Angle:");
        ComboBox& c = d.add_combo_box(kAngle, {60, 26, 100, EDIT_HEIGHT});
        for (const char* t : {"Degrees", "Radians", "Grads"}) c.add(t);
        c.select(0);
        d.add_check_box(kGrid, {4, 48, 100, 16}, "Show &grid");
        d.add_radio(kDots, {4, 66, 60, 16}, "Dots", 1);
        d.add_radio(kLines, {70, 66, 60, 16}, "Lines", 1, true);
        d.add_radio(kSmall, {4, 84, 60, 16}, "Small", 2, true);
        d.add_radio(kLarge, {70, 84, 60, 16}, "Large", 2);
        d.add_static(0, {4, 102, 30, 16}, "Red");
        d.add_slider(kRed, {40, 102, 120, 16}, 10);
        d.add_static(0, {4, 122, 40, 18}, "Steps:");
        d.add_edit(kSteps, {50, 122, 40, EDIT_HEIGHT}, "", EditOptions{.numeric = true});
        d.add_up_down(kStepsUD, {90, 122, 12, EDIT_HEIGHT}, 1, 9, 3, kSteps);
        d.add_static(0, {4, 144, 40, 14}, "Files");
        ListBox& l = d.add_list_box(kList, {4, 160, 110, 4 * LIST_ROW_HEIGHT + 2});
        for (const char* t : {"alpha", "beta", "gamma", "delta", "epsilon", "zeta"}) l.add(t);
        d.add_list_view(kView, {120, 144, 110, 60}, {{"Name", 60}, {"Size", 40, Align::Right}}, "Table");
        d.get<ListView>(kView).add_row({"one", "1"});
        d.get<ListView>(kView).add_row({"two", "2"});
        d.add_scroll_bar(kScroll, {220, 4, SCROLL_BAR_WIDTH, 100}, 0, 99, 10, 0, "Position");
        d.add_button(kHidden, {4, 230, 60, BUTTON_HEIGHT}, "Hidden").hide();
        d.add_button(kOff, {70, 230, 60, BUTTON_HEIGHT}, "Off").disable();
        d.add_button(kApply, {4, 262, 60, BUTTON_HEIGHT}, "&Apply");
        d.add_button(ID_OK, {104, 262, 60, BUTTON_HEIGHT}, "OK", true);
        d.add_button(ID_CANCEL, {170, 262, 60, BUTTON_HEIGHT}, "Cancel");
        d.on_notify([this](Dialog&, int id, Notify what) { heard.push_back({id, what}); });
    }
    bool heard_of(int id, Notify what) const {
        for (const Heard& h : heard)
            if (h.id == id && h.what == what) return true;
        return false;
    }
};

// ---------------------------------------------------------------------------
// Scripted answers
// ---------------------------------------------------------------------------

TEST(DialogScripted, FieldsSetByLabelAsAUserWould) {
    struct Case {
        const char* field;
        const char* value;
        int id;
        Notify what;
        std::function<bool(Dialog&)> check;
    };
    const Case cases[] = {
        {"Name", "Alpha", kName, Notify::TextChanged, [](Dialog& d) { return d.text(kName) == "Alpha"; }},
        {" &name : ", "x", kName, Notify::TextChanged, [](Dialog& d) { return d.text(kName) == "x"; }},
        {"Angle", "RADIANS", kAngle, Notify::SelectionChanged,
         [](Dialog& d) { return d.get<ComboBox>(kAngle).selected() == 1; }},
        {"angle:", "#2", kAngle, Notify::SelectionChanged,
         [](Dialog& d) { return d.get<ComboBox>(kAngle).selected() == 2; }},
        {"Show grid", "yes", kGrid, Notify::Clicked, [](Dialog& d) { return d.get<CheckBox>(kGrid).checked(); }},
        {"show grid", "ON", kGrid, Notify::Clicked, [](Dialog& d) { return d.get<CheckBox>(kGrid).checked(); }},
        {"Dots", "1", kDots, Notify::Clicked,
         [](Dialog& d) {
             return d.get<RadioButton>(kDots).checked() && !d.get<RadioButton>(kLines).checked() &&
                    d.get<RadioButton>(kSmall).checked();
         }},
        {"Red", "200", kRed, Notify::ValueChanged, [](Dialog& d) { return d.get<Slider>(kRed).value() == 200; }},
        {"red", "999", kRed, Notify::ValueChanged, [](Dialog& d) { return d.get<Slider>(kRed).value() == 255; }},
        {"Steps", "7", kStepsUD, Notify::ValueChanged,
         [](Dialog& d) { return d.get<UpDown>(kStepsUD).value() == 7 && d.text(kSteps) == "7"; }},
        {"Files", "Gamma", kList, Notify::SelectionChanged,
         [](Dialog& d) { return d.get<ListBox>(kList).selected() == 2; }},
        {"Table", "two", kView, Notify::SelectionChanged,
         [](Dialog& d) { return d.get<ListView>(kView).selected() == 1; }},
        {"Position", "42", kScroll, Notify::ValueChanged,
         [](Dialog& d) { return d.get<ScrollBar>(kScroll).position() == 42; }},
        {"#15", "3", kRed, Notify::ValueChanged, [](Dialog& d) { return d.get<Slider>(kRed).value() == 3; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.value);
        Form f;
        FakeWindow w(true);
        w.answer("OK", {{c.field, c.value}});
        EXPECT_EQ(f.d.run(w, kUnder), ID_OK);
        EXPECT_TRUE(c.check(f.d));
        EXPECT_TRUE(f.heard_of(c.id, c.what));
        EXPECT_TRUE(f.heard_of(ID_OK, Notify::Clicked));
        ASSERT_EQ(w.log.size(), 1u);
        EXPECT_EQ(w.log[0], "dialog Settings -> OK");
        EXPECT_EQ(w.presents, 1);
    }
}

TEST(DialogScripted, UnknownNamesAndBadValuesAreLoggedAndTheDefaultPressed) {
    struct Case {
        const char* button;
        std::vector<std::pair<std::string, std::string>> fields;
        std::vector<std::string> log;
        int code;
    };
    const Case cases[] = {
        {"Cancel", {}, {"dialog Settings -> Cancel"}, ID_CANCEL},
        {"#2", {}, {"dialog Settings -> Cancel"}, ID_CANCEL},
        {"", {}, {"dialog Settings -> OK"}, ID_OK},
        {"Later", {}, {"dialog Settings: no button \"Later\"", "dialog Settings -> OK"}, ID_OK},
        {"Cancel", {{"Colour", "red"}}, {"dialog Settings: no control \"Colour\"", "dialog Settings -> OK"}, ID_OK},
        {"Cancel", {{"Angle", "Turns"}},
         {"dialog Settings: bad value \"Turns\" for \"Angle\"", "dialog Settings -> OK"}, ID_OK},
        {"Cancel", {{"Steps", "abc"}},
         {"dialog Settings: bad value \"abc\" for \"Steps\"", "dialog Settings -> OK"}, ID_OK},
        {"Cancel", {{"Show grid", "maybe"}},
         {"dialog Settings: bad value \"maybe\" for \"Show grid\"", "dialog Settings -> OK"}, ID_OK},
        {"Off", {}, {"dialog Settings: button \"Off\" is unavailable", "dialog Settings -> OK"}, ID_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Form f;
        FakeWindow w(true);
        w.answer(c.button, c.fields);
        EXPECT_EQ(f.d.run(w, kUnder), c.code);
        EXPECT_EQ(w.log, c.log);
    }
}

TEST(DialogScripted, WithoutAnAnswerTheDefaultButtonIsPressed) {
    Form f;
    FakeWindow w(true);
    EXPECT_EQ(f.d.run(w, kUnder), ID_OK);
    EXPECT_TRUE(f.heard_of(ID_OK, Notify::Clicked));
    EXPECT_EQ(w.log, std::vector<std::string>{"dialog Settings -> OK"});
}

TEST(DialogScripted, AButtonThatLeavesTheDialogOpenTakesTheNextAnswer) {
    Form f;
    int applied = 0;
    f.d.on_notify([&](Dialog& d, int id, Notify what) {
        if (id == kApply && what == Notify::Clicked) applied = d.get<Slider>(kRed).value();
    });
    FakeWindow w(true);
    w.answer("Apply", {{"Red", "77"}});
    w.answer("Cancel");
    EXPECT_EQ(f.d.run(w, kUnder), ID_CANCEL);
    EXPECT_EQ(applied, 77);
    EXPECT_EQ(w.log, (std::vector<std::string>{"dialog Settings -> Apply", "dialog Settings -> Cancel"}));
}

TEST(DialogScripted, EndlessApplyIsCutOffWithTheDefaultId) {
    Form f;
    FakeWindow w(true);
    for (int i = 0; i < 150; ++i) w.answer("Apply");
    EXPECT_EQ(f.d.run(w, kUnder), ID_OK);
    EXPECT_EQ(w.log.size(), 100u);
    EXPECT_EQ(w.answers.size(), 150u - 100u);
}

TEST(DialogScripted, ApplyWithNoMoreAnswersEndsWithTheDefaultId) {
    Form f;
    FakeWindow w(true);
    w.answer("Apply");
    EXPECT_EQ(f.d.run(w, kUnder), ID_OK);
    EXPECT_FALSE(f.heard_of(ID_OK, Notify::Clicked));
}

TEST(DialogScripted, NoButtonsAndNoAnswerStillEnds) {
    Dialog d("Plot", 100, 60);
    d.add_custom(1, {0, 0, 100, 60});
    FakeWindow w(true);
    EXPECT_EQ(d.run(w, kUnder), ID_CANCEL);
    EXPECT_EQ(w.log, std::vector<std::string>{"dialog Plot -> (none)"});
    EXPECT_EQ(w.presents, 1);
}

TEST(DialogScripted, InitRunsBeforeThePaintAndTheAnswer) {
    Form f;
    std::vector<std::string> order;
    f.d.on_init([&](Dialog& d) {
        order.push_back("init");
        d.set_text(kName, "from init");
    });
    FakeWindow w(true);
    w.answer("OK");
    f.d.run(w, kUnder);
    EXPECT_EQ(order, std::vector<std::string>{"init"});
    EXPECT_EQ(f.d.text(kName), "from init");
}

TEST(DialogScripted, OwnerSettersDoNotNotify) {
    Form f;
    f.d.set_text(kName, "quiet");
    f.d.get<ComboBox>(kAngle).select(2);
    f.d.get<CheckBox>(kGrid).set_checked(true);
    f.d.get<Slider>(kRed).set_value(100);
    f.d.get<UpDown>(kStepsUD).set_value(5);
    EXPECT_TRUE(f.heard.empty());
    EXPECT_EQ(f.d.text(kSteps), "5");
}

// ---------------------------------------------------------------------------
// Message boxes
// ---------------------------------------------------------------------------

TEST(MessageBox, ScriptedAnswersAndLog) {
    struct Case {
        BoxButtons buttons;
        const char* answer;   // nullptr: nothing queued
        int result;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {BoxButtons::OK, nullptr, ID_OK, {"box Save: File saved. Really. -> OK"}},
        {BoxButtons::OKCancel, "cancel", ID_CANCEL, {"box Save: File saved. Really. -> Cancel"}},
        {BoxButtons::YesNo, nullptr, ID_YES, {"box Save: File saved. Really. -> Yes"}},
        {BoxButtons::YesNo, "NO", ID_NO, {"box Save: File saved. Really. -> No"}},
        {BoxButtons::YesNoCancel, "Cancel", ID_CANCEL, {"box Save: File saved. Really. -> Cancel"}},
        {BoxButtons::YesNo, "Maybe", ID_YES,
         {"box Save: no button \"Maybe\"", "box Save: File saved. Really. -> Yes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? c.answer : "(none)");
        FakeWindow w(true);
        if (c.answer) w.answer(c.answer);
        EXPECT_EQ(message_box(w, kUnder, "File saved.\nReally.", "Save", c.buttons, BoxIcon::Question), c.result);
        EXPECT_EQ(w.log, c.log);
        EXPECT_EQ(w.presents, 1);
    }
}

TEST(MessageBox, KeysAndQuit) {
    struct Case {
        BoxButtons buttons;
        int key;   // KEY_NONE: a Quit event
        int result;
    };
    const Case cases[] = {
        {BoxButtons::OK, KEY_RETURN, ID_OK},         {BoxButtons::OK, KEY_ESCAPE, ID_OK},
        {BoxButtons::OKCancel, KEY_RETURN, ID_OK},   {BoxButtons::OKCancel, KEY_ESCAPE, ID_CANCEL},
        {BoxButtons::YesNo, KEY_RETURN, ID_YES},     {BoxButtons::YesNo, KEY_ESCAPE, ID_NO},
        {BoxButtons::YesNoCancel, KEY_ESCAPE, ID_CANCEL}, {BoxButtons::YesNo, KEY_NONE, ID_NO},
        {BoxButtons::OKCancel, KEY_NONE, ID_CANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        FakeWindow w;
        if (c.key == KEY_NONE) w.quit();
        else w.key(c.key);
        EXPECT_EQ(message_box(w, kUnder, "Continue?", "Question", c.buttons), c.result);
        clear_quit_request();
    }
}

TEST(MessageBox, LongTextWrapsInsideABoxCentredOnTheScreen) {
    FakeWindow w;
    w.key(KEY_RETURN);
    std::string text = "This message is far too long to stand on a single line of the box, so it wraps.";
    message_box(w, kUnder, text, "Note", BoxButtons::OK, BoxIcon::Information);
    // Find the box from the frame: the rows and columns that changed.
    int left = SCREEN_WIDTH, right = -1, top = SCREEN_HEIGHT, bottom = -1;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if (w.last.get(x, y) == COLOUR_DIALOG_FRAME) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_LE(right - left + 1, 222);
    EXPECT_GT(right - left + 1, 150);
    EXPECT_NEAR(left, SCREEN_WIDTH - 1 - right, 1);
    EXPECT_NEAR(top, SCREEN_HEIGHT - 1 - bottom, 1);
    EXPECT_GT(bottom - top, 2 * font_height(FONT_DIALOG) + BUTTON_HEIGHT + DIALOG_TITLE_HEIGHT);
}

// ---------------------------------------------------------------------------
// Event-driven
// ---------------------------------------------------------------------------

TEST(DialogEvents, ButtonsAndKeysEndTheDialog) {
    struct Case {
        const char* name;
        std::function<void(FakeWindow&, Dialog&)> input;
        int code;
    };
    const Case cases[] = {
        {"tap OK", [](FakeWindow& w, Dialog& d) { w.tap(d, ID_OK); }, ID_OK},
        {"tap Cancel", [](FakeWindow& w, Dialog& d) { w.tap(d, ID_CANCEL); }, ID_CANCEL},
        {"Enter", [](FakeWindow& w, Dialog&) { w.key(KEY_RETURN); }, ID_OK},
        {"Escape", [](FakeWindow& w, Dialog&) { w.key(KEY_ESCAPE); }, ID_CANCEL},
        {"Quit", [](FakeWindow& w, Dialog&) { w.quit(); }, ID_CANCEL},
        {"Tab to Cancel, Space",
         [](FakeWindow& w, Dialog&) {
             w.key(KEY_TAB);
             w.key(KEY_SPACE);
         },
         ID_CANCEL},
        {"slide off the button before lifting",
         [](FakeWindow& w, Dialog& d) {
             Rect r = d.to_screen(d.control(ID_OK).rect());
             w.stylus(EventType::StylusDown, r.x + 5, r.y + 5);
             w.stylus(EventType::StylusMove, r.x - 30, r.y + 5);
             w.stylus(EventType::StylusUp, r.x - 30, r.y + 5);
             w.key(KEY_ESCAPE);
         },
         ID_CANCEL},
        {"hidden button takes no tap",
         [](FakeWindow& w, Dialog& d) {
             w.tap(d, kHidden);
             w.key(KEY_ESCAPE);
         },
         ID_CANCEL},
        {"disabled button takes no tap",
         [](FakeWindow& w, Dialog& d) {
             w.tap(d, kOff);
             w.key(KEY_ESCAPE);
         },
         ID_CANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form f;
        f.d.set_focus(ID_OK);
        FakeWindow w;
        c.input(w, f.d);
        EXPECT_EQ(f.d.run(w, kUnder), c.code);
        EXPECT_FALSE(f.heard_of(kHidden, Notify::Clicked));
        EXPECT_FALSE(f.heard_of(kOff, Notify::Clicked));
        EXPECT_GE(w.presents, 1);
        EXPECT_EQ(quit_requested(), std::string(c.name) == "Quit");
        clear_quit_request();
    }
}

TEST(DialogEvents, OwnerCanKeepTheDialogOpen) {
    Form f;
    f.d.set_auto_end(ID_OK, false);
    int oks = 0;
    f.d.on_notify([&](Dialog& d, int id, Notify what) {
        if (id == ID_OK && what == Notify::Clicked && ++oks == 2) d.end(42);
    });
    FakeWindow w;
    w.tap(f.d, ID_OK);
    w.tap(f.d, ID_OK);
    EXPECT_EQ(f.d.run(w, kUnder), 42);
    EXPECT_EQ(oks, 2);
}

TEST(DialogEvents, TypingIntoEditFields) {
    struct Case {
        const char* name;
        EditOptions options;
        std::function<void(FakeWindow&)> input;
        const char* text;
    };
    const Case cases[] = {
        {"plain", {}, [](FakeWindow& w) { w.type("Hello"); }, "Hello"},
        {"numeric refuses letters", {.numeric = true}, [](FakeWindow& w) { w.type("-1.5xE+3a,2"); }, "-1.5E+3,2"},
        {"max length", {.max_length = 4}, [](FakeWindow& w) { w.type("abcdef"); }, "abcd"},
        {"read-only", {.read_only = true}, [](FakeWindow& w) { w.type("abc"); }, "start"},
        {"backspace and delete",
         {},
         [](FakeWindow& w) {
             w.key(KEY_BACKSPACE);
             w.key(KEY_HOME);
             w.key(KEY_DELETE);
             w.key(KEY_RIGHT);
             w.type("X");
         },
         "tXar"},
        {"home, end, left",
         {},
         [](FakeWindow& w) {
             w.key(KEY_HOME);
             w.type("<");
             w.key(KEY_END);
             w.key(KEY_LEFT);
             w.type(">");
         },
         "<star>t"},
        {"copy and paste",
         {},
         [](FakeWindow& w) {
             w.key(KEY_LETTER_C, MOD_CTRL);
             w.key(KEY_LETTER_V, MOD_CTRL);
         },
         "startstart"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d("Edit", 200, 60);
        d.add_edit(1, {4, 4, 190, EDIT_HEIGHT}, c.options.read_only ? "start" : "", c.options);
        if (!c.options.read_only) d.set_text(1, std::string(c.name).find("numeric") == 0 ||
                                                        std::string(c.name).find("max") == 0 ||
                                                        std::string(c.name) == "plain"
                                                    ? ""
                                                    : "start");
        d.add_button(ID_OK, {4, 30, 60, BUTTON_HEIGHT}, "OK", true);
        int changes = 0;
        d.on_notify([&](Dialog&, int id, Notify what) { changes += id == 1 && what == Notify::TextChanged; });
        FakeWindow w;
        c.input(w);
        w.key(KEY_RETURN);
        EXPECT_EQ(d.run(w, kUnder), ID_OK);
        EXPECT_EQ(d.text(1), c.text);
        EXPECT_EQ(changes > 0, std::string(c.text) != "start");
    }
}

TEST(DialogEvents, TapPlacesTheCaretAndLongTextScrolls) {
    Dialog d("Edit", 200, 60);
    Edit& e = d.add_edit(1, {4, 4, 60, EDIT_HEIGHT}, "0123456789");
    FakeWindow w;
    Rect r = d.to_screen(e.rect());
    w.tap(r.x + 1, r.y + 5);   // before the first character
    w.type("a");
    w.key(KEY_END);
    w.type("bcdefghijklmnop");
    w.key(KEY_ESCAPE);
    d.run(w, kUnder);
    EXPECT_EQ(e.text(), "a0123456789bcdefghijklmnop");
    EXPECT_EQ(e.caret(), static_cast<int>(e.text().size()));
    // The caret at the end is drawn inside the field, not clipped away.
    const Surface& f = d.render(kUnder);
    int caret_columns = 0;
    for (int x = r.x + 2; x < r.right() - 1; ++x) {
        bool column = true;
        for (int y = r.y + 4; y < r.y + 12; ++y) column = column && f.get(x, y) == COLOUR_TEXT;
        caret_columns += column;
    }
    EXPECT_GE(caret_columns, 1);
}

TEST(DialogEvents, ListSelectionByTapKeysAndDoubleTap) {
    Form f;
    ListBox& l = f.d.get<ListBox>(kList);
    Rect r = f.d.to_screen(l.rect());
    auto row_y = [&](int row) { return r.y + 1 + row * LIST_ROW_HEIGHT + LIST_ROW_HEIGHT / 2; };
    FakeWindow w;
    w.tap(r.x + 20, row_y(1));   // beta
    w.key(KEY_DOWN);             // gamma
    w.key(KEY_DOWN);             // delta
    w.key(KEY_DOWN);             // epsilon: scrolls
    w.key(KEY_END);              // zeta
    w.key(KEY_ESCAPE);
    f.d.run(w, kUnder);
    EXPECT_EQ(l.selected(), 5);
    EXPECT_EQ(l.text(), "zeta");
    EXPECT_EQ(l.top_index(), 2);
    EXPECT_FALSE(f.heard_of(kList, Notify::Activated));

    struct Case {
        int pause;
        bool activated;
    };
    for (const Case c : {Case{50, true}, Case{600, false}}) {
        SCOPED_TRACE(c.pause);
        Form g;
        FakeWindow w2;
        w2.tap(r.x + 20, row_y(0));
        w2.pause(c.pause);
        w2.tap(r.x + 20, row_y(0));
        w2.key(KEY_ESCAPE);
        g.d.run(w2, kUnder);
        EXPECT_EQ(g.d.get<ListBox>(kList).selected(), 0);
        EXPECT_EQ(g.heard_of(kList, Notify::Activated), c.activated);
    }
}

TEST(DialogEvents, ListScrollBarScrollsWithoutSelecting) {
    Form f;
    ListBox& l = f.d.get<ListBox>(kList);
    Rect r = f.d.to_screen(l.rect());
    FakeWindow w;
    w.tap(r.right() - 3, r.bottom() - 4);   // down arrow
    w.tap(r.right() - 3, r.bottom() - 4);
    w.key(KEY_ESCAPE);
    f.d.run(w, kUnder);
    EXPECT_EQ(l.top_index(), 2);
    EXPECT_EQ(l.selected(), -1);
}

TEST(DialogEvents, ComboBoxDropDown) {
    struct Case {
        const char* name;
        std::function<void(FakeWindow&, const Rect&)> input;
        int selected;
        bool notified;
    };
    auto row_y = [](const Rect& r, int row) { return r.bottom() + 2 + row * LIST_ROW_HEIGHT + 7; };
    const Case cases[] = {
        {"open and choose",
         [&](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 10, r.y + 5);
             w.tap(r.x + 10, row_y(r, 2));
         },
         2, true},
        {"press, slide, lift",
         [&](FakeWindow& w, const Rect& r) {
             w.stylus(EventType::StylusDown, r.x + 10, r.y + 5);
             w.stylus(EventType::StylusMove, r.x + 10, row_y(r, 1));
             w.stylus(EventType::StylusUp, r.x + 10, row_y(r, 1));
         },
         1, true},
        {"tap outside closes unchanged",
         [&](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 10, r.y + 5);
             w.tap(r.right() + 40, r.y - 10);
             w.tap(r.x + 10, row_y(r, 2));   // the list is gone: lands on the form below
         },
         0, false},
        {"keys while open",
         [&](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 10, r.y + 5);
             w.key(KEY_DOWN);
             w.key(KEY_RETURN);
         },
         1, true},
        {"Escape closes the list only",
         [&](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 10, r.y + 5);
             w.key(KEY_DOWN);
             w.key(KEY_ESCAPE);
         },
         0, false},
        {"arrows when closed",
         [&](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 10, r.y + 5);
             w.key(KEY_ESCAPE);
             w.key(KEY_DOWN);
             w.key(KEY_DOWN);
             w.key(KEY_DOWN);
         },
         2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form f;
        ComboBox& combo = f.d.get<ComboBox>(kAngle);
        FakeWindow w;
        c.input(w, f.d.to_screen(combo.rect()));
        w.key(KEY_ESCAPE);
        EXPECT_EQ(f.d.run(w, kUnder), ID_CANCEL);
        EXPECT_EQ(combo.selected(), c.selected);
        EXPECT_EQ(combo.text(), combo.item_text(c.selected));
        EXPECT_EQ(f.heard_of(kAngle, Notify::SelectionChanged), c.notified);
        EXPECT_FALSE(combo.dropped());
    }
}

TEST(DialogEvents, CheckBoxAndRadioGroups) {
    Form f;
    FakeWindow w;
    w.tap(f.d, kGrid);
    w.tap(f.d, kDots);     // group 1
    w.tap(f.d, kLarge);    // group 2
    w.tap(f.d, kGrid);
    w.tap(f.d, kGrid);
    w.key(KEY_ESCAPE);
    f.d.run(w, kUnder);
    EXPECT_TRUE(f.d.get<CheckBox>(kGrid).checked());
    EXPECT_TRUE(f.d.get<RadioButton>(kDots).checked());
    EXPECT_FALSE(f.d.get<RadioButton>(kLines).checked());
    EXPECT_TRUE(f.d.get<RadioButton>(kLarge).checked());
    EXPECT_FALSE(f.d.get<RadioButton>(kSmall).checked());
    int clicks = 0;
    for (const Heard& h : f.heard) clicks += h.id == kGrid && h.what == Notify::Clicked;
    EXPECT_EQ(clicks, 3);

    // Arrows move the choice within the group; Space toggles a check box.
    Form g;
    FakeWindow w2;
    g.d.set_focus(kLines);
    w2.key(KEY_LEFT);
    w2.key(KEY_TAB, MOD_SHIFT);
    w2.key(KEY_SPACE);
    w2.key(KEY_ESCAPE);
    g.d.run(w2, kUnder);
    EXPECT_TRUE(g.d.get<RadioButton>(kDots).checked());
    EXPECT_TRUE(g.d.get<RadioButton>(kSmall).checked());
    EXPECT_TRUE(g.d.get<CheckBox>(kGrid).checked());
}

TEST(DialogEvents, SliderDragClampsToItsRange) {
    struct Case {
        int from, to;   // stylus x relative to the slider's left edge
        int value;
    };
    const Case cases[] = {{60, -500, 0}, {60, 900, 255}, {0, 0, 0}, {119, 119, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        Form f;
        Rect r = f.d.to_screen(f.d.control(kRed).rect());
        FakeWindow w;
        w.stylus(EventType::StylusDown, r.x + c.from, r.y + 8);
        w.stylus(EventType::StylusMove, r.x + (c.from + c.to) / 2, r.y + 8);
        w.stylus(EventType::StylusMove, r.x + c.to, r.y + 30);
        w.stylus(EventType::StylusUp, r.x + c.to, r.y + 30);
        w.key(KEY_ESCAPE);
        f.d.run(w, kUnder);
        EXPECT_EQ(f.d.get<Slider>(kRed).value(), c.value);
        EXPECT_TRUE(f.heard_of(kRed, Notify::ValueChanged));
    }
}

TEST(DialogEvents, UpDownStaysInItsRange) {
    Form f;
    Rect r = f.d.to_screen(f.d.control(kStepsUD).rect());
    FakeWindow w;
    for (int i = 0; i < 12; ++i) w.tap(r.x + 5, r.y + 3);   // up arrow
    f.d.run(w, kUnder);   // ended by the fake window's Quit once idle
    clear_quit_request();
    EXPECT_EQ(f.d.get<UpDown>(kStepsUD).value(), 9);
    EXPECT_EQ(f.d.text(kSteps), "9");

    FakeWindow w2;
    for (int i = 0; i < 12; ++i) w2.tap(r.x + 5, r.bottom() - 3);
    f.d.run(w2, kUnder);
    clear_quit_request();
    EXPECT_EQ(f.d.get<UpDown>(kStepsUD).value(), 1);

    // Typing into the attached field moves the value; arrows there step it.
    FakeWindow w3;
    w3.tap(f.d, kSteps);
    w3.key(KEY_BACKSPACE);
    w3.type("6");
    w3.key(KEY_UP);
    w3.key(KEY_ESCAPE);
    f.d.run(w3, kUnder);
    EXPECT_EQ(f.d.get<UpDown>(kStepsUD).value(), 7);
    EXPECT_EQ(f.d.text(kSteps), "7");
}

TEST(DialogEvents, HoldingAScrollArrowRepeats) {
    Form f;
    Rect r = f.d.to_screen(f.d.control(kScroll).rect());
    FakeWindow w;
    w.stylus(EventType::StylusDown, r.x + 5, r.bottom() - 3);
    w.pause(1000);   // idle polls under capture repeat the step
    w.stylus(EventType::StylusUp, r.x + 5, r.bottom() - 3);
    w.key(KEY_ESCAPE);
    f.d.run(w, kUnder);
    EXPECT_GT(f.d.get<ScrollBar>(kScroll).position(), 0);
    EXPECT_LE(f.d.get<ScrollBar>(kScroll).position(), 90);
}

TEST(DialogEvents, TabVisitsOnlyAvailableFocusableControls) {
    Dialog d("Tab", 200, 100);
    d.add_static(0, {4, 4, 40, 14}, "Label");
    d.add_edit(1, {4, 20, 60, EDIT_HEIGHT});
    d.add_edit(2, {70, 20, 60, EDIT_HEIGHT}).hide();
    d.add_check_box(3, {4, 40, 60, 16}, "Off").disable();
    d.add_button(4, {4, 60, 60, BUTTON_HEIGHT}, "Go");
    d.render(kUnder);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        seen.push_back(d.focus_id());
        Event e;
        e.type = EventType::KeyDown;
        e.key = KEY_TAB;
        d.handle_event(e);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 4, 1, 4}));
}

TEST(DialogEvents, MultiLineFieldScrollsButTakesNoText) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
    struct Case {
        const char* name;
        std::function<void(FakeWindow&, const Rect&)> input;
        std::function<bool(int first, int lines)> check;
    };
    const Case cases[] = {
        {"Down twice", [](FakeWindow& w, const Rect&) { w.key(KEY_DOWN); w.key(KEY_DOWN); },
         [](int first, int) { return first == 2; }},
        {"End", [](FakeWindow& w, const Rect&) { w.key(KEY_END); },
         [](int first, int lines) { return first > 0 && first < lines; }},
        {"End then Home", [](FakeWindow& w, const Rect&) { w.key(KEY_END); w.key(KEY_HOME); },
         [](int first, int) { return first == 0; }},
        {"scroll bar arrow", [](FakeWindow& w, const Rect& r) { w.tap(r.right() - 3, r.bottom() - 4); },
         [](int first, int) { return first == 1; }},
        {"drag the text up",
         [](FakeWindow& w, const Rect& r) {
             w.stylus(EventType::StylusDown, r.x + 20, r.bottom() - 5);
             w.stylus(EventType::StylusMove, r.x + 20, r.bottom() - 5 - 3 * font_height(FONT_DIALOG));
             w.stylus(EventType::StylusUp, r.x + 20, r.y);
         },
         [](int first, int) { return first == 3; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d("Help", 200, 100);
        Edit& e = d.add_edit(1, {4, 4, 150, 60}, text, EditOptions{.read_only = true, .multi_line = true});
        d.add_button(ID_OK, {4, 70, 60, BUTTON_HEIGHT}, "OK", true);
        d.set_focus(1);
        FakeWindow w;
        c.input(w, d.to_screen(e.rect()));
        w.type("zzz");
        w.key(KEY_BACKSPACE);
        w.key(KEY_RETURN);
        EXPECT_EQ(d.run(w, kUnder), ID_OK);
        EXPECT_EQ(e.text(), text);
        EXPECT_GT(e.line_count(), 60 / font_height(FONT_DIALOG));
        EXPECT_TRUE(c.check(e.first_line(), e.line_count())) << e.first_line();
    }
}

// An editable multi-line field, 60 px high: four rows of the 12-px font.
TEST(DialogEvents, MultiLineFieldEditsByWrappedLines) {
    // Two words fit a line of the narrow field, so "aaaa bbbb cccc dddd"
    // wraps after "bbbb " (offset 10).
    const int narrow = 6 + text_width(FONT_DIALOG, "aaaa bbbb") + 1;
    const EditOptions text_box{.multi_line = true};
    struct Case {
        const char* name;
        EditOptions options;
        int width;
        const char* start;
        std::function<void(FakeWindow&, const Rect&)> input;
        const char* text;
        int code;   // Escape ends the dialog unless Enter pressed OK
    };
    const Case cases[] = {
        {"typing and Enter", text_box, 150, "",
         [](FakeWindow& w, const Rect&) {
             w.type("ab");
             w.key(KEY_RETURN);
             w.type("cd");
             w.key(KEY_RETURN);
             w.key(KEY_RETURN);
             w.type("e");
         },
         "ab\ncd\n\ne", ID_CANCEL},
        {"\\r\\n kept as \\n", text_box, 150, "ab\r\ncd\re", [](FakeWindow&, const Rect&) {}, "ab\ncd\ne",
         ID_CANCEL},
        {"Backspace at a line start joins", text_box, 150, "ab\ncd",
         [](FakeWindow& w, const Rect&) { w.key(KEY_HOME); w.key(KEY_BACKSPACE); }, "abcd", ID_CANCEL},
        {"Delete at a line end joins", text_box, 150, "ab\ncd",
         [](FakeWindow& w, const Rect&) { w.key(KEY_UP); w.key(KEY_END); w.key(KEY_DELETE); }, "abcd",
         ID_CANCEL},
        {"Left and Right cross the break", text_box, 150, "ab\ncd",
         [](FakeWindow& w, const Rect&) {
             for (int i = 0; i < 3; ++i) w.key(KEY_LEFT);
             w.type("X");   // offset 2, before the break
             w.key(KEY_RIGHT);
             w.type("Y");   // past the break
         },
         "abX\nYcd", ID_CANCEL},
        {"Up keeps the column past a short line", text_box, 150, "abcdef\nab\nabcdef",
         [](FakeWindow& w, const Rect&) {
             w.key(KEY_HOME);
             for (int i = 0; i < 4; ++i) w.key(KEY_RIGHT);
             w.key(KEY_UP);   // "ab" is too short: its end
             w.key(KEY_UP);   // back to column 4
             w.type("X");
         },
         "abcdXef\nab\nabcdef", ID_CANCEL},
        {"Down keeps the column past a short line", text_box, 150, "abcdef\nab\nabcdef",
         [](FakeWindow& w, const Rect&) {
             w.key(KEY_HOME, MOD_CTRL);
             for (int i = 0; i < 4; ++i) w.key(KEY_RIGHT);
             w.key(KEY_DOWN);
             w.key(KEY_DOWN);
             w.type("X");
         },
         "abcdef\nab\nabcdXef", ID_CANCEL},
        {"Home of a wrapped line", text_box, narrow, "aaaa bbbb cccc dddd",
         [](FakeWindow& w, const Rect&) { w.key(KEY_HOME); w.type("X"); }, "aaaa bbbb Xcccc dddd", ID_CANCEL},
        {"End of a wrapped line", text_box, narrow, "aaaa bbbb cccc dddd",
         [](FakeWindow& w, const Rect&) { w.key(KEY_HOME, MOD_CTRL); w.key(KEY_END); w.key(KEY_BACKSPACE); },
         "aaaa bbbbcccc dddd", ID_CANCEL},
        {"Up from a wrapped line", text_box, narrow, "aaaa bbbb cccc dddd",
         [](FakeWindow& w, const Rect&) { w.key(KEY_HOME); w.key(KEY_UP); w.type("X"); },
         "Xaaaa bbbb cccc dddd", ID_CANCEL},
        {"a tap places the caret", text_box, 150, "ab\ncd",
         [](FakeWindow& w, const Rect& r) {
             w.tap(r.x + 3, r.y + 2 + font_height(FONT_DIALOG) + 5);   // line 2, before "c"
             w.type("X");
             w.tap(r.x + 100, r.y + 2 + 5);   // right of line 1: its end
             w.type("Y");
         },
         "abY\nXcd", ID_CANCEL},
        {"max length refuses, Enter included", {.multi_line = true, .max_length = 5}, 150, "abc",
         [](FakeWindow& w, const Rect&) {
             w.key(KEY_RETURN);
             w.type("xy");
             w.key(KEY_RETURN);
         },
         "abc\nx", ID_CANCEL},
        {"read-only takes no text, Enter is OK", {.read_only = true, .multi_line = true}, 150, "ab\ncd",
         [](FakeWindow& w, const Rect&) {
             w.type("x");
             w.key(KEY_BACKSPACE);
             w.key(KEY_RETURN);
         },
         "ab\ncd", ID_OK},
        {"single line: Enter is OK", {}, 150, "ab", [](FakeWindow& w, const Rect&) { w.key(KEY_RETURN); },
         "ab", ID_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d("Notes", 200, 100);
        Edit& e = d.add_edit(1, {4, 4, c.width, c.options.multi_line ? 60 : EDIT_HEIGHT}, c.start, c.options);
        d.add_button(ID_OK, {4, 76, 60, BUTTON_HEIGHT}, "OK", true);
        d.add_button(ID_CANCEL, {70, 76, 60, BUTTON_HEIGHT}, "Cancel");
        d.set_focus(1);
        FakeWindow w;
        c.input(w, d.to_screen(e.rect()));
        w.key(KEY_ESCAPE);
        EXPECT_EQ(d.run(w, kUnder), c.code);
        EXPECT_EQ(e.text(), c.text);
    }
}

TEST(DialogEvents, MultiLineCaretIsDrawnOnItsLineAndKeptInView) {
    Dialog d("Notes", 200, 100);
    Edit& e = d.add_edit(1, {4, 4, 150, 60}, "", EditOptions{.multi_line = true});
    d.add_button(ID_CANCEL, {70, 76, 60, BUTTON_HEIGHT}, "Cancel");
    d.set_focus(1);
    FakeWindow w;
    for (int i = 0; i < 7; ++i) {
        w.type("line");
        w.key(KEY_RETURN);
    }
    w.type("xy");
    w.key(KEY_ESCAPE);
    d.run(w, kUnder);
    // Eight lines in four rows: the last four shown, the caret on the last.
    EXPECT_EQ(e.line_count(), 8);
    EXPECT_EQ(e.first_line(), 4);
    const int fh = font_height(FONT_DIALOG);
    auto caret_at = [&](int x, int top) {
        const Surface& f = d.render(kUnder);
        for (int y = top; y < top + fh; ++y)
            if (f.get(x, y) != COLOUR_TEXT) return false;
        return true;
    };
    Rect r = d.to_screen(e.rect());
    EXPECT_TRUE(caret_at(r.x + 3 + text_width(FONT_DIALOG, "xy"), r.y + 2 + 3 * fh));
    e.set_caret(2);   // line 1, after "li": scrolled back to the top
    EXPECT_EQ(e.first_line(), 0);
    EXPECT_TRUE(caret_at(r.x + 3 + text_width(FONT_DIALOG, "li"), r.y + 2));
}

TEST(DialogScripted, MultiLineFieldTakesBackslashNAsALineBreak) {
    struct Case {
        EditOptions options;
        const char* value;
        const char* text;   // after the answer
        const char* log;    // before "dialog Notes -> OK", or ""
    };
    const Case cases[] = {
        {{.multi_line = true}, "One\\nTwo\\n\\nFour", "One\nTwo\n\nFour", ""},
        {{.multi_line = true}, "back\\slash", "back\\slash", ""},
        {{.multi_line = true, .max_length = 6}, "abc\\nde", "abc\nde", ""},
        {{.multi_line = true, .max_length = 6}, "abc\\ndef", "old", "dialog Notes: bad value \"abc\\ndef\" for \"Notes\""},
        {{.read_only = true, .multi_line = true}, "x", "old", "dialog Notes: control \"Notes\" is unavailable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Dialog d("Notes", 200, 100);
        d.add_static(0, {4, 4, 60, 14}, "Notes:");
        d.add_edit(1, {4, 20, 150, 50}, "old", c.options);
        d.add_button(ID_OK, {4, 76, 60, BUTTON_HEIGHT}, "OK", true);
        FakeWindow w(true);
        w.answer("OK", {{"Notes", c.value}});
        EXPECT_EQ(d.run(w, kUnder), ID_OK);
        EXPECT_EQ(d.text(1), c.text);
        std::vector<std::string> log{"dialog Notes -> OK"};
        if (*c.log) log.insert(log.begin(), c.log);
        EXPECT_EQ(w.log, log);
    }
}

TEST(DialogEvents, ListViewSelectsWholeRowsAndActivatesOnEnter) {
    Form f;
    ListView& v = f.d.get<ListView>(kView);
    Rect r = f.d.to_screen(v.rect());
    FakeWindow w;
    // The header takes no selection; the first row lies below it.
    w.tap(r.right() - 20, r.y + 5);
    w.tap(r.right() - 20, r.y + 1 + LIST_ROW_HEIGHT + 2 + LIST_ROW_HEIGHT + 7);
    w.key(KEY_UP);
    w.key(KEY_RETURN);
    w.key(KEY_ESCAPE);
    f.d.run(w, kUnder);
    EXPECT_EQ(v.selected(), 0);
    EXPECT_EQ(v.cell(0, 1), "1");
    EXPECT_TRUE(f.heard_of(kView, Notify::Activated));
    int changes = 0;
    for (const Heard& h : f.heard) changes += h.id == kView && h.what == Notify::SelectionChanged;
    EXPECT_EQ(changes, 2);
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

TEST(DialogPaint, ControlsStayInsideTheClientArea) {
    auto build = [](Dialog& d, bool with_controls) {
        if (!with_controls) return;
        // Every kind of control, several of them hanging over the edges.
        d.add_static(1, {-20, -10, 300, 30}, "A static text wider than the dialog itself", Align::Left, true);
        d.add_edit(2, {150, 10, 100, EDIT_HEIGHT}, "overflowing text field");
        d.add_button(3, {-5, 120, 80, 40}, "Button", true);
        ListBox& l = d.add_list_box(4, {10, 40, 80, 200});
        for (int i = 0; i < 30; ++i) l.add("item " + std::to_string(i));
        ComboBox& c = d.add_combo_box(5, {100, 110, 90, EDIT_HEIGHT});
        for (int i = 0; i < 30; ++i) c.add("choice " + std::to_string(i));
        d.add_list_view(6, {100, 40, 150, 60}, {{"A", 80}, {"B", 80}}).add_row({"x", "y"});
        d.add_check_box(7, {160, 135, 80, 16}, "Check box", true);
        d.add_radio(8, {160, 150, 80, 16}, "Radio", 1, true);
        d.add_slider(9, {150, 70, 80, 16}, 255);
        d.add_up_down(10, {190, 135, 14, 30}, 0, 9, 5);
        d.add_scroll_bar(11, {190, -10, SCROLL_BAR_WIDTH, 200}, 0, 50, 5, 50);
        d.add_image(12, {-10, 150, 40, 40}, Surface(40, 40, rgb(0, 200, 0)));
        d.add_custom(13, {0, 0, 200, 160}).on_paint([](Surface& s, const Rect& r) {
            fill_rect(s, rgb(200, 0, 0), r.x - 50, r.y - 50, r.right() + 50, r.bottom() + 50);
        });
        d.add_group_box(14, {-10, -10, 230, 190}, "Group");
        c.open();
    };
    Dialog plain("Paint", 200, 160);
    build(plain, false);
    Dialog full("Paint", 200, 160);
    build(full, true);
    ASSERT_TRUE(full.get<ComboBox>(5).dropped());
    const Surface& a = plain.render(kUnder);
    const Surface& b = full.render(kUnder);
    Rect client = full.client_rect();
    int differ_outside = 0, differ_inside = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            bool diff = a.get(x, y) != b.get(x, y);
            (client.contains(x, y) ? differ_inside : differ_outside) += diff;
        }
    EXPECT_EQ(differ_outside, 0);
    EXPECT_GT(differ_inside, 1000);
}

TEST(DialogPaint, DialogIsCentredWithFrameTitleBarAndShadow) {
    Dialog d("Centred", 150, 100);
    const Surface& f = d.render(kUnder);
    Rect o = d.outer_rect();
    EXPECT_EQ(o.w, 152);
    EXPECT_EQ(o.h, 100 + DIALOG_TITLE_HEIGHT + 2);
    EXPECT_EQ(o.x, (SCREEN_WIDTH - o.w) / 2);
    EXPECT_EQ(o.y, (SCREEN_HEIGHT - o.h) / 2);
    EXPECT_EQ(f.get(o.x, o.y + 5), COLOUR_DIALOG_FRAME);
    EXPECT_EQ(f.get(d.client_rect().x + 5, d.client_rect().y + 5), COLOUR_FACE);
    Colour title = f.get(o.x + 3, o.y + 9);
    EXPECT_LT(red_of(title) + green_of(title) + blue_of(title), 3 * 128);
    // The shadow darkens what lies just below the dialog; far away is untouched.
    Colour shadow = f.get(o.x + o.w / 2, o.bottom() + 2);
    EXPECT_LT(red_of(shadow), 255);
    EXPECT_EQ(f.get(5, 5), kUnder.get(5, 5));
    // The largest dialog fills the screen.
    Dialog big("Big", 1000, 1000);
    EXPECT_EQ(big.outer_rect().w, SCREEN_WIDTH);
    EXPECT_EQ(big.outer_rect().h, SCREEN_HEIGHT);
}

// ---------------------------------------------------------------------------
// Text helpers and the file chooser
// ---------------------------------------------------------------------------

TEST(WidgetText, WrapKeepsEveryLineWithinTheWidth) {
    struct Case {
        std::string text;
        int width;
        std::size_t lines;
    };
    const int cw = char_width(FONT_DIALOG, 'a');
    const Case cases[] = {
        {"", 100, 1},
        {"short", 100, 1},
        {"one two three four", cw * 9, 3},
        {"first\nsecond", 1000, 2},
        {"a\n\nb", 1000, 3},
        {"abcdefghijklmnopqrstuvwxyz", cw * 10, 3},
        {"x", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> lines = wrap_text(FONT_DIALOG, c.text, c.width);
        EXPECT_EQ(lines.size(), c.lines);
        std::string joined;
        for (const std::string& l : lines) {
            if (l.size() > 1) {
                EXPECT_LE(text_width(FONT_DIALOG, l.c_str()), c.width);
            }
            joined += l;
        }
        std::string letters;
        for (char ch : c.text)
            if (ch != ' ' && ch != '\n') letters += ch;
        std::string got;
        for (char ch : joined)
            if (ch != ' ') got += ch;
        EXPECT_EQ(got, letters);
    }
    EXPECT_EQ(strip_mnemonic("&Save && quit"), "Save & quit");
    EXPECT_LE(text_width(FONT_DIALOG, fit_text(FONT_DIALOG, "a long title text", 40).c_str()), 40);
}

class FileChooser : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = (std::filesystem::temp_directory_path() /
                ("quorix_widgets_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::create_directories(dir_);
        for (const char* n : {"alpha.qxp", "beta.qxp", "notes.txt"}) std::ofstream(join_path(dir_, n)) << "x";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
};

TEST_F(FileChooser, ScriptedFileFieldTakesANameOrAPath) {
    struct Case {
        std::string button;
        std::string file;
        bool for_save;
        bool ok;
        std::string path;   // relative to the folder unless it starts with '/'
    };
    const Case cases[] = {
        {"OK", "beta.qxp", false, true, "beta.qxp"},
        {"", "alpha.qxp", false, true, "alpha.qxp"},
        {"OK", "missing.qxp", false, false, ""},
        {"OK", "new.qxp", true, true, "new.qxp"},
        {"OK", "/tmp/elsewhere.qxp", true, true, "/tmp/elsewhere.qxp"},
        {"Cancel", "beta.qxp", false, false, ""},
        {"OK", "", true, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        FakeWindow w(true);
        w.answer(c.button, {{"File", c.file}});
        std::string path = "unchanged";
        EXPECT_EQ(choose_file(w, kUnder, "Open", dir_, "*.qxp", c.for_save, path), c.ok);
        EXPECT_EQ(path, !c.ok ? "unchanged" : c.path[0] == '/' ? c.path : join_path(dir_, c.path));
        ASSERT_FALSE(w.log.empty());
        EXPECT_EQ(w.log[0], "dialog Open -> " + std::string(c.button == "Cancel" ? "Cancel" : "OK"));
    }
}

TEST_F(FileChooser, TapAFileThenOK) {
    FakeWindow w;
    // The list starts just below the folder line; the first row is alpha.
    Dialog probe("x", DIALOG_MAX_CLIENT_WIDTH, 272);
    Rect c = probe.client_rect();
    w.tap(c.x + 30, c.y + 20 + 1 + LIST_ROW_HEIGHT + 7);   // beta.qxp (notes.txt is not listed)
    w.key(KEY_RETURN);
    std::string path;
    EXPECT_TRUE(choose_file(w, kUnder, "Open", dir_, "*.qxp", false, path));
    EXPECT_EQ(path, join_path(dir_, "beta.qxp"));
}

TEST_F(FileChooser, BadNamesAreRefusedWithABox) {
    FakeWindow w;
    w.type("a/b");
    w.key(KEY_RETURN);   // refused: a box opens
    w.key(KEY_RETURN);   // closes the box
    w.key(KEY_ESCAPE);   // cancels the chooser
    std::string path;
    EXPECT_FALSE(choose_file(w, kUnder, "Save", dir_, "*.qxp", true, path));
    EXPECT_TRUE(path.empty());

    FakeWindow w2;
    w2.type("fresh.qxp");
    w2.key(KEY_RETURN);
    EXPECT_TRUE(choose_file(w2, kUnder, "Save", dir_, "*.qxp", true, path));
    EXPECT_EQ(path, join_path(dir_, "fresh.qxp"));
}

}  // namespace
}  // namespace qx
