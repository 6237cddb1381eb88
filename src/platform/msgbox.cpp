// Modal message boxes: a small window of our own over the game's, with
// the caption as its title, the text and an OK button. It takes the
// keyboard: Return, Space and Escape dismiss it, as do a click on OK and
// its close box. A quit that comes while it is open (the window's close
// box, SIGINT, SIGTERM) dismisses it and ends the game; later boxes then
// only write to standard error. Headless, or with no display to show a
// box on, the text goes to standard error.
#include "platform/msgbox.h"
#include "platform/display.h"
#include "platform/page.h"
#include "platform/plat_internal.h"
#include "platform/text.h"

#include <cstdio>
#include <cstring>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static bool gHeadless;
static bool gQuitting;  // a quit came while a box was open

void Plat_SetHeadless(bool headless) { gHeadless = headless; }
bool Plat_IsHeadless() { return gHeadless; }

#ifdef __EMSCRIPTEN__
// In a page the box is a dialog drawn by the page itself (an alert() would
// freeze the page, sound and all): the game waits, giving the page its
// turns, until the player has pressed OK.
EM_JS(int, qs_dialog_open, (const char* text, const char* caption), {
    if (!Module.qsDialog) return 0;
    Module.qsDialog(UTF8ToString(caption), UTF8ToString(text));
    return 1;
});
EM_JS(int, qs_dialog_showing, (), { return Module.qsDialogShowing && Module.qsDialogShowing() ? 1 : 0; });

static bool sBoxWaiting;  // the game stands in a box, mid-frame

void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    std::printf("[%s] %s\n", caption, text);
    std::fflush(stdout);
    // The page's own calls between frames (its save on closing) cannot wait.
    if (gHeadless || gQuitting || Plat_InPageCall() || !qs_dialog_open(text, caption)) return;
    sBoxWaiting = true;
    while (qs_dialog_showing()) emscripten_sleep(50);
    sBoxWaiting = false;
}

bool PlatI_BoxWaiting() { return sBoxWaiting; }
#else

