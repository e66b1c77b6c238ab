// Dialogs and message boxes: a small retained-mode widget set drawn on our
// own surface, run modally in the one thread the calculator has.
//
// A Dialog owns its controls.  Each control has an integer id, a rectangle in
// client coordinates (the area below the title bar) and an optional label
// that test scripts use to name it.  The owner reacts to user actions through
// one notification callback and closes the dialog with end(code).
//
// Setters called by the owner (set_text, select, set_checked, set_value...)
// never notify; user actions and scripted answers do, so a callback can
// update other controls without feeding back into itself.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace qx {

// The dialog palette (defined at the top of widgets.cpp), for custom areas
// that want to match the controls around them.
extern const Colour COLOUR_FACE;            // dialog background
extern const Colour COLOUR_FACE_LIGHT;      // bevel highlight
extern const Colour COLOUR_FACE_SHADOW;     // bevel shadow, separators
extern const Colour COLOUR_FIELD;           // edit, list and track backgrounds
extern const Colour COLOUR_FIELD_FRAME;     // 1-px frame around fields
extern const Colour COLOUR_TEXT;
extern const Colour COLOUR_TEXT_DISABLED;
extern const Colour COLOUR_SELECTION;       // selected rows and filled tracks
extern const Colour COLOUR_SELECTION_TEXT;
extern const Colour COLOUR_TITLE_BAR;
extern const Colour COLOUR_TITLE_TEXT;
extern const Colour COLOUR_DIALOG_FRAME;

// A rectangle by its top-left corner and size (unlike the inclusive corner
// pairs of surface.h, sizes compose better when laying out controls).
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w - 1; }
    int bottom() const { return y + h - 1; }
    bool empty() const { return w <= 0 || h <= 0; }
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + w && py < y + h;
    }
    Rect moved(int dx, int dy) const { return {x + dx, y + dy, w, h}; }
    Rect inset(int d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};
Rect intersect(const Rect& a, const Rect& b);

constexpr int DIALOG_TITLE_HEIGHT = 18;
// A dialog has a 1-px frame, so the largest client area is the screen less
// the frame and the title bar.
constexpr int DIALOG_MAX_CLIENT_WIDTH = SCREEN_WIDTH - 2;
constexpr int DIALOG_MAX_CLIENT_HEIGHT = SCREEN_HEIGHT - DIALOG_TITLE_HEIGHT - 2;
// Heights that make rows of controls line up.
constexpr int BUTTON_HEIGHT = 20;
constexpr int EDIT_HEIGHT = 18;
constexpr int LIST_ROW_HEIGHT = 14;
constexpr int SCROLL_BAR_WIDTH = 11;

// The end codes message boxes return; buttons with ids 1 and 2 end a dialog
// with their id unless the owner turns that off.
constexpr int ID_OK = 1;
constexpr int ID_CANCEL = 2;
constexpr int ID_YES = 6;
constexpr int ID_NO = 7;

enum class Notify {
    Clicked,           // button pressed, check box or radio button tapped
    SelectionChanged,  // list box, combo box, list view
    TextChanged,       // edit field
    Activated,         // double tap on a list row, or Enter in a list
    ValueChanged,      // slider, up-down, scroll bar
};

enum class Align { Left, Centre, Right };

enum class ControlKind {
    Button, Static, GroupBox, Edit, ListBox, ComboBox, ListView, CheckBox, Radio, Slider,
    UpDown, ScrollBar, Image, Custom,
};

// Splits text into lines no wider than width: at '\n', then between words;
// a word wider than a line is broken between characters.
std::vector<std::string> wrap_text(FontId font, const std::string& text, int width);
// The text, shortened with "..." when wider than width.
std::string fit_text(FontId font, const std::string& text, int width);
// Control texts may mark a letter with '&' ("&Save"); the mark is not shown
// and "&&" stands for '&' itself.
std::string strip_mnemonic(const std::string& text);
// How scripts compare names: case, '&' marks, surrounding blanks and one
// trailing colon do not matter.
std::string script_name(const std::string& s);

