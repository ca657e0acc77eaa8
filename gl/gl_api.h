// OpenGL 1.1 headers on every platform, plus the one later constant the view uses.
#pragma once
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
