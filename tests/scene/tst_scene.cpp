// The scene's frame, settings page and common controls under Qt Quick Test, on the test view.
#include "tests/support/SceneTestView.h"

W3_SCENE_TEST_MAIN(scene)
