// The catalogue against the registry of the throw-away Wine prefix that the
// test run owns: the rows go to their real places there.
#include "common/TweakCatalogueSuite.h"
#include "win/Win32Environment.h"

namespace kavrolt::test {

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TweakCatalogueBehaviour, Win32Environment);

} // namespace kavrolt::test
