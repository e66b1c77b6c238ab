#include "platform/sound.h"

#include <SDL.h>

#include "platform/files.h"

namespace qx {

namespace {

SDL_AudioDeviceID g_device = 0;
SDL_AudioSpec g_device_spec{};

bool open_device(const SDL_AudioSpec& wanted) {
    if (g_device) return true;
    if (!(SDL_WasInit(SDL_INIT_AUDIO) & SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    g_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &g_device_spec, 0);
    if (!g_device) return false;
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

}  // namespace

void play_wave_async(const std::string& path) {
    if (!file_exists(path)) return;
    SDL_AudioSpec wave;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &wave, &buffer, &length)) return;
    if (open_device(wave) && wave.format == g_device_spec.format &&
        wave.channels == g_device_spec.channels && wave.freq == g_device_spec.freq) {
        // A click that arrives while the last one still plays replaces it.
        SDL_ClearQueuedAudio(g_device);
        SDL_QueueAudio(g_device, buffer, length);
    }
    SDL_FreeWAV(buffer);
}

}  // namespace qx
