// The lighting and sensor pages under Qt Quick Test, on the test view: the program's own view
// and page actions over the virtual mouse, in a private modules folder.
#include "tests/support/SceneTestView.h"

W3_SCENE_TEST_MAIN(scene_lighting)
