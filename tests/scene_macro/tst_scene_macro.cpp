// The macro page under Qt Quick Test, on the test view over the virtual mouse.
#include "tests/support/SceneTestView.h"

W3_SCENE_TEST_MAIN(scene_macro)