// The behaviour of a vertical scroll bar, shared by the scroll bar control
// and every control that scrolls.  Positions run from low to high - page + 1,
// so a list scrolls with low 0, high count - 1 and page = visible rows.
class ScrollTrack {
public:
    enum Part { None, UpArrow, DownArrow, PageUp, PageDown, Thumb };

    int low = 0, high = 0, page = 1, pos = 0;

    int max_pos() const;
    bool set_pos(int p);       // clamped; true when it moved
    bool scrollable() const { return max_pos() > low; }

    Part hit(const Rect& r, int x, int y) const;
    void paint(Surface& s, const Rect& r, bool enabled) const;
    // Stylus handling; each returns true when the position moved.
    bool press(const Rect& r, int x, int y, std::uint32_t now);
    bool drag(const Rect& r, int x, int y);
    bool repeat(const Rect& r, std::uint32_t now);   // auto-repeat while held
    void release() { held_ = None; }
    bool held() const { return held_ != None; }

private:
    void thumb_span(const Rect& r, int& top, int& length) const;
    bool step(Part part);
    Part held_ = None;
    int grab_offset_ = 0;
    int last_x_ = 0, last_y_ = 0;
    std::uint32_t next_repeat_ = 0;
};

class Dialog;

class Control {
public:
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int id() const { return id_; }
    ControlKind kind() const { return kind_; }
    const Rect& rect() const { return rect_; }
    void set_rect(const Rect& r);
    Dialog& dialog() const { return *dialog_; }

    const std::string& text() const { return text_; }
    virtual void set_text(const std::string& text);
    // The name scripts use; see Dialog for the default.
    const std::string& label() const { return label_; }
    void set_label(const std::string& label) { label_ = label; }

    bool visible() const { return visible_; }
    void show(bool on = true);
    void hide() { show(false); }
    bool enabled() const { return enabled_; }
    void enable(bool on = true);
    void disable() { enable(false); }
    // Visible and enabled: takes taps, focus and scripted values.
    bool available() const { return visible_ && enabled_; }
    virtual bool focusable() const { return false; }

protected:
    Control(Dialog& dialog, ControlKind kind, int id, const Rect& rect, const std::string& text);
    void invalidate();
    void notify(Notify what);
    std::uint32_t now() const;
    bool has_focus() const;

    // Painting and input use local coordinates: (0, 0) is the control's
    // top-left corner and the surface is clipped to the control.
    virtual void paint(Surface& s, bool focused) = 0;
    virtual void stylus_down(int /*x*/, int /*y*/) {}
    virtual void stylus_move(int /*x*/, int /*y*/) {}
    virtual void stylus_up(int /*x*/, int /*y*/) {}
    virtual void stylus_held() {}                    // called while idle under capture
    virtual bool key(int /*key*/, int /*mods*/) { return false; }
    virtual bool type(char /*c*/) { return false; }
    virtual void focus_changed(bool /*gained*/) {}
    virtual bool takes_stylus() const { return focusable(); }
    // Scripts: set the value as a user would, with the user's notifications.
    // False when the value does not fit the control.
    virtual bool script_set(const std::string& /*value*/) { return false; }
    virtual bool script_settable() const { return false; }

    Dialog* dialog_;
    ControlKind kind_;
    int id_;
    Rect rect_;
    std::string text_;
    std::string label_;
    bool visible_ = true;
    bool enabled_ = true;

    friend class Dialog;
};

class Button : public Control {
public:
    bool is_default() const { return default_; }
    void set_default(bool on);
    bool focusable() const override { return true; }

    Button(Dialog& d, int id, const Rect& r, const std::string& text, bool is_default);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    bool key(int key, int mods) override;

private:
    bool default_ = false;
    bool tracking_ = false;
    bool pressed_ = false;
};

class StaticText : public Control {
public:
    Align align() const { return align_; }
    void set_align(Align a);
    bool wraps() const { return wrap_; }
    void set_wrap(bool on);

    StaticText(Dialog& d, int id, const Rect& r, const std::string& text, Align align, bool wrap);

protected:
    void paint(Surface& s, bool focused) override;

private:
    Align align_;
    bool wrap_;
};

// A captioned frame around a group of controls.
class GroupBox : public Control {
public:
    GroupBox(Dialog& d, int id, const Rect& r, const std::string& text);

protected:
    void paint(Surface& s, bool focused) override;
};

