// Runs the Qt Quick tests of the controls module (the files given with -input, module path with -import).
#include <QtQuickTest>

QUICK_TEST_MAIN(controls)
