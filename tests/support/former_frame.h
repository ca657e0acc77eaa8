// The frame as drawn before the tile pass stopped blending: the same steps as
// draw_frame with blending on for the tiles too. The frame benchmark times it
// beside draw_frame, and the rendering tests check both give the same bytes.
#pragma once

void draw_former_frame();