struct EditOptions {
    bool numeric = false;     // digits, sign, point, comma and E/e only
    bool read_only = false;
    // Word-wrapped text with a scroll bar.  Unless read_only it is a text
    // box: Enter types a line break ('\n' in the text) instead of pressing
    // the default button, and Up/Down move between wrapped lines.  Read-only,
    // it only scrolls (the arrows and a drag move the text).
    bool multi_line = false;
    int max_length = 0;       // bytes, a line break counting one; 0 for no limit
};

class Edit : public Control {
public:
    // Caret to the end, scrolled into view.  A multi-line field stores
    // "\r\n" and a lone '\r' as '\n'; set_caret(0) then shows its top.
    void set_text(const std::string& text) override;
    int caret() const { return caret_; }
    void set_caret(int pos);
    const EditOptions& options() const { return options_; }
    void set_read_only(bool on);
    void set_max_length(int n);
    // Multi-line: the first line shown and the number of wrapped lines.
    int first_line() const { return scroll_.pos; }
    int line_count();
    bool focusable() const override { return true; }

    Edit(Dialog& d, int id, const Rect& r, const std::string& text, const EditOptions& options);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    void stylus_held() override;
    bool key(int key, int mods) override;
    bool type(char c) override;
    void focus_changed(bool gained) override;
    // The whole text, refused (not cut) when a character does not fit the
    // field or it is too long.  In a multi-line field the two characters
    // backslash and 'n' stand for a line break, since a script value is
    // one line ("First line\nSecond line").
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return !options_.read_only; }

private:
    // A wrapped line of an editable field: text_[start, end).  A line that
    // ends at a typed break stops before its '\n'; one broken by the wrap
    // ends where the next starts, keeping the blanks it broke at.
    struct Span {
        int start, end;
    };

    bool accepts(char c) const;
    bool insert(const std::string& chars);   // true when anything went in
    void remove(int pos);                    // one character, by the user
    void edited();                           // after every change by the user
    void keep_caret_visible();
    void rewrap();
    void wrap_spans(int width);
    void draw_lines(Surface& s, const Rect& area, Colour c);
    Rect text_area() const;
    Rect scroll_area() const;
    int caret_from_x(int x) const;
    // The offset in [start, end] whose characters from start come nearest
    // to x pixels (the first of equals).
    int nearest_offset(int start, int end, int x) const;
    // Multi-line caret: its wrapped line, offsets within lines in pixels.
    int caret_line() const;
    int line_x(int line, int pos) const;
    int pos_at(int line, int x) const;
    bool wrap_end(int line, int pos) const;
    void place_caret(int pos, bool at_wrap_end);
    void caret_to_point(int x, int y);
    void move_lines(int delta);
    bool multi_line_key(int key, int mods);

    EditOptions options_;
    int caret_ = 0;
    int scroll_x_ = 0;
    // Multi-line state.  The wrap is kept until the text, the size or the
    // mode changes, so painting does not wrap again.
    std::vector<std::string> lines_;
    std::vector<Span> spans_;
    bool wrapped_ = false;
    int wrapped_w_ = 0, wrapped_h_ = 0;
    bool show_bar_ = false;
    ScrollTrack scroll_;
    bool dragging_text_ = false;
    int drag_y_ = 0, drag_top_ = 0;
    // Where a wrap breaks a line, one offset is both the end of that line
    // and the start of the next: this says the caret is shown at the end.
    bool caret_at_wrap_ = false;
    int goal_x_ = -1;      // the column Up/Down keep, in pixels; -1 for none
    Surface canvas_;       // the text area, drawn clipped without allocating
};

