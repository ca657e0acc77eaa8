// What the platform the shell runs on can do.
#pragma once

// True when OpenGL draws into bitmaps instead of on the window: under Wine before
// 10, where a GL drawable over the client area hides the child panels.
bool gl_through_bitmaps();
