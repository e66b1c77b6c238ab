// The dialog widget set: palette, drawing helpers, the controls and the
// modal loop.  Message boxes and the file chooser are in widgets_boxes.cpp.
#include "platform/widgets.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace qx {

// ---------------------------------------------------------------------------
// Palette
// ---------------------------------------------------------------------------

const Colour COLOUR_FACE = rgb(236, 236, 232);
const Colour COLOUR_FACE_LIGHT = rgb(252, 252, 250);
const Colour COLOUR_FACE_SHADOW = rgb(190, 190, 184);
const Colour COLOUR_FIELD = rgb(255, 255, 255);
const Colour COLOUR_FIELD_FRAME = rgb(148, 150, 156);
const Colour COLOUR_TEXT = rgb(24, 26, 30);
const Colour COLOUR_TEXT_DISABLED = rgb(152, 152, 146);
const Colour COLOUR_SELECTION = rgb(46, 106, 197);
const Colour COLOUR_SELECTION_TEXT = rgb(255, 255, 255);
const Colour COLOUR_TITLE_BAR = rgb(62, 74, 94);
const Colour COLOUR_TITLE_TEXT = rgb(255, 255, 255);
const Colour COLOUR_DIALOG_FRAME = rgb(38, 44, 54);

namespace {

const Colour kTitleTop = rgb(80, 94, 116);
const Colour kTitleBottom = rgb(52, 62, 80);
const Colour kButtonTop = rgb(253, 253, 251);
const Colour kButtonBottom = rgb(221, 221, 216);
const Colour kButtonPressedTop = rgb(200, 201, 197);
const Colour kButtonPressedBottom = rgb(218, 218, 213);
const Colour kButtonFrame = rgb(124, 127, 133);
const Colour kButtonFrameDisabled = rgb(178, 178, 174);
const Colour kDefaultFrame = rgb(44, 62, 96);
const Colour kTrack = rgb(224, 224, 219);
const Colour kReadOnlyField = rgb(246, 246, 243);
const Colour kFocusFrame = rgb(70, 128, 214);
const Colour kMark = rgb(28, 66, 142);
const Colour kGridLine = rgb(234, 234, 230);
const Colour kDropFrame = rgb(88, 96, 110);
const Colour kGroupLine = rgb(196, 196, 190);

constexpr FontId kFont = FONT_DIALOG;

int fh() { return font_height(kFont); }
int tw(const std::string& s) { return text_width(kFont, s.c_str()); }

Colour mix(Colour a, Colour b, int t256) {
    auto ch = [&](int x, int y) { return x + ((y - x) * t256) / 256; };
    return rgb(ch(red_of(a), red_of(b)), ch(green_of(a), green_of(b)), ch(blue_of(a), blue_of(b)));
}

void fill(Surface& s, const Rect& r, Colour c) {
    if (!r.empty()) fill_rect(s, c, r.x, r.y, r.right(), r.bottom());
}

void outline(Surface& s, const Rect& r, Colour c) {
    if (!r.empty()) frame_rect(s, c, r.x, r.y, r.right(), r.bottom());
}

void vgradient(Surface& s, const Rect& r, Colour top, Colour bottom) {
    for (int i = 0; i < r.h; ++i) {
        int t = r.h > 1 ? i * 256 / (r.h - 1) : 0;
        fill_rect(s, mix(top, bottom, t), r.x, r.y + i, r.right(), r.y + i);
    }
}

// Every other pixel of the rectangle's outline, anchored to the surface so
// the corners match up.
void dotted_rect(Surface& s, const Rect& r, Colour c) {
    if (r.empty()) return;
    for (int x = r.x; x <= r.right(); ++x) {
        if (((x + r.y) & 1) == 0) s.set(x, r.y, c);
        if (((x + r.bottom()) & 1) == 0) s.set(x, r.bottom(), c);
    }
    for (int y = r.y; y <= r.bottom(); ++y) {
        if (((r.x + y) & 1) == 0) s.set(r.x, y, c);
        if (((r.right() + y) & 1) == 0) s.set(r.right(), y, c);
    }
}

// Text clipped to a rectangle of the surface (the font only clips to the
// surface itself).
void draw_text_clipped(Surface& s, const std::string& text, int x, int y, Colour c,
                       const Rect& clip, bool bold = false) {
    Rect r = intersect(clip, {0, 0, s.width(), s.height()});
    if (r.empty() || text.empty()) return;
    Surface part(r.w, r.h);
    copy_block(part, 0, 0, s, r.x, r.y, r.w, r.h);
    if (bold)
        draw_text_bold(part, kFont, text.c_str(), x - r.x, y - r.y, c);
    else
        draw_text(part, kFont, text.c_str(), x - r.x, y - r.y, c);
    copy_block(s, r.x, r.y, part, 0, 0, r.w, r.h);
}

// Text aligned within a cell, vertically centred, clipped to it.
void draw_cell_text(Surface& s, const std::string& text, const Rect& cell, Align align,
                    Colour c, int pad = 3) {
    std::string t = fit_text(kFont, text, cell.w - 2 * pad);
    int w = tw(t);
    int x = align == Align::Left     ? cell.x + pad
            : align == Align::Right  ? cell.right() - pad + 1 - w
                                     : cell.x + (cell.w - w) / 2;
    draw_text_clipped(s, t, x, cell.y + (cell.h - fh()) / 2, c, cell);
}

enum class Dir { Up, Down, Left, Right };

// A solid triangle centred on (cx, cy), size rows deep.
void draw_arrow(Surface& s, int cx, int cy, Dir d, int size, Colour c) {
    for (int i = 0; i < size; ++i) {
        int half = i;   // row i of the triangle, from the tip
        switch (d) {
            case Dir::Up: fill_rect(s, c, cx - half, cy - size / 2 + i, cx + half, cy - size / 2 + i); break;
            case Dir::Down: fill_rect(s, c, cx - half, cy + size / 2 - i, cx + half, cy + size / 2 - i); break;
            case Dir::Left: fill_rect(s, c, cx - size / 2 + i, cy - half, cx - size / 2 + i, cy + half); break;
            case Dir::Right: fill_rect(s, c, cx + size / 2 - i, cy - half, cx + size / 2 - i, cy + half); break;
        }
    }
}

// The raised look of buttons, arrows and thumbs: a frame with clipped
// corners, a light top edge, a shaded bottom edge and a soft gradient.
void draw_bevel(Surface& s, const Rect& r, bool pressed, bool enabled, bool rounded = true) {
    if (r.w < 3 || r.h < 3) {
        fill(s, r, COLOUR_FACE_SHADOW);
        return;
    }
    Rect in = r.inset(1);
    if (pressed)
        vgradient(s, in, kButtonPressedTop, kButtonPressedBottom);
    else
        vgradient(s, in, kButtonTop, kButtonBottom);
    Colour edge = enabled ? kButtonFrame : kButtonFrameDisabled;
    int c = rounded ? 1 : 0;
    fill_rect(s, edge, r.x + c, r.y, r.right() - c, r.y);
    fill_rect(s, edge, r.x + c, r.bottom(), r.right() - c, r.bottom());
    fill_rect(s, edge, r.x, r.y + c, r.x, r.bottom() - c);
    fill_rect(s, edge, r.right(), r.y + c, r.right(), r.bottom() - c);
    if (rounded) {
        // Half-tone corners soften the clipped corner pixels.
        Colour soft = mix(s.get(r.x, r.y), edge, 110);
        s.set(r.x, r.y, soft);
        s.set(r.right(), r.y, mix(s.get(r.right(), r.y), edge, 110));
        s.set(r.x, r.bottom(), mix(s.get(r.x, r.bottom()), edge, 110));
        s.set(r.right(), r.bottom(), mix(s.get(r.right(), r.bottom()), edge, 110));
    }
    if (!pressed) {
        fill_rect(s, COLOUR_FACE_LIGHT, in.x, in.y, in.right(), in.y);
        fill_rect(s, mix(kButtonBottom, kButtonFrame, 70), in.x, in.bottom(), in.right(), in.bottom());
    } else {
        fill_rect(s, mix(kButtonPressedTop, kButtonFrame, 90), in.x, in.y, in.right(), in.y);
    }
}

// A white (or greyed) field with a 1-px frame; returns the inside.
Rect draw_field(Surface& s, const Rect& r, Colour background, bool enabled, bool focused = false) {
    fill(s, r.inset(1), enabled ? background : COLOUR_FACE);
    outline(s, r, focused ? kFocusFrame : enabled ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    return r.inset(1);
}

// Fraction (0..256) of the pixel covered by a disc, by 4 x 4 samples.
int disc_cover(int px, int py, double cx, double cy, double r) {
    int n = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            double dx = px + (i + 0.5) / 4 - cx, dy = py + (j + 0.5) / 4 - cy;
            if (dx * dx + dy * dy <= r * r) ++n;
        }
    return n * 16;
}

void blend_disc(Surface& s, const Rect& box, double r, Colour c) {
    double cx = box.x + box.w / 2.0, cy = box.y + box.h / 2.0;
    for (int y = box.y; y <= box.bottom(); ++y)
        for (int x = box.x; x <= box.right(); ++x) {
            int a = disc_cover(x, y, cx, cy, r);
            if (a > 0) s.set(x, y, mix(s.get(x, y), c, a));
        }
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    std::size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

bool parse_int(const std::string& text, int& out) {
    std::string t = trim(text);
    if (t.empty()) return false;
    std::size_t i = 0;
    bool neg = false;
    if (t[0] == '+' || t[0] == '-') {
        neg = t[0] == '-';
        i = 1;
    }
    if (i == t.size()) return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
        v = v * 10 + (t[i] - '0');
        if (v > 1000000000LL) return false;
    }
    out = static_cast<int>(neg ? -v : v);
    return true;
}

// "#N": a row or id by number.
bool parse_hash(const std::string& text, int& out) {
    std::string t = trim(text);
    if (t.size() < 2 || t[0] != '#') return false;
    for (std::size_t i = 1; i < t.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
    return parse_int(t.substr(1), out);
}

int g_dialog_runs = 0;
bool g_quit = false;

}  // namespace

std::string script_name(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    out = trim(out);
    if (!out.empty() && out.back() == ':') out = trim(out.substr(0, out.size() - 1));
    return lower(out);
}

bool quit_requested() { return g_quit; }
void clear_quit_request() { g_quit = false; }

Rect intersect(const Rect& a, const Rect& b) {
    int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
    return {x0, y0, x1 - x0, y1 - y0};
}

// ---------------------------------------------------------------------------
// Text helpers
// ---------------------------------------------------------------------------

std::vector<std::string> wrap_text(FontId font, const std::string& text, int width) {
    std::vector<std::string> lines;
    auto w = [&](const std::string& s) { return text_width(font, s.c_str()); };
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text.find('\n', start);
        std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!para.empty() && para.back() == '\r') para.pop_back();
        std::string line;
        std::size_t p = 0;
        bool any = false;
        while (p < para.size()) {
            while (p < para.size() && para[p] == ' ') ++p;
            if (p >= para.size()) break;
            std::size_t e = para.find(' ', p);
            std::string word = para.substr(p, e == std::string::npos ? std::string::npos : e - p);
            p = e == std::string::npos ? para.size() : e;
            std::string candidate = line.empty() ? word : line + " " + word;
            if (w(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.empty()) {
                lines.push_back(line);
                any = true;
            }
            // A word too long for a line is cut where it overflows; every
            // piece keeps at least one character so this always ends.
            while (w(word) > width && word.size() > 1) {
                std::size_t n = 1;
                while (n < word.size() && w(word.substr(0, n + 1)) <= width) ++n;
                lines.push_back(word.substr(0, n));
                any = true;
                word = word.substr(n);
            }
            line = word;
        }
        if (!line.empty() || !any) lines.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

std::string fit_text(FontId font, const std::string& text, int width) {
    if (text_width(font, text.c_str()) <= width) return text;
    std::string t = text;
    while (!t.empty()) {
        t.pop_back();
        std::string candidate = t + "...";
        if (text_width(font, candidate.c_str()) <= width) return candidate;
    }
    return text_width(font, "...") <= width ? "..." : "";
}

std::string strip_mnemonic(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

// ---------------------------------------------------------------------------
// Icons
// ---------------------------------------------------------------------------

namespace {

// 8 x 12 marks drawn on the icons ('#' set).
const char* const kMarkQuestion[] = {
    "..####..", ".##..##.", ".##..##.", ".....##.", "....##..", "...##...",
    "...##...", "...##...", "........", "...##...", "...##...", "........"};
const char* const kMarkExclaim[] = {
    "...##...", "...##...", "...##...", "...##...", "...##...", "...##...",
    "...##...", "........", "...##...", "...##...", "........", "........"};
const char* const kMarkInfo[] = {
    "...##...", "...##...", "........", "..###...", "...##...", "...##...",
    "...##...", "...##...", "...##...", "..####..", "........", "........"};

void draw_mark(Surface& s, const char* const* rows, int x, int y, Colour c) {
    for (int j = 0; j < 12; ++j)
        for (int i = 0; i < 8; ++i)
            if (rows[j][i] == '#') s.set(x + i, y + j, c);
}

}  // namespace

void draw_box_icon(Surface& s, int x, int y, BoxIcon icon) {
    const Rect box{x, y, 24, 24};
    switch (icon) {
        case BoxIcon::None: return;
        case BoxIcon::Information:
        case BoxIcon::Question:
            blend_disc(s, box, 11.5, rgb(30, 78, 160));
            blend_disc(s, box, 10.5, rgb(58, 124, 214));
            draw_mark(s, icon == BoxIcon::Question ? kMarkQuestion : kMarkInfo, x + 8,
                      y + (icon == BoxIcon::Question ? 6 : 7), COLOUR_WHITE);
            return;
        case BoxIcon::Error:
            blend_disc(s, box, 11.5, rgb(150, 24, 24));
            blend_disc(s, box, 10.5, rgb(214, 52, 46));
            for (int d = 0; d < 2; ++d) {
                draw_line(s, x + 7 + d, y + 7, x + 17 + d, y + 17, COLOUR_WHITE);
                draw_line(s, x + 16 + d, y + 7, x + 6 + d, y + 17, COLOUR_WHITE);
            }
            return;
        case BoxIcon::Warning: {
            // A triangle with its apex at the top centre, edges blended.
            const Colour edge = rgb(150, 104, 12), body = rgb(246, 196, 48);
            for (int j = 0; j < 22; ++j) {
                double half = 1.0 + j * 0.52;
                for (int i = 0; i < 24; ++i) {
                    double d = std::fabs(i + 0.5 - 12.0);
                    if (d > half + 0.5) continue;
                    Colour c = (d > half - 1.0 || j == 21) ? edge : body;
                    int a = d > half ? static_cast<int>((half + 0.5 - d) * 256) : 256;
                    s.set(x + i, y + 1 + j, mix(s.get(x + i, y + 1 + j), c, a));
                }
            }
            draw_mark(s, kMarkExclaim, x + 8, y + 8, rgb(40, 30, 10));
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// ScrollTrack
// ---------------------------------------------------------------------------

int ScrollTrack::max_pos() const { return std::max(low, high - std::max(page, 1) + 1); }

bool ScrollTrack::set_pos(int p) {
    p = std::clamp(p, low, max_pos());
    if (p == pos) return false;
    pos = p;
    return true;
}

namespace {
int arrow_size(const Rect& r) { return std::min(r.w, r.h / 2); }
}  // namespace

void ScrollTrack::thumb_span(const Rect& r, int& top, int& length) const {
    int a = arrow_size(r);
    int track_top = r.y + a, track_len = r.h - 2 * a;
    if (!scrollable() || track_len < 4) {
        top = track_top;
        length = 0;
        return;
    }
    int total = high - low + 1;
    int pg = std::clamp(page, 1, total);
    length = std::clamp(track_len * pg / total, std::min(8, track_len), track_len);
    int travel = track_len - length;
    top = track_top + static_cast<int>(static_cast<long long>(pos - low) * travel / (max_pos() - low));
}

ScrollTrack::Part ScrollTrack::hit(const Rect& r, int x, int y) const {
    if (!r.contains(x, y)) return None;
    int a = arrow_size(r);
    if (y < r.y + a) return UpArrow;
    if (y > r.bottom() - a) return DownArrow;
    int top, len;
    thumb_span(r, top, len);
    if (len == 0) return None;
    if (y < top) return PageUp;
    if (y >= top + len) return PageDown;
    return Thumb;
}

bool ScrollTrack::step(Part part) {
    int pg = std::max(1, page);
    switch (part) {
        case UpArrow: return set_pos(pos - 1);
        case DownArrow: return set_pos(pos + 1);
        case PageUp: return set_pos(pos - pg);
        case PageDown: return set_pos(pos + pg);
        default: return false;
    }
}

bool ScrollTrack::press(const Rect& r, int x, int y, std::uint32_t now) {
    held_ = hit(r, x, y);
    last_x_ = x;
    last_y_ = y;
    if (held_ == Thumb) {
        int top, len;
        thumb_span(r, top, len);
        grab_offset_ = y - top;
        return false;
    }
    next_repeat_ = now + 400;
    return step(held_);
}

bool ScrollTrack::drag(const Rect& r, int /*x*/, int y) {
    last_y_ = y;
    if (held_ != Thumb) return false;
    int top, len;
    thumb_span(r, top, len);
    int a = arrow_size(r);
    int travel = r.h - 2 * a - len;
    if (travel <= 0) return false;
    int offset = y - grab_offset_ - (r.y + a);
    long long span = max_pos() - low;
    int p = low + static_cast<int>((offset * span * 2 + travel) / (2 * travel));
    if (offset < 0) p = low;
    return set_pos(p);
}

bool ScrollTrack::repeat(const Rect& r, std::uint32_t now) {
    if (held_ == None || held_ == Thumb) return false;
    if (static_cast<std::int32_t>(now - next_repeat_) < 0) return false;
    next_repeat_ = now + 60;
    // Paging stops once the thumb has come under the stylus.
    if ((held_ == PageUp || held_ == PageDown) && hit(r, last_x_, last_y_) != held_) return false;
    return step(held_);
}

void ScrollTrack::paint(Surface& s, const Rect& r, bool enabled) const {
    if (r.empty()) return;
    fill(s, r, kTrack);
    fill_rect(s, mix(kTrack, kButtonFrame, 60), r.x, r.y, r.x, r.bottom());
    int a = arrow_size(r);
    bool live = enabled && scrollable();
    Colour glyph = live ? COLOUR_TEXT : COLOUR_TEXT_DISABLED;
    Rect up{r.x, r.y, r.w, a}, down{r.x, r.bottom() - a + 1, r.w, a};
    draw_bevel(s, up, held_ == UpArrow, enabled, false);
    draw_bevel(s, down, held_ == DownArrow, enabled, false);
    int sz = std::max(2, (r.w - 4) / 2);
    draw_arrow(s, up.x + up.w / 2, up.y + up.h / 2, Dir::Up, sz, glyph);
    draw_arrow(s, down.x + down.w / 2, down.y + down.h / 2, Dir::Down, sz, glyph);
    int top, len;
    thumb_span(r, top, len);
    if (len > 0 && enabled) {
        Rect t{r.x, top, r.w, len};
        draw_bevel(s, t, false, true, false);
        // Grip lines in the middle of a thumb big enough for them.
        if (len >= 14) {
            int cy = top + len / 2;
            for (int k = -2; k <= 2; k += 2)
                fill_rect(s, COLOUR_FACE_SHADOW, t.x + 3, cy + k, t.right() - 3, cy + k);
        }
    }
}

// ---------------------------------------------------------------------------
// Control
// ---------------------------------------------------------------------------

Control::Control(Dialog& dialog, ControlKind kind, int id, const Rect& rect, const std::string& text)
    : dialog_(&dialog), kind_(kind), id_(id), rect_(rect), text_(text) {}

void Control::set_rect(const Rect& r) {
    rect_ = r;
    invalidate();
}

void Control::set_text(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    invalidate();
}

void Control::show(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    if (!on && dialog_->focus_ == this) dialog_->move_focus(1);
    invalidate();
}

void Control::enable(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    if (!on && dialog_->focus_ == this) dialog_->move_focus(1);
    invalidate();
}

void Control::invalidate() { dialog_->invalidate(); }
void Control::notify(Notify what) { dialog_->fire(*this, what); }
std::uint32_t Control::now() const { return dialog_->now(); }
bool Control::has_focus() const { return dialog_->focus_ == this; }

// ---------------------------------------------------------------------------
// Button
// ---------------------------------------------------------------------------

Button::Button(Dialog& d, int id, const Rect& r, const std::string& text, bool is_default)
    : Control(d, ControlKind::Button, id, r, text), default_(is_default) {}

void Button::set_default(bool on) {
    if (on)
        for (auto& c : dialog_->controls())
            if (auto* b = dynamic_cast<Button*>(c.get())) b->default_ = false;
    default_ = on;
    invalidate();
}

void Button::paint(Surface& s, bool focused) {
    Rect r{0, 0, rect_.w, rect_.h};
    if (default_ && enabled_) {
        // The default button's frame is doubled in the dark accent.
        outline(s, r.inset(1), kDefaultFrame);
        draw_bevel(s, r, pressed_, true);
        Colour edge = kDefaultFrame;
        fill_rect(s, edge, 1, 0, r.right() - 1, 0);
        fill_rect(s, edge, 1, r.bottom(), r.right() - 1, r.bottom());
        fill_rect(s, edge, 0, 1, 0, r.bottom() - 1);
        fill_rect(s, edge, r.right(), 1, r.right(), r.bottom() - 1);
        outline(s, r.inset(1), kDefaultFrame);
    } else {
        draw_bevel(s, r, pressed_, enabled_);
    }
    std::string t = strip_mnemonic(text_);
    int off = pressed_ ? 1 : 0;
    Rect cell = r.inset(2).moved(off, off);
    draw_cell_text(s, t, cell, Align::Centre, enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED, 1);
    if (focused) dotted_rect(s, r.inset(3), COLOUR_TEXT);
}

void Button::stylus_down(int, int) {
    tracking_ = pressed_ = true;
    invalidate();
}

void Button::stylus_move(int x, int y) {
    if (!tracking_) return;
    bool in = Rect{0, 0, rect_.w, rect_.h}.contains(x, y);
    if (in != pressed_) {
        pressed_ = in;
        invalidate();
    }
}

void Button::stylus_up(int, int) {
    bool fire = tracking_ && pressed_;
    tracking_ = pressed_ = false;
    invalidate();
    if (fire) dialog_->press(*this);
}

bool Button::key(int key, int) {
    if (key != KEY_SPACE && key != KEY_RETURN) return false;
    dialog_->press(*this);
    return true;
}

// ---------------------------------------------------------------------------
// Static text and group box
// ---------------------------------------------------------------------------

StaticText::StaticText(Dialog& d, int id, const Rect& r, const std::string& text, Align align,
                       bool wrap)
    : Control(d, ControlKind::Static, id, r, text), align_(align), wrap_(wrap) {}

void StaticText::set_align(Align a) {
    align_ = a;
    invalidate();
}

void StaticText::set_wrap(bool on) {
    wrap_ = on;
    invalidate();
}

void StaticText::paint(Surface& s, bool) {
    Colour c = enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED;
    std::string t = strip_mnemonic(text_);
    auto place = [&](const std::string& line, int y) {
        int w = tw(line);
        int x = align_ == Align::Left ? 0 : align_ == Align::Right ? rect_.w - w : (rect_.w - w) / 2;
        draw_text(s, kFont, line.c_str(), x, y, c);
    };
    if (!wrap_ && t.find('\n') == std::string::npos) {
        place(t, (rect_.h - fh()) / 2);
        return;
    }
    int y = 0;
    for (const std::string& line : wrap_text(kFont, t, rect_.w)) {
        place(line, y);
        y += fh();
    }
}

GroupBox::GroupBox(Dialog& d, int id, const Rect& r, const std::string& text)
    : Control(d, ControlKind::GroupBox, id, r, text) {}

void GroupBox::paint(Surface& s, bool) {
    int top = fh() / 2;
    Rect box{0, top, rect_.w, rect_.h - top};
    // An etched line: shadow, then highlight inside it.
    outline(s, box.moved(1, 1), COLOUR_FACE_LIGHT);
    outline(s, Rect{box.x, box.y, box.w - 1, box.h - 1}, kGroupLine);
    std::string t = strip_mnemonic(text_);
    if (t.empty()) return;
    int w = tw(t);
    fill_rect(s, COLOUR_FACE, 5, 0, 5 + w + 5, fh() - 1);
    draw_text(s, kFont, t.c_str(), 8, 0, enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED);
}

// ---------------------------------------------------------------------------
// Edit
// ---------------------------------------------------------------------------

namespace {

// Line breaks as a multi-line field keeps them: "\r\n" and a lone '\r'
// become '\n', and with escapes so does the two-character "\n" scripts use.
std::string line_breaks(const std::string& text, bool escapes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            c = '\n';
        } else if (escapes && c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            ++i;
            c = '\n';
        }
        out += c;
    }
    return out;
}

int cw(char c) { return char_width(kFont, static_cast<unsigned char>(c)); }

}  // namespace

Edit::Edit(Dialog& d, int id, const Rect& r, const std::string& text, const EditOptions& options)
    : Control(d, ControlKind::Edit, id, r, {}), options_(options) {
    set_text(text);
}

void Edit::set_text(const std::string& text) {
    std::string t = options_.multi_line ? line_breaks(text, false) : text;
    if (options_.max_length > 0 && static_cast<int>(t.size()) > options_.max_length)
        t.resize(options_.max_length);
    text_ = t;
    caret_ = static_cast<int>(text_.size());
    caret_at_wrap_ = false;
    goal_x_ = -1;
    scroll_x_ = 0;
    scroll_.pos = 0;
    wrapped_ = false;
    keep_caret_visible();
    invalidate();
}

void Edit::set_caret(int pos) {
    place_caret(pos, false);
}

void Edit::set_read_only(bool on) {
    options_.read_only = on;
    wrapped_ = false;
    caret_at_wrap_ = false;
    invalidate();
}

void Edit::set_max_length(int n) { options_.max_length = std::max(0, n); }

Rect Edit::text_area() const {
    if (options_.multi_line) {
        int bar = show_bar_ ? SCROLL_BAR_WIDTH : 0;
        return {3, 2, rect_.w - 5 - bar, rect_.h - 4};
    }
    return {3, 1, rect_.w - 6, rect_.h - 2};
}

Rect Edit::scroll_area() const {
    return {rect_.w - 1 - SCROLL_BAR_WIDTH, 1, SCROLL_BAR_WIDTH, rect_.h - 2};
}

void Edit::rewrap() {
    if (!options_.multi_line) return;
    if (wrapped_ && wrapped_w_ == rect_.w && wrapped_h_ == rect_.h) return;
    int rows = std::max(1, (rect_.h - 4) / fh());
    // Read-only text keeps the word wrap of static texts; editable text must
    // map every offset to a place on the screen, so it wraps by offsets.
    auto wrap = [&] {
        if (options_.read_only) {
            lines_ = wrap_text(kFont, text_, text_area().w);
            spans_.clear();
            return;
        }
        // One pixel to spare for the caret after the widest line.
        wrap_spans(text_area().w - 1);
        lines_.resize(spans_.size());
        for (std::size_t i = 0; i < spans_.size(); ++i)
            lines_[i].assign(text_, spans_[i].start, spans_[i].end - spans_[i].start);
    };
    show_bar_ = false;
    wrap();
    if (static_cast<int>(lines_.size()) > rows) {
        show_bar_ = true;
        wrap();
    }
    scroll_.low = 0;
    scroll_.high = static_cast<int>(lines_.size()) - 1;
    scroll_.page = rows;
    scroll_.set_pos(scroll_.pos);
    wrapped_ = true;
    wrapped_w_ = rect_.w;
    wrapped_h_ = rect_.h;
}

// Breaks after the blanks before the word that overflows, or between
// characters in a word wider than the line; blanks never overflow, they
// hang at the end of their line.  Every line but an empty paragraph holds
// at least one character, so this always ends.
void Edit::wrap_spans(int width) {
    spans_.clear();
    const int n = static_cast<int>(text_.size());
    int start = 0;
    while (true) {
        int w = 0, word = -1, i = start;
        for (; i < n && text_[i] != '\n'; ++i) {
            if (text_[i] != ' ') {
                if (i > start && text_[i - 1] == ' ') word = i;
                if (w + cw(text_[i]) > width && i > start) break;
            }
            w += cw(text_[i]);
        }
        if (i < n && text_[i] != '\n') {
            int end = word > start ? word : i;
            spans_.push_back({start, end});
            start = end;
            continue;
        }
        spans_.push_back({start, i});
        if (i >= n) break;
        start = i + 1;
    }
}

int Edit::line_count() {
    rewrap();
    return static_cast<int>(lines_.size());
}

int Edit::caret_line() const {
    auto after = std::upper_bound(spans_.begin(), spans_.end(), caret_,
                                  [](int pos, const Span& s) { return pos < s.start; });
    int line = std::max(0, static_cast<int>(after - spans_.begin()) - 1);
    if (caret_at_wrap_ && line > 0 && wrap_end(line - 1, caret_)) --line;
    return line;
}

int Edit::line_x(int line, int pos) const {
    int x = 0;
    for (int i = spans_[line].start; i < pos && i < spans_[line].end; ++i) x += cw(text_[i]);
    return x;
}

int Edit::nearest_offset(int start, int end, int x) const {
    int best = start, best_d = std::abs(x), acc = 0;
    for (int i = start; i < end; ++i) {
        acc += cw(text_[i]);
        if (std::abs(acc - x) < best_d) {
            best_d = std::abs(acc - x);
            best = i + 1;
        }
    }
    return best;
}

int Edit::pos_at(int line, int x) const { return nearest_offset(spans_[line].start, spans_[line].end, x); }

bool Edit::wrap_end(int line, int pos) const {
    return line + 1 < static_cast<int>(spans_.size()) && spans_[line].end == pos &&
           spans_[line + 1].start == pos;
}

void Edit::place_caret(int pos, bool at_wrap_end) {
    caret_ = std::clamp(pos, 0, static_cast<int>(text_.size()));
    caret_at_wrap_ = at_wrap_end;
    goal_x_ = -1;
    keep_caret_visible();
    invalidate();
}

void Edit::caret_to_point(int x, int y) {
    rewrap();
    Rect ta = text_area();
    int dy = y - ta.y;
    int row = dy >= 0 ? dy / fh() : -((fh() - 1 - dy) / fh());
    int line = std::clamp(scroll_.pos + row, 0, static_cast<int>(spans_.size()) - 1);
    int p = pos_at(line, x - ta.x);
    place_caret(p, wrap_end(line, p));
}

// Up and Down aim at the column the first of them started from, so the
// caret comes back to it after passing a shorter line.
void Edit::move_lines(int delta) {
    rewrap();
    int line = caret_line();
    int goal = goal_x_ >= 0 ? goal_x_ : line_x(line, caret_);
    int target = std::clamp(line + delta, 0, static_cast<int>(spans_.size()) - 1);
    if (target == line) return;
    int p = pos_at(target, goal);
    place_caret(p, wrap_end(target, p));
    goal_x_ = goal;
}

void Edit::keep_caret_visible() {
    if (options_.multi_line) {
        if (options_.read_only) return;
        rewrap();
        int line = caret_line();
        if (line < scroll_.pos)
            scroll_.set_pos(line);
        else if (line >= scroll_.pos + scroll_.page)
            scroll_.set_pos(line - scroll_.page + 1);
        return;
    }
    int width = std::max(1, text_area().w - 1);
    int total = tw(text_);
    int cx = text_width(kFont, text_.substr(0, caret_).c_str());
    // No blank space after the text while there is text scrolled off the left.
    if (total - scroll_x_ < width) scroll_x_ = std::max(0, total - width);
    if (cx - scroll_x_ > width) scroll_x_ = cx - width;
    if (cx < scroll_x_) scroll_x_ = std::max(0, cx - width / 3);
}

int Edit::caret_from_x(int x) const {
    return nearest_offset(0, static_cast<int>(text_.size()), x - text_area().x + scroll_x_);
}

bool Edit::accepts(char c) const {
    if (static_cast<unsigned char>(c) < 32 || c == 127) return false;
    if (!options_.numeric) return true;
    return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' ||
           c == ',' || c == 'E' || c == 'e';
}

bool Edit::insert(const std::string& chars) {
    // A single-line field takes the first line of a pasted text.
    const std::string lines =
        options_.multi_line ? line_breaks(chars, false) : chars.substr(0, chars.find_first_of("\r\n"));
    std::string add;
    for (char c : lines)
        if (c == '\n' || accepts(c)) add += c;
    if (options_.max_length > 0) {
        int room = options_.max_length - static_cast<int>(text_.size());
        if (room <= 0) return false;
        if (static_cast<int>(add.size()) > room) add.resize(room);
    }
    if (add.empty()) return false;
    text_.insert(caret_, add);
    caret_ += static_cast<int>(add.size());
    edited();
    return true;
}

void Edit::remove(int pos) {
    text_.erase(pos, 1);
    caret_ = pos;
    edited();
}

void Edit::edited() {
    caret_at_wrap_ = false;
    goal_x_ = -1;
    wrapped_ = false;
    keep_caret_visible();
    invalidate();
    notify(Notify::TextChanged);
}

void Edit::draw_lines(Surface& s, const Rect& area, Colour c) {
    Rect clip = intersect(area, {0, 0, s.width(), s.height()});
    if (clip.empty()) return;
    if (canvas_.width() != clip.w || canvas_.height() != clip.h) canvas_ = Surface(clip.w, clip.h);
    copy_block(canvas_, 0, 0, s, clip.x, clip.y, clip.w, clip.h);
    for (int i = scroll_.pos, y = area.y; i < static_cast<int>(lines_.size()) && y < area.bottom();
         ++i, y += fh())
        draw_text(canvas_, kFont, lines_[i].c_str(), area.x - clip.x, y - clip.y, c);
    copy_block(s, clip.x, clip.y, canvas_, 0, 0, clip.w, clip.h);
}

void Edit::paint(Surface& s, bool focused) {
    Rect r{0, 0, rect_.w, rect_.h};
    if (options_.multi_line) {
        rewrap();
        draw_field(s, r, COLOUR_FIELD, enabled_, focused);
        Rect ta = text_area();
        draw_lines(s, ta, enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED);
        if (focused && !options_.read_only && enabled_) {
            int line = caret_line();
            int y = ta.y + (line - scroll_.pos) * fh();
            if (line >= scroll_.pos && y < ta.bottom()) {
                int cx = std::clamp(ta.x + line_x(line, caret_), ta.x, ta.right());
                fill_rect(s, COLOUR_TEXT, cx, y, cx, std::min(y + fh() - 1, ta.bottom()));
            }
        }
        if (show_bar_) scroll_.paint(s, scroll_area(), enabled_);
        return;
    }
    draw_field(s, r, options_.read_only ? kReadOnlyField : COLOUR_FIELD, enabled_, focused);
    Rect ta = text_area();
    int y = (rect_.h - fh()) / 2;
    draw_text_clipped(s, text_, ta.x - scroll_x_, y, enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED, ta);
    if (focused && !options_.read_only && enabled_) {
        int cx = ta.x + text_width(kFont, text_.substr(0, caret_).c_str()) - scroll_x_;
        cx = std::clamp(cx, ta.x, ta.right());
        fill_rect(s, COLOUR_TEXT, cx, y, cx, y + fh() - 1);
    }
}

void Edit::stylus_down(int x, int y) {
    if (options_.multi_line) {
        rewrap();
        if (show_bar_ && scroll_area().contains(x, y)) {
            if (scroll_.press(scroll_area(), x, y, now())) invalidate();
            invalidate();
            return;
        }
        dragging_text_ = true;
        drag_y_ = y;
        drag_top_ = scroll_.pos;
        if (!options_.read_only) caret_to_point(x, y);
        return;
    }
    set_caret(caret_from_x(x));
}

void Edit::stylus_move(int x, int y) {
    if (options_.multi_line) {
        if (scroll_.held()) {
            if (scroll_.drag(scroll_area(), x, y)) invalidate();
        } else if (dragging_text_ && !options_.read_only) {
            // The caret follows the stylus, scrolling past the edges.
            caret_to_point(x, y);
        } else if (dragging_text_) {
            // Dragging the text moves it with the stylus, a line at a time.
            if (scroll_.set_pos(drag_top_ - (y - drag_y_) / fh())) invalidate();
        }
        return;
    }
    set_caret(caret_from_x(x));
}

void Edit::stylus_up(int, int) {
    scroll_.release();
    dragging_text_ = false;
    invalidate();
}

void Edit::stylus_held() {
    if (options_.multi_line && scroll_.repeat(scroll_area(), now())) invalidate();
}

bool Edit::key(int key, int mods) {
    if ((mods & MOD_CTRL) && key == KEY_LETTER_C) {
        if (dialog_->window()) dialog_->window()->set_clipboard(text_);
        return true;
    }
    if (options_.multi_line && options_.read_only) {
        rewrap();
        int p = scroll_.pos, page = std::max(1, scroll_.page - 1);
        switch (key) {
            case KEY_UP: p -= 1; break;
            case KEY_DOWN: p += 1; break;
            case KEY_PAGE_UP: p -= page; break;
            case KEY_PAGE_DOWN: p += page; break;
            case KEY_HOME: p = 0; break;
            case KEY_END: p = scroll_.high; break;
            default: return false;
        }
        if (scroll_.set_pos(p)) invalidate();
        return true;
    }
    if ((mods & MOD_CTRL) && key == KEY_LETTER_V) {
        if (!options_.read_only && dialog_->window()) insert(dialog_->window()->clipboard());
        return true;
    }
    if (options_.multi_line && multi_line_key(key, mods)) return true;
    int len = static_cast<int>(text_.size());
    switch (key) {
        case KEY_LEFT: set_caret(caret_ - 1); return true;
        case KEY_RIGHT: set_caret(caret_ + 1); return true;
        case KEY_HOME: set_caret(0); return true;
        case KEY_END: set_caret(len); return true;
        case KEY_BACKSPACE:
            if (!options_.read_only && caret_ > 0) remove(caret_ - 1);
            return true;
        case KEY_DELETE:
            if (!options_.read_only && caret_ < len) remove(caret_);
            return true;
        default: return false;
    }
}

// The keys an editable multi-line field reads by wrapped lines; the rest
// (Left, Right, Backspace, Delete) work on offsets as in a single line.
bool Edit::multi_line_key(int key, int mods) {
    rewrap();
    const int line = caret_line();
    const int page = std::max(1, scroll_.page - 1);
    switch (key) {
        case KEY_UP: move_lines(-1); return true;
        case KEY_DOWN: move_lines(1); return true;
        case KEY_PAGE_UP: move_lines(-page); return true;
        case KEY_PAGE_DOWN: move_lines(page); return true;
        case KEY_HOME:
            place_caret((mods & MOD_CTRL) ? 0 : spans_[line].start, false);
            return true;
        case KEY_END:
            if (mods & MOD_CTRL)
                place_caret(static_cast<int>(text_.size()), false);
            else
                place_caret(spans_[line].end, wrap_end(line, spans_[line].end));
            return true;
        case KEY_RETURN:
            // Consumed even when the field is full: Enter here never means OK.
            insert("\n");
            return true;
        default: return false;
    }
}

bool Edit::type(char c) {
    if (options_.read_only) return false;
    // A refused character is still consumed: it must not reach the dialog.
    insert(std::string(1, c));
    return true;
}

void Edit::focus_changed(bool) { invalidate(); }

bool Edit::script_set(const std::string& value) {
    if (options_.read_only) return false;
    std::string v = options_.multi_line ? line_breaks(value, true) : value;
    for (char c : v)
        if (!accepts(c) && !(c == '\n' && options_.multi_line)) return false;
    if (options_.max_length > 0 && static_cast<int>(v.size()) > options_.max_length) return false;
    text_ = v;
    caret_ = static_cast<int>(text_.size());
    scroll_x_ = 0;
    edited();
    return true;
}

// ---------------------------------------------------------------------------
// Item lists
// ---------------------------------------------------------------------------

ItemList::ItemList(Dialog& d, ControlKind kind, int id, const Rect& r)
    : Control(d, kind, id, r, {}) {}

void ItemList::clear() {
    rows_.clear();
    selected_ = -1;
    text_.clear();
    selection_moved();
    invalidate();
}

int ItemList::add(const std::string& text) {
    rows_.push_back({text});
    invalidate();
    return count() - 1;
}

std::string ItemList::item_text(int row) const {
    if (row < 0 || row >= count() || rows_[row].empty()) return {};
    return rows_[row][0];
}

void ItemList::select(int row) {
    selected_ = (row >= 0 && row < count()) ? row : -1;
    text_ = item_text(selected_);
    selection_moved();
    invalidate();
}

int ItemList::find(const std::string& text) const {
    std::string t = lower(text);
    for (int i = 0; i < count(); ++i)
        if (lower(item_text(i)) == t) return i;
    return -1;
}

void ItemList::user_select(int row) {
    if (row < 0 || row >= count()) return;
    if (row == selected_) {
        selection_moved();
        return;
    }
    select(row);
    notify(Notify::SelectionChanged);
}

bool ItemList::script_set(const std::string& value) {
    int row = -1;
    if (!parse_hash(value, row)) row = find(trim(value));
    if (row < 0 || row >= count()) return false;
    user_select(row);
    return true;
}

bool ItemList::navigate(int key, int page_rows) {
    int n = count();
    int cur = selected_;
    int step = std::max(1, page_rows - 1);
    switch (key) {
        case KEY_UP: cur = cur < 0 ? 0 : cur - 1; break;
        case KEY_DOWN: cur = cur + 1; break;
        case KEY_HOME: cur = 0; break;
        case KEY_END: cur = n - 1; break;
        case KEY_PAGE_UP: cur = cur < 0 ? 0 : cur - step; break;
        case KEY_PAGE_DOWN: cur = cur + step; break;
        default: return false;
    }
    if (n > 0) user_select(std::clamp(cur, 0, n - 1));
    return true;
}

// ---------------------------------------------------------------------------
// RowArea
// ---------------------------------------------------------------------------

void RowArea::layout(const Rect& area, int rows) {
    area_ = area;
    int vis = std::max(1, area.h / row_height);
    has_bar_ = rows > vis;
    rows_ = area;
    if (has_bar_) rows_.w -= SCROLL_BAR_WIDTH;
    bar_ = {area.right() - SCROLL_BAR_WIDTH + 1, area.y, SCROLL_BAR_WIDTH, area.h};
    scroll.low = 0;
    scroll.high = rows - 1;
    scroll.page = vis;
    if (scroll.pos > scroll.max_pos() || scroll.pos < 0) scroll.pos = std::clamp(scroll.pos, 0, scroll.max_pos());
}

int RowArea::visible_rows() const { return std::max(1, rows_.h / row_height); }

int RowArea::row_at(int y) const {
    if (y < rows_.y || y > rows_.bottom()) return -1;
    return scroll.pos + (y - rows_.y) / row_height;
}

int RowArea::row_top(int row) const { return rows_.y + (row - scroll.pos) * row_height; }

void RowArea::ensure_visible(int row) {
    if (row < 0) return;
    int vis = visible_rows();
    if (row < scroll.pos)
        scroll.set_pos(row);
    else if (row >= scroll.pos + vis)
        scroll.set_pos(row - vis + 1);
}

RowArea::Tap RowArea::down(int x, int y, std::uint32_t now) {
    Tap t;
    if (has_bar_ && bar_.contains(x, y)) {
        on_bar_ = true;
        t.on_bar = true;
        t.scrolled = scroll.press(bar_, x, y, now);
        return t;
    }
    on_bar_ = false;
    if (rows_.contains(x, y)) t.row = row_at(y);
    return t;
}

RowArea::Tap RowArea::move(int x, int y) {
    Tap t;
    if (on_bar_) {
        t.on_bar = true;
        t.scrolled = scroll.drag(bar_, x, y);
        return t;
    }
    // Dragging past either end scrolls a row at a time.
    if (y < rows_.y) {
        t.scrolled = scroll.set_pos(scroll.pos - 1);
        t.row = scroll.pos;
    } else if (y > rows_.bottom()) {
        t.scrolled = scroll.set_pos(scroll.pos + 1);
        t.row = scroll.pos + visible_rows() - 1;
    } else {
        t.row = row_at(y);
    }
    return t;
}

bool RowArea::double_tap(int row, std::uint32_t now) {
    bool twice = had_tap_ && row == last_row_ && now - last_tap_ <= 400;
    had_tap_ = !twice;
    last_row_ = row;
    last_tap_ = now;
    return twice;
}

namespace {

// Rows of a list: selection highlight, cell texts and column lines.
void paint_rows(Surface& s, const RowArea& area, const std::vector<std::vector<std::string>>& rows,
                int highlight, const std::vector<Column>* columns, bool enabled) {
    Rect rr = area.rows_rect();
    int vis = area.visible_rows() + 1;
    for (int i = area.scroll.pos; i < static_cast<int>(rows.size()) && i < area.scroll.pos + vis; ++i) {
        Rect row{rr.x, area.row_top(i), rr.w, area.row_height};
        row = intersect(row, rr);
        if (row.empty()) break;
        bool sel = i == highlight;
        Colour tc = !enabled ? COLOUR_TEXT_DISABLED : sel ? COLOUR_SELECTION_TEXT : COLOUR_TEXT;
        if (sel) fill(s, row, enabled ? COLOUR_SELECTION : COLOUR_FACE_SHADOW);
        Rect full{rr.x, area.row_top(i), rr.w, area.row_height};
        if (!columns) {
            std::string t = rows[i].empty() ? std::string() : rows[i][0];
            draw_cell_text(s, t, intersect(full, rr), Align::Left, tc);
            continue;
        }
        int x = rr.x;
        for (std::size_t c = 0; c < columns->size() && x <= rr.right(); ++c) {
            Rect cell = intersect({x, full.y, (*columns)[c].width, full.h}, row);
            if (c < rows[i].size()) draw_cell_text(s, rows[i][c], cell, (*columns)[c].align, tc);
            x += (*columns)[c].width;
        }
    }
    if (columns) {
        int x = rr.x;
        for (std::size_t c = 0; c + 1 < columns->size(); ++c) {
            x += (*columns)[c].width;
            if (x > rr.right()) break;
            for (int y = rr.y; y <= rr.bottom(); ++y) {
                int row = area.row_at(y);
                if (row != highlight || row < 0) s.set(x - 1, y, mix(s.get(x - 1, y), kGridLine, 160));
            }
        }
    }
}

void paint_row_focus(Surface& s, const RowArea& area, int selected, const Rect& inner) {
    Rect rr = area.rows_rect();
    if (selected >= area.scroll.pos && selected < area.scroll.pos + area.visible_rows()) {
        Rect row{rr.x, area.row_top(selected), rr.w, area.row_height};
        dotted_rect(s, row, COLOUR_FACE_LIGHT);
    } else {
        dotted_rect(s, inner, COLOUR_TEXT);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// ListBox
// ---------------------------------------------------------------------------

ScrolledList::ScrolledList(Dialog& d, ControlKind kind, int id, const Rect& r)
    : ItemList(d, kind, id, r) {}

void ScrolledList::set_top_index(int row) {
    layout();
    area_.scroll.set_pos(row);
    invalidate();
}

void ScrolledList::selection_moved() {
    layout();
    area_.ensure_visible(selected_);
}

void ScrolledList::stylus_down(int x, int y) {
    layout();
    RowArea::Tap t = area_.down(x, y, now());
    invalidate();
    if (t.on_bar || t.row < 0 || t.row >= count()) return;
    bool twice = area_.double_tap(t.row, now());
    user_select(t.row);
    if (twice) notify(Notify::Activated);
}

void ScrolledList::stylus_move(int x, int y) {
    layout();
    RowArea::Tap t = area_.move(x, y);
    if (t.scrolled) invalidate();
    if (!t.on_bar && t.row >= 0 && t.row < count()) user_select(t.row);
}

void ScrolledList::stylus_up(int, int) {
    area_.up();
    invalidate();
}

void ScrolledList::stylus_held() {
    if (area_.held(now())) invalidate();
}

bool ScrolledList::key(int key, int) {
    layout();
    if (key == KEY_RETURN) {
        if (selected_ < 0) return false;
        notify(Notify::Activated);
        return true;
    }
    return navigate(key, area_.visible_rows());
}

ListBox::ListBox(Dialog& d, int id, const Rect& r) : ScrolledList(d, ControlKind::ListBox, id, r) {
    layout();
}

void ListBox::layout() { area_.layout(Rect{0, 0, rect_.w, rect_.h}.inset(1), count()); }

void ListBox::paint(Surface& s, bool focused) {
    layout();
    Rect r{0, 0, rect_.w, rect_.h};
    fill(s, r, enabled_ ? COLOUR_FIELD : COLOUR_FACE);
    paint_rows(s, area_, rows_, selected_, nullptr, enabled_);
    if (area_.has_bar()) area_.scroll.paint(s, area_.bar_rect(), enabled_);
    outline(s, r, enabled_ ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    if (focused) paint_row_focus(s, area_, selected_, area_.rows_rect());
}


// ---------------------------------------------------------------------------
// ComboBox
// ---------------------------------------------------------------------------

ComboBox::ComboBox(Dialog& d, int id, const Rect& r) : ItemList(d, ControlKind::ComboBox, id, r) {}

void ComboBox::paint(Surface& s, bool focused) {
    Rect r{0, 0, rect_.w, rect_.h};
    Rect in = draw_field(s, r, COLOUR_FIELD, enabled_, false);
    int bw = std::min(SCROLL_BAR_WIDTH + 2, in.w);
    Rect button{in.right() - bw + 1, in.y, bw, in.h};
    draw_bevel(s, button, dropped_, enabled_, false);
    draw_arrow(s, button.x + button.w / 2, button.y + button.h / 2, Dir::Down, 4,
               enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED);
    Rect cell{in.x, in.y, in.w - bw, in.h};
    bool hilite = focused && !dropped_ && enabled_;
    if (hilite) fill(s, cell.inset(1), COLOUR_SELECTION);
    draw_cell_text(s, item_text(selected_), cell, Align::Left,
                   !enabled_ ? COLOUR_TEXT_DISABLED : hilite ? COLOUR_SELECTION_TEXT : COLOUR_TEXT);
    if (hilite) dotted_rect(s, cell.inset(1), COLOUR_FACE_LIGHT);
}

void ComboBox::open() {
    if (dropped_ || count() == 0) return;
    const int rh = LIST_ROW_HEIGHT;
    int client_h = dialog_->client_.h, client_w = dialog_->client_.w;
    int rows = std::min(count(), max_drop_rows_);
    int below = rect_.bottom() + 1, above = rect_.y;
    int h = rows * rh + 2;
    int y;
    if (below + h <= client_h) {
        y = below;
    } else if (above - h >= 0) {
        y = above - h;
    } else if (client_h - below >= above) {
        rows = std::max(1, (client_h - below - 2) / rh);
        h = rows * rh + 2;
        y = below;
    } else {
        rows = std::max(1, (above - 2) / rh);
        h = rows * rh + 2;
        y = above - h;
    }
    int w = std::min(rect_.w, client_w);
    int x = std::clamp(rect_.x, 0, std::max(0, client_w - w));
    drop_ = {x, y, w, h};
    dropped_ = true;
    hot_ = selected_;
    drop_tracking_ = false;
    drop_area_.scroll.pos = 0;
    drop_area_.layout(Rect{0, 0, w, h}.inset(1), count());
    drop_area_.ensure_visible(std::max(hot_, 0));
    dialog_->dropped_ = this;
    invalidate();
}

void ComboBox::close() {
    if (!dropped_) return;
    dropped_ = false;
    drop_tracking_ = false;
    drop_area_.up();
    if (dialog_->dropped_ == this) dialog_->dropped_ = nullptr;
    invalidate();
}

void ComboBox::choose(int row) {
    close();
    user_select(row);
}

void ComboBox::paint_drop(Surface& s) {
    drop_area_.layout(Rect{0, 0, drop_.w, drop_.h}.inset(1), count());
    Rect r{0, 0, drop_.w, drop_.h};
    fill(s, r, COLOUR_FIELD);
    paint_rows(s, drop_area_, rows_, hot_, nullptr, true);
    if (drop_area_.has_bar()) drop_area_.scroll.paint(s, drop_area_.bar_rect(), true);
    outline(s, r, kDropFrame);
}

void ComboBox::stylus_down(int, int) {
    if (!dropped_) open();
}

void ComboBox::drop_down(int x, int y) {
    drop_area_.layout(Rect{0, 0, drop_.w, drop_.h}.inset(1), count());
    RowArea::Tap t = drop_area_.down(x, y, now());
    invalidate();
    if (t.on_bar) return;
    drop_tracking_ = true;
    if (t.row >= 0 && t.row < count()) hot_ = t.row;
}

void ComboBox::drop_move(int x, int y) {
    drop_area_.layout(Rect{0, 0, drop_.w, drop_.h}.inset(1), count());
    RowArea::Tap t = drop_area_.move(x, y);
    if (t.scrolled) invalidate();
    if (!t.on_bar && t.row >= 0 && t.row < count() && t.row != hot_) {
        hot_ = t.row;
        drop_tracking_ = true;
        invalidate();
    }
}

void ComboBox::drop_up(int x, int y) {
    bool on_bar = drop_area_.on_bar();
    drop_area_.up();
    invalidate();
    if (on_bar || !drop_tracking_) return;
    drop_tracking_ = false;
    int row = Rect{0, 0, drop_.w, drop_.h}.contains(x, y) ? drop_area_.row_at(y) : -1;
    if (row >= 0 && row < count()) choose(row);
}

void ComboBox::drop_held() {
    if (drop_area_.held(now())) invalidate();
}

bool ComboBox::drop_key(int key) {
    int n = count();
    int page = std::max(1, drop_area_.visible_rows() - 1);
    int h = hot_;
    switch (key) {
        case KEY_UP: h = h < 0 ? 0 : h - 1; break;
        case KEY_DOWN: h += 1; break;
        case KEY_HOME: h = 0; break;
        case KEY_END: h = n - 1; break;
        case KEY_PAGE_UP: h -= page; break;
        case KEY_PAGE_DOWN: h += page; break;
        case KEY_RETURN:
        case KEY_SPACE:
            if (hot_ >= 0) choose(hot_);
            else close();
            return true;
        case KEY_ESCAPE: close(); return true;
        case KEY_TAB: close(); return false;
        default: return true;   // the open list keeps every other key
    }
    hot_ = std::clamp(h, 0, std::max(0, n - 1));
    drop_area_.ensure_visible(hot_);
    invalidate();
    return true;
}

bool ComboBox::key(int key, int) {
    if (key == KEY_SPACE) {
        open();
        return true;
    }
    return navigate(key, 2);
}

void ComboBox::focus_changed(bool gained) {
    if (!gained) close();
    invalidate();
}

// ---------------------------------------------------------------------------
// ListView
// ---------------------------------------------------------------------------

namespace {
int header_height() { return LIST_ROW_HEIGHT + 2; }
}  // namespace

ListView::ListView(Dialog& d, int id, const Rect& r, const std::vector<Column>& columns)
    : ScrolledList(d, ControlKind::ListView, id, r), columns_(columns) {
    layout();
}

void ListView::layout() {
    area_.layout({1, 1 + header_height(), rect_.w - 2, rect_.h - 2 - header_height()}, count());
}

void ListView::set_columns(const std::vector<Column>& columns) {
    columns_ = columns;
    invalidate();
}

int ListView::add_row(const std::vector<std::string>& cells) {
    rows_.push_back(cells.empty() ? std::vector<std::string>{std::string()} : cells);
    invalidate();
    return count() - 1;
}

std::string ListView::cell(int row, int column) const {
    if (row < 0 || row >= count() || column < 0 || column >= static_cast<int>(rows_[row].size()))
        return {};
    return rows_[row][column];
}

void ListView::set_cell(int row, int column, const std::string& text) {
    if (row < 0 || row >= count() || column < 0) return;
    if (column >= static_cast<int>(rows_[row].size())) rows_[row].resize(column + 1);
    rows_[row][column] = text;
    if (row == selected_ && column == 0) text_ = text;
    invalidate();
}

void ListView::paint(Surface& s, bool focused) {
    layout();
    Rect r{0, 0, rect_.w, rect_.h};
    fill(s, r, enabled_ ? COLOUR_FIELD : COLOUR_FACE);
    // Header cells: a flat raised strip with separators.
    Rect head{1, 1, rect_.w - 2, header_height()};
    vgradient(s, head, kButtonTop, kButtonBottom);
    fill_rect(s, kButtonFrame, head.x, head.bottom(), head.right(), head.bottom());
    int x = head.x;
    for (const Column& c : columns_) {
        if (x > head.right()) break;
        Rect cell = intersect({x, head.y, c.width, head.h - 1}, head);
        draw_cell_text(s, c.header, cell, c.align, enabled_ ? COLOUR_TEXT : COLOUR_TEXT_DISABLED);
        x += c.width;
        fill_rect(s, COLOUR_FACE_SHADOW, x - 1, head.y + 2, x - 1, head.bottom() - 2);
    }
    paint_rows(s, area_, rows_, selected_, &columns_, enabled_);
    if (area_.has_bar()) area_.scroll.paint(s, area_.bar_rect(), enabled_);
    outline(s, r, enabled_ ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    if (focused) paint_row_focus(s, area_, selected_, area_.rows_rect());
}


// ---------------------------------------------------------------------------
// Check box and radio button
// ---------------------------------------------------------------------------

namespace {

constexpr int kBoxSize = 11;

Rect label_rect(const Rect& control, const std::string& text) {
    int w = tw(strip_mnemonic(text));
    return {kBoxSize + 3, (control.h - fh()) / 2 - 1, std::min(w + 4, control.w - kBoxSize - 3), fh() + 2};
}

void paint_label(Surface& s, const Rect& control, const std::string& text, bool enabled, bool focused) {
    Rect lr = label_rect(control, text);
    draw_text_clipped(s, strip_mnemonic(text), lr.x + 2, lr.y + 1,
                      enabled ? COLOUR_TEXT : COLOUR_TEXT_DISABLED, {0, 0, control.w, control.h});
    if (focused) dotted_rect(s, lr, COLOUR_TEXT);
}

bool parse_bool(const std::string& value, bool& out) {
    std::string v = lower(trim(value));
    if (v == "1" || v == "yes" || v == "on" || v == "true") out = true;
    else if (v == "0" || v == "no" || v == "off" || v == "false") out = false;
    else return false;
    return true;
}

}  // namespace

CheckBox::CheckBox(Dialog& d, int id, const Rect& r, const std::string& text, bool checked)
    : Control(d, ControlKind::CheckBox, id, r, text), checked_(checked) {}

void CheckBox::set_checked(bool on) {
    checked_ = on;
    invalidate();
}

void CheckBox::paint(Surface& s, bool focused) {
    Rect box{0, (rect_.h - kBoxSize) / 2, kBoxSize, kBoxSize};
    fill(s, box.inset(1), !enabled_ ? COLOUR_FACE : pressed_ ? kTrack : COLOUR_FIELD);
    outline(s, box, enabled_ ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    if (checked_) {
        Colour c = enabled_ ? kMark : COLOUR_TEXT_DISABLED;
        Point tick[] = {{box.x + 2, box.y + 5}, {box.x + 4, box.y + 7}, {box.x + 9, box.y + 2}};
        draw_polyline(s, tick, 3, c, true);
        s.set(box.x + 8, box.y + 3, c);
    }
    paint_label(s, rect_, text_, enabled_, focused);
}

void CheckBox::toggle_by_user() {
    checked_ = !checked_;
    invalidate();
    notify(Notify::Clicked);
}

void CheckBox::stylus_down(int, int) {
    tracking_ = pressed_ = true;
    invalidate();
}

void CheckBox::stylus_move(int x, int y) {
    bool in = tracking_ && Rect{0, 0, rect_.w, rect_.h}.contains(x, y);
    if (in != pressed_) {
        pressed_ = in;
        invalidate();
    }
}

void CheckBox::stylus_up(int, int) {
    bool fire = tracking_ && pressed_;
    tracking_ = pressed_ = false;
    invalidate();
    if (fire) toggle_by_user();
}

bool CheckBox::key(int key, int) {
    if (key != KEY_SPACE) return false;
    toggle_by_user();
    return true;
}

bool CheckBox::script_set(const std::string& value) {
    bool on;
    if (!parse_bool(value, on)) return false;
    if (on != checked_) toggle_by_user();
    return true;
}

RadioButton::RadioButton(Dialog& d, int id, const Rect& r, const std::string& text, int group,
                         bool checked)
    : Control(d, ControlKind::Radio, id, r, text), group_(group), checked_(false) {
    if (checked) set_checked(true);
}

void RadioButton::set_checked(bool on) {
    if (on)
        for (auto& c : dialog_->controls())
            if (auto* r = dynamic_cast<RadioButton*>(c.get()); r && r != this && r->group_ == group_)
                r->checked_ = false;
    checked_ = on;
    invalidate();
}

void RadioButton::paint(Surface& s, bool focused) {
    Rect box{0, (rect_.h - kBoxSize) / 2, kBoxSize, kBoxSize};
    blend_disc(s, box, 5.5, enabled_ ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    blend_disc(s, box, 4.5, !enabled_ ? COLOUR_FACE : pressed_ ? kTrack : COLOUR_FIELD);
    if (checked_) blend_disc(s, box, 2.6, enabled_ ? kMark : COLOUR_TEXT_DISABLED);
    paint_label(s, rect_, text_, enabled_, focused);
}

void RadioButton::select_by_user() {
    set_checked(true);
    notify(Notify::Clicked);
}

void RadioButton::stylus_down(int, int) {
    tracking_ = pressed_ = true;
    invalidate();
}

void RadioButton::stylus_move(int x, int y) {
    bool in = tracking_ && Rect{0, 0, rect_.w, rect_.h}.contains(x, y);
    if (in != pressed_) {
        pressed_ = in;
        invalidate();
    }
}

void RadioButton::stylus_up(int, int) {
    bool fire = tracking_ && pressed_;
    tracking_ = pressed_ = false;
    invalidate();
    if (fire) select_by_user();
}

bool RadioButton::key(int key, int) {
    if (key == KEY_SPACE) {
        select_by_user();
        return true;
    }
    int dir = (key == KEY_DOWN || key == KEY_RIGHT) ? 1 : (key == KEY_UP || key == KEY_LEFT) ? -1 : 0;
    if (dir == 0) return false;
    // Arrows move the choice through the group, skipping unavailable ones.
    std::vector<RadioButton*> group;
    int me = 0;
    for (auto& c : dialog_->controls())
        if (auto* r = dynamic_cast<RadioButton*>(c.get()); r && r->group_ == group_ && (r == this || r->available())) {
            if (r == this) me = static_cast<int>(group.size());
            group.push_back(r);
        }
    int n = static_cast<int>(group.size());
    RadioButton* next = group[(me + dir + n) % n];
    dialog_->focus_on(next);
    if (dialog_->focused() == next) next->select_by_user();
    return true;
}

bool RadioButton::script_set(const std::string& value) {
    bool on;
    if (!parse_bool(value, on)) return false;
    if (on) select_by_user();
    return true;
}

// ---------------------------------------------------------------------------
// Slider
// ---------------------------------------------------------------------------

Slider::Slider(Dialog& d, int id, const Rect& r, int value)
    : Control(d, ControlKind::Slider, id, r, {}), value_(std::clamp(value, 0, 255)) {}

void Slider::set_value(int v) {
    value_ = std::clamp(v, low_, high_);
    invalidate();
}

void Slider::set_range(int low, int high) {
    low_ = std::min(low, high);
    high_ = std::max(low, high);
    set_value(value_);
}

void Slider::thumb_geometry(int& track_left, int& track_len, int& thumb_w) const {
    thumb_w = std::min(9, rect_.w);
    track_left = 0;
    track_len = std::max(0, rect_.w - thumb_w);
}

int Slider::value_from_x(int x) const {
    int left, len, tw_;
    thumb_geometry(left, len, tw_);
    if (len <= 0 || high_ == low_) return low_;
    int off = x - grab_ - left;
    long long span = high_ - low_;
    long long v = low_ + (off * span * 2 + (off >= 0 ? len : -len)) / (2LL * len);
    return static_cast<int>(std::clamp<long long>(v, low_, high_));
}

void Slider::user_set(int v) {
    v = std::clamp(v, low_, high_);
    if (v == value_) return;
    value_ = v;
    invalidate();
    notify(Notify::ValueChanged);
}

void Slider::paint(Surface& s, bool focused) {
    int left, len, thumb_w;
    thumb_geometry(left, len, thumb_w);
    int cy = rect_.h / 2;
    int tx = left + (high_ > low_ ? static_cast<int>(static_cast<long long>(value_ - low_) * len / (high_ - low_)) : 0);
    // The groove, filled up to the thumb.
    Rect groove{thumb_w / 2, cy - 2, rect_.w - thumb_w + 1, 5};
    fill(s, groove, enabled_ ? COLOUR_FIELD : COLOUR_FACE);
    fill(s, {groove.x, groove.y, tx + thumb_w / 2 - groove.x + 1, groove.h},
         enabled_ ? COLOUR_SELECTION : COLOUR_FACE_SHADOW);
    outline(s, groove, enabled_ ? COLOUR_FIELD_FRAME : kButtonFrameDisabled);
    int th = std::min(rect_.h, 15);
    Rect thumb{tx, cy - th / 2, thumb_w, th};
    draw_bevel(s, thumb, false, enabled_);
    for (int k = -2; k <= 2; k += 2)
        fill_rect(s, COLOUR_FACE_SHADOW, thumb.x + 2, cy + k, thumb.right() - 2, cy + k);
    if (focused) dotted_rect(s, {0, 0, rect_.w, rect_.h}, COLOUR_TEXT);
}

void Slider::stylus_down(int x, int) {
    int left, len, thumb_w;
    thumb_geometry(left, len, thumb_w);
    int tx = left + (high_ > low_ ? static_cast<int>(static_cast<long long>(value_ - low_) * len / (high_ - low_)) : 0);
    // Grabbing the thumb keeps the point under the stylus; a tap elsewhere
    // centres the thumb there.
    grab_ = (x >= tx && x < tx + thumb_w) ? x - tx : thumb_w / 2;
    user_set(value_from_x(x));
    invalidate();
}

void Slider::stylus_move(int x, int) { user_set(value_from_x(x)); }

bool Slider::key(int key, int) {
    int big = std::max(1, (high_ - low_) / 16);
    switch (key) {
        case KEY_LEFT: case KEY_DOWN: user_set(value_ - 1); return true;
        case KEY_RIGHT: case KEY_UP: user_set(value_ + 1); return true;
        case KEY_PAGE_DOWN: user_set(value_ - big); return true;
        case KEY_PAGE_UP: user_set(value_ + big); return true;
        case KEY_HOME: user_set(low_); return true;
        case KEY_END: user_set(high_); return true;
        default: return false;
    }
}

bool Slider::script_set(const std::string& value) {
    int v;
    if (!parse_int(value, v)) return false;
    user_set(v);
    return true;
}

// ---------------------------------------------------------------------------
// UpDown
// ---------------------------------------------------------------------------

UpDown::UpDown(Dialog& d, int id, const Rect& r, int low, int high, int value)
    : Control(d, ControlKind::UpDown, id, r, {}),
      low_(std::min(low, high)), high_(std::max(low, high)), value_(std::clamp(value, low_, high_)) {}

void UpDown::set_value(int v) {
    value_ = std::clamp(v, low_, high_);
    show_in_buddy();
    invalidate();
}

void UpDown::set_range(int low, int high) {
    low_ = std::min(low, high);
    high_ = std::max(low, high);
    set_value(value_);
}

void UpDown::attach(int edit_id) {
    buddy_ = edit_id;
    show_in_buddy();
}

void UpDown::show_in_buddy() {
    if (!buddy_) return;
    if (auto* e = dynamic_cast<Edit*>(dialog_->find(buddy_))) e->set_text(std::to_string(value_));
}

void UpDown::buddy_typed(const std::string& text) {
    int v;
    if (!parse_int(text, v)) return;
    // The field keeps what was typed; the value follows it within range.
    v = std::clamp(v, low_, high_);
    if (v == value_) return;
    value_ = v;
    invalidate();
    notify(Notify::ValueChanged);
}

void UpDown::user_set(int v) {
    v = std::clamp(v, low_, high_);
    if (v == value_) return;
    value_ = v;
    show_in_buddy();
    invalidate();
    notify(Notify::ValueChanged);
}

int UpDown::part_at(int x, int y) const {
    if (!Rect{0, 0, rect_.w, rect_.h}.contains(x, y)) return 0;
    if (rect_.h >= rect_.w) return y < rect_.h / 2 ? 1 : -1;
    return x < rect_.w / 2 ? -1 : 1;
}

void UpDown::paint(Surface& s, bool focused) {
    bool tall = rect_.h >= rect_.w;
    Rect inc, dec;
    if (tall) {
        inc = {0, 0, rect_.w, rect_.h / 2};
        dec = {0, rect_.h / 2, rect_.w, rect_.h - rect_.h / 2};
    } else {
        dec = {0, 0, rect_.w / 2, rect_.h};
        inc = {rect_.w / 2, 0, rect_.w - rect_.w / 2, rect_.h};
    }
    auto part = [&](const Rect& r, int which, Dir d, bool live) {
        draw_bevel(s, r, pressed_part_ == which, enabled_, false);
        int size = std::max(2, std::min(r.w, r.h) / 2 - 1);
        // Too small for a focus rectangle: the focused arrows turn blue.
        Colour c = !enabled_ || !live ? COLOUR_TEXT_DISABLED : focused ? COLOUR_SELECTION : COLOUR_TEXT;
        draw_arrow(s, r.x + r.w / 2, r.y + r.h / 2, d, size, c);
    };
    part(inc, 1, tall ? Dir::Up : Dir::Right, value_ < high_);
    part(dec, -1, tall ? Dir::Down : Dir::Left, value_ > low_);
}

void UpDown::stylus_down(int x, int y) {
    held_part_ = pressed_part_ = part_at(x, y);
    next_repeat_ = now() + 400;
    user_set(value_ + held_part_ * step_);
    invalidate();
}

void UpDown::stylus_move(int x, int y) {
    int p = part_at(x, y) == held_part_ ? held_part_ : 0;
    if (p != pressed_part_) {
        pressed_part_ = p;
        invalidate();
    }
}

void UpDown::stylus_up(int, int) {
    held_part_ = pressed_part_ = 0;
    invalidate();
}

void UpDown::stylus_held() {
    if (!pressed_part_ || static_cast<std::int32_t>(now() - next_repeat_) < 0) return;
    next_repeat_ = now() + 70;
    user_set(value_ + pressed_part_ * step_);
}

bool UpDown::key(int key, int) {
    switch (key) {
        case KEY_UP: case KEY_RIGHT: user_set(value_ + step_); return true;
        case KEY_DOWN: case KEY_LEFT: user_set(value_ - step_); return true;
        case KEY_PAGE_UP: user_set(value_ + 10 * step_); return true;
        case KEY_PAGE_DOWN: user_set(value_ - 10 * step_); return true;
        case KEY_HOME: user_set(low_); return true;
        case KEY_END: user_set(high_); return true;
        default: return false;
    }
}

bool UpDown::script_set(const std::string& value) {
    int v;
    if (!parse_int(value, v)) return false;
    user_set(v);
    return true;
}

// ---------------------------------------------------------------------------
// Scroll bar, image box, custom area
// ---------------------------------------------------------------------------

ScrollBar::ScrollBar(Dialog& d, int id, const Rect& r, int low, int high, int page, int pos)
    : Control(d, ControlKind::ScrollBar, id, r, {}) {
    track_.low = std::min(low, high);
    track_.high = std::max(low, high);
    track_.page = std::max(1, page);
    track_.pos = track_.low;
    track_.set_pos(pos);
}

void ScrollBar::set_position(int pos) {
    if (track_.set_pos(pos)) invalidate();
}

void ScrollBar::set_range(int low, int high) {
    track_.low = std::min(low, high);
    track_.high = std::max(low, high);
    track_.pos = std::clamp(track_.pos, track_.low, track_.max_pos());
    invalidate();
}

void ScrollBar::set_page(int page) {
    track_.page = std::max(1, page);
    track_.pos = std::clamp(track_.pos, track_.low, track_.max_pos());
    invalidate();
}

void ScrollBar::paint(Surface& s, bool) { track_.paint(s, {0, 0, rect_.w, rect_.h}, enabled_); }

void ScrollBar::stylus_down(int x, int y) {
    if (track_.press({0, 0, rect_.w, rect_.h}, x, y, now())) notify(Notify::ValueChanged);
    invalidate();
}

void ScrollBar::stylus_move(int x, int y) {
    if (track_.drag({0, 0, rect_.w, rect_.h}, x, y)) {
        invalidate();
        notify(Notify::ValueChanged);
    }
}

void ScrollBar::stylus_up(int, int) {
    track_.release();
    invalidate();
}

void ScrollBar::stylus_held() {
    if (track_.repeat({0, 0, rect_.w, rect_.h}, now())) {
        invalidate();
        notify(Notify::ValueChanged);
    }
}

bool ScrollBar::script_set(const std::string& value) {
    int v;
    if (!parse_int(value, v)) return false;
    if (track_.set_pos(v)) {
        invalidate();
        notify(Notify::ValueChanged);
    }
    return true;
}

ImageBox::ImageBox(Dialog& d, int id, const Rect& r, const Surface& image)
    : Control(d, ControlKind::Image, id, r, {}), image_(image) {}

void ImageBox::set_image(const Surface& image) {
    image_ = image;
    invalidate();
}

void ImageBox::set_framed(bool on) {
    framed_ = on;
    invalidate();
}

void ImageBox::paint(Surface& s, bool) {
    if (framed_) draw_field(s, {0, 0, rect_.w, rect_.h}, COLOUR_FIELD, true);
    copy_surface(s, (rect_.w - image_.width()) / 2, (rect_.h - image_.height()) / 2, image_);
    if (framed_) outline(s, {0, 0, rect_.w, rect_.h}, COLOUR_FIELD_FRAME);
}

CustomArea::CustomArea(Dialog& d, int id, const Rect& r) : Control(d, ControlKind::Custom, id, r, {}) {}

void CustomArea::paint(Surface& s, bool focused) {
    Rect r{0, 0, rect_.w, rect_.h};
    if (paint_) paint_(s, r);
    if (focused) dotted_rect(s, r, COLOUR_TEXT);
}

void CustomArea::stylus_down(int x, int y) {
    if (stylus_) stylus_(*dialog_, EventType::StylusDown, x, y);
    invalidate();
}

void CustomArea::stylus_move(int x, int y) {
    if (stylus_) stylus_(*dialog_, EventType::StylusMove, x, y);
    invalidate();
}

void CustomArea::stylus_up(int x, int y) {
    if (stylus_) stylus_(*dialog_, EventType::StylusUp, x, y);
    invalidate();
}

bool CustomArea::key(int key, int mods) {
    if (!key_) return false;
    bool used = key_(*dialog_, key, mods);
    if (used) invalidate();
    return used;
}

// ---------------------------------------------------------------------------
// Dialog
// ---------------------------------------------------------------------------

Dialog::Dialog(const std::string& title, int client_width, int client_height) : title_(title) {
    int cw = std::clamp(client_width, 1, DIALOG_MAX_CLIENT_WIDTH);
    int ch = std::clamp(client_height, 0, DIALOG_MAX_CLIENT_HEIGHT);
    int ow = cw + 2, oh = ch + DIALOG_TITLE_HEIGHT + 2;
    outer_ = {(SCREEN_WIDTH - ow) / 2, (SCREEN_HEIGHT - oh) / 2, ow, oh};
    client_ = {outer_.x + 1, outer_.y + 1 + DIALOG_TITLE_HEIGHT, cw, ch};
    auto_end_[ID_OK] = true;
    auto_end_[ID_CANCEL] = true;
}

Dialog::~Dialog() = default;

void Dialog::set_title(const std::string& title) {
    title_ = title;
    dirty_ = true;
}

template <class T, class... Args>
T& Dialog::add(const std::string& label, Args&&... args) {
    auto c = std::make_unique<T>(*this, std::forward<Args>(args)...);
    if (!label.empty()) {
        c->label_ = label;
    } else {
        switch (c->kind_) {
            case ControlKind::Button: case ControlKind::CheckBox: case ControlKind::Radio:
            case ControlKind::Static: case ControlKind::GroupBox:
                c->label_ = strip_mnemonic(c->text_);
                break;
            default:
                // Named by the static text just before it, the way a form
                // reads: "Name:" then its field.
                if (!controls_.empty() && controls_.back()->kind_ == ControlKind::Static)
                    c->label_ = strip_mnemonic(controls_.back()->text_);
                break;
        }
    }
    T& ref = *c;
    controls_.push_back(std::move(c));
    dirty_ = true;
    return ref;
}

Button& Dialog::add_button(int id, const Rect& r, const std::string& text, bool is_default,
                           const std::string& label) {
    Button& b = add<Button>(label, id, r, text, false);
    if (is_default) b.set_default(true);
    return b;
}

StaticText& Dialog::add_static(int id, const Rect& r, const std::string& text, Align align, bool wrap) {
    return add<StaticText>({}, id, r, text, align, wrap);
}

GroupBox& Dialog::add_group_box(int id, const Rect& r, const std::string& text) {
    return add<GroupBox>({}, id, r, text);
}

Edit& Dialog::add_edit(int id, const Rect& r, const std::string& text, const EditOptions& options,
                       const std::string& label) {
    return add<Edit>(label, id, r, text, options);
}

ListBox& Dialog::add_list_box(int id, const Rect& r, const std::string& label) {
    return add<ListBox>(label, id, r);
}

ComboBox& Dialog::add_combo_box(int id, const Rect& r, const std::string& label) {
    return add<ComboBox>(label, id, r);
}

ListView& Dialog::add_list_view(int id, const Rect& r, const std::vector<Column>& columns,
                                const std::string& label) {
    return add<ListView>(label, id, r, columns);
}

CheckBox& Dialog::add_check_box(int id, const Rect& r, const std::string& text, bool checked,
                                const std::string& label) {
    return add<CheckBox>(label, id, r, text, checked);
}

RadioButton& Dialog::add_radio(int id, const Rect& r, const std::string& text, int group,
                               bool checked, const std::string& label) {
    return add<RadioButton>(label, id, r, text, group, checked);
}

Slider& Dialog::add_slider(int id, const Rect& r, int value, const std::string& label) {
    return add<Slider>(label, id, r, value);
}

UpDown& Dialog::add_up_down(int id, const Rect& r, int low, int high, int value, int buddy_edit_id,
                            const std::string& label) {
    UpDown& u = add<UpDown>(label, id, r, low, high, value);
    if (buddy_edit_id) u.attach(buddy_edit_id);
    return u;
}

ScrollBar& Dialog::add_scroll_bar(int id, const Rect& r, int low, int high, int page, int pos,
                                  const std::string& label) {
    return add<ScrollBar>(label, id, r, low, high, page, pos);
}

ImageBox& Dialog::add_image(int id, const Rect& r, const Surface& image) {
    return add<ImageBox>({}, id, r, image);
}

CustomArea& Dialog::add_custom(int id, const Rect& r, const std::string& label) {
    return add<CustomArea>(label, id, r);
}

Control* Dialog::find(int id) const {
    for (auto& c : controls_)
        if (c->id_ == id) return c.get();
    return nullptr;
}

Control& Dialog::control(int id) const {
    if (Control* c = find(id)) return *c;
    throw std::out_of_range("dialog \"" + title_ + "\" has no control " + std::to_string(id));
}

void Dialog::throw_wrong_kind(int id) {
    throw std::out_of_range("control " + std::to_string(id) + " is of another kind");
}

Control* Dialog::find_by_label(const std::string& name) const {
    int id;
    if (parse_hash(name, id)) return find(id);
    std::string n = script_name(name);
    Control* any = nullptr;
    for (auto& c : controls_) {
        if (script_name(c->label_) != n) continue;
        if (c->script_settable()) return c.get();
        if (!any) any = c.get();
    }
    return any;
}

Button* Dialog::find_button(const std::string& name) const {
    int id;
    bool by_id = parse_hash(name, id);
    std::string n = script_name(name);
    for (auto& c : controls_) {
        auto* b = dynamic_cast<Button*>(c.get());
        if (!b) continue;
        if (by_id ? b->id_ == id : (script_name(b->text_) == n || script_name(b->label_) == n)) return b;
    }
    return nullptr;
}

Button* Dialog::default_button() const {
    Button* ok = nullptr;
    Button* cancel = nullptr;
    for (auto& c : controls_)
        if (auto* b = dynamic_cast<Button*>(c.get())) {
            if (b->is_default()) return b;
            if (!ok && b->id_ == ID_OK) ok = b;
            if (!cancel && b->id_ == cancel_id_) cancel = b;
        }
    return ok ? ok : cancel;
}

void Dialog::set_auto_end(int button_id, bool on) { auto_end_[button_id] = on; }

bool Dialog::auto_ends(int button_id) const {
    auto it = auto_end_.find(button_id);
    return it != auto_end_.end() && it->second;
}

void Dialog::set_focus(int id) { focus_on(find(id)); }

void Dialog::focus_on(Control* c) {
    if (!c || !c->focusable() || !c->available() || c == focus_) return;
    Control* old = focus_;
    focus_ = c;
    if (old) old->focus_changed(false);
    c->focus_changed(true);
    dirty_ = true;
}

int Dialog::focus_id() const { return focus_ ? focus_->id_ : 0; }

void Dialog::move_focus(int direction) {
    std::vector<Control*> order;
    int at = -1;
    for (auto& c : controls_) {
        if (c.get() == focus_) at = static_cast<int>(order.size());
        if (c->focusable() && c->available()) order.push_back(c.get());
        else if (c.get() == focus_) order.push_back(c.get());   // keep our place in the ring
    }
    Control* next = nullptr;
    int n = static_cast<int>(order.size());
    for (int k = 1; k <= n; ++k) {
        Control* c = order[((at < 0 ? (direction > 0 ? -1 : 0) : at) + direction * k + 2 * n) % n];
        if (c->focusable() && c->available()) {
            next = c;
            break;
        }
    }
    Control* old = focus_;
    focus_ = next;
    if (old && old != next) old->focus_changed(false);
    if (next && next != old) next->focus_changed(true);
    dirty_ = true;
}

void Dialog::first_focus() {
    if (focus_ && focus_->available() && focus_->focusable()) return;
    focus_ = nullptr;
    move_focus(1);
}

void Dialog::end(int code) {
    ended_ = true;
    end_code_ = code;
    if (dropped_) dropped_->close();
}

std::uint32_t Dialog::now() const { return window_ ? window_->ticks_ms() : 0; }

void Dialog::fire(Control& c, Notify what) {
    if (what == Notify::TextChanged) on_text_changed(c);
    if (notify_) notify_(*this, c.id_, what);
    // A callback may have run a box of its own over us: paint again.
    dirty_ = true;
}

void Dialog::on_text_changed(Control& c) {
    for (auto& other : controls_)
        if (auto* u = dynamic_cast<UpDown*>(other.get()); u && u->buddy_ && u->buddy_ == c.id_)
            u->buddy_typed(c.text_);
}

void Dialog::press(Button& b) {
    if (!b.available()) return;
    fire(b, Notify::Clicked);
    if (!ended_ && auto_ends(b.id_)) end(b.id_);
}

bool Dialog::press(int button_id) {
    for (auto& c : controls_)
        if (auto* b = dynamic_cast<Button*>(c.get()); b && b->id_ == button_id && b->available()) {
            press(*b);
            return true;
        }
    return false;
}

Control* Dialog::hit(int x, int y) const {
    if (x < 0 || y < 0 || x >= client_.w || y >= client_.h) return nullptr;
    // Later controls lie on top of earlier ones (a group box under its
    // members); a disabled control still shields what is under it.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = it->get();
        if (!c->visible_ || !c->rect_.contains(x, y) || !c->takes_stylus()) continue;
        return c->enabled_ ? c : nullptr;
    }
    return nullptr;
}

void Dialog::handle_event(const Event& e) {
    const int x = e.x - client_.x, y = e.y - client_.y;
    switch (e.type) {
        case EventType::StylusDown: {
            if (dropped_) {
                if (dropped_->drop_.contains(x, y)) {
                    drop_capture_ = true;
                    dropped_->drop_down(x - dropped_->drop_.x, y - dropped_->drop_.y);
                } else {
                    // A tap outside the open list only closes it.
                    dropped_->close();
                }
                break;
            }
            Control* c = hit(x, y);
            if (!c) break;
            if (c->focusable()) focus_on(c);
            capture_ = c;
            if (window_) window_->capture_stylus(true);
            int runs = g_dialog_runs;
            c->stylus_down(x - c->rect_.x, y - c->rect_.y);
            // A box run from the callback took the rest of this stroke.
            if (runs != g_dialog_runs) capture_ = nullptr;
            break;
        }
        case EventType::StylusMove:
            if (drop_capture_ && dropped_) {
                dropped_->drop_move(x - dropped_->drop_.x, y - dropped_->drop_.y);
            } else if (capture_) {
                // Press on the combo box, slide into its list, lift to choose.
                if (dropped_ && capture_ == dropped_ && dropped_->drop_.contains(x, y))
                    dropped_->drop_move(x - dropped_->drop_.x, y - dropped_->drop_.y);
                else
                    capture_->stylus_move(x - capture_->rect_.x, y - capture_->rect_.y);
            }
            break;
        case EventType::StylusUp:
            if (drop_capture_) {
                drop_capture_ = false;
                if (dropped_) dropped_->drop_up(x - dropped_->drop_.x, y - dropped_->drop_.y);
            } else if (capture_) {
                Control* c = capture_;
                capture_ = nullptr;
                if (dropped_ && c == dropped_ && dropped_->drop_tracking_)
                    dropped_->drop_up(x - dropped_->drop_.x, y - dropped_->drop_.y);
                else
                    c->stylus_up(x - c->rect_.x, y - c->rect_.y);
            }
            if (window_) window_->capture_stylus(false);
            break;
        case EventType::KeyDown: {
            if (dropped_ && dropped_->drop_key(e.key)) break;
            if (focus_ && focus_->available() && focus_->key(e.key, e.mods)) break;
            if ((e.key == KEY_UP || e.key == KEY_DOWN) && focus_ && focus_->kind_ == ControlKind::Edit) {
                // Arrows in a field step the up-down attached to it.
                for (auto& c : controls_)
                    if (auto* u = dynamic_cast<UpDown*>(c.get());
                        u && u->buddy_ == focus_->id_ && u->available()) {
                        u->key(e.key, e.mods);
                        break;
                    }
                break;
            }
            if (e.key == KEY_TAB) {
                move_focus((e.mods & MOD_SHIFT) ? -1 : 1);
            } else if (e.key == KEY_RETURN) {
                if (Button* b = default_button(); b && b->available()) press(*b);
            } else if (e.key == KEY_ESCAPE) {
                bool any_button = false;
                for (auto& c : controls_)
                    if (c->kind_ == ControlKind::Button) any_button = true;
                if (!press(cancel_id_) && !any_button) end(cancel_id_);
            }
            break;
        }
        case EventType::Text:
            if (dropped_ || !focus_ || !focus_->available()) break;
            for (const char* p = e.text; p < e.text + sizeof e.text && *p; ++p) focus_->type(*p);
            break;
        case EventType::Quit:
            g_quit = true;
            end(ID_CANCEL);
            break;
        case EventType::Expose:
        case EventType::Activate:
        case EventType::Deactivate:
            dirty_ = true;
            break;
        case EventType::None:
            break;
    }
}

void Dialog::initialise() {
    if (initialised_) return;
    initialised_ = true;
    if (init_) init_(*this);
}

void Dialog::paint_all() {
    if (under_.width() == SCREEN_WIDTH && under_.height() == SCREEN_HEIGHT) {
        frame_ = under_;
    } else {
        frame_ = Surface(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_FACE_SHADOW);
        copy_surface(frame_, 0, 0, under_);
    }
    // A soft shadow below and to the right, where the screen shows round it.
    const int depth = 4;
    for (int y = outer_.y + 2; y <= outer_.bottom() + depth; ++y)
        for (int x = outer_.x + 2; x <= outer_.right() + depth; ++x) {
            if (outer_.contains(x, y) || !frame_.contains(x, y)) continue;
            int dx = x - outer_.right(), dy = y - outer_.bottom();
            int d = std::max(dx, dy);
            int strength = 110 - 24 * (d - 1);
            if (x < outer_.x + depth || y < outer_.y + depth) strength /= 2;
            frame_.set(x, y, mix(frame_.get(x, y), COLOUR_BLACK, std::max(strength, 0)));
        }
    outline(frame_, outer_, COLOUR_DIALOG_FRAME);
    Rect bar{outer_.x + 1, outer_.y + 1, outer_.w - 2, DIALOG_TITLE_HEIGHT};
    vgradient(frame_, bar, kTitleTop, kTitleBottom);
    fill_rect(frame_, mix(kTitleTop, COLOUR_WHITE, 50), bar.x, bar.y, bar.right(), bar.y);
    std::string t = fit_text(kFont, title_, bar.w - 13);
    draw_text_clipped(frame_, t, bar.x + 6, bar.y + (bar.h - fh()) / 2, COLOUR_TITLE_TEXT, bar, true);
    fill(frame_, client_, COLOUR_FACE);

    auto paint_into = [&](const Rect& screen, const std::function<void(Surface&)>& draw) {
        Rect clip = intersect(screen, client_);
        if (clip.empty()) return;
        Surface scratch(screen.w, screen.h, COLOUR_FACE);
        copy_block(scratch, 0, 0, frame_, screen.x, screen.y, screen.w, screen.h);
        draw(scratch);
        copy_block(frame_, clip.x, clip.y, scratch, clip.x - screen.x, clip.y - screen.y, clip.w, clip.h);
    };
    for (auto& c : controls_) {
        if (!c->visible_ || c->rect_.empty()) continue;
        Control* ctl = c.get();
        paint_into(to_screen(ctl->rect_), [&](Surface& s) { ctl->paint(s, ctl == focus_); });
    }
    if (dropped_ && !dropped_->available()) dropped_->close();
    if (dropped_) {
        Rect d = to_screen(dropped_->drop_);
        // The list's own shadow lifts it off the controls below.
        Rect sh = intersect(d.moved(2, 2), client_);
        for (int yy = sh.y; yy <= sh.bottom(); ++yy)
            for (int xx = sh.x; xx <= sh.right(); ++xx)
                if (!d.contains(xx, yy)) frame_.set(xx, yy, mix(frame_.get(xx, yy), COLOUR_BLACK, 60));
        paint_into(d, [&](Surface& s) { dropped_->paint_drop(s); });
    }
    dirty_ = false;
}

const Surface& Dialog::render(const Surface& under) {
    under_ = under;
    initialise();
    first_focus();
    paint_all();
    return frame_;
}

// The calculator has one thread, so a dialog runs its own loop until it
// ends: events go to the control under the stylus (which keeps them until
// the stylus lifts) or, for keys, to the focused control, and the frame is
// presented again only when something changed.  Idle passes sleep 20 ms so
// an open dialog costs no processor time.
int Dialog::run(Window& w, const Surface& under) {
    ++g_dialog_runs;
    Window* outer_window = window_;
    window_ = &w;
    ended_ = false;
    end_code_ = 0;
    under_ = under;
    initialise();
    first_focus();
    if (!ended_) {
        if (w.scripted()) {
            run_scripted(w);
        } else {
            paint_all();
            w.present(frame_);
            const bool quit_before = g_quit;
            while (!ended_) {
                Event e;
                if (w.poll_event(e)) {
                    handle_event(e);
                    // Closing the window inside a box opened from here closes
                    // this dialog too.
                    if (!quit_before && g_quit && !ended_) end(ID_CANCEL);
                } else {
                    if (capture_) capture_->stylus_held();
                    if (drop_capture_ && dropped_) dropped_->drop_held();
                    if (idle_) idle_(*this);
                    if (!dirty_ && !ended_) {
                        w.sleep_ms(20);
                        continue;
                    }
                }
                if (!ended_ && dirty_) {
                    paint_all();
                    w.present(frame_);
                }
            }
            if (capture_) {
                capture_ = nullptr;
                w.capture_stylus(false);
            }
        }
    }
    drop_capture_ = false;
    window_ = outer_window;
    return end_code_;
}

// Scripted mode: the answer queued by the script stands in for the user.
int Dialog::run_scripted(Window& w) {
    paint_all();
    w.present(frame_);
    auto default_id = [&] {
        Button* b = default_button();
        return b ? b->id_ : cancel_id_;
    };
    ScriptedAnswer a;
    if (!w.next_answer(a)) {
        press_logged(default_button(), w);
        if (!ended_) end(default_id());
        return end_code_;
    }
    for (int presses = 1;; ++presses) {
        if (a.wait_ms > 0) {
            w.sleep_ms(static_cast<int>(a.wait_ms));
            if (idle_) idle_(*this);
        }
        bool fields_ok = true;
        for (const auto& [name, value] : a.fields) fields_ok = apply_field(name, value, w) && fields_ok;
        if (a.on_shown && !ended_) {
            paint_all();
            a.on_shown(frame_);
        }
        Button* b = nullptr;
        if (fields_ok && !ended_) {
            if (trim(a.button).empty()) {
                b = default_button();
            } else if (!(b = find_button(a.button))) {
                w.log_line("dialog " + title_ + ": no button \"" + a.button + "\"");
            } else if (!b->available()) {
                w.log_line("dialog " + title_ + ": button \"" + a.button + "\" is unavailable");
                b = nullptr;
            }
        }
        if (!b) b = default_button();
        if (!ended_) press_logged(b, w);
        if (ended_) break;
        // A button that leaves the dialog open ("Apply") takes the next answer.
        if (presses >= 100 || !w.next_answer(a)) {
            end(default_id());
            break;
        }
    }
    return end_code_;
}

void Dialog::press_logged(Button* b, Window& w) {
    if (!b || !b->available()) {
        w.log_line("dialog " + title_ + " -> (none)");
        end(cancel_id_);
        return;
    }
    w.log_line("dialog " + title_ + " -> " + strip_mnemonic(b->text_));
    press(*b);
}

bool Dialog::apply_field(const std::string& name, const std::string& value, Window& w) {
    Control* c = find_by_label(name);
    if (!c) {
        w.log_line("dialog " + title_ + ": no control \"" + name + "\"");
        return false;
    }
    if (!c->script_settable() || !c->available()) {
        w.log_line("dialog " + title_ + ": control \"" + name + "\" is unavailable");
        return false;
    }
    if (!c->script_set(value)) {
        w.log_line("dialog " + title_ + ": bad value \"" + value + "\" for \"" + name + "\"");
        return false;
    }
    return true;
}

}  // namespace qx