// What list boxes, combo boxes and list views share: rows of cell texts
// (one cell per row in a list box or combo box) and a single selection.
class ItemList : public Control {
public:
    void clear();
    int add(const std::string& text);   // returns the new row's index
    int count() const { return static_cast<int>(rows_.size()); }
    std::string item_text(int row) const;    // the first cell; "" when out of range
    int selected() const { return selected_; }
    void select(int row);                   // -1 or out of range: no selection
    // The first row whose text equals text, ignoring case; -1 when none.
    int find(const std::string& text) const;
    // Selects the row with that text (none when there is no such row).
    void set_text(const std::string& text) override { select(find(text)); }
    bool focusable() const override { return true; }

protected:
    ItemList(Dialog& d, ControlKind kind, int id, const Rect& r);
    // Selection by the user: notifies when it changed.
    void user_select(int row);
    virtual void selection_moved() {}
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }
    // Up, Down, Home, End, PageUp, PageDown; true when consumed.
    bool navigate(int key, int page_rows);

    std::vector<std::vector<std::string>> rows_;
    int selected_ = -1;
};

// The scrolling rows a list box and a list view draw and tap alike.
class RowArea {
public:
    ScrollTrack scroll;
    int row_height = LIST_ROW_HEIGHT;

    void layout(const Rect& area, int rows);   // area for rows and bar
    int visible_rows() const;
    Rect rows_rect() const { return rows_; }
    Rect bar_rect() const { return bar_; }
    bool has_bar() const { return has_bar_; }
    int row_at(int y) const;                    // -1 outside the rows
    int row_top(int row) const;
    void ensure_visible(int row);

    // Stylus: returns the row tapped (or -1) and whether the rows scrolled.
    struct Tap { int row = -1; bool scrolled = false; bool on_bar = false; };
    Tap down(int x, int y, std::uint32_t now);
    Tap move(int x, int y);
    void up() { scroll.release(); on_bar_ = false; }
    bool held(std::uint32_t now) { return on_bar_ && scroll.repeat(bar_, now); }
    bool on_bar() const { return on_bar_; }
    // A second tap on the same row within 400 ms.
    bool double_tap(int row, std::uint32_t now);

private:
    Rect area_, rows_, bar_;
    bool has_bar_ = false;
    bool on_bar_ = false;
    int last_row_ = -1;
    std::uint32_t last_tap_ = 0;
    bool had_tap_ = false;
};

// A list box or a list view: rows in a scrolling area, tapped and walked
// with the keys alike.
class ScrolledList : public ItemList {
public:
    int top_index() const { return area_.scroll.pos; }
    void set_top_index(int row);

protected:
    ScrolledList(Dialog& d, ControlKind kind, int id, const Rect& r);
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    void stylus_held() override;
    bool key(int key, int mods) override;
    void selection_moved() override;
    // Places the rows and the scroll bar inside the control.
    virtual void layout() = 0;

    RowArea area_;
};

class ListBox : public ScrolledList {
public:
    ListBox(Dialog& d, int id, const Rect& r);

protected:
    void paint(Surface& s, bool focused) override;
    void layout() override;
};

class ComboBox : public ItemList {
public:
    bool dropped() const { return dropped_; }
    void open();
    void close();
    int max_drop_rows() const { return max_drop_rows_; }
    void set_max_drop_rows(int n) { max_drop_rows_ = n < 1 ? 1 : n; }

    ComboBox(Dialog& d, int id, const Rect& r);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    bool key(int key, int mods) override;
    void focus_changed(bool gained) override;

private:
    // The drop-down list, in client coordinates, painted and fed by the
    // dialog above every other control.
    Rect drop_rect() const { return drop_; }
    void paint_drop(Surface& s);
    void drop_down(int x, int y);   // local to drop_
    void drop_move(int x, int y);
    void drop_up(int x, int y);
    void drop_held();
    bool drop_key(int key);
    void choose(int row);

    bool dropped_ = false;
    int max_drop_rows_ = 8;
    int hot_ = -1;
    bool drop_tracking_ = false;
    Rect drop_;
    RowArea drop_area_;

    friend class Dialog;
};

struct Column {
    std::string header;
    int width = 40;
    Align align = Align::Left;
};

class ListView : public ScrolledList {
public:
    void set_columns(const std::vector<Column>& columns);
    const std::vector<Column>& columns() const { return columns_; }
    int add_row(const std::vector<std::string>& cells);
    std::string cell(int row, int column) const;
    void set_cell(int row, int column, const std::string& text);

    ListView(Dialog& d, int id, const Rect& r, const std::vector<Column>& columns);

protected:
    void paint(Surface& s, bool focused) override;
    void layout() override;

private:
    std::vector<Column> columns_;
};

