#pragma once
// Whether the window system of this session can give the scene an OpenGL context, asked of
// the window system itself: creating a trial context would load and start the whole driver.
bool windowSystemOffersOpenGl();
