// The window and sound library, loaded when first called rather than when
// the program starts. A terminal without a window (and without sound) never
// calls it, and linking it at exec would cost that start several
// milliseconds: the library brings in some forty others (X11, Wayland,
// PulseAudio, codecs).
//
// Each function the platform layer and its tests call is defined here with
// the library's own declaration and forwards to the loaded library. When
// the library cannot be loaded, starting a subsystem fails with the loader's
// reason, which is what callers already handle; nothing else is called
// before a subsystem has started.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char kLibrary[] = "libSDL2-2.0.so.0";

struct Loaded {
    void* handle = nullptr;
    std::string error;
};

const Loaded& Library() {
    static const Loaded loaded = [] {
        Loaded made;
        made.handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (made.handle == nullptr) {
            const char* why = dlerror();
            made.error = why != nullptr ? why : std::string("cannot load ") + kLibrary;
        }
        return made;
    }();
    return loaded;
}

void* Function(const char* name) {
    void* function = Library().handle != nullptr ? dlsym(Library().handle, name) : nullptr;
    if (function == nullptr) {
        std::fprintf(stderr, "%s: no function %s\n", kLibrary, name);
        std::abort();
    }
    return function;
}

}  // namespace

#define FORWARD(result, name, parameters, arguments)                                                  \
    extern "C" result SDLCALL name parameters {                                                       \
        static const auto real = reinterpret_cast<result(SDLCALL*) parameters>(Function(#name)); \
        return real arguments;                                                                        \
    }

extern "C" int SDLCALL SDL_InitSubSystem(Uint32 flags) {
    if (Library().handle == nullptr) return -1;
    static const auto real = reinterpret_cast<int(SDLCALL*)(Uint32)>(Function("SDL_InitSubSystem"));
    return real(flags);
}

extern "C" const char* SDLCALL SDL_GetError(void) {
    if (Library().handle == nullptr) return Library().error.c_str();
    static const auto real = reinterpret_cast<const char*(SDLCALL*)(void)>(Function("SDL_GetError"));
    return real();
}

FORWARD(SDL_bool, SDL_SetHint, (const char* name, const char* value), (name, value))
FORWARD(void, SDL_QuitSubSystem, (Uint32 flags), (flags))
FORWARD(void, SDL_Quit, (void), ())
FORWARD(SDL_Window*, SDL_CreateWindow, (const char* title, int x, int y, int w, int h, Uint32 flags),
        (title, x, y, w, h, flags))
FORWARD(SDL_Renderer*, SDL_CreateRenderer, (SDL_Window * window, int index, Uint32 flags), (window, index, flags))
FORWARD(SDL_Texture*, SDL_CreateTexture, (SDL_Renderer * renderer, Uint32 format, int access, int w, int h),
        (renderer, format, access, w, h))
FORWARD(void, SDL_DestroyTexture, (SDL_Texture * texture), (texture))
FORWARD(void, SDL_DestroyRenderer, (SDL_Renderer * renderer), (renderer))
FORWARD(void, SDL_DestroyWindow, (SDL_Window * window), (window))
FORWARD(void, SDL_SetWindowTitle, (SDL_Window * window, const char* title), (window, title))
FORWARD(SDL_bool, SDL_GetWindowWMInfo, (SDL_Window * window, SDL_SysWMinfo* info), (window, info))
FORWARD(void, SDL_free, (void* memory), (memory))
FORWARD(int, SDL_UpdateTexture, (SDL_Texture * texture, const SDL_Rect* rect, const void* pixels, int pitch),
        (texture, rect, pixels, pitch))
FORWARD(int, SDL_RenderCopy,
        (SDL_Renderer * renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect* target),
        (renderer, texture, source, target))
FORWARD(void, SDL_RenderPresent, (SDL_Renderer * renderer), (renderer))
FORWARD(int, SDL_PollEvent, (SDL_Event * event), (event))
FORWARD(void, SDL_PumpEvents, (void), ())
FORWARD(int, SDL_PushEvent, (SDL_Event * event), (event))
FORWARD(SDL_RWops*, SDL_RWFromConstMem, (const void* memory, int size), (memory, size))
FORWARD(SDL_AudioSpec*, SDL_LoadWAV_RW,
        (SDL_RWops * source, int freeSource, SDL_AudioSpec* spec, Uint8** buffer, Uint32* length),
        (source, freeSource, spec, buffer, length))
FORWARD(void, SDL_FreeWAV, (Uint8 * buffer), (buffer))
FORWARD(SDL_AudioDeviceID, SDL_OpenAudioDevice,
        (const char* device, int capture, const SDL_AudioSpec* desired, SDL_AudioSpec* obtained, int changes),
        (device, capture, desired, obtained, changes))
FORWARD(void, SDL_PauseAudioDevice, (SDL_AudioDeviceID device, int pause), (device, pause))
FORWARD(int, SDL_QueueAudio, (SDL_AudioDeviceID device, const void* data, Uint32 length), (device, data, length))
FORWARD(Uint32, SDL_GetQueuedAudioSize, (SDL_AudioDeviceID device), (device))
FORWARD(void, SDL_CloseAudioDevice, (SDL_AudioDeviceID device), (device))
FORWARD(void, SDL_MixAudioFormat,
        (Uint8 * target, const Uint8* source, SDL_AudioFormat format, Uint32 length, int volume),
        (target, source, format, length, volume))