namespace {

const int kTextSize = 16;
const int kMargin = 24;
const int kButtonW = 88, kButtonH = 28;

struct Box {
    SDL_Window* window;
    SDL_Renderer* renderer;
    PlatSurface* picture;
    int w, h;
    SDL_Rect button;
};

void Frame(PlatSurface* s, int l, int t, int r, int b, uint16_t light, uint16_t dark) {
    Plat_Fill(s, l, t, r, t + 1, light);
    Plat_Fill(s, l, t, l + 1, b, light);
    Plat_Fill(s, l, b - 1, r, b, dark);
    Plat_Fill(s, r - 1, t, r, b, dark);
}

// Draws the box's picture once: text, and the OK button.
bool Paint(Box& box, const char* text) {
    box.picture = Plat_SurfaceCreate(box.w, box.h);
    if (!box.picture) return false;
    bool drawing = Plat_Drawing();
    Plat_SetDrawing(true);
    uint16_t face = Plat_RGB565(232, 232, 232), light = Plat_RGB565(255, 255, 255), dark = Plat_RGB565(120, 120, 120);
    Plat_Fill(box.picture, 0, 0, box.w, box.h, face);
    Plat_DrawText(box.picture, text, kTextSize, kMargin, kMargin, 0, 0, 0, false);
    const SDL_Rect& b = box.button;
    Frame(box.picture, b.x, b.y, b.x + b.w, b.y + b.h, light, dark);
    Frame(box.picture, b.x - 1, b.y - 1, b.x + b.w + 1, b.y + b.h + 1, Plat_RGB565(0, 0, 0), Plat_RGB565(0, 0, 0));
    int okw = Plat_TextWidth("OK", kTextSize);
    Plat_DrawText(box.picture, "OK", kTextSize, b.x + (b.w - okw) / 2, b.y + (b.h - kTextSize) / 2, 0, 0, 0, false);
    Plat_SetDrawing(drawing);
    return true;
}

void Show(Box& box) {
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(Plat_SurfacePixels(box.picture), box.w, box.h, 16,
                                                           Plat_SurfacePitch(box.picture), SDL_PIXELFORMAT_RGB565);
    if (!view) return;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(box.renderer, view);
    SDL_FreeSurface(view);
    if (!tex) return;
    SDL_RenderClear(box.renderer);
    SDL_RenderCopy(box.renderer, tex, nullptr, nullptr);
    SDL_RenderPresent(box.renderer);
    SDL_DestroyTexture(tex);
}

void Close(Box& box) {
    if (box.renderer) SDL_DestroyRenderer(box.renderer);
    if (box.window) SDL_DestroyWindow(box.window);
    Plat_SurfaceFree(box.picture);
}

bool IsKeyOrPointer(Uint32 type) {
    return type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_TEXTINPUT || type == SDL_TEXTEDITING ||
           type == SDL_MOUSEMOTION || type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP || type == SDL_MOUSEWHEEL;
}

// Shows the box and waits for it to be dismissed. False when no box could
// be shown (the caller writes the text to standard error instead).
bool RunBox(const char* text, const char* caption) {
    SDL_Window* owner = PlatI_Window();
    if (!owner) return false;
    // A window on a display nobody sees (the benchmarks') would wait for
    // a key that never comes.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || !std::strcmp(driver, "dummy") || !std::strcmp(driver, "offscreen")) return false;
    int tw = Plat_TextWidth(text, kTextSize);
    if (tw < 0) return false;  // no font to write the text with
    Box box = {};
    box.w = tw + 2 * kMargin;
    if (box.w < 280) box.w = 280;
    box.h = kMargin + kTextSize + 20 + kButtonH + 16;
    box.button = {(box.w - kButtonW) / 2, box.h - kButtonH - 16, kButtonW, kButtonH};
    int display = SDL_GetWindowDisplayIndex(owner);
    if (display < 0) display = 0;
    box.window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                                  box.w, box.h, SDL_WINDOW_HIDDEN | SDL_WINDOW_ALWAYS_ON_TOP);
    if (box.window) box.renderer = SDL_CreateRenderer(box.window, -1, SDL_RENDERER_SOFTWARE);
    if (!box.renderer || !Paint(box, text)) {
        Close(box);
        return false;
    }
    SDL_SetWindowModalFor(box.window, owner);
    SDL_ShowWindow(box.window);
    SDL_RaiseWindow(box.window);
    SDL_SetWindowInputFocus(box.window);
    Show(box);
    Uint32 id = SDL_GetWindowID(box.window);
    // What the box does not handle waits for the game (the tune's end,
    // the window's own events); keys and the pointer were the box's.
    SDL_Event kept[64];
    int nkept = 0;
    bool done = false, focused = false;
    while (!done) {
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 100)) continue;
        switch (e.type) {
        case SDL_QUIT:
            gQuitting = done = true;
            break;
        case SDL_KEYDOWN:
            if (e.key.windowID == id) {
                SDL_Keycode k = e.key.keysym.sym;
                done = k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
                SDL_Point p = {e.button.x, e.button.y};
                done = SDL_PointInRect(&p, &box.button);
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.windowID == id) {
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) done = true;
                else if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN) Show(box);
                else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused = true;
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && !focused) {
                // The window manager handed the keyboard back to the game's
                // window underneath: the box asks for it again.
                SDL_RaiseWindow(box.window);
                SDL_SetWindowInputFocus(box.window);
            } else if (nkept < 64) {
                kept[nkept++] = e;
            }
            break;
        default:
            if (!IsKeyOrPointer(e.type) && nkept < 64) kept[nkept++] = e;
            break;
        }
    }
    Close(box);
    for (int i = 0; i < nkept; i++) SDL_PushEvent(&kept[i]);
    if (gQuitting) {
        // The game ends: its loop sees the quit among its events.
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    } else {
        PlatI_ReturnFullscreen();
    }
    return true;
}

}  // namespace

void Plat_MessageBox(const char* text, const char* caption) {
    if (!text) text = "";
    if (!caption) caption = "";
    if (gHeadless || gQuitting) {
        std::fprintf(stderr, "[%s] %s\n", caption, text);
        return;
    }
    if (RunBox(text, caption)) return;
    // No box of our own (no font, say): SDL's plain one, over the window
    // (it fails at once where there is no display to show it on).
    if (!PlatI_Window() || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, PlatI_Window()) != 0)
        std::fprintf(stderr, "[%s] %s\n", caption, text);
    PlatI_ReturnFullscreen();
}
#endif