class CheckBox : public Control {
public:
    bool checked() const { return checked_; }
    void set_checked(bool on);
    bool focusable() const override { return true; }

    CheckBox(Dialog& d, int id, const Rect& r, const std::string& text, bool checked);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    bool key(int key, int mods) override;
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }

private:
    void toggle_by_user();
    bool checked_;
    bool tracking_ = false, pressed_ = false;
};

class RadioButton : public Control {
public:
    int group() const { return group_; }
    bool checked() const { return checked_; }
    // Checking one clears the others of its group.
    void set_checked(bool on);
    bool focusable() const override { return true; }

    RadioButton(Dialog& d, int id, const Rect& r, const std::string& text, int group, bool checked);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    bool key(int key, int mods) override;
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }

private:
    void select_by_user();
    int group_;
    bool checked_;
    bool tracking_ = false, pressed_ = false;
};

// A horizontal slider over 0..255 (the colour channels) or another range.
class Slider : public Control {
public:
    int value() const { return value_; }
    void set_value(int v);
    void set_range(int low, int high);
    int low() const { return low_; }
    int high() const { return high_; }
    bool focusable() const override { return true; }

    Slider(Dialog& d, int id, const Rect& r, int value);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    bool key(int key, int mods) override;
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }

private:
    void thumb_geometry(int& track_left, int& track_len, int& thumb_w) const;
    int value_from_x(int x) const;
    void user_set(int v);
    int low_ = 0, high_ = 255, value_ = 0;
    int grab_ = 0;
};

// Two small arrow buttons that step an integer through a range: stacked
// (up increases) in a tall rectangle, side by side (right increases) in a
// wide one.  An attached edit field shows the value, and typing a number
// into it moves the value.
class UpDown : public Control {
public:
    int value() const { return value_; }
    void set_value(int v);          // clamped; updates the attached field
    void set_range(int low, int high);
    int low() const { return low_; }
    int high() const { return high_; }
    void set_step(int step) { step_ = step < 1 ? 1 : step; }
    void attach(int edit_id);
    int attached() const { return buddy_; }
    // With a field attached, the arrow keys in the field step it instead.
    bool focusable() const override { return buddy_ == 0; }

    UpDown(Dialog& d, int id, const Rect& r, int low, int high, int value);

protected:
    bool takes_stylus() const override { return true; }
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    void stylus_held() override;
    bool key(int key, int mods) override;
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }

private:
    int part_at(int x, int y) const;   // +1 increase, -1 decrease, 0 none
    void user_set(int v);
    void show_in_buddy();
    void buddy_typed(const std::string& text);
    int low_, high_, value_;
    int step_ = 1;
    int buddy_ = 0;
    int held_part_ = 0, pressed_part_ = 0;
    std::uint32_t next_repeat_ = 0;

    friend class Dialog;
};

class ScrollBar : public Control {
public:
    int position() const { return track_.pos; }
    void set_position(int pos);
    void set_range(int low, int high);
    void set_page(int page);
    const ScrollTrack& track() const { return track_; }
    bool focusable() const override { return false; }

    ScrollBar(Dialog& d, int id, const Rect& r, int low, int high, int page, int pos);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    void stylus_held() override;
    bool takes_stylus() const override { return true; }
    bool script_set(const std::string& value) override;
    bool script_settable() const override { return true; }

private:
    ScrollTrack track_;
};

class ImageBox : public Control {
public:
    void set_image(const Surface& image);
    const Surface& image() const { return image_; }
    void set_framed(bool on);

    ImageBox(Dialog& d, int id, const Rect& r, const Surface& image);

protected:
    void paint(Surface& s, bool focused) override;

private:
    Surface image_;
    bool framed_ = false;
};

// A rectangle the owner draws and handles itself (plots, picture choosers).
// The paint callback gets a surface clipped to the area and the area's
// rectangle on it; stylus positions are relative to the area's corner.
class CustomArea : public Control {
public:
    using PaintFn = std::function<void(Surface&, const Rect&)>;
    using StylusFn = std::function<void(Dialog&, EventType, int x, int y)>;
    using KeyFn = std::function<bool(Dialog&, int key, int mods)>;

