// EGL on Mesa's surfaceless platform: a pbuffer and a desktop OpenGL context.
// Kept to two calls so another offscreen provider can stand in for it.
#include "tests/support/offscreen_gl.h"

#include <stddef.h>

#include <EGL/egl.h>
#include <EGL/eglext.h>

static EGLDisplay offscreen_display = EGL_NO_DISPLAY;
static EGLSurface offscreen_surface = EGL_NO_SURFACE;
static EGLContext offscreen_context = EGL_NO_CONTEXT;

static EGLDisplay surfaceless_display() {
    PFNEGLGETPLATFORMDISPLAYEXTPROC get_platform_display =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    if (get_platform_display == NULL) {
        return EGL_NO_DISPLAY;
    }
    return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, NULL);
}

int offscreen_gl_open(int width, int height) {
    offscreen_gl_close();
    // The display stays initialised for the whole run: terminating it unloads the
    // driver, and anything the leak checker then finds would have no names to match.
    if (offscreen_display == EGL_NO_DISPLAY) {
        EGLDisplay display = surfaceless_display();
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, NULL, NULL)) {
            return 0;
        }
        offscreen_display = display;
    }
    const EGLint config_attributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_NONE,
    };
    EGLConfig config;
    EGLint config_count = 0;
    if (!eglChooseConfig(offscreen_display, config_attributes, &config, 1, &config_count) || config_count < 1) {
        offscreen_gl_close();
        return 0;
    }
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    offscreen_surface = eglCreatePbufferSurface(offscreen_display, config, surface_attributes);
    if (offscreen_surface == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) {
        offscreen_gl_close();
        return 0;
    }
    offscreen_context = eglCreateContext(offscreen_display, config, EGL_NO_CONTEXT, NULL);
    if (offscreen_context == EGL_NO_CONTEXT ||
        !eglMakeCurrent(offscreen_display, offscreen_surface, offscreen_surface, offscreen_context)) {
        offscreen_gl_close();
        return 0;
    }
    return 1;
}

void offscreen_gl_close() {
    if (offscreen_display == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(offscreen_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (offscreen_context != EGL_NO_CONTEXT) {
        eglDestroyContext(offscreen_display, offscreen_context);
    }
    if (offscreen_surface != EGL_NO_SURFACE) {
        eglDestroySurface(offscreen_display, offscreen_surface);
    }
    offscreen_surface = EGL_NO_SURFACE;
    offscreen_context = EGL_NO_CONTEXT;
}
