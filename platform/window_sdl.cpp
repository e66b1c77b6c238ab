#include "platform/window_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace qx {

namespace {

int key_of(SDL_Keycode k) {
    switch (k) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return KEY_RETURN;
        case SDLK_BACKSPACE: return KEY_BACKSPACE;
        case SDLK_DELETE: return KEY_DELETE;
        case SDLK_ESCAPE: return KEY_ESCAPE;
        case SDLK_LEFT: return KEY_LEFT;
        case SDLK_RIGHT: return KEY_RIGHT;
        case SDLK_UP: return KEY_UP;
        case SDLK_DOWN: return KEY_DOWN;
        case SDLK_HOME: return KEY_HOME;
        case SDLK_END: return KEY_END;
        case SDLK_TAB: return KEY_TAB;
        case SDLK_PAGEUP: return KEY_PAGE_UP;
        case SDLK_PAGEDOWN: return KEY_PAGE_DOWN;
        case SDLK_SPACE: return KEY_SPACE;
        case SDLK_F1: return KEY_F1;
        case SDLK_F12: return KEY_F12;
        case SDLK_c: return KEY_LETTER_C;
        case SDLK_v: return KEY_LETTER_V;
        default: return KEY_OTHER;
    }
}

class SdlWindow : public Window {
public:
    ~SdlWindow() override {
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    bool open(const std::string& title, int scale, std::string* error) {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail(error);
        if (scale <= 0) {
            scale = 2;
            SDL_Rect usable;
            if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
                // As large as fits in about five sixths of the screen height.
                scale = std::clamp(usable.h * 5 / 6 / SCREEN_HEIGHT, 1, 6);
            }
        }
        scale_ = scale;
        title_ = title;
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   SCREEN_WIDTH * scale, SCREEN_HEIGHT * scale, SDL_WINDOW_SHOWN);
        if (!window_) return fail(error);
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) return fail(error);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
        SDL_RenderSetLogicalSize(renderer_, SCREEN_WIDTH, SCREEN_HEIGHT);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING,
                                     SCREEN_WIDTH, SCREEN_HEIGHT);
        if (!texture_) return fail(error);
        SDL_StartTextInput();
        return true;
    }

    bool poll_event(Event& event) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            event = Event{};
            switch (e.type) {
                case SDL_QUIT: event.type = EventType::Quit; return true;
                case SDL_MOUSEBUTTONDOWN:
                    if (e.button.button != SDL_BUTTON_LEFT) break;
                    event.type = EventType::StylusDown;
                    event.x = e.button.x;
                    event.y = e.button.y;
                    return true;
                case SDL_MOUSEBUTTONUP:
                    if (e.button.button != SDL_BUTTON_LEFT) break;
                    event.type = EventType::StylusUp;
                    event.x = e.button.x;
                    event.y = e.button.y;
                    return true;
                case SDL_MOUSEMOTION:
                    if (!(e.motion.state & SDL_BUTTON_LMASK)) break;
                    event.type = EventType::StylusMove;
                    event.x = e.motion.x;
                    event.y = e.motion.y;
                    return true;
                case SDL_KEYDOWN: {
                    event.type = EventType::KeyDown;
                    event.key = key_of(e.key.keysym.sym);
                    const Uint16 mod = e.key.keysym.mod;
                    if (mod & KMOD_CTRL) event.mods |= MOD_CTRL;
                    if (mod & KMOD_SHIFT) event.mods |= MOD_SHIFT;
                    return true;
                }
                case SDL_TEXTINPUT: {
                    // Only the characters of the calculator's own code page.
                    const unsigned char c = static_cast<unsigned char>(e.text.text[0]);
                    if (c < 32 || c > 126 || e.text.text[1] != '\0') break;
                    event.type = EventType::Text;
                    event.text[0] = static_cast<char>(c);
                    return true;
                }
                case SDL_WINDOWEVENT:
                    if (e.window.event == SDL_WINDOWEVENT_EXPOSED) event.type = EventType::Expose;
                    else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                        event.type = EventType::Activate;
                    else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                        event.type = EventType::Deactivate;
                    else break;
                    return true;
                default: break;
            }
        }
        return false;
    }

    void present(const Surface& frame) override {
        if (frame.width() != SCREEN_WIDTH || frame.height() != SCREEN_HEIGHT) return;
        SDL_UpdateTexture(texture_, nullptr, frame.row(0), SCREEN_WIDTH * 3);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    void set_title(const std::string& title) override {
        title_ = title;
        SDL_SetWindowTitle(window_, title.c_str());
    }
    std::string title() const override { return title_; }
    void capture_stylus(bool on) override { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }
    void raise() override { SDL_RaiseWindow(window_); }

    std::uint32_t ticks_ms() override { return SDL_GetTicks(); }
    std::int64_t wall_seconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }
    void sleep_ms(int ms) override {
        if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
    }

    void set_clipboard(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }
    std::string clipboard() override {
        char* text = SDL_GetClipboardText();
        std::string out = text ? text : "";
        SDL_free(text);
        return out;
    }

private:
    bool fail(std::string* error) {
        if (error) *error = SDL_GetError();
        return false;
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::string title_;
    int scale_ = 1;
};

}  // namespace

std::unique_ptr<Window> create_sdl_window(const std::string& title, int scale, std::string* error) {
    auto w = std::make_unique<SdlWindow>();
    if (!w->open(title, scale, error)) return nullptr;
    return w;
}

}  // namespace qx