    void on_paint(PaintFn fn) { paint_ = std::move(fn); }
    void on_stylus(StylusFn fn) { stylus_ = std::move(fn); }
    void on_key(KeyFn fn) { key_ = std::move(fn); }
    void set_focusable(bool on) { focusable_ = on; }
    bool focusable() const override { return focusable_; }
    void redraw() { invalidate(); }

    CustomArea(Dialog& d, int id, const Rect& r);

protected:
    void paint(Surface& s, bool focused) override;
    void stylus_down(int x, int y) override;
    void stylus_move(int x, int y) override;
    void stylus_up(int x, int y) override;
    bool key(int key, int mods) override;
    bool takes_stylus() const override { return true; }

private:
    PaintFn paint_;
    StylusFn stylus_;
    KeyFn key_;
    bool focusable_ = false;
};

class Dialog {
public:
    using NotifyFn = std::function<void(Dialog&, int control_id, Notify what)>;
    using InitFn = std::function<void(Dialog&)>;

    // The client size is clamped to DIALOG_MAX_CLIENT_WIDTH x ..._HEIGHT.
    Dialog(const std::string& title, int client_width, int client_height);
    ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    const std::string& title() const { return title_; }
    void set_title(const std::string& title);
    // On the screen: the whole dialog, and its client area.
    Rect outer_rect() const { return outer_; }
    Rect client_rect() const { return client_; }
    // A rectangle in client coordinates, on the screen.
    Rect to_screen(const Rect& r) const { return r.moved(client_.x, client_.y); }

    // Every add_* takes an optional label for scripts.  Without one, a
    // control that has no text of its own (edit, lists, slider...) is named
    // by the static text created immediately before it; buttons, check
    // boxes and radio buttons are named by their own text.  Ids need not be
    // unique, but find() returns the first.
    Button& add_button(int id, const Rect& r, const std::string& text, bool is_default = false,
                       const std::string& label = {});
    StaticText& add_static(int id, const Rect& r, const std::string& text,
                           Align align = Align::Left, bool wrap = false);
    GroupBox& add_group_box(int id, const Rect& r, const std::string& text);
    Edit& add_edit(int id, const Rect& r, const std::string& text = {},
                   const EditOptions& options = {}, const std::string& label = {});
    ListBox& add_list_box(int id, const Rect& r, const std::string& label = {});
    ComboBox& add_combo_box(int id, const Rect& r, const std::string& label = {});
    ListView& add_list_view(int id, const Rect& r, const std::vector<Column>& columns,
                            const std::string& label = {});
    CheckBox& add_check_box(int id, const Rect& r, const std::string& text, bool checked = false,
                            const std::string& label = {});
    RadioButton& add_radio(int id, const Rect& r, const std::string& text, int group,
                           bool checked = false, const std::string& label = {});
    Slider& add_slider(int id, const Rect& r, int value = 0, const std::string& label = {});
    // buddy_edit_id: an edit field created before, or 0.
    UpDown& add_up_down(int id, const Rect& r, int low, int high, int value, int buddy_edit_id = 0,
                        const std::string& label = {});
    ScrollBar& add_scroll_bar(int id, const Rect& r, int low, int high, int page, int pos,
                              const std::string& label = {});
    ImageBox& add_image(int id, const Rect& r, const Surface& image = {});
    CustomArea& add_custom(int id, const Rect& r, const std::string& label = {});

    Control* find(int id) const;
    // Throws std::out_of_range for an unknown id or a control of another kind.
    Control& control(int id) const;
    template <class T>
    T& get(int id) const {
        T* t = dynamic_cast<T*>(&control(id));
        if (!t) throw_wrong_kind(id);
        return *t;
    }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    // Looks a control up the way scripts name it (see run()).
    Control* find_by_label(const std::string& name) const;
    Button* find_button(const std::string& name) const;
    Button* default_button() const;

    // Shorthands for the commonest owner calls.
    std::string text(int id) const { return control(id).text(); }
    void set_text(int id, const std::string& text) { control(id).set_text(text); }
    void show(int id, bool on = true) { control(id).show(on); }
    void enable(int id, bool on = true) { control(id).enable(on); }

    void on_notify(NotifyFn fn) { notify_ = std::move(fn); }
    void on_init(InitFn fn) { init_ = std::move(fn); }
    // Called on every pass of the event loop that found no event waiting.
    void on_idle(InitFn fn) { idle_ = std::move(fn); }
    // Whether pressing the button ends the dialog with its id after the
    // notification, unless the callback ended it already.  On for 1 and 2.
    void set_auto_end(int button_id, bool on);
    bool auto_ends(int button_id) const;
    // The button Escape presses (2 unless set).
    void set_cancel_id(int button_id) { cancel_id_ = button_id; }
    int cancel_id() const { return cancel_id_; }

    void set_focus(int id);
    int focus_id() const;
    Control* focused() const { return focus_; }

    void end(int code);
    bool ended() const { return ended_; }
    int end_code() const { return end_code_; }
    void invalidate() { dirty_ = true; }
    bool needs_paint() const { return dirty_; }

    // The modal loop, or in scripted mode the queued answer: see
    // Dialog::run in widgets.cpp.  Returns the end code.
    int run(Window& w, const Surface& under);
    // Draws the dialog over under into frame() and returns it, without
    // running; under smaller than the screen is drawn at the top-left.
    const Surface& render(const Surface& under);
    const Surface& frame() const { return frame_; }
    // The window while run() is running (nested boxes take it from here).
    Window* window() const { return window_; }
    std::uint32_t now() const;

    // Feeds one event as run() does.
    void handle_event(const Event& e);
    // Presses a button as a tap does: notification, then the automatic end.
    // False when there is no such button or it cannot be pressed.
    bool press(int button_id);
    void press(Button& b);
    // Runs the init callback, once in the dialog's life: the first run()
    // or render() calls it before painting.
    void initialise();

private:
    template <class T, class... Args>
    T& add(const std::string& label, Args&&... args);
    [[noreturn]] static void throw_wrong_kind(int id);
    void fire(Control& c, Notify what);
    void paint_all();
    void layout_frame();
    void move_focus(int direction);
    Control* hit(int x, int y) const;
    void first_focus();
    void focus_on(Control* c);
    int run_scripted(Window& w);
    void press_logged(Button* b, Window& w);
    bool apply_field(const std::string& name, const std::string& value, Window& w);
    void on_text_changed(Control& c);

    std::string title_;
    Rect outer_, client_;
    std::vector<std::unique_ptr<Control>> controls_;
    Control* focus_ = nullptr;
    Control* capture_ = nullptr;
    ComboBox* dropped_ = nullptr;
    bool drop_capture_ = false;
    NotifyFn notify_;
    InitFn init_, idle_;
    std::map<int, bool> auto_end_;
    int cancel_id_ = ID_CANCEL;
    bool ended_ = false;
    int end_code_ = 0;
    bool dirty_ = true;
    bool initialised_ = false;
    Window* window_ = nullptr;
    Surface under_;
    Surface frame_;

    friend class Control;
    friend class ComboBox;
    friend class UpDown;
    friend class RadioButton;
};

enum class BoxButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class BoxIcon { None, Information, Question, Warning, Error };

// The 24 x 24 message-box icon with its top-left corner at (x, y).
void draw_box_icon(Surface& s, int x, int y, BoxIcon icon);

// A message box over under: the text wrapped in a box sized to it, centred.
// Returns ID_OK, ID_CANCEL, ID_YES or ID_NO.  Enter takes the first button,
// Escape Cancel (or No, or OK when those are all there is).
int message_box(Window& w, const Surface& under, const std::string& text,
                const std::string& title, BoxButtons buttons, BoxIcon icon = BoxIcon::None);

// Lets the user pick a file of folder that matches pattern ("*.qxp"), or
// type a new name when for_save.  On OK path is the full path.
bool choose_file(Window& w, const Surface& under, const std::string& title,
                 const std::string& folder, const std::string& pattern, bool for_save,
                 std::string& path);

// A Quit event while a dialog or box runs ends it with 2 and sets this flag,
// so the main loop can close the calculator once the dialog has returned.
bool quit_requested();
void clear_quit_request();

}  // namespace qx
